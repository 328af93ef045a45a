#pragma once
#include <cstdint>

namespace pictor {

struct TIntRGB {
    std::int32_t R, G, B;
};
struct THLS {
    double H, S, L;
};
struct THSV {
    double H, S, V;
};

THLS RGBToHLS(int R, int G, int B);
TIntRGB HLSToRGB(double H, double S, double L);
THSV RGBToHSV(int R, int G, int B);
TIntRGB HSVToRGB(double H, double S, double V);
double HueToRGB(double h, double m2, double m1);
double WrapHue(double h);
double ClampChannel(double x);
int ClampRoundByte(double x);
TIntRGB ContrastRGB(int R, int G, int B, double k);

TIntRGB HueSatRGB(int R, int G, int B, int hue, int sat, int light);
TIntRGB BrightContrastRGB(int R, int G, int B, int brightness, int contrast);
TIntRGB BalanceRGB(int R, int G, int B, int dr, int dg, int db);
TIntRGB InvertRGB(int R, int G, int B);

} // namespace pictor
