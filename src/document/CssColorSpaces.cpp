// Conversions as in CSS Color Module Level 4, §"Sample code for color conversions" (matrices as
// published there), and its gamut mapping to an RGB destination.
#include "document/CssColorSpaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictor {

namespace {

using TMatrix = std::array<TTriple, 3>;

TTriple Multiply(const TMatrix& m, const TTriple& v)
{
    TTriple out{};
    for (size_t r = 0; r < 3; ++r) out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
    return out;
}

// Linear-light RGB to XYZ (D65, or D50 for ProPhoto) and back.
constexpr TMatrix LinSrgbToXyz = {{{506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
                                   {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
                                   {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270}}};
constexpr TMatrix XyzToLinSrgb = {{{12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
                                   {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                                   {705.0 / 12673, -2585.0 / 12673, 705.0 / 667}}};
constexpr TMatrix LinP3ToXyz = {{{608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
                                 {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
                                 {0.0, 32229.0 / 714400, 5220557.0 / 5000800}}};
constexpr TMatrix XyzToLinP3 = {{{446124.0 / 178915, -333277.0 / 357830, -72051.0 / 178915},
                                 {-14852.0 / 17905, 63121.0 / 35810, 423.0 / 17905},
                                 {11844.0 / 330415, -50337.0 / 660830, 316169.0 / 330415}}};
constexpr TMatrix LinA98ToXyz = {{{573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
                                  {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
                                  {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835}}};
constexpr TMatrix XyzToLinA98 = {{{1829569.0 / 896150, -506331.0 / 896150, -308931.0 / 896150},
                                  {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                                  {16779.0 / 1248040, -147721.0 / 1248040, 1266979.0 / 1248040}}};
constexpr TMatrix Lin2020ToXyz = {{{63426534.0 / 99577255, 20160776.0 / 139408157, 47086771.0 / 278816314},
                                   {26158966.0 / 99577255, 472592308.0 / 697040785, 8267143.0 / 139408157},
                                   {0.0, 19567812.0 / 697040785, 295819943.0 / 278816314}}};
constexpr TMatrix XyzToLin2020 = {{{30757411.0 / 17917100, -6372589.0 / 17917100, -4539589.0 / 17917100},
                                   {-19765991.0 / 29648200, 47925759.0 / 29648200, 467509.0 / 29648200},
                                   {792561.0 / 44930125, -1921689.0 / 44930125, 42328811.0 / 44930125}}};
constexpr TMatrix LinProPhotoToXyzD50 = {{{0.79776664490064230, 0.13518129740053308, 0.03134773412839220},
                                          {0.28807482881940130, 0.71183523424187300, 0.00008993693872564},
                                          {0.00000000000000000, 0.00000000000000000, 0.82510460251046020}}};
constexpr TMatrix XyzD50ToLinProPhoto = {{{1.34578688164715830, -0.25557208737979464, -0.05110186497554526},
                                          {-0.54463070512490190, 1.50824774284514680, 0.02052744743642139},
                                          {0.00000000000000000, 0.00000000000000000, 1.21196754563894520}}};
// Bradford chromatic adaptation.
constexpr TMatrix D65ToD50 = {{{1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
                               {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
                               {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371}}};
constexpr TMatrix D50ToD65 = {{{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                               {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                               {0.012314014864481998, -0.020507649298898964, 1.330365926242124}}};
constexpr TMatrix XyzToLms = {{{0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
                               {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
                               {0.0481771893596242, 0.2642395317527308, 0.6335478284694309}}};
constexpr TMatrix LmsToOklab = {{{0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
                                 {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
                                 {0.0259040424655478, 0.7827717124575296, -0.8086757549230774}}};
constexpr TMatrix OklabToLms = {{{1.0000000000000000, 0.3963377773761749, 0.2158037573099136},
                                 {1.0000000000000000, -0.1055613458156586, -0.0638541728258133},
                                 {1.0000000000000000, -0.0894841775298119, -1.2914855480194092}}};
constexpr TMatrix LmsToXyz = {{{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                               {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                               {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}}};

// Each transfer function is odd: a negative value is the mirror of a positive one.
template <class TFn> TTriple EachChannel(const TTriple& c, TFn&& fn)
{
    TTriple out{};
    for (size_t k = 0; k < 3; ++k) out[k] = std::copysign(fn(std::fabs(c[k])), c[k]);
    return out;
}

TTriple SrgbToLinear(const TTriple& c)
{
    return EachChannel(c, [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); });
}
TTriple LinearToSrgb(const TTriple& c)
{
    return EachChannel(c, [](double v) { return v > 0.0031308 ? 1.055 * std::pow(v, 1 / 2.4) - 0.055 : 12.92 * v; });
}
TTriple A98ToLinear(const TTriple& c)
{
    return EachChannel(c, [](double v) { return std::pow(v, 563.0 / 256); });
}
TTriple LinearToA98(const TTriple& c)
{
    return EachChannel(c, [](double v) { return std::pow(v, 256.0 / 563); });
}
TTriple ProPhotoToLinear(const TTriple& c)
{
    return EachChannel(c, [](double v) { return v <= 16.0 / 512 ? v / 16 : std::pow(v, 1.8); });
}
TTriple LinearToProPhoto(const TTriple& c)
{
    return EachChannel(c, [](double v) { return v >= 1.0 / 512 ? std::pow(v, 1 / 1.8) : 16 * v; });
}
constexpr double Rec2020Alpha = 1.09929682680944, Rec2020Beta = 0.018053968510807;
TTriple Rec2020ToLinear(const TTriple& c)
{
    return EachChannel(c, [](double v) {
        return v < Rec2020Beta * 4.5 ? v / 4.5 : std::pow((v + Rec2020Alpha - 1) / Rec2020Alpha, 1 / 0.45);
    });
}
TTriple LinearToRec2020(const TTriple& c)
{
    return EachChannel(c, [](double v) {
        return v > Rec2020Beta ? Rec2020Alpha * std::pow(v, 0.45) - (Rec2020Alpha - 1) : 4.5 * v;
    });
}

// CIE Lab against the D50 white.
constexpr double Kappa = 24389.0 / 27, Epsilon = 216.0 / 24389;
constexpr TTriple D50White = {0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};

TTriple LabToXyzD50(const TTriple& lab)
{
    const double f1 = (lab[0] + 16) / 116, f0 = lab[1] / 500 + f1, f2 = f1 - lab[2] / 200;
    const TTriple xyz = {std::pow(f0, 3) > Epsilon ? std::pow(f0, 3) : (116 * f0 - 16) / Kappa,
                         lab[0] > Kappa * Epsilon ? std::pow(f1, 3) : lab[0] / Kappa,
                         std::pow(f2, 3) > Epsilon ? std::pow(f2, 3) : (116 * f2 - 16) / Kappa};
    return {xyz[0] * D50White[0], xyz[1] * D50White[1], xyz[2] * D50White[2]};
}
TTriple XyzD50ToLab(const TTriple& xyz)
{
    TTriple f{};
    for (size_t k = 0; k < 3; ++k) {
        const double v = xyz[k] / D50White[k];
        f[k] = v > Epsilon ? std::cbrt(v) : (Kappa * v + 16) / 116;
    }
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

TTriple OklabToXyz(const TTriple& oklab)
{
    TTriple lms = Multiply(OklabToLms, oklab);
    for (double& v : lms) v = v * v * v;
    return Multiply(LmsToXyz, lms);
}
TTriple XyzToOklab(const TTriple& xyz)
{
    TTriple lms = Multiply(XyzToLms, xyz);
    for (double& v : lms) v = std::cbrt(v);
    return Multiply(LmsToOklab, lms);
}

constexpr double DegreesPerRadian = 180 / std::numbers::pi;

// Lightness, chroma, hue from lightness and two opposing axes, and back.
TTriple ToPolar(const TTriple& c, double hueHint)
{
    const double chroma = std::hypot(c[1], c[2]);
    // A colour of (almost) no chroma has no hue of its own; rounding would give it any.
    double hue = chroma < 1e-9 ? hueHint : std::atan2(c[2], c[1]) * DegreesPerRadian;
    if (hue < 0) hue += 360;
    return {c[0], chroma, hue};
}
TTriple FromPolar(const TTriple& c)
{
    const double radians = c[2] / DegreesPerRadian;
    return {c[0], c[1] * std::cos(radians), c[1] * std::sin(radians)};
}

TTriple HwbToSrgb(const TTriple& hwb)
{
    double white = hwb[1] / 100, black = hwb[2] / 100;
    if (white + black >= 1) {
        const double gray = white / (white + black);
        return {gray, gray, gray};
    }
    TTriple rgb = HslToSrgb(hwb[0], 1, 0.5);
    for (double& v : rgb) v = v * (1 - white - black) + white;
    return rgb;
}
TTriple SrgbToHwb(const TTriple& rgb, double hueHint)
{
    const double max = std::max({rgb[0], rgb[1], rgb[2]}), min = std::min({rgb[0], rgb[1], rgb[2]});
    const double d = max - min;
    double hue = hueHint;
    if (d > 1e-12) {
        if (max == rgb[0]) hue = (rgb[1] - rgb[2]) / d + (rgb[1] < rgb[2] ? 6 : 0);
        else if (max == rgb[1]) hue = (rgb[2] - rgb[0]) / d + 2;
        else hue = (rgb[0] - rgb[1]) / d + 4;
        hue *= 60;
    }
    return {hue, min * 100, (1 - max) * 100};
}

TTriple ToXyzD65(TColorSpace space, const TTriple& c)
{
    switch (space) {
    case TColorSpace::Srgb: return Multiply(LinSrgbToXyz, SrgbToLinear(c));
    case TColorSpace::SrgbLinear: return Multiply(LinSrgbToXyz, c);
    case TColorSpace::DisplayP3: return Multiply(LinP3ToXyz, SrgbToLinear(c));
    case TColorSpace::Rec2020: return Multiply(Lin2020ToXyz, Rec2020ToLinear(c));
    case TColorSpace::A98Rgb: return Multiply(LinA98ToXyz, A98ToLinear(c));
    case TColorSpace::ProPhotoRgb: return Multiply(D50ToD65, Multiply(LinProPhotoToXyzD50, ProPhotoToLinear(c)));
    case TColorSpace::XyzD50: return Multiply(D50ToD65, c);
    case TColorSpace::XyzD65: return c;
    case TColorSpace::Lab: return Multiply(D50ToD65, LabToXyzD50(c));
    case TColorSpace::Lch: return Multiply(D50ToD65, LabToXyzD50(FromPolar(c)));
    case TColorSpace::Oklab: return OklabToXyz(c);
    case TColorSpace::Oklch: return OklabToXyz(FromPolar(c));
    case TColorSpace::Hwb: return Multiply(LinSrgbToXyz, SrgbToLinear(HwbToSrgb(c)));
    }
    return c;
}

TTriple FromXyzD65(TColorSpace space, const TTriple& xyz, double hueHint)
{
    switch (space) {
    case TColorSpace::Srgb: return LinearToSrgb(Multiply(XyzToLinSrgb, xyz));
    case TColorSpace::SrgbLinear: return Multiply(XyzToLinSrgb, xyz);
    case TColorSpace::DisplayP3: return LinearToSrgb(Multiply(XyzToLinP3, xyz));
    case TColorSpace::Rec2020: return LinearToRec2020(Multiply(XyzToLin2020, xyz));
    case TColorSpace::A98Rgb: return LinearToA98(Multiply(XyzToLinA98, xyz));
    case TColorSpace::ProPhotoRgb: return LinearToProPhoto(Multiply(XyzD50ToLinProPhoto, Multiply(D65ToD50, xyz)));
    case TColorSpace::XyzD50: return Multiply(D65ToD50, xyz);
    case TColorSpace::XyzD65: return xyz;
    case TColorSpace::Lab: return XyzD50ToLab(Multiply(D65ToD50, xyz));
    case TColorSpace::Lch: return ToPolar(XyzD50ToLab(Multiply(D65ToD50, xyz)), hueHint);
    case TColorSpace::Oklab: return XyzToOklab(xyz);
    case TColorSpace::Oklch: return ToPolar(XyzToOklab(xyz), hueHint);
    case TColorSpace::Hwb: return SrgbToHwb(LinearToSrgb(Multiply(XyzToLinSrgb, xyz)), hueHint);
    }
    return xyz;
}

// Values this close outside 0-1 are rounding, not colour.
constexpr double GamutSlack = 1e-7;

bool InGamut(const TTriple& srgb)
{
    return std::all_of(srgb.begin(), srgb.end(), [](double v) { return v >= -GamutSlack && v <= 1 + GamutSlack; });
}

TTriple Clip(const TTriple& srgb)
{
    return {std::clamp(srgb[0], 0.0, 1.0), std::clamp(srgb[1], 0.0, 1.0), std::clamp(srgb[2], 0.0, 1.0)};
}

double DeltaEOk(const TTriple& srgbA, const TTriple& srgbB)
{
    const TTriple a = XyzToOklab(ToXyzD65(TColorSpace::Srgb, srgbA)), b = XyzToOklab(ToXyzD65(TColorSpace::Srgb, srgbB));
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

int ToByte(double v)
{
    return int(std::floor(std::clamp(v * 255, 0.0, 255.0) + 0.5));
}

} // namespace

TTriple HslToSrgb(double hue, double saturation, double lightness)
{
    double h = std::fmod(hue, 360.0);
    if (h < 0) h += 360;
    TTriple out{};
    const double n[3] = {0, 8, 4};
    for (size_t k = 0; k < 3; ++k) {
        const double m = std::fmod(n[k] + h / 30, 12.0);
        const double a = saturation * std::min(lightness, 1 - lightness);
        out[k] = lightness - a * std::max(-1.0, std::min({m - 3, 9 - m, 1.0}));
    }
    return out;
}

// The binary search on oklch chroma of "CSS gamut mapping to an RGB destination".
TTriple MapIntoSrgbGamut(const TTriple& srgb, double jnd)
{
    if (InGamut(srgb)) return Clip(srgb);
    TTriple current = FromXyzD65(TColorSpace::Oklch, ToXyzD65(TColorSpace::Srgb, srgb), 0);
    if (current[0] >= 1) return {1, 1, 1};
    if (current[0] <= 0) return {0, 0, 0};
    constexpr double Precision = 0.0001;
    const auto toSrgb = [](const TTriple& oklch) { return FromXyzD65(TColorSpace::Srgb, ToXyzD65(TColorSpace::Oklch, oklch), 0); };
    TTriple clipped = Clip(srgb);
    if (DeltaEOk(clipped, srgb) < jnd) return clipped;
    double min = 0, max = current[1];
    bool minInGamut = true;
    while (max - min > Precision) {
        current[1] = (min + max) / 2;
        const TTriple candidate = toSrgb(current);
        if (minInGamut && InGamut(candidate)) {
            min = current[1];
            continue;
        }
        clipped = Clip(candidate);
        const double e = DeltaEOk(clipped, candidate);
        if (e < jnd) {
            if (jnd - e < Precision) return clipped;
            minInGamut = false;
            min = current[1];
        } else {
            max = current[1];
        }
    }
    return clipped;
}

TTriple SpaceToSrgb(TColorSpace space, const TTriple& coordinates)
{
    if (space == TColorSpace::Srgb) return coordinates;
    if (space == TColorSpace::Hwb) return HwbToSrgb(coordinates);
    TTriple srgb = FromXyzD65(TColorSpace::Srgb, ToXyzD65(space, coordinates), 0);
    // Coordinates far beyond any gamut (1e300) overflow to NaN; such a channel is taken as 0, so that
    // what is listed, adjusted and written back agree.
    for (double& v : srgb)
        if (std::isnan(v)) v = 0;
    return srgb;
}

TTriple SrgbToSpace(TColorSpace space, const TTriple& srgb, double hueHint)
{
    if (space == TColorSpace::Srgb) return srgb;
    if (space == TColorSpace::Hwb) return SrgbToHwb(srgb, hueHint);
    return FromXyzD65(space, ToXyzD65(TColorSpace::Srgb, srgb), hueHint);
}

TColor SrgbToDisplay(const TTriple& srgb)
{
    const TTriple shown = MapIntoSrgbGamut(srgb);
    return RGB(ToByte(shown[0]), ToByte(shown[1]), ToByte(shown[2]));
}

} // namespace pictor
