// xpmconv: turns the program's editable XPM pictures into the binary files the
// resource compiler takes. Runs on the build machine, so it needs no Win32.
//
//   xpmconv ico OUT.ico IN.xpm...   one icon image per input (16 colours, or 256 when needed)
//   xpmconv cur OUT.cur IN.xpm      monochrome cursor; hot spot from the XPM's values line
//   xpmconv bmp OUT.bmp [--transparent RRGGBB] [--disabled] [--bpp N] IN.xpm...
//       the inputs side by side in one bitmap strip (BMP3, palette-based);
//       --transparent  colour written where the XPM says None
//       --disabled     appends a grey embossed copy of the strip (the glyphs' disabled look)
//       --bpp          lowest colour depth to write (the palette may need more)
//
// In an XPM, "None" is the transparent colour; in icons and cursors it becomes the AND mask.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  auto operator<=>(const Rgb&) const = default;
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{128, 128, 128};

using Pixel = std::optional<Rgb>;  // empty: transparent

struct Picture {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<Pixel> pixels;  // rows top-down

  Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  Pixel& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// ---------------------------------------------------------------- reading XPM

// The XPM's quoted strings in order; C comments may hold quotes, so skip them.
std::vector<std::string> quotedStrings(const std::string& text) {
  std::vector<std::string> result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "/*") == 0) {
      const auto end = text.find("*/", i + 2);
      if (end == std::string::npos) throw Error("unterminated comment");
      i = end + 1;
    } else if (text[i] == '"') {
      const auto end = text.find('"', i + 1);
      if (end == std::string::npos) throw Error("unterminated string");
      result.push_back(text.substr(i + 1, end - i - 1));
      i = end;
    }
  }
  return result;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw Error(std::string("bad hex digit '") + c + "'");
}

std::uint8_t hexByte(const std::string& s, std::size_t at) {
  return static_cast<std::uint8_t>(hexDigit(s[at]) * 16 + hexDigit(s[at + 1]));
}

Pixel parseColour(const std::string& value) {
  std::string lower;
  std::transform(value.begin(), value.end(), std::back_inserter(lower),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "none") return std::nullopt;
  if (value.size() != 7 || value[0] != '#') throw Error("colour must be None or #RRGGBB: " + value);
  return Rgb{hexByte(value, 1), hexByte(value, 3), hexByte(value, 5)};
}

// A colour line: key characters, then pairs of context and value; only the colour context "c" counts.
Pixel colourOfLine(const std::string& rest) {
  std::istringstream in(rest);
  std::string context, value;
  while (in >> context >> value)
    if (context == "c") return parseColour(value);
  throw Error("colour line without a 'c' colour:" + rest);
}

Picture parseXpm(const std::string& text) {
  const auto strings = quotedStrings(text);
  if (strings.empty()) throw Error("no values line");
  std::istringstream values(strings[0]);
  Picture pic;
  int colours = 0, charsPerPixel = 0;
  if (!(values >> pic.width >> pic.height >> colours >> charsPerPixel))
    throw Error("bad values line: " + strings[0]);
  if (values >> pic.hotX) {
    if (!(values >> pic.hotY)) throw Error("hot spot needs x and y: " + strings[0]);
  }
  if (pic.width < 1 || pic.width > 256 || pic.height < 1 || pic.height > 256)
    throw Error("picture size must be 1 to 256 pixels each way");
  if (colours < 1 || charsPerPixel < 1 || charsPerPixel > 4) throw Error("bad colour count or characters per pixel");
  if (pic.hotX < 0 || pic.hotX >= pic.width || pic.hotY < 0 || pic.hotY >= pic.height)
    throw Error("hot spot outside the picture");
  if (strings.size() != static_cast<std::size_t>(1 + colours + pic.height))
    throw Error("expected " + std::to_string(colours) + " colour lines and " + std::to_string(pic.height) +
                " pixel rows");

  const auto cpp = static_cast<std::size_t>(charsPerPixel);
  std::map<std::string, Pixel> palette;
  for (int i = 1; i <= colours; ++i) {
    const auto& line = strings[static_cast<std::size_t>(i)];
    if (line.size() < cpp) throw Error("short colour line: " + line);
    if (!palette.emplace(line.substr(0, cpp), colourOfLine(line.substr(cpp))).second)
      throw Error("colour key defined twice: " + line.substr(0, cpp));
  }
  for (int y = 0; y < pic.height; ++y) {
    const auto& row = strings[static_cast<std::size_t>(1 + colours + y)];
    if (row.size() != cpp * static_cast<std::size_t>(pic.width))
      throw Error("row " + std::to_string(y) + " has the wrong length");
    for (std::size_t x = 0; x < row.size(); x += cpp) {
      const auto found = palette.find(row.substr(x, cpp));
      if (found == palette.end())
        throw Error("row " + std::to_string(y) + ": unknown colour key '" + row.substr(x, cpp) + "'");
      pic.pixels.push_back(found->second);
    }
  }
  return pic;
}

Picture readXpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return parseXpm(text.str());
  } catch (const Error& e) {
    throw Error(path + ": " + e.what());
  }
}

