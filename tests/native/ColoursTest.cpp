#include "controls/colours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace zep;

namespace {

constexpr double Tol = 1e-9;

void ExpectNear(const ColorVector& actual, const ColorVector& expected, double tol = Tol) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], tol) << "component " << i;
}

ColorVector ToHLS(const ColorVector& rgb) {
    ColorVector hls{};
    RGB2HLS(rgb, hls);
    return hls;
}

ColorVector ToRGB(const ColorVector& hls) {
    ColorVector rgb{};
    HLS2RGB(hls, rgb);
    return rgb;
}

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | g << 8 | b << 16); }

}  // namespace

TEST(HLS2RGB, PureHuesAroundTheCircle) {
    ExpectNear(ToRGB({0, 0.5, 1}), {1, 0, 0});
    ExpectNear(ToRGB({1.0 / 6, 0.5, 1}), {1, 1, 0});
    ExpectNear(ToRGB({2.0 / 6, 0.5, 1}), {0, 1, 0});
    ExpectNear(ToRGB({3.0 / 6, 0.5, 1}), {0, 1, 1});
    ExpectNear(ToRGB({4.0 / 6, 0.5, 1}), {0, 0, 1});
    ExpectNear(ToRGB({5.0 / 6, 0.5, 1}), {1, 0, 1});
    ExpectNear(ToRGB({1.0 / 12, 0.5, 1}), {1, 0.5, 0});  // between red and yellow
}

TEST(HLS2RGB, HueOneIsRedLikeHueZero) {
    for (double l : {0.2, 0.5, 0.8})
        for (double s : {0.0, 0.4, 1.0}) EXPECT_EQ(ToRGB({1, l, s}), ToRGB({0, l, s})) << l << " " << s;
}

TEST(HLS2RGB, LuminanceAndSaturation) {
    ExpectNear(ToRGB({0.3, 0, 1}), {0, 0, 0});
    ExpectNear(ToRGB({0.3, 1, 1}), {1, 1, 1});
    ExpectNear(ToRGB({0.7, 0.25, 0}), {0.25, 0.25, 0.25});
    ExpectNear(ToRGB({0, 0.75, 1}), {1, 0.5, 0.5});   // light branch
    ExpectNear(ToRGB({0, 0.25, 0.5}), {0.375, 0.125, 0.125});  // dark branch
}

TEST(RGB2HLS, SaturatedColours) {
    ExpectNear(ToHLS({1, 0, 0}), {1, 0.5, 1});  // red comes out as hue 1, not 0
    ExpectNear(ToHLS({0, 1, 0}), {1.0 / 3, 0.5, 1});
    ExpectNear(ToHLS({0, 0, 1}), {2.0 / 3, 0.5, 1});
    ExpectNear(ToHLS({0.25, 0.75, 0.25}), {1.0 / 3, 0.5, 0.5});
    ExpectNear(ToHLS({1, 1, 0}), {1.0 / 6, 0.5, 1});
    ExpectNear(ToHLS({1, 0, 1}), {5.0 / 6, 0.5, 1});
    ExpectNear(ToHLS({1, 0.5, 0.5}), {1, 0.75, 1});
    ExpectNear(ToHLS({0.375, 0.125, 0.125}), {1, 0.25, 0.5});
}

TEST(RGB2HLS, GreysHaveNoHueNorSaturation) {
    for (double g : {0.0, 0.1, 0.5, 0.7, 1.0}) ExpectNear(ToHLS({g, g, g}), {0, g, 0});
}

TEST(ColourRange, BoundsAreAccepted) {
    EXPECT_NO_THROW(ToRGB({0, 0, 0}));
    EXPECT_NO_THROW(ToRGB({1, 1, 1}));
    EXPECT_NO_THROW(ToHLS({0, 0, 0}));
    EXPECT_NO_THROW(ToHLS({1, 1, 1}));
}

namespace {

// The message of the EColorConv that f throws; empty when it throws none.
template <class F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (const EColorConv& e) {
        return e.what();
    }
    return {};
}

// Puts bad into component i of an otherwise valid vector and expects the
// routine to name that component and leave its output alone.
template <class Convert>
void ExpectRejected(Convert convert, const std::string& routine, const std::array<const char*, 3>& names,
                    double bad) {
    for (int i = 0; i < 3; ++i) {
        ColorVector in{0.5, 0.5, 0.5};
        in[i] = bad;
        ColorVector out{0.125, 0.25, 0.375};
        const ColorVector before = out;
        EXPECT_EQ(ErrorOf([&] { convert(in, out); }), routine + ": 0 <= " + names[i] + " value <= 1 required")
            << "value " << bad << " in component " << i;
        EXPECT_EQ(out, before);
    }
}

}  // namespace

