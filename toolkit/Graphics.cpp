#include "toolkit/Graphics.h"

#include "toolkit/ColourScheme.h"
#include "win/Library.h"
#include "win/WideText.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace zep {

namespace {

std::size_t made = 0;

template <class Handle>
Handle Counted(Handle object) {
    if (!object) throw std::runtime_error("Out of GDI resources");
    ++made;
    return object;
}

// Each cache is a short list: a program uses a handful of fonts and colours.
template <class Key, class Handle>
class SharedObjects {
public:
    template <class Make>
    Handle Get(const Key& key, Make make) {
        for (auto& [k, object] : objects_)
            if (k == key) return object.get();
        objects_.emplace_back(key, GdiObject<Handle>(Counted(make())));
        return objects_.back().second.get();
    }

private:
    std::vector<std::pair<Key, GdiObject<Handle>>> objects_;
};

// msimg32.dll, loaded at the first picture copied with a transparent colour:
// the start-up, whose windows are hidden, draws none.
decltype(&::TransparentBlt) TransparentBltEntry() {
    static const Library msimg32("msimg32.dll");
    static const auto entry = msimg32.Entry<decltype(&::TransparentBlt)>("TransparentBlt");
    return entry;
}

struct FontKey {
    std::string name;
    int height;
    unsigned style;
    bool operator==(const FontKey&) const = default;
};

}  // namespace

TColor ColorToRGB(TColor color) {
    if (IsSysColor(color)) return SysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

std::size_t GdiObjectsMade() { return made; }

SIZE TextExtentIn(HDC dc, const std::string& text) {
    const std::wstring wide = Widen(text);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

int DrawTextIn(HDC dc, const std::string& text, RECT& rect, UINT format) {
    const std::wstring wide = Widen(text);
    return ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

HBRUSH SolidBrush(TColor color) {
    static SharedObjects<TColor, HBRUSH> brushes;
    const TColor rgb = ColorToRGB(color);
    return brushes.Get(rgb, [rgb] { return ::CreateSolidBrush(rgb); });
}

HPEN SolidPen(TColor color, int width) {
    static SharedObjects<std::pair<TColor, int>, HPEN> pens;
    const TColor rgb = ColorToRGB(color);
    return pens.Get({rgb, width}, [rgb, width] { return ::CreatePen(PS_SOLID, width, rgb); });
}

// ---- TFont

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
    if (handle_) return handle_;
    static SharedObjects<FontKey, HFONT> fonts;
    handle_ = fonts.Get({name_, height_, style_}, [this] {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
        lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        return ::CreateFontIndirectA(&lf);
    });
    return handle_;
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

void TBitmap::StretchTo(int width, int height) {
    if (Empty() || (width == width_ && height == height_)) return;
    HDC screen = ::GetDC(nullptr);
    HBITMAP stretched = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    {
        MemoryDC source(::CreateCompatibleDC(nullptr)), dest(::CreateCompatibleDC(nullptr));
        SelectedObject from(source.get(), Handle()), to(dest.get(), stretched);
        ::SetStretchBltMode(dest.get(), COLORONCOLOR);
        ::StretchBlt(dest.get(), 0, 0, width, height, source.get(), 0, 0, width_, height_, SRCCOPY);
    }
    Take(stretched);
}

TColor TBitmap::Pixel(int x, int y) const {
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectedObject bitmap(dc.get(), Handle());
    return ::GetPixel(dc.get(), x, y);
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
    ::SelectObject(dc_, Pen.style == TPenStyle::psClear ? ::GetStockObject(NULL_PEN) : SolidPen(Pen.color, Pen.width));
}

HBRUSH TCanvas::BrushHandle() const {
    return Brush.style == TBrushStyle::bsClear ? static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))
                                               : SolidBrush(Brush.color);
}

void TCanvas::RealizeBrush() { ::SelectObject(dc_, BrushHandle()); }

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
    ::FillRect(dc_, &rect, BrushHandle());
}

SIZE TCanvas::TextExtent(const std::string& text) {
    RealizeFont();
    return TextExtentIn(dc_, text);
}

void TCanvas::DrawText(const std::string& text, RECT rect, UINT format) {
    RealizeFont();
    if (Brush.style == TBrushStyle::bsClear) {
        ::SetBkMode(dc_, TRANSPARENT);
    } else {
        ::SetBkMode(dc_, OPAQUE);
        ::SetBkColor(dc_, ColorToRGB(Brush.color));
    }
    DrawTextIn(dc_, text, rect, format);
}

void TCanvas::BrushCopy(const RECT& dest, const TBitmap& bitmap, const RECT& source, TColor transparent) {
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const int sw = source.right - source.left, sh = source.bottom - source.top;
    if (bitmap.Empty() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    FillRect(dest);
    MemoryDC src(::CreateCompatibleDC(dc_));
    SelectedObject picture(src.get(), bitmap.Handle());
    if (const auto transparentBlt = TransparentBltEntry())
        transparentBlt(dc_, dest.left, dest.top, dw, dh, src.get(), source.left, source.top, sw, sh,
                       ColorToRGB(transparent));
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
