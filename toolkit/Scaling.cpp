#include "toolkit/Scaling.h"

#include <windows.h>

namespace zep {

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int Scaled(int pixels) { return ::MulDiv(pixels, ScreenDpi(), 96); }

}  // namespace zep
