#include "controls/colours.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace zep {

const std::array<std::array<int, 3>, 6> HueSectors = {{
    {+1, -1, -1},  // 0: red
    {+1, +1, -1},  // 1/6: yellow
    {-1, +1, -1},  // 2/6: green
    {-1, +1, +1},  // 3/6: cyan
    {-1, -1, +1},  // 4/6: blue
    {+1, -1, +1},  // 5/6: magenta
}};

const std::array<const char*, 3> HLSNames = {"Hue", "Luminance", "Saturation"};
const std::array<const char*, 3> RGBNames = {"Red", "Green", "Blue"};

namespace {

constexpr double Epsilon = 1e-8;

// The index pairs tried, in order, for the saturation and luminance formulas:
// the first pair whose two values differ is numerically safe to divide by.
constexpr std::array<std::array<int, 2>, 3> Pairs = {{{0, 1}, {1, 2}, {0, 2}}};

void CheckRange(const char* routine, const ColorVector& v, const std::array<const char*, 3>& names) {
    for (int i = 0; i < 3; ++i)
        if (!(v[i] >= 0 && v[i] <= 1))  // also catches NaN
            throw EColorConv(std::string(routine) + ": 0 <= " + names[i] + " value <= 1 required");
}

double Clamp01(double c) {
    if (!(c >= 0)) return 0;
    return c > 1 ? 1 : c;
}

void WriteClamped(const ColorVector& v, ColorVector& out) {
    for (int i = 0; i < 3; ++i) out[i] = Clamp01(v[i]);
}

// d is the index of the component at -1 in the normalised vector v.
double HueOf(int d, const ColorVector& v) {
    const double r = v[0], g = v[1], b = v[2];
    double h = 0;
    switch (d) {
    case 0: h = g > b ? 2 + (b + 1) / 2 : 4 - (g + 1) / 2; break;
    case 1: h = b > r ? 4 + (r + 1) / 2 : 6 - (b + 1) / 2; break;
    case 2: h = r > g ? (g + 1) / 2 : 2 - (r + 1) / 2; break;
    }
    return h / 6;
}

// Saturation and luminance of a colour whose largest |x| is positive (light)
// or not (dark); x is the input mapped to -1..1, v its normalised hue vector.
double Saturation(bool light, const ColorVector& x, const ColorVector& v) {
    for (auto [a, b] : Pairs) {
        if (!(std::fabs(x[b] - x[a]) > Epsilon)) continue;
        const double den = light ? (x[b] - 1) * v[a] - (x[a] - 1) * v[b]
                                 : (x[a] + 1) * v[b] - (x[b] + 1) * v[a];
        return (x[b] - x[a]) / den;
    }
    return 0;
}

double Luminance(bool light, const ColorVector& x, const ColorVector& v) {
    const double shift = light ? -1 : +1;
    double l = x[0] + shift;
    for (auto [a, b] : Pairs) {
        if (!(std::fabs(v[b] - v[a]) > Epsilon)) continue;
        l = ((x[a] + shift) * v[b] - (x[b] + shift) * v[a]) / (v[b] - v[a]);
        break;
    }
    return light ? l * 0.5 + 1 : l * 0.5;
}

std::uint8_t Byte(TColor color, int index) { return static_cast<std::uint8_t>(color >> (8 * index)); }

TColor FromBytes(const std::array<long long, 3>& c) {
    return static_cast<TColor>((c[0] & 0xFF) | (c[1] & 0xFF) << 8 | (c[2] & 0xFF) << 16);
}

// Nearest integer, halves to even (the default rounding mode).
long long Round(double v) { return static_cast<long long>(std::nearbyint(v)); }

}  // namespace

void HLS2RGB(const ColorVector& HLS, ColorVector& RGB) {
    CheckRange("HLS2RGB", HLS, HLSNames);
    const double hue = HLS[0], lum = HLS[1], sat = HLS[2];

    const double p = hue * 6;
    const double whole = std::trunc(p);
    const int sector = static_cast<int>(static_cast<std::int64_t>(whole) % 6);  // hue 1 is red again
    const int next = (sector + 1) % 6;
    const double f = p - whole;

    ColorVector c;
    for (int i = 0; i < 3; ++i) {
        const int from = HueSectors[sector][i];
        c[i] = f * (HueSectors[next][i] - from) + from;
        c[i] *= sat;
        c[i] = lum > 0.5 ? (1 - lum) * c[i] + lum : (c[i] + 1) * lum;
    }
    WriteClamped(c, RGB);
}

void RGB2HLS(const ColorVector& RGB, ColorVector& HLS) {
    CheckRange("RGB2HLS", RGB, RGBNames);

    ColorVector x;
    for (int i = 0; i < 3; ++i) x[i] = 2 * RGB[i] - 1;

    // Dominant component: the lowest index wins a tie.
    double m = 0;
    int d = 0;
    for (int i = 0; i < 3; ++i)
        if (std::fabs(x[i]) > m) {
            m = std::fabs(x[i]);
            d = i;
        }
    if (m < Epsilon) {
        HLS = {0, 0.5, 0};
        return;
    }

    ColorVector v;
    for (int i = 0; i < 3; ++i) v[i] = x[i] * (1 / m);

    // Stretch v so that its extremes are exactly +1 and -1; a grey has no spread.
    const bool light = x[d] > 0;
    double t = 0;
    for (double vi : v) t = std::max(t, light ? 1 - vi : vi + 1);
    if (t < Epsilon) {
        HLS = {0, RGB[0], 0};
        return;
    }
    for (double& vi : v) vi = light ? (vi - 1) * (2 / t) + 1 : (vi + 1) * (2 / t) - 1;

    // A dark colour's dominant component is already the one at -1.
    if (light) {
        double least = 1;
        for (int i = 0; i < 3; ++i)
            if (v[i] < least) {
                least = v[i];
                d = i;
            }
    }
    WriteClamped({HueOf(d, v), Luminance(light, x, v), Saturation(light, x, v)}, HLS);
}

void LightDarkColors(TColor Color, TColor& Light, TColor& Dark, float LightFactor, float DarkFactor) {
    if (IsSysColor(Color)) throw std::invalid_argument("LightDarkColors: system colour not resolved");

    std::array<long long, 3> light;
    ColorVector rgb;
    for (int i = 0; i < 3; ++i) {
        const int c = Byte(Color, i);
        light[i] = 255 - Round((256 - c) * static_cast<double>(LightFactor));
        rgb[i] = c / 255.0;
    }
    Light = FromBytes(light);

    ColorVector hls;
    RGB2HLS(rgb, hls);
    hls[1] *= DarkFactor;
    HLS2RGB(hls, rgb);
    std::array<long long, 3> dark;
    for (int i = 0; i < 3; ++i) dark[i] = Round(rgb[i] * 255);
    Dark = FromBytes(dark);
}

}  // namespace zep
