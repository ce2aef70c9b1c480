#include "controls/OvalBtn.h"

#include "toolkit/ColourScheme.h"
#include "toolkit/Scaling.h"
#include "win/WideText.h"

#include <algorithm>
#include <string>

namespace zep {
namespace {

// The bevel's shading: half way to white for the highlight, the luminance
// times 0.6 for the shadow.
constexpr int kLightLevel = 5;
constexpr int kDarkLevel = 4;

// The caption is drawn through a buffer of 80 characters: longer ones are cut.
constexpr std::size_t kCaptionMax = 79;

RECT ToRect(const LayoutRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

TBrushStyle FaceBrush(bool transparent) { return transparent ? TBrushStyle::bsClear : TBrushStyle::bsSolid; }

}  // namespace

TOvalButton::TOvalButton(TComponent* owner, TWinControl* parent) : TGraphicControl(owner, parent) {
    BevelColors(ColorToRGB(FColor), FHighlightColor, FShadowColor, kLightLevel, kDarkLevel);
    SetBounds(Left(), Top(), 100, 50);
}

TOvalButton::~TOvalButton() = default;

// ---- properties

template <class T>
void TOvalButton::Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
}

void TOvalButton::SetBevelWidth(TBevelWidth value) { Change(FBevelWidth, value); }

void TOvalButton::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    // Resolved once: a later change of the system colours keeps the old shading.
    BevelColors(ColorToRGB(value), FHighlightColor, FShadowColor, kLightLevel, kDarkLevel);
    Repaint();
}

void TOvalButton::SetDown(bool value) {
    if (FDown == value) return;
    FDown = value;
    FBevelState = value ? -1 : (FFlat ? 0 : 1);
    Repaint();
}

void TOvalButton::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    // Even while Down: a flat button shows no rings until the pointer is over it.
    FBevelState = value ? 0 : 1;
    Repaint();
}

void TOvalButton::SetFont(const TFont& value) {
    if (&value == &Font()) return;
    Font() = value;
    Repaint();
}

void TOvalButton::SetGlyph(const TBitmap& value) {
    FGlyph = value;
    if (!FGlyph.Empty()) FTransparentColor = FGlyph.Pixel(0, FGlyph.Height() - 1);
    Repaint();
}

void TOvalButton::SetLayout(TButtonLayout value) { Change(FLayout, value); }
void TOvalButton::SetMargin(int value) { Change(FMargin, value); }
void TOvalButton::SetNumGlyphs(TNumGlyphs value) { Change(FNumGlyphs, value); }
void TOvalButton::SetSpacing(int value) { Change(FSpacing, value); }
void TOvalButton::SetTransparent(bool value) { Change(FTransparent, value); }
void TOvalButton::SetTransparentColor(TColor value) { Change(FTransparentColor, value); }

// ---- hit test

bool TOvalButton::PtInOval(int X, int Y) const {
    GdiObject<HRGN> region(::CreateEllipticRgn(0, 0, Width(), Height()));
    return region && ::PtInRegion(region.get(), X, Y);
}

// ---- drawing

TOvalButton::Palette TOvalButton::Colours() const {
    if (HighContrast()) return {clBtnFace, clBtnText, clBtnHighlight, clBtnShadow, clBtnText};
    return {FColor, clBlack, FHighlightColor, FShadowColor, Font().Color()};
}

void TOvalButton::Paint(TCanvas& canvas) {
    const Palette colours = Colours();
    canvas.Font = Font();
    canvas.Brush = {FaceBrush(FTransparent), colours.face};
    canvas.Pen = {FFlat ? TPenStyle::psClear : TPenStyle::psSolid, colours.outline, 1};
    // The outline around the face; the corners outside it stay the parent's.
    canvas.Ellipse(0, 0, Width() - 1, Height() - 1);
    DrawFace(canvas, colours);
}

void TOvalButton::DrawBevel(TCanvas& canvas, const Palette& colours) {
    if (FBevelState == 0) return;
    const bool sunken = FBevelState == -1;
    const BevelGeometry g = BevelArcs(Width(), Height(), FBevelWidth);
    const auto arcs = [&](TColor color, LayoutPoint from, LayoutPoint to) {
        canvas.Pen.style = TPenStyle::psSolid;
        canvas.Pen.color = color;
        for (const LayoutRect& r : g.Rings) canvas.Arc(r.Left, r.Top, r.Right, r.Bottom, from.X, from.Y, to.X, to.Y);
    };
    // Arcs run counter-clockwise: UpperRight to LowerLeft is the upper-left half.
    arcs(sunken ? colours.shadow : colours.highlight, g.UpperRight, g.LowerLeft);
    arcs(sunken ? colours.highlight : colours.shadow, g.LowerLeft, g.UpperRight);
}

