#pragma once
// Sizes are stated at 96 dots per inch, as the window descriptions give them.
// Each form brings what its program stated to the display's dots per inch
// once it is complete; what the toolkit chooses itself it chooses at the
// display's scale from the start. At 96 dots per inch nothing changes.

namespace zep {

// The display's dots per inch, read once.
int ScreenDpi();
// A length in pixels at 96 dots per inch, at the display's.
int Scaled(int pixels);

}  // namespace zep
