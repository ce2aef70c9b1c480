#include "toolkit/Shell.h"

#include "win/ComApartment.h"

#include <shellapi.h>

#include <utility>

namespace zep {
namespace {

ShellOpenRedirect::Opener& Redirected() {
    static ShellOpenRedirect::Opener opener;
    return opener;
}

}  // namespace

void ShellOpen(HWND owner, const std::string& file) {
    if (Redirected()) {
        Redirected()(owner, file);
        return;
    }
    EnterComApartmentForShell();
    ::ShellExecuteA(owner, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

ShellOpenRedirect::ShellOpenRedirect(Opener opener) : previous_(std::exchange(Redirected(), std::move(opener))) {}

ShellOpenRedirect::~ShellOpenRedirect() { Redirected() = std::move(previous_); }

}  // namespace zep
