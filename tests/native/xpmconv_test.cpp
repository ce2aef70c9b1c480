// The generated picture files, read back as Windows will read them: file and
// directory headers, colour depth, hot spot, and a few telling pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct File {
  std::vector<std::uint8_t> bytes;

  explicit File(const std::string& name) {
    std::ifstream in(std::string(ZEPTON_PICTURES_DIR) + "/" + name, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  unsigned u16(std::size_t at) const { return bytes.at(at) | bytes.at(at + 1) << 8; }
  std::uint32_t u32(std::size_t at) const { return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16; }
  std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
};

// One image of a DIB: BITMAPINFOHEADER at `header`, colour table, then bottom-up rows.
struct Dib {
  const File& file;
  std::size_t header;
  int width() const { return file.i32(header + 4); }
  int height() const { return file.i32(header + 8); }  // icons and cursors: twice the picture
  int bpp() const { return static_cast<int>(file.u16(header + 14)); }
  std::size_t stride(int bits) const { return static_cast<std::size_t>((width() * bits + 31) / 32 * 4); }
  std::size_t bits() const { return header + 40 + 4 * (std::size_t{1} << bpp()); }

  // Palette index of (x, y), counted from the top, in a plane of `rows` rows starting at `start`.
  unsigned index(std::size_t start, int rows, int bits, int x, int y) const {
    const std::size_t row = start + static_cast<std::size_t>(rows - 1 - y) * stride(bits);
    const int bit = x * bits;
    return (file.bytes.at(row + static_cast<std::size_t>(bit / 8)) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
  }
  std::uint32_t rgb(unsigned index) const {  // 0xRRGGBB
    const std::size_t entry = header + 40 + 4 * index;
    return static_cast<std::uint32_t>(file.bytes.at(entry + 2)) << 16 | file.bytes.at(entry + 1) << 8 |
           file.bytes.at(entry);
  }
  std::uint32_t colourAt(int x, int y) const { return rgb(index(bits(), height(), bpp(), x, y)); }
};

// An icon or cursor image: colour plane then AND mask, each the picture's height.
struct IconImage : Dib {
  int size() const { return height() / 2; }
  bool transparent(int x, int y) const {
    return index(bits() + stride(bpp()) * static_cast<std::size_t>(size()), size(), 1, x, y) == 1;
  }
  std::uint32_t colourAt(int x, int y) const { return rgb(index(bits(), size(), bpp(), x, y)); }
};

struct Entry {
  int width, height, colours, planesOrHotX, bitsOrHotY;
  std::uint32_t size, offset;
};

std::vector<Entry> directory(const File& f, unsigned type) {
  EXPECT_EQ(0u, f.u16(0));
  EXPECT_EQ(type, f.u16(2));
  std::vector<Entry> entries;
  for (std::size_t i = 0, at = 6; i < f.u16(4); ++i, at += 16)
    entries.push_back({f.bytes.at(at), f.bytes.at(at + 1), f.bytes.at(at + 2), static_cast<int>(f.u16(at + 4)),
                       static_cast<int>(f.u16(at + 6)), f.u32(at + 8), f.u32(at + 12)});
  return entries;
}

// Windows refuses an image whose directory entry disagrees with its header or runs past the file.
void expectConsistent(const File& f, const Entry& e, const IconImage& image) {
  EXPECT_LE(e.offset + e.size, f.bytes.size());
  EXPECT_EQ(e.width, image.width());
  EXPECT_EQ(e.height * 2, image.height());
  const std::size_t planes = image.stride(image.bpp()) + image.stride(1);
  EXPECT_EQ(e.offset + e.size, image.bits() + planes * static_cast<std::size_t>(e.height));
}

TEST(Xpmconv, CursorKeepsHotSpotAndIsMonochrome) {
  const File cur("urlcursor.cur");
  const auto entries = directory(cur, 2);
  ASSERT_EQ(1u, entries.size());
  const Entry& e = entries[0];
  EXPECT_EQ(32, e.width);
  EXPECT_EQ(32, e.height);
  EXPECT_EQ(5, e.planesOrHotX);
  EXPECT_EQ(0, e.bitsOrHotY);
  const IconImage image{{cur, e.offset}};
  EXPECT_EQ(1, image.bpp());
  expectConsistent(cur, e, image);
  // The fingertip at the hot spot is drawn black; the far corner is see-through.
  EXPECT_FALSE(image.transparent(5, 0));
  EXPECT_EQ(0x000000u, image.colourAt(5, 0));
  EXPECT_TRUE(image.transparent(31, 31));
  EXPECT_EQ(0x000000u, image.colourAt(31, 31)) << "masked pixels must not invert the screen";
  EXPECT_EQ(0xFFFFFFu, image.rgb(1));
}

TEST(Xpmconv, IconHasSixteenColourImagesOfBothSizes) {
  const File ico("zepton.ico");
  const auto entries = directory(ico, 1);
  ASSERT_EQ(2u, entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    SCOPED_TRACE(e.width);
    EXPECT_EQ(i == 0 ? 16 : 32, e.width);
    EXPECT_EQ(e.width, e.height);
    EXPECT_EQ(16, e.colours);
    EXPECT_EQ(4, e.bitsOrHotY);
    const IconImage image{{ico, e.offset}};
    EXPECT_EQ(4, image.bpp());
    expectConsistent(ico, e, image);
    int seeThrough = 0;
    for (int y = 0; y < e.height; ++y)
      for (int x = 0; x < e.width; ++x)
        if (image.transparent(x, y)) {
          ++seeThrough;
          EXPECT_EQ(0x000000u, image.colourAt(x, y));
        }
    EXPECT_GT(seeThrough, 0);
    EXPECT_LT(seeThrough, e.width * e.height / 2);
  }
  EXPECT_EQ(entries[0].offset + entries[0].size, entries[1].offset);
}

// BITMAPFILEHEADER + BITMAPINFOHEADER as the resource compiler takes them.
Dib bitmap(const File& f, int width, int height, int bpp) {
  EXPECT_EQ('B', f.bytes.at(0));
  EXPECT_EQ('M', f.bytes.at(1));
  EXPECT_EQ(f.bytes.size(), f.u32(2));
  const Dib dib{f, 14};
  EXPECT_EQ(40u, f.u32(14));
  EXPECT_EQ(width, dib.width());
  EXPECT_EQ(height, dib.height());
  EXPECT_EQ(bpp, dib.bpp());
  EXPECT_EQ(0u, f.u32(14 + 16)) << "uncompressed";
  EXPECT_EQ(dib.bits(), f.u32(10));
  EXPECT_EQ(f.bytes.size(), dib.bits() + dib.stride(bpp) * static_cast<std::size_t>(height));
  return dib;
}

TEST(Xpmconv, ToolButtonStripHoldsSevenPicturesOnFuchsia) {
  const File f("toolbuttons.bmp");
  const Dib strip = bitmap(f, 7 * 16, 16, 4);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(0xFF00FFu, strip.colourAt(i * 16 + 15, 15));
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) drawn += strip.colourAt(i * 16 + x, y) != 0xFF00FFu;
    EXPECT_GT(drawn, 40);
  }
}

