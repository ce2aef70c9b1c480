#pragma once
// Windows' colour scheme as the program draws with it: the system colours, and
// whether high contrast asks every program to give up colours of its own for
// them. The one place that asks Windows either.
#include <windows.h>

#include <functional>

namespace zep {

// SPI_GETHIGHCONTRAST says high contrast is on.
bool HighContrast();
// GetSysColor.
COLORREF SysColor(int index);

// While one lives, the program draws with this scheme instead of Windows': the
// tests see high contrast, which Wine cannot switch on.
class ColourSchemeRedirect {
public:
    struct Scheme {
        bool highContrast = false;
        std::function<COLORREF(int index)> sysColor;
    };
    explicit ColourSchemeRedirect(Scheme scheme);
    ~ColourSchemeRedirect();
    ColourSchemeRedirect(const ColourSchemeRedirect&) = delete;
    ColourSchemeRedirect& operator=(const ColourSchemeRedirect&) = delete;

private:
    Scheme previous_;
};

}  // namespace zep
