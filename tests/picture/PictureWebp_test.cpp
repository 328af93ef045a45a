#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"

#include <gtest/gtest.h>

#include <webp/encode.h>

namespace pictor {
namespace {

TBitmapEx Decode(const std::string& bytes) { return DecodePicture(TPictureFormat::Webp, bytes, "t.webp"); }

std::string Bgra(const TFrame& frame)
{
    std::string bgra;
    for (std::size_t i = 0; i < std::size_t(frame.Width) * std::size_t(frame.Height); ++i) {
        bgra.append(reinterpret_cast<const char*>(&frame.Pixels[i * 3]), 3);
        bgra += char(frame.Alpha.empty() ? 255 : frame.Alpha[i]);
    }
    return bgra;
}

// A file made by libwebp itself, as other programs write them.
std::string LibwebpStill(const TFrame& frame, float quality, bool lossless)
{
    std::uint8_t* out = nullptr;
    const std::string bgra = Bgra(frame);
    const auto* in = reinterpret_cast<const std::uint8_t*>(bgra.data());
    const std::size_t size = lossless ? WebPEncodeLosslessBGRA(in, frame.Width, frame.Height, frame.Width * 4, &out)
                                      : WebPEncodeBGRA(in, frame.Width, frame.Height, frame.Width * 4, quality, &out);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    return bytes;
}

// A gentle picture, as photographs are: lossy coding keeps it close.
TBitmapEx Smooth(int width, int height)
{
    TBitmapEx bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
            p[0] = std::uint8_t(40 + x * 2), p[1] = std::uint8_t(60 + y * 2), p[2] = std::uint8_t(120 + (x + y));
        }
    return bitmap;
}

using test::MaxDifference;
using test::WithAlpha;

TEST(PictureWebp, LosslessFilesComeBackExactAndAreWrittenLossless)
{
    struct TCase {
        const char* Name;
        TBitmapEx Picture;
    };
    const TCase cases[] = {{"opaque", test::ManyColours(19, 7)}, {"alpha", WithAlpha(test::ManyColours(19, 7))}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TBitmapEx read = Decode(LibwebpStill(c.Picture.Frame(0), 0, true));
        EXPECT_TRUE(read.SamePixels(c.Picture));
        EXPECT_TRUE(read.Extras().WebpLossless);
        EXPECT_FALSE(read.Extras().WebpAnimated);
        TBitmapEx inverted = read;
        inverted.Invert();
        const TBitmapEx back = Decode(EncodeWebp(inverted, "t.webp"));
        EXPECT_TRUE(back.SamePixels(inverted));
        EXPECT_TRUE(back.Extras().WebpLossless);
    }
}

TEST(PictureWebp, LossyFilesAreWrittenAtTheQualityTheyWereMadeWith)
{
    const TBitmapEx picture = WithAlpha(Smooth(64, 64));
    for (int quality : {10, 30, 50, 75, 90, 100}) {
        SCOPED_TRACE(quality);
        const TBitmapEx read = Decode(LibwebpStill(picture.Frame(0), float(quality), false));
        EXPECT_FALSE(read.Extras().WebpLossless);
        EXPECT_NEAR(read.Extras().WebpQuality, quality, 5);
        EXPECT_LE(MaxDifference(read.Frame(0), picture.Frame(0)), quality >= 75 ? 16 : 48) << "channels in their places";
        const TBitmapEx again = Decode(EncodeWebp(read, "t.webp"));
        EXPECT_NEAR(again.Extras().WebpQuality, read.Extras().WebpQuality, 5) << "not coarser each time it is saved";
        EXPECT_EQ(again.Frame(0).Alpha, picture.Frame(0).Alpha) << "lossy alpha is kept exactly";
    }
}

// Three frames of 8 x 6, each its own colour, shown for their own time, looping three times.
TEST(PictureWebp, AnimationsKeepEveryFrameItsTimeAndTheirLoops)
{
    const int colours[3][3] = {{255, 0, 0}, {0, 128, 255}, {20, 200, 20}};
    const int delays[3] = {100, 250, 40};
    std::vector<TFrame> frames;
    for (int k = 0; k < 3; ++k) {
        frames.push_back(test::Solid(8, 6, colours[k][0], colours[k][1], colours[k][2]).Frame(0));
        frames.back().DelayMs = delays[k];
    }
    for (bool lossless : {true, false}) {
        SCOPED_TRACE(lossless);
        TBitmapEx animation;
        animation.SetFrames(frames);
        TPictureExtras extras;
        extras.WebpAnimated = true;
        extras.WebpLossless = lossless;
        extras.WebpQuality = 90;
        extras.WebpLoopCount = 3;
        animation.SetExtras(extras);
        const TBitmapEx back = Decode(EncodeWebp(animation, "t.webp"));
        ASSERT_EQ(back.FrameCount(), 3);
        EXPECT_TRUE(back.Extras().WebpAnimated);
        EXPECT_EQ(back.Extras().WebpLoopCount, 3);
        EXPECT_EQ(back.Extras().WebpLossless, lossless);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(back.Frame(k).DelayMs, delays[k]);
            EXPECT_LE(MaxDifference(back.Frame(k), animation.Frame(k)), lossless ? 0 : 6) << "frame " << k;
        }
    }
}

TEST(PictureWebp, WhatIsNoWebpIsRefused)
{
    const std::string good = LibwebpStill(test::ManyColours(9, 9).Frame(0), 0, true);
    test::ExpectDecodeErrors(TPictureFormat::Webp, {{"", ""},
                                                    {"RIFF", ""},
                                                    {"not a picture at all", ""},
                                                    {good.substr(0, good.size() / 2), ""},
                                                    {EncodePng(test::ManyColours(9, 9), "t.png"), ""}});
}

} // namespace
} // namespace pictor
