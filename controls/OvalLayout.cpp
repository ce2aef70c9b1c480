#include "controls/OvalLayout.h"

namespace zep {

namespace {

// Image k (1-based) of a glyph bitmap holding images of imageWidth side by side.
LayoutRect GlyphImage(int k, int imageWidth, int glyphHeight) {
    return {(k - 1) * imageWidth, 0, k * imageWidth, glyphHeight};
}

// Glyph and caption form one group centred in the button, Spacing apart;
// Margin moves the group toward the glyph's side. Without a caption the glyph
// is centred alone.
int GlyphLeft(const FaceInput& in, int w) {
    if (in.HasCaption && in.Layout == blGlyphLeft)
        return half(in.Width - in.TextWidth - w - in.Spacing) - in.Margin;
    if (in.HasCaption && in.Layout == blGlyphRight)
        return half(in.TextWidth + in.Spacing + w + in.Width) - w + in.Margin;
    return half(in.Width - w);
}

int GlyphTop(const FaceInput& in, int h) {
    if (in.HasCaption && in.Layout == blGlyphTop)
        return half(in.Height - in.TextHeight - h - in.Spacing) - in.Margin;
    if (in.HasCaption && in.Layout == blGlyphBottom)
        return half(in.TextHeight + h + in.Spacing + in.Height) - h + in.Margin;
    return half(in.Height - h);
}

void LayoutGlyph(const FaceInput& in, bool sunken, FaceLayout& out) {
    const int imageWidth = in.GlyphWidth / in.NumGlyphs;
    if (!in.Enabled && in.NumGlyphs > 1) out.Source = GlyphImage(2, imageWidth, in.GlyphHeight);
    const int w = out.Source.Right - out.Source.Left;
    const int h = out.Source.Bottom - out.Source.Top;

    LayoutRect& d = out.Dest;
    d.Left = GlyphLeft(in, w);
    d.Top = GlyphTop(in, h);
    d.Right = d.Left + w;
    d.Bottom = d.Top + h;

    if (sunken) {
        d = {d.Left + 1, d.Top + 1, d.Right + 1, d.Bottom + 1};
        out.Strip[0] = {d.Left - 1, d.Bottom};
        out.Strip[1] = {d.Left - 1, d.Top - 1};
        out.Strip[2] = {d.Right, d.Top - 1};
    } else {
        out.Strip[0] = {d.Right, d.Top};
        out.Strip[1] = {d.Right, d.Bottom};
        out.Strip[2] = {d.Left, d.Bottom};
    }
    if (sunken && in.NumGlyphs > 2) out.Source = GlyphImage(3, imageWidth, in.GlyphHeight);
}

// The caption follows the (already moved) glyph along the glyph's axis and is
// centred across it; a sunken button then moves it one more pixel right and down.
void LayoutCaption(const FaceInput& in, bool sunken, FaceLayout& out) {
    const LayoutRect& d = out.Dest;
    const int w = out.Source.Right - out.Source.Left;
    const int h = out.Source.Bottom - out.Source.Top;
    const int tw = in.TextWidth, th = in.TextHeight;

    int tx = half(in.Width - tw);
    int ty = half(in.Height - th);
    if (out.GlyphShown) {
        switch (in.Layout) {
        case blGlyphRight: tx = d.Left - tw - in.Spacing; break;
        case blGlyphLeft: tx = d.Left + w + in.Spacing; break;
        case blGlyphTop: ty = d.Top + h + in.Spacing; break;
        case blGlyphBottom: ty = d.Top - th - in.Spacing; break;
        }
    }
    if (sunken) {
        ++tx;
        ++ty;
    }
    out.TextRect = {tx, ty, tx + tw, ty + th};
    const int clear = sunken ? 0 : 1;
    out.Fill = {tx + clear, ty + clear, tx + tw + clear, ty + th + clear};
}

}  // namespace

FaceLayout LayoutFace(const FaceInput& in) {
    const bool sunken = in.BevelState == -1;
    FaceLayout out;
    out.GlyphShown = in.NumGlyphs > 0;
    out.CaptionShown = in.HasCaption;
    out.Source = GlyphImage(1, out.GlyphShown ? in.GlyphWidth / in.NumGlyphs : in.GlyphWidth, in.GlyphHeight);
    if (out.GlyphShown) LayoutGlyph(in, sunken, out);
    if (out.CaptionShown) LayoutCaption(in, sunken, out);
    return out;
}

BevelGeometry BevelArcs(int Width, int Height, int BevelWidth) {
    BevelGeometry g;
    g.UpperRight = {4 * (Width / 5), Height / 5};
    g.LowerLeft = {Width / 5, 4 * (Height / 5)};
    for (int i = 1; i <= BevelWidth; ++i) g.Rings.push_back({i, i, Width - i - 1, Height - i - 1});
    return g;
}

void BevelColors(TColor Color, TColor& Light, TColor& Dark, int LightLevel, int DarkLevel) {
    LightDarkColors(Color, Light, Dark, static_cast<float>(10 - LightLevel) / 10.0f,
                    static_cast<float>(10 - DarkLevel) / 10.0f);
}

bool MatchesAccelerator(char Key, const std::string& Text) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    const auto p = Text.find('&');
    return p != std::string::npos && p + 1 < Text.size() && upper(Text[p + 1]) == upper(Key);
}

}  // namespace zep
