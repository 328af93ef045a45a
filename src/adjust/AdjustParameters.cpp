#include "adjust/AdjustParameters.h"

namespace pictor {

namespace {

constexpr TAdjustParameter HueSatParameters[] = {
    {"hue", "色相(&H):", -180, 180, 0},
    {"saturation", "彩度(&S):", -255, 255, 0},
    {"lightness", "明度(&V):", -255, 255, 0},
};
constexpr TAdjustParameter BrightContrastParameters[] = {
    {"brightness", "明るさ(&B):", -255, 255, 0},
    {"contrast", "コントラスト(&C):", -100, 100, 0},
};
constexpr TAdjustParameter ColorBalanceParameters[] = {
    {"red", "赤(&R):", -255, 255, 0},
    {"green", "緑(&G):", -255, 255, 0},
    {"blue", "青(&B):", -255, 255, 0},
};

} // namespace

std::span<const TAdjustParameter> AdjustParameters(TAdjustKind kind)
{
    switch (kind) {
    case akHueSat: return HueSatParameters;
    case akBrightContrast: return BrightContrastParameters;
    case akColorBalance: return ColorBalanceParameters;
    case akInvert:
    case akNewColor:
    case akDark: break;
    }
    return {};
}

} // namespace pictor
