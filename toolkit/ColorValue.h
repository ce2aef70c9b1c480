#pragma once
// Colour values. No Win32 here: the colour maths that uses them builds natively.
#include <cstdint>

namespace zep {

// 32 bits, low byte red, then green, then blue. A top byte of 0x80 names a
// system colour by the index in the low byte; ColorToRGB (toolkit/Graphics.h)
// resolves those.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clBtnText = 0x80000012;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor clHotLight = 0x8000001A;

constexpr bool IsSysColor(TColor color) { return (color >> 24) == 0x80; }

}  // namespace zep
