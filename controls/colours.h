#pragma once
// The RGB <-> HLS conversion the oval button shades its bevel with. Pure
// arithmetic: no Win32, so it builds and is tested natively.
#include "toolkit/ColorValue.h"

#include <array>
#include <stdexcept>

namespace zep {

// Red, Green, Blue or Hue, Luminance, Saturation; every component in 0..1.
using ColorVector = std::array<double, 3>;

// Row k is the pure colour at hue k/6: -1 a component at its minimum, +1 at its maximum.
extern const std::array<std::array<int, 3>, 6> HueSectors;
extern const std::array<const char*, 3> HLSNames;  // "Hue", "Luminance", "Saturation"
extern const std::array<const char*, 3> RGBNames;  // "Red", "Green", "Blue"

class EColorConv : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Both conversions check the input components in order and throw EColorConv
// ("HLS2RGB: 0 <= Luminance value <= 1 required") for the first one that is
// below 0, above 1 or NaN; the output is then left untouched. The output is
// written only at the end, so it may even be the input vector itself.
void HLS2RGB(const ColorVector& HLS, ColorVector& RGB);
void RGB2HLS(const ColorVector& RGB, ColorVector& HLS);

// From a plain RGB colour (top byte 0) a lighter and a darker one, both plain:
//   Light component = 255 - round((256 - c) * LightFactor), modulo 256;
//   Dark = the colour with its HLS luminance multiplied by DarkFactor.
// Rounding is to nearest, halves to even. Light is written before Dark is
// computed, so a DarkFactor above 1 can throw EColorConv after Light is set.
// A system colour throws std::invalid_argument: resolve it with ColorToRGB first.
void LightDarkColors(TColor Color, TColor& Light, TColor& Dark, float LightFactor, float DarkFactor);

}  // namespace zep
