#include "controls/SysColor.h"

#include <windows.h>

namespace zep {

TColor ColorToRGB(TColor Color) {
    if (!IsSysColor(Color)) return Color;
    return static_cast<TColor>(::GetSysColor(static_cast<int>(Color & 0xFF)));
}

}  // namespace zep
