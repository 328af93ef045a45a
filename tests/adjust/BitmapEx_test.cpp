#include "base/WorkPool.h"
#include "picture/BitmapEx.h"
#include "adjust/ColorModels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <utility>
#include <vector>

namespace pictor {
namespace {

using PerColour = std::function<TIntRGB(int, int, int)>;

TFrame MakeFrame(int width, int height, std::vector<std::uint8_t> pixels, std::vector<std::uint8_t> alpha = {})
{
    TFrame frame;
    frame.Width = width;
    frame.Height = height;
    frame.Pixels.assign(pixels.begin(), pixels.end());
    frame.Alpha.assign(alpha.begin(), alpha.end());
    return frame;
}

TFrame Filled(int width, int height, std::uint8_t fill)
{
    return MakeFrame(width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3, fill));
}

TBitmapEx FromFrames(std::vector<TFrame> frames)
{
    TBitmapEx bitmap;
    bitmap.SetFrames(std::move(frames));
    return bitmap;
}

TBitmapEx RandomBitmap(int width, int height, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 3);
    for (auto& byte : pixels) byte = std::uint8_t(rng());
    return FromFrames({MakeFrame(width, height, std::move(pixels))});
}

// A 4096 x 4096 picture holding each of the 16.7 million colours once.
const TBitmapEx& EveryColour()
{
    static const TBitmapEx bitmap = [] {
        std::vector<std::uint8_t> pixels(std::size_t(3) << 24);
        for (std::uint32_t c = 0; c < (1u << 24); ++c) {
            pixels[3 * std::size_t(c)] = std::uint8_t(c);
            pixels[3 * std::size_t(c) + 1] = std::uint8_t(c >> 8);
            pixels[3 * std::size_t(c) + 2] = std::uint8_t(c >> 16);
        }
        return FromFrames({MakeFrame(4096, 4096, std::move(pixels))});
    }();
    return bitmap;
}

// Every pixel of `after` must be what the per-colour function makes of the same pixel of `before`.
::testing::AssertionResult EachPixelFollows(const TBitmapEx& before, const TBitmapEx& after, const PerColour& perColour)
{
    if (before.FrameCount() != after.FrameCount()) return ::testing::AssertionFailure() << "frame count changed";
    for (int f = 0; f < before.FrameCount(); ++f) {
        const auto& in = before.Frame(f).Pixels;
        const auto& out = after.Frame(f).Pixels;
        if (in.size() != out.size() || before.Frame(f).Alpha != after.Frame(f).Alpha)
            return ::testing::AssertionFailure() << "frame " << f << " changed size or alpha";
        for (std::size_t i = 0; i < in.size(); i += 3) {
            const TIntRGB want = perColour(in[i + 2], in[i + 1], in[i]);
            if (out[i] != want.B || out[i + 1] != want.G || out[i + 2] != want.R)
                return ::testing::AssertionFailure() << "frame " << f << " pixel " << i / 3 << ": (" << int(in[i + 2]) << ","
                                                     << int(in[i + 1]) << "," << int(in[i]) << ") came out wrong";
        }
    }
    return ::testing::AssertionSuccess();
}

// Reading leaves copies sharing; writing pixels, alpha, extras or frames parts the one written. SamePixels,
// the tests' own judge of pixels, sees each of those writes but the extras', in any frame.
TEST(BitmapExStorage, CopiesShareUntilOneIsWrittenAndSamePixelsSeesEveryFrameAndAlpha)
{
    const TBitmapEx original = FromFrames({Filled(2, 2, 5), Filled(1, 1, 6)});
    TBitmapEx copy = original, a = original, b = original, c = original, d = original;
    const TBitmapEx& constCopy = copy;
    (void)constCopy.ScanLine(0);
    (void)constCopy.Frame(0);
    EXPECT_TRUE(copy.SharesPixelsWith(original)) << "reading must not detach";

    copy.ScanLine(1)[5] = 77;
    a.MutableFrame(0).Alpha.assign(4, 0);
    TPictureExtras extras;
    extras.GifLoopCount = 3;
    b.SetExtras(extras);
    c.SetFrames({Filled(2, 2, 5)});
    d.MutableFrame(1).Pixels[2] = 7;
    for (const TBitmapEx* changed : {&copy, &a, &b, &c, &d}) EXPECT_FALSE(changed->SharesPixelsWith(original));
    for (const TBitmapEx* changed : {&copy, &a, &c, &d}) EXPECT_FALSE(changed->SamePixels(original));
    EXPECT_TRUE(b.SamePixels(original));
    // The original stays as it was.
    EXPECT_TRUE(original.SamePixels(FromFrames({Filled(2, 2, 5), Filled(1, 1, 6)})));
    EXPECT_NE(original.Extras().GifLoopCount, 3);
}

