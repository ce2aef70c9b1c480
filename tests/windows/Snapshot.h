#pragma once
// A window's client pixels read back at one moment, and the pixels of one colour in them.
#include "win/Handle.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace zep::test {

// A window's client area copied into a 32-bit bitmap at one moment.
class Snapshot {
public:
    Snapshot(HWND window, int width, int height) : width_(width), height_(height) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<const std::uint32_t*>(bits);
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, bitmap_.get());
        HDC source = ::GetDC(window);
        ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        ::ReleaseDC(window, source);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::GdiFlush();
    }
    COLORREF At(int x, int y) const {
        const std::uint32_t p = pixels_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    GdiObject<HBITMAP> bitmap_;
    const std::uint32_t* pixels_ = nullptr;
    int width_, height_;
};

// Pixels of one colour within a rectangle of the window; their bounding box.
struct Found {
    int count = 0;
    RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
};
inline Found FindColour(const Snapshot& s, RECT area, COLORREF colour) {
    Found f;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (s.At(x, y) == colour) {
                ++f.count;
                f.box = {std::min<LONG>(f.box.left, x), std::min<LONG>(f.box.top, y), std::max<LONG>(f.box.right, x + 1),
                         std::max<LONG>(f.box.bottom, y + 1)};
            }
    return f;
}

}  // namespace zep::test