// ---------------------------------------------------------------- pictures

// Inputs of the same height placed side by side, left to right.
Picture sideBySide(const std::vector<Picture>& parts) {
  Picture strip;
  strip.height = parts.front().height;
  for (const auto& p : parts) {
    if (p.height != strip.height) throw Error("pictures of a strip must have the same height");
    strip.width += p.width;
  }
  strip.pixels.resize(static_cast<std::size_t>(strip.width * strip.height));
  int left = 0;
  for (const auto& p : parts) {
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) strip.at(left + x, y) = p.at(x, y);
    left += p.width;
  }
  return strip;
}

int luma(Rgb c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

// The look of a disabled button picture: the dark lines (darker than mid grey) drawn grey, with a
// white shadow one pixel down and right, as if pressed into the button face.
Picture disabledLook(const Picture& pic) {
  Picture out = pic;
  std::fill(out.pixels.begin(), out.pixels.end(), std::nullopt);
  auto isShape = [&](int x, int y) { return pic.at(x, y) && luma(*pic.at(x, y)) < 128; };
  for (int y = 0; y + 1 < pic.height; ++y)
    for (int x = 0; x + 1 < pic.width; ++x)
      if (isShape(x, y)) out.at(x + 1, y + 1) = kWhite;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x)
      if (isShape(x, y)) out.at(x, y) = kGrey;
  return out;
}

// ---------------------------------------------------------------- writing DIBs

