#pragma once
// Finding an icon in the notification area by its pixels, shared by the
// end-to-end test and the start-up benchmark. Wine's virtual desktop draws
// tray icons into its taskbar window, with no window of their own to find.
#include "win/Handle.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zep::test {

// A top-down 32-bit picture whose pixels can be read directly.
class Pixels {
public:
    Pixels(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        dc_.reset(::CreateCompatibleDC(nullptr));
        ::SelectObject(dc_.get(), bitmap_.get());
    }
    HDC Dc() const { return dc_.get(); }
    std::uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    GdiObject<HBITMAP> bitmap_;
    MemoryDC dc_;  // goes first, letting go of the bitmap
    const std::uint32_t* bits_ = nullptr;
};

// An executable's small icon, as the taskbar would show it.
inline IconHandle SmallIconOf(const std::string& exe, int id) {
    const HMODULE module = ::LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    IconHandle icon(static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0)));
    ::FreeLibrary(module);
    return icon;
}

// A small icon as the taskbar draws it: its colour wherever it is opaque.
class TrayPicture {
public:
    explicit TrayPicture(HICON icon) {
        const int size = ::GetSystemMetrics(SM_CXSMICON);
        Pixels onBlack(size, size), onWhite(size, size);
        ::PatBlt(onWhite.Dc(), 0, 0, size, size, WHITENESS);
        ::DrawIconEx(onBlack.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        ::DrawIconEx(onWhite.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (onBlack.At(x, y) == onWhite.At(x, y)) opaque_.push_back({x, y, onBlack.At(x, y)});
    }

    // The screen position of the icon's top-left corner in the taskbar, when it is drawn there;
    // with `skip`, the place that follows that many others.
    std::optional<POINT> FindInTaskbar(int skip = 0) const {
        HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
        RECT r{};
        if (opaque_.empty() || !taskbar || !::GetWindowRect(taskbar, &r)) return std::nullopt;
        Pixels shot(r.right - r.left, r.bottom - r.top);
        const HDC screen = ::GetDC(nullptr);
        ::BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
        const int size = ::GetSystemMetrics(SM_CXSMICON);
        for (int top = 0; top + size <= shot.Height(); ++top)
            for (int left = 0; left + size <= shot.Width(); ++left)
                if (DrawnAt(shot, left, top) && skip-- == 0) return POINT{r.left + left, r.top + top};
        return std::nullopt;
    }

private:
    struct Dot {
        int x, y;
        std::uint32_t colour;
    };
    bool DrawnAt(const Pixels& shot, int left, int top) const {
        for (const Dot& d : opaque_)
            if (shot.At(left + d.x, top + d.y) != d.colour) return false;
        return true;
    }

    std::vector<Dot> opaque_;
};

}  // namespace zep::test
