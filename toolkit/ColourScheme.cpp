#include "toolkit/ColourScheme.h"

#include <utility>

namespace zep {
namespace {

// Empty: Windows' own scheme.
ColourSchemeRedirect::Scheme& Redirected() {
    static ColourSchemeRedirect::Scheme scheme;
    return scheme;
}

}  // namespace

bool HighContrast() {
    if (Redirected().sysColor) return Redirected().highContrast;
    HIGHCONTRASTA contrast{sizeof contrast, 0, nullptr};
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

COLORREF SysColor(int index) { return Redirected().sysColor ? Redirected().sysColor(index) : ::GetSysColor(index); }

ColourSchemeRedirect::ColourSchemeRedirect(Scheme scheme) : previous_(std::exchange(Redirected(), std::move(scheme))) {}

ColourSchemeRedirect::~ColourSchemeRedirect() { Redirected() = std::move(previous_); }

}  // namespace zep