struct Bytes {
  std::vector<std::uint8_t> data;
  void u8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
  void u16(unsigned v) { u8(v & 0xFF), u8(v >> 8); }
  void u32(std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
  void append(const Bytes& other) { data.insert(data.end(), other.data.begin(), other.data.end()); }
  std::size_t size() const { return data.size(); }
};

// Colours in first-seen order; a DIB's colour table.
struct Palette {
  std::vector<Rgb> colours;
  int indexOf(Rgb c) const {
    return static_cast<int>(std::find(colours.begin(), colours.end(), c) - colours.begin());
  }
  void add(Rgb c) {
    if (indexOf(c) == static_cast<int>(colours.size())) colours.push_back(c);
  }
  int bitsPerPixel(int atLeast) const {
    for (int bpp : {1, 4, 8})
      if (bpp >= atLeast && colours.size() <= (1u << bpp)) return bpp;
    throw Error("more than 256 colours");
  }
};

std::uint32_t rowStride(int width, int bpp) { return static_cast<std::uint32_t>((width * bpp + 31) / 32 * 4); }

void writeInfoHeader(Bytes& out, int width, int height, int bpp, std::uint32_t imageSize) {
  out.u32(40);
  out.u32(static_cast<std::uint32_t>(width));
  out.u32(static_cast<std::uint32_t>(height));
  out.u16(1);  // planes
  out.u16(static_cast<unsigned>(bpp));
  out.u32(0);  // BI_RGB
  out.u32(imageSize);
  out.u32(3780);  // 96 dots per inch
  out.u32(3780);
  out.u32(0);  // colour table: the full 2^bpp entries
  out.u32(0);
}

void writeColourTable(Bytes& out, const Palette& palette, int bpp) {
  for (unsigned i = 0; i < (1u << bpp); ++i) {
    const Rgb c = i < palette.colours.size() ? palette.colours[i] : kBlack;
    out.u8(c.b), out.u8(c.g), out.u8(c.r), out.u8(0);
  }
}

// Bottom-up rows of palette indexes, each row padded to four bytes.
template <typename IndexOf>
Bytes packedRows(int width, int height, int bpp, IndexOf indexOf) {
  Bytes out;
  for (int y = height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(rowStride(width, bpp), 0);
    for (int x = 0; x < width; ++x) {
      const int bit = x * bpp;
      const int shift = 8 - bpp - bit % 8;
      row[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(indexOf(x, y) << shift);
    }
    out.data.insert(out.data.end(), row.begin(), row.end());
  }
  return out;
}

// One image of an icon or cursor: header (double height: colour bits, then mask), colours, XOR bits, AND mask.
Bytes iconImage(const Picture& pic, const Palette& palette, int bpp) {
  const Bytes colourBits = packedRows(pic.width, pic.height, bpp, [&](int x, int y) {
    return palette.indexOf(pic.at(x, y).value_or(kBlack));  // black under the mask leaves the screen as it is
  });
  const Bytes mask = packedRows(pic.width, pic.height, 1, [&](int x, int y) { return pic.at(x, y) ? 0 : 1; });
  Bytes out;
  writeInfoHeader(out, pic.width, pic.height * 2, bpp, static_cast<std::uint32_t>(colourBits.size() + mask.size()));
  writeColourTable(out, palette, bpp);
  out.append(colourBits);
  out.append(mask);
  return out;
}

Palette opaqueColours(const Picture& pic) {
  Palette palette;
  for (const auto& p : pic.pixels)
    if (p) palette.add(*p);
  return palette;
}

struct DirectoryImage {
  const Picture* picture;
  Bytes image;
  int colourCount;
  unsigned planesOrHotX;
  unsigned bitsOrHotY;
};

// ICONDIR and its entries, then the images. Type 1 is an icon, 2 a cursor.
Bytes iconFile(unsigned type, const std::vector<DirectoryImage>& images) {
  Bytes out;
  out.u16(0);
  out.u16(type);
  out.u16(static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (const auto& i : images) {
    out.u8(i.picture->width == 256 ? 0 : static_cast<unsigned>(i.picture->width));
    out.u8(i.picture->height == 256 ? 0 : static_cast<unsigned>(i.picture->height));
    out.u8(static_cast<unsigned>(i.colourCount));
    out.u8(0);
    out.u16(i.planesOrHotX);
    out.u16(i.bitsOrHotY);
    out.u32(static_cast<std::uint32_t>(i.image.size()));
    out.u32(offset);
    offset += static_cast<std::uint32_t>(i.image.size());
  }
  for (const auto& i : images) out.append(i.image);
  return out;
}

Bytes icoFromPictures(const std::vector<Picture>& pictures) {
  std::vector<DirectoryImage> images;
  for (const auto& pic : pictures) {
    Palette palette = opaqueColours(pic);
    palette.add(kBlack);
    const int bpp = palette.bitsPerPixel(4);
    images.push_back({&pic, iconImage(pic, palette, bpp), bpp < 8 ? 1 << bpp : 0, 1, static_cast<unsigned>(bpp)});
  }
  return iconFile(1, images);
}

Bytes curFromPicture(const Picture& pic) {
  for (const auto& p : pic.pixels)
    if (p && *p != kBlack && *p != kWhite) throw Error("a monochrome cursor takes only black, white and None");
  const Palette palette{{kBlack, kWhite}};
  return iconFile(2, {{&pic, iconImage(pic, palette, 1), 2, static_cast<unsigned>(pic.hotX),
                       static_cast<unsigned>(pic.hotY)}});
}

Bytes bmpFromPicture(const Picture& pic, std::optional<Rgb> transparent, int minBpp) {
  Palette palette;
  for (const auto& p : pic.pixels) {
    if (!p && !transparent) throw Error("the picture has None pixels: give --transparent");
    if (p && p == transparent) throw Error("the picture uses its own transparent colour");
    palette.add(p.value_or(transparent.value_or(kBlack)));
  }
  const int bpp = palette.bitsPerPixel(minBpp);
  const Rgb background = transparent.value_or(kBlack);
  const Bytes bits = packedRows(pic.width, pic.height, bpp, [&](int x, int y) {
    return palette.indexOf(pic.at(x, y).value_or(background));
  });
  const auto headers = static_cast<std::uint32_t>(14 + 40 + 4 * (1u << bpp));
  Bytes out;
  out.u8('B'), out.u8('M');
  out.u32(headers + static_cast<std::uint32_t>(bits.size()));
  out.u32(0);
  out.u32(headers);
  writeInfoHeader(out, pic.width, pic.height, bpp, static_cast<std::uint32_t>(bits.size()));
  writeColourTable(out, palette, bpp);
  out.append(bits);
  return out;
}

// ---------------------------------------------------------------- command line

void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw Error("cannot write " + path);
}

std::vector<Picture> readAll(const std::vector<std::string>& paths) {
  if (paths.empty()) throw Error("no input pictures");
  std::vector<Picture> pictures;
  for (const auto& p : paths) pictures.push_back(readXpm(p));
  return pictures;
}

Rgb parseRrggbb(const std::string& s) {
  const auto c = parseColour("#" + s);
  if (!c) throw Error("--transparent needs RRGGBB");
  return *c;
}

Bytes bmpCommand(std::vector<std::string> args) {
  std::optional<Rgb> transparent;
  bool withDisabled = false;
  int minBpp = 1;
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--transparent" && hasValue)
      transparent = parseRrggbb(args[++i]);
    else if (args[i] == "--bpp" && hasValue)
      minBpp = std::stoi(args[++i]);
    else if (args[i] == "--disabled")
      withDisabled = true;
    else if (args[i].starts_with("--"))
      throw Error("unknown option " + args[i]);
    else
      inputs.push_back(args[i]);
  }
  Picture strip = sideBySide(readAll(inputs));
  if (withDisabled) strip = sideBySide({strip, disabledLook(strip)});
  return bmpFromPicture(strip, transparent, minBpp);
}

Bytes run(const std::vector<std::string>& args) {
  if (args.size() < 3) throw Error("usage: xpmconv ico|cur|bmp OUT [options] IN.xpm...");
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  if (args[0] == "ico") return icoFromPictures(readAll(rest));
  if (args[0] == "cur") {
    if (rest.size() != 1) throw Error("a cursor is made of exactly one picture");
    return curFromPicture(readXpm(rest[0]));
  }
  if (args[0] == "bmp") return bmpCommand(rest);
  throw Error("unknown output kind " + args[0]);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const Bytes bytes = run(args);
    writeFile(args[1], bytes);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "xpmconv: " << e.what() << '\n';
    return 1;
  }
}
