#pragma once
// The oval push buttons as every window of the program places them.
#include "controls/OvalBtn.h"

namespace zep {

struct Bounds {
    int left, top, width, height;
};

// A button with the hand cursor and a two-ring bevel; a hint, when given, is shown.
TOvalButton& MakeOvalButton(TComponent& owner, TWinControl& parent, Bounds b, const char* caption,
                            const char* hint = "");

}  // namespace zep
