#include "adjust/ColorModels.h"

#include <algorithm>
#include <cmath>

// Every expression keeps the operand order and grouping of the original arithmetic: reordering
// changes the last bit of some intermediates, and truncation turns that into a whole channel step.

namespace pictor {

namespace {

std::int32_t Trunc(double x) { return static_cast<std::int32_t>(x); }

int Max3(int a, int b, int c) { return std::max(a, std::max(b, c)); }
int Min3(int a, int b, int c) { return std::min(a, std::min(b, c)); }

} // namespace

THLS RGBToHLS(int R, int G, int B)
{
    const int max = Max3(R, G, B);
    const int min = Min3(R, G, B);
    const int d = max - min;
    THLS hls{0.0, 0.0, (max + min) / 2.0};
    if (max == min) return hls;
    if (hls.L < 128)
        hls.S = (d * 255.0) / (max + min);
    else
        hls.S = (d * 255.0) / (510 - max - min);
    if (max == R)
        hls.H = ((G - B) * 60.0) / d;
    else if (max == G)
        hls.H = ((B - R) * 60.0) / d + 120;
    else
        hls.H = ((R - G) * 60.0) / d + 240;
    if (hls.H < 0)
        hls.H += 360;
    else if (hls.H >= 360)
        hls.H -= 360;
    return hls;
}

double HueToRGB(double h, double m2, double m1)
{
    if (h >= 360)
        h -= 360;
    else if (h < 0)
        h += 360;
    if (h < 60) return ((m2 - m1) * h) / 60 + m1;
    if (h < 180) return m2;
    if (h < 240) return ((m2 - m1) * (240 - h)) / 60 + m1;
    return m1;
}

TIntRGB HLSToRGB(double H, double S, double L)
{
    if (S == 0) return {Trunc(L), Trunc(L), Trunc(L)};
    const double m2 = L < 128 ? ((255 + S) * L) / 255 : (L + S) - (L * S) / 255;
    const double m1 = L * 2 - m2;
    return {Trunc(HueToRGB(H + 120, m2, m1)), Trunc(HueToRGB(H, m2, m1)), Trunc(HueToRGB(H - 120, m2, m1))};
}

THSV RGBToHSV(int R, int G, int B)
{
    const int max = Max3(R, G, B);
    const int d = max - Min3(R, G, B);
    THSV hsv{0.0, d == 0 ? 0.0 : (d * 255.0) / max, static_cast<double>(max)};
    if (hsv.S == 0) return hsv;
    // Each term is rounded to a double on its own before the subtraction.
    const double tR = max - (R * 60.0) / d;
    const double tG = max - (G * 60.0) / d;
    const double tB = max - (B * 60.0) / d;
    if (R == max)
        hsv.H = tB - tG;
    else if (G == max)
        hsv.H = 120 + tR - tB;
    else
        hsv.H = 240 + tG - tR;
    if (hsv.H < 0) hsv.H += 360;
    return hsv;
}

TIntRGB HSVToRGB(double H, double S, double V)
{
    if (S == 0) return {Trunc(V), Trunc(V), Trunc(V)};
    const std::int64_t t = static_cast<std::int64_t>(H * 6.0);
    const std::int64_t sector = t / 360;
    const double f = static_cast<double>(t % 360);
    const std::int32_t p = Trunc(((255 - S) * V) / 255);
    const std::int32_t q = Trunc(((255 - (S * f) / 360) * V) / 255);
    const std::int32_t u = Trunc(((255 - ((360 - f) * S) / 360) * V) / 255);
    const std::int32_t v = Trunc(V);
    switch (sector) {
    case 0: return {v, u, p};
    case 1: return {q, v, p};
    case 2: return {p, v, u};
    case 3: return {p, q, v};
    case 4: return {u, p, v};
    default: return {v, p, q};
    }
}

double WrapHue(double h)
{
    if (h >= 360) h -= 360;
    if (h <= 0) h += 360;
    return h;
}

double ClampChannel(double x)
{
    if (x > 255) return 255;
    if (x < 0) return 0;
    return x;
}

int ClampRoundByte(double x)
{
    if (x >= 255) return 255;
    if (x <= 0) return 0;
    // Ties to even, spelled out so that no caller's rounding mode can change the result.
    const double whole = std::floor(x);
    const double fraction = x - whole;  // exact for 0 < x < 255
    int result = static_cast<int>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && (result & 1) != 0)) ++result;
    return result;
}

TIntRGB ContrastRGB(int R, int G, int B, double k)
{
    return {ClampRoundByte(((R - 127.5) * k) + R), ClampRoundByte(((G - 127.5) * k) + G),
            ClampRoundByte(((B - 127.5) * k) + B)};
}

// Runs once per pixel: inlining the conversions saves a sixth of its time.
[[gnu::flatten]] TIntRGB HueSatRGB(int R, int G, int B, int hue, int sat, int light)
{
    THLS hls = RGBToHLS(R, G, B);
    hls.H = WrapHue(hue + hls.H);
    // A grey has no hue to keep, so it must not gain saturation.
    if (hls.S != 0) hls.S = ClampChannel(sat + hls.S);
    if (light >= 0) return HLSToRGB(hls.H, hls.S, ClampChannel(light + hls.L));
    // Darkening scales toward black in HSV so that the colour keeps its saturation.
    const TIntRGB rgb = HLSToRGB(hls.H, hls.S, hls.L);
    const THSV hsv = RGBToHSV(rgb.R, rgb.G, rgb.B);
    return HSVToRGB(hsv.H, hsv.S, ClampChannel(light + hsv.V));
}

TIntRGB BrightContrastRGB(int R, int G, int B, int brightness, int contrast)
{
    const double k = contrast / 100.0;
    const TIntRGB c = ContrastRGB(R, G, B, k);
    return {ClampRoundByte(c.R + brightness), ClampRoundByte(c.G + brightness), ClampRoundByte(c.B + brightness)};
}

TIntRGB BalanceRGB(int R, int G, int B, int dr, int dg, int db)
{
    return {ClampRoundByte(R + dr), ClampRoundByte(G + dg), ClampRoundByte(B + db)};
}

TIntRGB InvertRGB(int R, int G, int B) { return {255 - R, 255 - G, 255 - B}; }

} // namespace pictor
