#pragma once
// Colours, fonts, bitmaps and the canvas that controls paint on.
#include "toolkit/ColorValue.h"
#include "toolkit/Events.h"
#include "win/Handle.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace zep {

// Plain RGB of a colour value, system colours resolved in the colour scheme (toolkit/ColourScheme.h).
TColor ColorToRGB(TColor color);

// Shared solid brushes and pens, one per colour (and width), kept for the
// program's life; the caller never deletes them. A system colour's is the
// one of its colour in the scheme now.
HBRUSH SolidBrush(TColor color);
HPEN SolidPen(TColor color, int width);
// Fonts, pens and brushes the toolkit has made so far: a warm repaint makes none.
std::size_t GdiObjectsMade();

// Every text of the program is measured and drawn through these: GDI's A calls
// read the system code page whatever code page the process speaks, so the text
// goes to GDI's W calls in UTF-16.
SIZE TextExtentIn(HDC dc, const std::string& text);
int DrawTextIn(HDC dc, const std::string& text, RECT& rect, UINT format);

// BeginPaint and EndPaint as a scope: a paint that throws still ends.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~PaintDC() { ::EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Handle() const { return dc_; }
    const RECT& Dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Everything set on a device context in the scope (origin, clipping, objects) is undone at its end.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~SavedDC() { ::RestoreDC(dc_, saved_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

class TFont {
public:
    TFont() = default;

    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    unsigned Style() const { return style_; }
    TColor Color() const { return color_; }
    void SetName(const std::string& name);
    void SetHeight(int height);
    void SetStyle(unsigned style);
    void SetColor(TColor color) { color_ = color; }

    // Shared by every font of the same name, height and style; made on first use.
    HFONT Handle() const;

private:
    void Changed() { handle_ = nullptr; }

    std::string name_ = "MS Sans Serif";
    int height_ = -11;  // 8 points at 96 dots per inch
    unsigned style_ = 0;
    TColor color_ = clWindowText;
    mutable HFONT handle_ = nullptr;
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
    // Resizes the picture pixel by pixel: every pixel keeps its exact colour,
    // so a transparent colour stays transparent.
    void StretchTo(int width, int height);
    bool Empty() const { return !handle_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Handle() const { return handle_.get(); }
    TColor Pixel(int x, int y) const;

private:
    GdiObject<HBITMAP> handle_;
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
    HBRUSH BrushHandle() const;

    HDC dc_;
    HGDIOBJ oldPen_, oldBrush_, oldFont_;
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
