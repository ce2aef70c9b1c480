#include "ui/SingleInstance.h"

#include <algorithm>
#include <utility>

namespace zep {
namespace {

// The session's namespace, one name for every copy of the program: the
// installed one and a portable one work on the same Desktop.
const char* const LockName = "Local\\Kestrin.Zepton";
// Marks the window that answers; only the running program sets it.
const char* const AnnouncedProperty = "Kestrin.Zepton.Running";
const DWORD PollInterval = 50;  // ms between looks for a window that is not there yet

UINT BringUpMessage() {
    static const UINT message = ::RegisterWindowMessageA("Kestrin.Zepton.BringUp");
    return message;
}

BOOL CALLBACK MatchAnnounced(HWND window, LPARAM found) {
    if (!::GetPropA(window, AnnouncedProperty)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND AnnouncedWindow() {
    HWND found = nullptr;
    ::EnumWindows(&MatchAnnounced, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Posted, never sent: a running program that hangs or shows a modal window
// cannot hold this start up. The user started this process, so it may hand
// the foreground on to the window it brings up.
void BringUp(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    ::AllowSetForegroundWindow(processId);
    ::PostMessageA(window, BringUpMessage(), 0, 0);
}

}  // namespace

TSingleInstance::TSingleInstance() : lock_(::CreateMutexA(nullptr, TRUE, LockName)) {
    owned_ = lock_ && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

TSingleInstance::~TSingleInstance() {
    Withdraw();
    if (owned_) ::ReleaseMutex(lock_.get());
}

bool TSingleInstance::Claim() {
    // Without the lock (another user's program holds the name) the program runs as it always did.
    if (owned_ || !lock_) return true;
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND running = AnnouncedWindow()) {
            BringUp(running);
            return false;
        }
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= WaitLimit) return false;
        // The lock comes free when its holder ends, killed or not.
        const DWORD result = ::WaitForSingleObject(lock_.get(), std::min(PollInterval, WaitLimit - waited));
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) return owned_ = true;
    }
}

void TSingleInstance::Announce(HWND window, std::function<void()> bringUp) {
    announced_.emplace(window, [bringUp = std::move(bringUp)](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != BringUpMessage()) return false;
        bringUp();
        result = 0;
        return true;
    });
    ::SetPropA(window, AnnouncedProperty, reinterpret_cast<HANDLE>(1));
}

void TSingleInstance::Withdraw() {
    if (announced_ && announced_->Window()) ::RemovePropA(announced_->Window(), AnnouncedProperty);
    announced_.reset();
}

}  // namespace zep
