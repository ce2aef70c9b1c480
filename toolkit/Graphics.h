#pragma once
// Colours, fonts, bitmaps and the canvas that controls paint on.
#include "toolkit/ColorValue.h"
#include "toolkit/Events.h"
#include "win/Handle.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace zep {

// Plain RGB of a colour value, system colours resolved through GetSysColor.
TColor ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

class TFont {
public:
    TFont() = default;
    TFont(const TFont& other) : name_(other.name_), height_(other.height_), style_(other.style_), color_(other.color_) {}
    TFont& operator=(const TFont& other);

    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    unsigned Style() const { return style_; }
    TColor Color() const { return color_; }
    void SetName(const std::string& name);
    void SetHeight(int height);
    void SetStyle(unsigned style);
    void SetColor(TColor color) { color_ = color; }

    HFONT Handle() const;  // made on first use

private:
    void Changed() { handle_.reset(); }

    std::string name_ = "MS Sans Serif";
    int height_ = -11;  // 8 points at 96 dots per inch
    unsigned style_ = 0;
    TColor color_ = clWindowText;
    mutable GdiObject handle_;
};

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(const TBitmap& other) { Assign(other); }
    TBitmap& operator=(const TBitmap& other) {
        if (this != &other) Assign(other);
        return *this;
    }

    void LoadFromResourceName(HINSTANCE instance, const char* name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    // Owns the given bitmap from now on (a picture drawn by the program itself).
    void Take(HBITMAP bitmap);
    void Assign(const TBitmap& other);
    bool Empty() const { return !handle_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Handle() const { return static_cast<HBITMAP>(handle_.get()); }
    TColor Pixel(int x, int y) const;

private:
    GdiObject handle_;
    int width_ = 0;
    int height_ = 0;
};

enum class TPenStyle { psSolid, psClear };
enum class TBrushStyle { bsSolid, bsClear };

// Draws on a device context it does not own, with a pen, a brush and a font;
// every object it selects is deselected again when it goes.
class TCanvas {
public:
    explicit TCanvas(HDC dc);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas();

    HDC Handle() const { return dc_; }

    struct PenState {
        TPenStyle style = TPenStyle::psSolid;
        TColor color = clBlack;
        int width = 1;
    };
    struct BrushState {
        TBrushStyle style = TBrushStyle::bsSolid;
        TColor color = clWhite;
    };
    PenState Pen;
    BrushState Brush;
    TFont Font;

    void Ellipse(int x1, int y1, int x2, int y2);
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FillRect(const RECT& rect);
    SIZE TextExtent(const std::string& text);
    void DrawText(const std::string& text, RECT rect, UINT format);
    // Copies source from the bitmap into dest, painting its pixels of the
    // transparent colour with the brush (left alone with a clear brush).
    void BrushCopy(const RECT& dest, const TBitmap& bitmap, const RECT& source, TColor transparent);

private:
    void RealizePen();
    void RealizeBrush();
    void RealizeFont();

    HDC dc_;
    HGDIOBJ oldPen_, oldBrush_, oldFont_;
    GdiObject pen_, brush_;
};

// An icon of its own, copied on assignment, that tells when its picture changes.
class TIcon : public TObject {
public:
    TIcon() = default;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    HICON Handle() const { return handle_.get(); }
    bool Empty() const { return !handle_; }
    // A copy of the other icon's picture (none when it is empty).
    void Assign(const TIcon& other);
    // Owns the given icon from now on.
    void Take(IconHandle icon);

    TNotifyEvent OnChange;

private:
    IconHandle handle_;
};

}  // namespace zep
