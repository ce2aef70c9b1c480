#pragma once
// A key with the modifiers held with it, as a window's key table holds it and
// as the help and assistive technology name it. No Win32 here: the names are
// built and tested natively too.
#include "toolkit/Events.h"

#include <string>

namespace zep {

// Windows' virtual-key codes of the keys the program's windows use.
inline constexpr unsigned vkReturn = 0x0D, vkLeft = 0x25, vkRight = 0x27, vkDelete = 0x2E, vkF1 = 0x70,
                          vkF4 = 0x73;

// The key is a virtual-key code; of the shift state only ssShift, ssCtrl and ssAlt count.
struct TShortCut {
    unsigned key = 0;
    TShiftState shift = 0;
    bool operator==(const TShortCut&) const = default;
};

// "Ctrl+Shift+Right", "Delete", "F1": the modifiers in Windows' order, then the key.
std::string ShortCutToText(TShortCut shortCut);

}  // namespace zep