TEST(Xpmconv, GlyphsPairNormalWithGreyDisabledOnOlive) {
  for (const char* name : {"trash.bmp", "close.bmp"}) {
    SCOPED_TRACE(name);
    const File f(name);
    const Dib glyph = bitmap(f, 32, 16, 4);
    int normalDrawn = 0, disabledDrawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const auto normal = glyph.colourAt(x, y), disabled = glyph.colourAt(16 + x, y);
        normalDrawn += normal != 0x808000u;
        disabledDrawn += disabled != 0x808000u;
        EXPECT_TRUE(disabled == 0x808000u || disabled == 0x808080u || disabled == 0xFFFFFFu) << x << "," << y;
        if (disabled == 0x808080u) {
          EXPECT_NE(0x808000u, normal) << "grey only where the picture draws";
        }
      }
    EXPECT_GT(normalDrawn, 40);
    EXPECT_GT(disabledDrawn, 20);
  }
}

TEST(Xpmconv, AboutPictureIs256ColoursOnButtonFace) {
  const File f("about.bmp");
  const Dib about = bitmap(f, 32, 32, 8);
  EXPECT_EQ(0xC0C0C0u, about.colourAt(31, 0));
  EXPECT_EQ(0x000000u, about.colourAt(0, 1)) << "the monitor's outline";
}

}  // namespace
