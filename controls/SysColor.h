#pragma once
// Resolution of system colour values to plain RGB (Windows only).
#include "controls/colours.h"

namespace zep {

// A system colour (top byte 0x80) becomes the current GetSysColor value of the
// index in its low byte; any other value is returned as it is.
TColor ColorToRGB(TColor Color);

}  // namespace zep