// Few distinct colours in two frames, so that most pixels are served from remembered results, some
// after their slot was taken by another colour.
TBitmapEx RepeatedColours()
{
    std::mt19937 rng(3);
    std::vector<std::uint32_t> palette(70000);
    for (auto& c : palette) c = rng() & 0xFFFFFF;
    std::vector<std::uint8_t> pixels(std::size_t(1000) * 700 * 3);
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        const std::uint32_t c = palette[rng() % (i < pixels.size() / 2 ? 500 : palette.size())];
        pixels[i] = std::uint8_t(c);
        pixels[i + 1] = std::uint8_t(c >> 8);
        pixels[i + 2] = std::uint8_t(c >> 16);
    }
    return FromFrames({MakeFrame(1000, 700, pixels), MakeFrame(700, 1000, pixels)});
}

// Every adjustment is its per-colour function on every pixel, the picture it was copied from left as it
// was: each of the 16.7 million colours, pictures split into bands of unequal and empty row counts, and
// remembered colours.
TEST(BitmapExAdjust, EveryPixelFollowsThePerColourFunction)
{
    using TRun = std::function<void(TBitmapEx&, TWorkPool*)>;
    const auto hue = [](int h, int s, int l) {
        return std::pair<TRun, PerColour>{[=](TBitmapEx& b, TWorkPool* p) { b.HueSat(h, s, l, p); },
                                          [=](int r, int g, int b) { return HueSatRGB(r, g, b, h, s, l); }};
    };
    const auto bright = [](int br, int c) {
        return std::pair<TRun, PerColour>{[=](TBitmapEx& b, TWorkPool* p) { b.BrightContrast(br, c, p); },
                                          [=](int r, int g, int b) { return BrightContrastRGB(r, g, b, br, c); }};
    };
    const auto balance = [](int red, int green, int blue) {
        return std::pair<TRun, PerColour>{[=](TBitmapEx& b, TWorkPool* p) { b.ColorBalance(red, green, blue, p); },
                                          [=](int r, int g, int b) { return BalanceRGB(r, g, b, red, green, blue); }};
    };
    // The last three: zero parameters still run, and hue 0 may still lower a channel by truncation.
    const std::pair<TRun, PerColour> adjustments[] = {{[](TBitmapEx& b, TWorkPool* p) { b.Invert(p); }, InvertRGB},
                                                      balance(37, -255, 200),
                                                      bright(10, 50),
                                                      bright(-30, -73),
                                                      hue(30, 20, 10),
                                                      hue(-180, -45, -37),
                                                      bright(-7, 33),
                                                      hue(-75, 40, -20),
                                                      hue(170, -30, 60),
                                                      hue(170, -30, -60),
                                                      balance(0, 0, 0),
                                                      bright(0, 0),
                                                      hue(0, 0, 0)};
    // Every colour through the first six; the others, frames with alpha (one empty) and empty pictures too,
    // through all.
    const TBitmapEx pictures[] = {EveryColour(),
                                  RandomBitmap(300001, 1, 1),
                                  RandomBitmap(100003, 3, 2),
                                  RandomBitmap(641, 487, 3),
                                  RepeatedColours(),
                                  FromFrames({MakeFrame(2, 1, {1, 2, 3, 4, 5, 6}, {0, 255}), MakeFrame(0, 0, {}),
                                              MakeFrame(1, 2, {7, 8, 9, 250, 251, 252}, {9, 10})}),
                                  TBitmapEx(),
                                  TBitmapEx(0, 5),
                                  TBitmapEx(5, 0)};
    TWorkPool pool(3);
    for (const TBitmapEx& picture : pictures)
        for (std::size_t k = 0; k < (&picture == pictures ? 6 : std::size(adjustments)); ++k) {
            TBitmapEx adjusted = picture;
            adjustments[k].first(adjusted, &pool);
            EXPECT_TRUE(EachPixelFollows(picture, adjusted, adjustments[k].second))
                << picture.Width() << "x" << picture.Height() << ", adjustment " << k;
        }
}

} // namespace
} // namespace pictor
