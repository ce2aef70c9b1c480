#include "toolkit/ExtCtrls.h"

namespace zep {
namespace {

// Draws a one-pixel bevel on the rectangle and moves it inwards past the bevel.
void DrawBevel(HDC dc, RECT& r, TBevelCut cut) {
    if (cut == TBevelCut::bvNone) return;
    ::DrawEdge(dc, &r, cut == TBevelCut::bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
}

}  // namespace

// ---- TPanel

TPanel::TPanel(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
    : TWinControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
    SetWindowClass(nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
}

void TPanel::SetBevelInner(TBevelCut cut) {
    inner_ = cut;
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    outer_ = cut;
    Invalidate();
}

void TPanel::SetColor(TColor color) {
    Color = color;
    Invalidate();
}

void TPanel::CaptionChanged() {
    TWinControl::CaptionChanged();
    Invalidate();
}

void TPanel::PaintWindow(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    DrawBevel(dc, r, outer_);
    DrawBevel(dc, r, inner_);
    if (Caption().empty()) return;
    SelectedObject font(dc, Font().Handle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(Font().Color()));
    DrawTextIn(dc, Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

// ---- TImage

TImage::TImage(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
    : TGraphicControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
}

void TImage::Paint(TCanvas& canvas) {
    if (Picture.Empty()) return;
    HDC dc = canvas.Handle();
    MemoryDC source(::CreateCompatibleDC(dc));
    SelectedObject bitmap(source.get(), Picture.Handle());
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, 0, 0, Width(), Height(), source.get(), 0, 0, Picture.Width(), Picture.Height(), SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
}

}  // namespace zep
