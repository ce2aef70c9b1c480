// Loads each resource of the program's resource script through the ANSI API,
// the way the windows and controls do, and checks what they rely on.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "resources/resource.h"
#include "resources/version.h"
#include "toolkit/ImgList.h"
#include "win/Handle.h"

namespace {

HINSTANCE self() { return GetModuleHandleA(nullptr); }

// Owners for the handle kinds only this test uses.
template <auto Release>
struct Releaser {
  template <typename H>
  void operator()(H h) const { Release(h); }
};
template <typename H, auto Release>
using Owned = std::unique_ptr<std::remove_pointer_t<H>, Releaser<Release>>;
using OwnedDc = Owned<HDC, DeleteDC>;
using OwnedWindow = Owned<HWND, DestroyWindow>;
using OwnedIcon = Owned<HICON, DestroyIcon>;

// A memory DC with one bitmap selected for reading pixels; the selection is undone first.
struct PixelReader {
  OwnedDc dc{CreateCompatibleDC(nullptr)};
  HGDIOBJ old;
  explicit PixelReader(HGDIOBJ bitmap) : old(SelectObject(dc.get(), bitmap)) {}
  ~PixelReader() { SelectObject(dc.get(), old); }
  PixelReader(const PixelReader&) = delete;
  PixelReader& operator=(const PixelReader&) = delete;
  COLORREF at(int x, int y) const { return GetPixel(dc.get(), x, y); }
};

SIZE bitmapSize(HGDIOBJ bitmap) {
  BITMAP info{};
  EXPECT_EQ(static_cast<int>(sizeof info), GetObjectA(bitmap, sizeof info, &info));
  return {info.bmWidth, info.bmHeight};
}

// Icon and cursor handles carry their images in two bitmaps the caller must free.
struct IconBitmaps {
  ICONINFO info{};
  zep::GdiObject<HBITMAP> mask, colour;
  explicit IconBitmaps(HICON icon) {
    EXPECT_TRUE(GetIconInfo(icon, &info));
    mask.reset(info.hbmMask);
    colour.reset(info.hbmColor);
  }
};

std::string resourceText(LPCSTR name, LPCSTR type) {
  HRSRC found = FindResourceA(nullptr, name, type);
  if (!found) return {};
  const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  return std::string(data, SizeofResource(nullptr, found));
}

TEST(Resources, ProgramIconHasSmallAndLargeImages) {
  for (int size : {16, 32}) {
    OwnedIcon icon{static_cast<HICON>(
        LoadImageA(self(), MAKEINTRESOURCEA(IDI_ZEPTON), IMAGE_ICON, size, size, LR_DEFAULTCOLOR))};
    ASSERT_NE(nullptr, icon) << size;
    IconBitmaps bitmaps(icon.get());
    ASSERT_NE(nullptr, bitmaps.info.hbmColor);
    const SIZE s = bitmapSize(bitmaps.info.hbmColor);
    EXPECT_EQ(size, s.cx);
    EXPECT_EQ(size, s.cy);
  }
  // Both sizes are real images of the group, not one stretched to the other.
  const std::string group = resourceText(MAKEINTRESOURCEA(IDI_ZEPTON), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u + 2 * 14u);
  auto* dir = reinterpret_cast<BYTE*>(const_cast<char*>(group.data()));
  const int small = LookupIconIdFromDirectoryEx(dir, TRUE, 16, 16, LR_DEFAULTCOLOR);
  const int large = LookupIconIdFromDirectoryEx(dir, TRUE, 32, 32, LR_DEFAULTCOLOR);
  EXPECT_NE(0, small);
  EXPECT_NE(0, large);
  EXPECT_NE(small, large);
  EXPECT_NE(nullptr, LoadIconA(self(), MAKEINTRESOURCEA(IDI_ZEPTON)));
}

TEST(Resources, ToolButtonStripMakesSevenMaskedImages) {
  zep::GdiObject<HBITMAP> strip{static_cast<HBITMAP>(
      LoadImageA(self(), MAKEINTRESOURCEA(IDB_TOOLBUTTONS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
  ASSERT_TRUE(strip);
  const SIZE s = bitmapSize(strip.get());
  EXPECT_EQ(16 * ZEPTON_TOOLBUTTON_COUNT, s.cx);
  EXPECT_EQ(16, s.cy);

  // The path the main window takes: the strip loaded as a DIB section, then masked by colour.
  zep::TImageList images(nullptr);
  EXPECT_EQ(0, images.LoadFromResourceName(self(), MAKEINTRESOURCEA(IDB_TOOLBUTTONS), ZEPTON_TOOLBUTTONS_MASK));
  HIMAGELIST list = images.Handle();
  EXPECT_EQ(ZEPTON_TOOLBUTTON_COUNT, ImageList_GetImageCount(list));
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list, &cx, &cy);
  EXPECT_EQ(16, cx);
  EXPECT_EQ(16, cy);
  // Drawn the way the tool bar draws them, every picture leaves its corner to the
  // button face behind it and draws enough of its own.
  const COLORREF face = RGB(1, 2, 3);
  for (int i = 0; i < ZEPTON_TOOLBUTTON_COUNT; ++i) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, 16, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    zep::GdiObject<HBITMAP> canvas{CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0)};
    ASSERT_TRUE(canvas);
    const PixelReader pixels(canvas.get());
    zep::GdiObject<HBRUSH> brush{CreateSolidBrush(face)};
    const RECT all{0, 0, 16, 16};
    FillRect(pixels.dc.get(), &all, brush.get());
    ASSERT_TRUE(ImageList_Draw(list, i, pixels.dc.get(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(face, pixels.at(15, 15)) << "picture " << i;
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) drawn += pixels.at(x, y) != face;
    EXPECT_GT(drawn, 40) << "picture " << i;
  }
}

TEST(Resources, GlyphsAreTwoImagesOnOlive) {
  for (int id : {IDB_TRASHGLYPH, IDB_CLOSEGLYPH}) {
    zep::GdiObject<HBITMAP> glyph{LoadBitmapA(self(), MAKEINTRESOURCEA(id))};
    ASSERT_TRUE(glyph) << id;
    const SIZE s = bitmapSize(glyph.get());
    EXPECT_EQ(32, s.cx);
    EXPECT_EQ(16, s.cy);
    const PixelReader pixels(glyph.get());
    EXPECT_EQ(RGB(128, 128, 0), pixels.at(0, 15)) << id;   // normal image's corner
    EXPECT_EQ(RGB(128, 128, 0), pixels.at(16, 15)) << id;  // disabled image's corner
    // The disabled half is grey: no pixel there has colour other than grey, white or olive.
    for (int y = 0; y < 16; ++y)
      for (int x = 16; x < 32; ++x) {
        const COLORREF c = pixels.at(x, y);
        EXPECT_TRUE(c == RGB(128, 128, 128) || c == RGB(255, 255, 255) || c == RGB(128, 128, 0))
            << id << " at " << x << "," << y;
      }
  }
}

TEST(Resources, AboutPictureIs32By32With256Colours) {
  zep::GdiObject<HBITMAP> about{static_cast<HBITMAP>(
      LoadImageA(self(), MAKEINTRESOURCEA(IDB_ABOUT), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
  ASSERT_TRUE(about);
  DIBSECTION dib{};
  ASSERT_EQ(static_cast<int>(sizeof dib), GetObjectA(about.get(), sizeof dib, &dib));
  EXPECT_EQ(32, dib.dsBm.bmWidth);
  EXPECT_EQ(32, dib.dsBm.bmHeight);
  EXPECT_EQ(8, dib.dsBm.bmBitsPixel);
}

TEST(Resources, LinkCursorIsMonochromeWithHotSpotAtFingertip) {
  HCURSOR cursor = LoadCursorA(self(), "URLCURSOR_1");
  ASSERT_NE(nullptr, cursor);
  IconBitmaps bitmaps(cursor);
  EXPECT_FALSE(bitmaps.info.fIcon);
  EXPECT_EQ(5u, bitmaps.info.xHotspot);
  EXPECT_EQ(0u, bitmaps.info.yHotspot);
  // Monochrome: no colour bitmap; the mask holds AND above XOR, so twice as high.
  EXPECT_EQ(nullptr, bitmaps.info.hbmColor);
  const SIZE s = bitmapSize(bitmaps.info.hbmMask);
  EXPECT_EQ(32, s.cx);
  EXPECT_EQ(64, s.cy);
}

BOOL CALLBACK countName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST(Resources, ManifestAsksForCommonControls6AndNoElevation) {
  int manifests = 0;
  EnumResourceNamesA(nullptr, RT_MANIFEST, countName, reinterpret_cast<LONG_PTR>(&manifests));
  EXPECT_EQ(1, manifests);
  const std::string text = resourceText(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  EXPECT_NE(std::string::npos, text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
  EXPECT_NE(std::string::npos, text.find("publicKeyToken=\"6595b64144ccf1df\""));
  EXPECT_NE(std::string::npos, text.find("level=\"asInvoker\""));
  EXPECT_NE(std::string::npos, text.find("<dpiAware"));
  EXPECT_NE(std::string::npos, text.find("<dpiAwareness"));
}

// The manifest takes effect: BCM_GETIDEALSIZE exists only in version 6 of the common controls.
TEST(Resources, CommonControls6AreLoaded) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&init));
  OwnedWindow button{CreateWindowExA(0, "BUTTON", "Apply", WS_POPUP | BS_PUSHBUTTON, 0, 0, 80, 25,
                                           nullptr, nullptr, self(), nullptr)};
  ASSERT_NE(nullptr, button) << GetLastError();
  SIZE ideal{};
  EXPECT_TRUE(SendMessageA(button.get(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
  EXPECT_GT(ideal.cx, 0);
}

std::string versionString(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0)
    return {};
  return std::string(value, length - 1);
}

TEST(Resources, VersionInformationNamesKestrinZepton) {
  char exe[MAX_PATH];
  ASSERT_NE(0u, GetModuleFileNameA(nullptr, exe, MAX_PATH));
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe, 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
  const DWORD major = ZEPTON_VERSION_MAJOR, minor = ZEPTON_VERSION_MINOR, patch = ZEPTON_VERSION_PATCH;
  EXPECT_EQ(major << 16 | minor, fixed->dwFileVersionMS);
  EXPECT_EQ(patch << 16, fixed->dwFileVersionLS);
  EXPECT_EQ(major << 16 | minor, fixed->dwProductVersionMS);

  EXPECT_EQ("Kestrin", versionString(block, "CompanyName"));
  EXPECT_EQ("Zepton", versionString(block, "ProductName"));
  EXPECT_EQ(ZEPTON_VERSION_TEXT, versionString(block, "FileVersion"));
  EXPECT_EQ(ZEPTON_VERSION_TEXT, versionString(block, "ProductVersion"));
  EXPECT_FALSE(versionString(block, "FileDescription").empty());
}

}  // namespace
