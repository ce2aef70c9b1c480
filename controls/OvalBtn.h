#pragma once
// TOvalButton: an elliptical windowless push button with a bevel of concentric
// arcs shaded from its face colour, an optional glyph of up to four images and
// a one-line caption. Only presses inside the oval count; it can be flat (rings
// only under the pointer), transparent, or a sticky toggle (GroupIndex != 0).
#include "controls/OvalLayout.h"
#include "toolkit/Controls.h"
#include "toolkit/KeyTable.h"

#include <cstdint>

namespace zep {

using TBevelWidth = std::uint8_t;  // rings, 1..10 (0 on a new button: none)
using TNumGlyphs = std::uint8_t;   // images side by side in the glyph, 0..4 (0: no glyph)

class TOvalButton : public TGraphicControl, public TClickable {
public:
    TOvalButton(TComponent* owner, TWinControl* parent);
    ~TOvalButton() override;

    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // Copies the given font's attributes into the button's own font.
    void SetFont(const TFont& value);
    const TBitmap& Glyph() const { return FGlyph; }
    // Copies the picture; its bottom-left pixel becomes the TransparentColor.
    void SetGlyph(const TBitmap& value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor value);

    // The point, in control coordinates, lies in the oval inscribed in (0, 0)-(Width, Height).
    bool PtInOval(int X, int Y) const;

    // The framework's calls.
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int X, int Y) override;
    void MouseMove(TShiftState shift, int X, int Y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int X, int Y) override;
    void Click() override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool DialogChar(char key) override;
    // Bevel, spacing, margin and glyph grow with the display too.
    void ScaleToScreen() override;

    // OnClick, as a click does it, from the window's key or assistive
    // technology: the pointer's place does not matter here.
    void Press() override;
    // A push button named by its caption, described by its hint, with the window's key for it.
    TAccessibleElement Accessible() override;

    TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseExit;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    void CaptionChanged() override { Repaint(); }

private:
    // Stores a property that only changes the picture, and shows it.
    template <class T>
    void Change(T& field, T value);
    // What the button draws with: its own colours, or in high contrast the scheme's.
    struct Palette {
        TColor face, outline, highlight, shadow, caption;
    };
    Palette Colours() const;
    // The rings only; erases nothing.
    void DrawBevel(TCanvas& canvas, const Palette& colours);
    // Bevel, glyph and caption over the face, which it leaves alone.
    void DrawFace(TCanvas& canvas, const Palette& colours);
    // Feedback while the mouse acts: straight onto the parent, or a full
    // repaint for a transparent button, whose background is the parent's.
    void ShowFaceNow();
    void ShowBevelNow();

    TBevelWidth FBevelWidth = 0;
    TColor FColor = clBtnFace;
    bool FDown = false;
    bool FFlat = false;
    TBitmap FGlyph;
    int FGroupIndex = 0;
    TButtonLayout FLayout = blGlyphBottom;
    int FMargin = 0;
    TNumGlyphs FNumGlyphs = 0;
    int FSpacing = 4;
    bool FTransparent = false;
    TColor FTransparentColor = clBlack;

    TColor FHighlightColor = clBlack;
    TColor FShadowColor = clBlack;
    int FBevelState = 1;  // -1 sunken, 0 no bevel drawn, 1 raised
    bool FDownAtPress = false;
    bool FButtonHeld = false;
    bool FMouseInside = false;
};

}  // namespace zep