void TOvalButton::DrawFace(TCanvas& canvas, const Palette& colours) {
    const SIZE text = Caption().empty() ? SIZE{0, 0} : canvas.TextExtent(Caption());
    FaceInput in;
    in.Width = Width();
    in.Height = Height();
    in.GlyphWidth = FGlyph.Width();
    in.GlyphHeight = FGlyph.Height();
    in.NumGlyphs = FNumGlyphs;
    in.Enabled = Enabled();
    in.BevelState = FBevelState;
    in.Layout = FLayout;
    in.Margin = FMargin;
    in.Spacing = FSpacing;
    in.HasCaption = !Caption().empty();
    in.TextWidth = text.cx;
    in.TextHeight = text.cy;
    const FaceLayout f = LayoutFace(in);

    DrawBevel(canvas, colours);
    if (f.GlyphShown) {
        // In the face colour: wipes the strip the glyph covered in the other state.
        canvas.Pen.style = FTransparent ? TPenStyle::psClear : TPenStyle::psSolid;
        canvas.Pen.color = colours.face;
        canvas.MoveTo(f.Strip[0].X, f.Strip[0].Y);
        canvas.LineTo(f.Strip[1].X, f.Strip[1].Y);
        canvas.LineTo(f.Strip[2].X, f.Strip[2].Y);
        canvas.Pen.style = TPenStyle::psSolid;
        canvas.Brush = {FaceBrush(FTransparent), colours.face};
        canvas.BrushCopy(ToRect(f.Dest), FGlyph, ToRect(f.Source), FTransparentColor);
    }
    if (!f.CaptionShown) return;

    canvas.Brush = {FaceBrush(FTransparent), colours.face};
    canvas.FillRect(ToRect(f.Fill));
    canvas.Font.SetColor(Enabled() ? colours.caption : clGrayText);
    canvas.DrawText(std::string(WholeCharacters(Caption(), kCaptionMax)), ToRect(f.TextRect), DT_SINGLELINE);
}

void TOvalButton::ShowFaceNow() {
    if (FTransparent) {
        Repaint();
        return;
    }
    // A button hidden by its own click must not draw itself back at its release.
    if (!Visible() || !Parent() || !Parent()->HandleAllocated()) return;
    TControlCanvas canvas(*this);
    canvas.Font = Font();
    DrawFace(canvas, Colours());
}

void TOvalButton::ShowBevelNow() {
    if (!Visible() || !Parent() || !Parent()->HandleAllocated()) return;
    TControlCanvas canvas(*this);
    DrawBevel(canvas, Colours());
}

// ---- mouse and keyboard

void TOvalButton::MouseDown(TMouseButton button, TShiftState shift, int X, int Y) {
    FButtonHeld = true;
    if (!Enabled() || !PtInOval(X, Y)) return;
    FDownAtPress = FDown;
    FDown = true;
    FBevelState = -1;
    ShowFaceNow();
    Fire(OnMouseDown, this, button, shift, X, Y);
}

void TOvalButton::MouseMove(TShiftState shift, int X, int Y) {
    const bool inside = PtInOval(X, Y);
    if (FButtonHeld) {
        // A plain button follows the pointer in and out; a toggle stays as pressed.
        if (inside && FBevelState == 1 && FGroupIndex == 0) {
            FMouseInside = true;
            FDown = true;
            FBevelState = -1;
            ShowBevelNow();
        } else if (!inside) {
            if (FBevelState == -1 && FGroupIndex == 0 && FMouseInside) {
                FDown = false;
                FBevelState = 1;
                ShowBevelNow();
            }
            FMouseInside = false;
        }
    } else if (FFlat && !FDown) {
        if (inside) {
            FMouseInside = true;
            FBevelState = 1;
            ShowBevelNow();
        } else if (FMouseInside) {
            FMouseInside = false;
            FBevelState = 0;
            Repaint();
        }
    } else {
        FMouseInside = inside;
    }
    if (FMouseInside) Fire(OnMouseMove, this, shift, X, Y);
}

void TOvalButton::MouseUp(TMouseButton button, TShiftState shift, int X, int Y) {
    FButtonHeld = false;
    if (!Enabled() || !PtInOval(X, Y)) return;
    if (FGroupIndex == 0) {
        FDown = false;
        FBevelState = 1;
        ShowFaceNow();
    } else {
        // A toggle flips relative to where the press found it.
        SetDown(!FDownAtPress);
    }
    Fire(OnMouseUp, this, button, shift, X, Y);
}

void TOvalButton::Click() {
    if (Enabled() && FMouseInside) Fire(OnClick, this);
}

void TOvalButton::DblClick() {
    if (Enabled() && FMouseInside) Fire(OnDblClick, this);
}

void TOvalButton::MouseEnter() { Fire(OnMouseEnter, this); }

void TOvalButton::MouseLeave() {
    if (FMouseInside && Enabled()) {
        FMouseInside = false;
        if (FFlat && !FDown) {
            FBevelState = 0;
            Repaint();
        }
    }
    Fire(OnMouseExit, this);
}

void TOvalButton::ScaleToScreen() {
    TGraphicControl::ScaleToScreen();
    FBevelWidth = static_cast<TBevelWidth>(std::min(Scaled(FBevelWidth), 10));
    FSpacing = Scaled(FSpacing);
    FMargin = Scaled(FMargin);
    FGlyph.StretchTo(Scaled(FGlyph.Width()), Scaled(FGlyph.Height()));
    Repaint();
}

void TOvalButton::Press() {
    if (Visible() && Enabled()) Fire(OnClick, this);
}

TAccessibleElement TOvalButton::Accessible() {
    TAccessibleElement element = TGraphicControl::Accessible();
    DescribeButton(element, *Parent(), *this);
    element.pressed = FDown;
    return element;
}

bool TOvalButton::DialogChar(char key) {
    if (!MatchesAccelerator(key, Caption())) return false;
    if (Enabled()) Click();
    return true;
}

}  // namespace zep
