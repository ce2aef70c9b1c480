#include "toolkit/Graphics.h"

#include <stdexcept>

namespace zep {

TColor ColorToRGB(TColor color) {
    if (IsSysColor(color)) return ::GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

// ---- TFont

TFont& TFont::operator=(const TFont& other) {
    if (this != &other) {
        name_ = other.name_;
        height_ = other.height_;
        style_ = other.style_;
        color_ = other.color_;
        Changed();
    }
    return *this;
}

void TFont::SetName(const std::string& name) {
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    height_ = height;
    Changed();
}

void TFont::SetStyle(unsigned style) {
    style_ = style;
    Changed();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
        lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.reset(::CreateFontIndirectA(&lf));
    }
    return static_cast<HFONT>(handle_.get());
}

// ---- TBitmap

void TBitmap::Take(HBITMAP bitmap) {
    if (!bitmap) throw std::runtime_error("Bitmap resource not found");
    handle_.reset(bitmap);
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const char* name) {
    Take(static_cast<HBITMAP>(::LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) { LoadFromResourceName(instance, MAKEINTRESOURCEA(id)); }

void TBitmap::Assign(const TBitmap& other) {
    if (other.Empty()) {
        handle_.reset();
        width_ = height_ = 0;
        return;
    }
    Take(static_cast<HBITMAP>(::CopyImage(other.Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

TColor TBitmap::Pixel(int x, int y) const {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, Handle());
    COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return c;
}

// ---- TCanvas

TCanvas::TCanvas(HDC dc)
    : dc_(dc),
      oldPen_(::GetCurrentObject(dc, OBJ_PEN)),
      oldBrush_(::GetCurrentObject(dc, OBJ_BRUSH)),
      oldFont_(::GetCurrentObject(dc, OBJ_FONT)) {}

TCanvas::~TCanvas() {
    ::SelectObject(dc_, oldPen_);
    ::SelectObject(dc_, oldBrush_);
    ::SelectObject(dc_, oldFont_);
}

void TCanvas::RealizePen() {
    HGDIOBJ pen = Pen.style == TPenStyle::psClear
                      ? ::GetStockObject(NULL_PEN)
                      : ::CreatePen(PS_SOLID, Pen.width, ColorToRGB(Pen.color));
    ::SelectObject(dc_, pen);
    pen_.reset(Pen.style == TPenStyle::psClear ? nullptr : pen);
}

void TCanvas::RealizeBrush() {
    HGDIOBJ brush = Brush.style == TBrushStyle::bsClear ? ::GetStockObject(NULL_BRUSH)
                                                       : ::CreateSolidBrush(ColorToRGB(Brush.color));
    ::SelectObject(dc_, brush);
    brush_.reset(Brush.style == TBrushStyle::bsClear ? nullptr : brush);
}

void TCanvas::RealizeFont() {
    ::SelectObject(dc_, Font.Handle());
    ::SetTextColor(dc_, ColorToRGB(Font.Color()));
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    RealizePen();
    RealizeBrush();
    ::Ellipse(dc_, x1, y1, x2, y2);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    RealizePen();
    ::Arc(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::MoveTo(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    RealizePen();
    ::LineTo(dc_, x, y);
}

void TCanvas::FillRect(const RECT& rect) {
    if (Brush.style == TBrushStyle::bsClear) return;
    RealizeBrush();
    ::FillRect(dc_, &rect, static_cast<HBRUSH>(brush_.get()));
}

SIZE TCanvas::TextExtent(const std::string& text) {
    RealizeFont();
    SIZE size{};
    ::GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::DrawText(const std::string& text, RECT rect, UINT format) {
    RealizeFont();
    if (Brush.style == TBrushStyle::bsClear) {
        ::SetBkMode(dc_, TRANSPARENT);
    } else {
        ::SetBkMode(dc_, OPAQUE);
        ::SetBkColor(dc_, ColorToRGB(Brush.color));
    }
    ::DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void TCanvas::BrushCopy(const RECT& dest, const TBitmap& bitmap, const RECT& source, TColor transparent) {
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const int sw = source.right - source.left, sh = source.bottom - source.top;
    if (bitmap.Empty() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    FillRect(dest);
    HDC src = ::CreateCompatibleDC(dc_);
    HGDIOBJ old = ::SelectObject(src, bitmap.Handle());
    ::TransparentBlt(dc_, dest.left, dest.top, dw, dh, src, source.left, source.top, sw, sh,
                     ColorToRGB(transparent));
    ::SelectObject(src, old);
    ::DeleteDC(src);
}

// ---- TIcon

void TIcon::Assign(const TIcon& other) {
    Take(IconHandle(other.Empty() ? nullptr : ::CopyIcon(other.Handle())));
}

void TIcon::Take(IconHandle icon) {
    handle_ = std::move(icon);
    Fire(OnChange, this);
}

}  // namespace zep
