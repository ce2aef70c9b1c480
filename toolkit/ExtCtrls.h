#pragma once
// Panels and pictures.
#include "toolkit/Controls.h"

namespace zep {

enum class TBevelCut { bvNone, bvLowered, bvRaised };

// A plain face with up to two one-pixel bevels; windowless controls placed in
// it get paint and mouse.
class TPanel : public TWinControl {
public:
    TPanel(TComponent* owner, TWinControl* parent, int left, int top, int width, int height);

    TBevelCut BevelInner() const { return inner_; }
    TBevelCut BevelOuter() const { return outer_; }
    void SetBevelInner(TBevelCut cut);
    void SetBevelOuter(TBevelCut cut);
    void SetColor(TColor color);

protected:
    void PaintWindow(HDC dc) override;
    void CaptionChanged() override;

private:
    TBevelCut inner_ = TBevelCut::bvNone;
    TBevelCut outer_ = TBevelCut::bvRaised;
};

// A bitmap stretched to the control's size.
class TImage : public TGraphicControl {
public:
    TImage(TComponent* owner, TWinControl* parent, int left, int top, int width, int height);

    // Call Invalidate() after changing the picture.
    TBitmap Picture;

    void Paint(TCanvas& canvas) override;
};

}  // namespace zep