TEST(ColourRange, OutOfRangeAndNaNAreRejectedByName) {
    for (double bad : {-0.000001, 1.000001, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        ExpectRejected(HLS2RGB, "HLS2RGB", HLSNames, bad);
        ExpectRejected(RGB2HLS, "RGB2HLS", RGBNames, bad);
    }
}

TEST(ColourRange, FirstFailingComponentIsNamed) {
    ColorVector out{};
    EXPECT_EQ(ErrorOf([&] { HLS2RGB({0.5, 2, -1}, out); }), "HLS2RGB: 0 <= Luminance value <= 1 required");
    EXPECT_EQ(ErrorOf([&] { RGB2HLS({-1, 2, 0}, out); }), "RGB2HLS: 0 <= Red value <= 1 required");
}

TEST(ColourConversion, OutputMayBeTheInput) {
    ColorVector v{0.25, 0.75, 0.25};
    RGB2HLS(v, v);
    ExpectNear(v, {1.0 / 3, 0.5, 0.5});
    HLS2RGB(v, v);
    ExpectNear(v, {0.25, 0.75, 0.25});
}

TEST(ColourConversion, RoundTripOfEightBitColours) {
    auto roundTrip = [](int r, int g, int b) {
        const ColorVector rgb{r / 255.0, g / 255.0, b / 255.0};
        ExpectNear(ToRGB(ToHLS(rgb)), rgb, 1e-6);
    };
    for (int g = 0; g < 256; ++g) roundTrip(g, g, g);
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 17) roundTrip(r, g, b);
    for (int c = 1; c < 255; c += 7) {  // off the 17-grid, near the extremes
        roundTrip(c, 255 - c, 1);
        roundTrip(254, c, 0);
    }
}

TEST(LightDarkColors, WorkedValues) {
    struct Case { TColor in, light, dark; };
    const Case cases[] = {
        {Rgb(192, 192, 192), Rgb(223, 223, 223), Rgb(115, 115, 115)},
        {Rgb(212, 208, 200), Rgb(233, 231, 227), Rgb(139, 129, 108)},
        {Rgb(128, 128, 128), Rgb(191, 191, 191), Rgb(77, 77, 77)},
        {Rgb(255, 0, 0), Rgb(255, 127, 127), Rgb(153, 0, 0)},
        {Rgb(0, 0, 0), Rgb(127, 127, 127), Rgb(0, 0, 0)},
        {Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(153, 153, 153)},
    };
    for (const Case& c : cases) {
        TColor light = 0xDEADBEEF, dark = 0xDEADBEEF;
        LightDarkColors(c.in, light, dark, 0.5f, 0.6f);
        EXPECT_EQ(light, c.light) << std::hex << c.in;
        EXPECT_EQ(dark, c.dark) << std::hex << c.in;
    }
}

TEST(LightDarkColors, LightRoundsHalvesToEven) {
    TColor light = 0, dark = 0;
    // (256 - c) * 0.5: 255 -> 0.5 -> 0, 253 -> 1.5 -> 2, 251 -> 2.5 -> 2.
    LightDarkColors(Rgb(255, 253, 251), light, dark, 0.5f, 0.6f);
    EXPECT_EQ(light, Rgb(255, 253, 253));
}

TEST(LightDarkColors, FactorOneAndZero) {
    TColor light = 0, dark = 0;
    LightDarkColors(Rgb(10, 100, 200), light, dark, 0.0f, 1.0f);
    EXPECT_EQ(light, Rgb(255, 255, 255));
    EXPECT_EQ(dark, Rgb(10, 100, 200));
    LightDarkColors(Rgb(10, 100, 200), light, dark, 1.0f, 0.0f);
    EXPECT_EQ(light, Rgb(9, 99, 199));  // 255 - (256 - c): one below, never wraps for c > 0
    EXPECT_EQ(dark, Rgb(0, 0, 0));
}

TEST(LightDarkColors, DarkFactorAboveOneFailsAfterLight) {
    TColor light = 0, dark = 0x123456;
    EXPECT_EQ(ErrorOf([&] { LightDarkColors(Rgb(230, 230, 230), light, dark, 0.5f, 2.0f); }),
              "HLS2RGB: 0 <= Luminance value <= 1 required");
    EXPECT_EQ(light, Rgb(242, 242, 242));
    EXPECT_EQ(dark, 0x123456u);
}

TEST(LightDarkColors, UnresolvedSystemColourIsRefused) {
    TColor light = 0, dark = 0;
    EXPECT_THROW(LightDarkColors(clBtnFace, light, dark, 0.5f, 0.6f), std::invalid_argument);
    EXPECT_TRUE(IsSysColor(clGrayText));
    EXPECT_FALSE(IsSysColor(Rgb(255, 255, 255)));
}
