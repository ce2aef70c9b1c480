#pragma once
// The oval button's arithmetic, apart from its drawing: where glyph, caption
// and bevel rings go, which glyph image shows, the bevel colours and the
// accelerator rule. Pure: no Win32, so it builds and is tested natively. The
// painter maps LayoutRect/LayoutPoint one to one onto RECT/POINT.
#include "controls/colours.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zep {

enum TButtonLayout : std::uint8_t { blGlyphBottom = 0, blGlyphLeft = 1, blGlyphRight = 2, blGlyphTop = 3 };

struct LayoutPoint {
    int X = 0, Y = 0;
    bool operator==(const LayoutPoint&) const = default;
};

// Right and bottom exclusive, as for GDI.
struct LayoutRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const LayoutRect&) const = default;
};

// n / 2 rounded down, also for negative n (a caption wider than the button).
constexpr int half(int n) { return n / 2 - (n < 0 && n % 2 != 0); }

// Everything DrawFace needs to know about the button at the moment it draws.
struct FaceInput {
    int Width = 0, Height = 0;
    int GlyphWidth = 0, GlyphHeight = 0;  // the whole glyph bitmap: NumGlyphs images side by side
    int NumGlyphs = 0;                    // 0 shows no glyph
    bool Enabled = true;
    int BevelState = 1;                   // -1 sunken, 0 no bevel, 1 raised
    TButtonLayout Layout = blGlyphBottom;
    int Margin = 0, Spacing = 4;
    bool HasCaption = false;              // false: only the glyph is placed
    int TextWidth = 0, TextHeight = 0;    // caption extent in the canvas font
};

struct FaceLayout {
    bool GlyphShown = false;  // NumGlyphs > 0; Source, Dest and Strip mean nothing otherwise
    LayoutRect Source;        // the image to copy out of the glyph bitmap
    LayoutRect Dest;          // where it goes, already moved when sunken
    // In the face colour: MoveTo(Strip[0]), LineTo(Strip[1]), LineTo(Strip[2]).
    // Clears the one-pixel strip the glyph covered in the other bevel state.
    LayoutPoint Strip[3];

    bool CaptionShown = false;  // HasCaption; the fields below mean nothing otherwise
    LayoutRect TextRect;        // DrawTextA rectangle: (TX, TY, TX + TW, TY + TH)
    // FillRect before the text: also clears where the caption stood in the other state.
    LayoutRect Fill;
};

// Glyph image (1 normal, 2 disabled when NumGlyphs > 1, 3 sunken when NumGlyphs > 2
// and winning over 2), its placement and the caption's, for one DrawFace.
FaceLayout LayoutFace(const FaceInput& in);

struct BevelGeometry {
    // Upper-left half of each ring: Arc from UpperRight to LowerLeft (counter-clockwise);
    // the lower-right half: Arc from LowerLeft to UpperRight.
    LayoutPoint UpperRight;  // (4 * (Width div 5), Height div 5)
    LayoutPoint LowerLeft;   // (Width div 5, 4 * (Height div 5))
    std::vector<LayoutRect> Rings;  // ring i = 1..BevelWidth at index i - 1: (i, i, Width - i - 1, Height - i - 1)
};

BevelGeometry BevelArcs(int Width, int Height, int BevelWidth);

// Highlight and shadow from the face colour: LightDarkColors with the factors
// (10 - LightLevel) / 10 and (10 - DarkLevel) / 10. The button uses levels 5 and 4.
// Color must be plain RGB: resolve system colours with the toolkit's ColorToRGB first.
void BevelColors(TColor Color, TColor& Light, TColor& Dark, int LightLevel, int DarkLevel);

// True when Key is the character after the first '&' of Text (not the last
// character), compared with ASCII a..z upper-cased.
bool MatchesAccelerator(char Key, const std::string& Text);

}  // namespace zep
