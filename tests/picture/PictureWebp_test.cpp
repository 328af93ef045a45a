#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"

#include <gtest/gtest.h>

#include <webp/encode.h>
#include <webp/mux.h>

namespace pictor {
namespace {

TBitmapEx Decode(const std::string& bytes) { return DecodePicture(TPictureFormat::Webp, bytes, "t.webp"); }

// Files made by libwebp itself, as other programs write them.
std::string FromLibwebp(std::uint8_t* bytes, std::size_t size)
{
    std::string out(reinterpret_cast<const char*>(bytes), size);
    WebPFree(bytes);
    return out;
}

std::string Bgra(const TFrame& frame)
{
    std::string bgra;
    for (std::size_t i = 0; i < std::size_t(frame.Width) * std::size_t(frame.Height); ++i) {
        bgra.append(reinterpret_cast<const char*>(&frame.Pixels[i * 3]), 3);
        bgra += char(frame.Alpha.empty() ? 255 : frame.Alpha[i]);
    }
    return bgra;
}

std::string LibwebpStill(const TFrame& frame, float quality, bool lossless)
{
    std::uint8_t* out = nullptr;
    const std::string bgra = Bgra(frame);
    const auto* in = reinterpret_cast<const std::uint8_t*>(bgra.data());
    const std::size_t size = lossless ? WebPEncodeLosslessBGRA(in, frame.Width, frame.Height, frame.Width * 4, &out)
                                      : WebPEncodeBGRA(in, frame.Width, frame.Height, frame.Width * 4, quality, &out);
    return FromLibwebp(out, size);
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
    const TBitmapEx picture = Smooth(64, 64);
    for (int quality : {10, 30, 50, 75, 90, 100}) {
        SCOPED_TRACE(quality);
        const TBitmapEx read = Decode(LibwebpStill(picture.Frame(0), float(quality), false));
        EXPECT_FALSE(read.Extras().WebpLossless);
        EXPECT_NEAR(read.Extras().WebpQuality, quality, 5);
        EXPECT_LE(MaxDifference(read.Frame(0), picture.Frame(0)), quality >= 75 ? 16 : 48) << "channels in their places";
        const TBitmapEx again = Decode(EncodeWebp(read, "t.webp"));
        EXPECT_NEAR(again.Extras().WebpQuality, read.Extras().WebpQuality, 5) << "not coarser each time it is saved";
    }
}

TEST(PictureWebp, LossyAlphaIsKeptExactly)
{
    const TBitmapEx picture = WithAlpha(Smooth(32, 16));
    const TBitmapEx read = Decode(LibwebpStill(picture.Frame(0), 80, false));
    EXPECT_EQ(read.Frame(0).Alpha, picture.Frame(0).Alpha);
    TBitmapEx inverted = read;
    inverted.Invert();
    EXPECT_EQ(Decode(EncodeWebp(inverted, "t.webp")).Frame(0).Alpha, picture.Frame(0).Alpha);
}

// Three frames of 8 x 6, each its own colour, shown for their own time, looping three times.
std::string LibwebpAnimation(bool lossless)
{
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    options.anim_params.loop_count = 3;
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(8, 6, &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = lossless;
    config.quality = 90;
    int timestamp = 0;
    const int colours[3][3] = {{255, 0, 0}, {0, 128, 255}, {20, 200, 20}};
    const int delays[3] = {100, 250, 40};
    for (int k = 0; k < 3; ++k) {
        const TBitmapEx frame = test::Solid(8, 6, colours[k][0], colours[k][1], colours[k][2]);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = 8;
        picture.height = 6;
        WebPPictureImportBGR(&picture, frame.Frame(0).Pixels.data(), 24);
        EXPECT_TRUE(WebPAnimEncoderAdd(encoder, &picture, timestamp, &config));
        WebPPictureFree(&picture);
        timestamp += delays[k];
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData data;
    WebPDataInit(&data);
    EXPECT_TRUE(WebPAnimEncoderAssemble(encoder, &data));
    std::string out(reinterpret_cast<const char*>(data.bytes), data.size);
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return out;
}

TEST(PictureWebp, AnimationsKeepEveryFrameItsTimeAndTheirLoops)
{
    for (bool lossless : {true, false}) {
        SCOPED_TRACE(lossless);
        const TBitmapEx read = Decode(LibwebpAnimation(lossless));
        ASSERT_EQ(read.FrameCount(), 3);
        EXPECT_TRUE(read.Extras().WebpAnimated);
        EXPECT_EQ(read.Extras().WebpLossless, lossless);
        EXPECT_EQ(read.Extras().WebpLoopCount, 3);
        TBitmapEx inverted = read;
        inverted.Invert();
        const TBitmapEx back = Decode(EncodeWebp(inverted, "t.webp"));
        ASSERT_EQ(back.FrameCount(), 3);
        EXPECT_EQ(back.Extras().WebpLoopCount, 3);
        EXPECT_EQ(back.Extras().WebpLossless, lossless);
        const int delays[3] = {100, 250, 40};
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(back.Frame(k).DelayMs, delays[k]);
            EXPECT_LE(MaxDifference(back.Frame(k), inverted.Frame(k)), lossless ? 0 : 6) << "frame " << k;
        }
        EXPECT_EQ(back.Frame(1).Pixels[0], 255 - read.Frame(1).Pixels[0]);
    }
}

TEST(PictureWebp, WhatIsNoWebpIsRefused)
{
    const std::string good = LibwebpStill(test::ManyColours(9, 9).Frame(0), 0, true);
    const std::string inputs[] = {"", "RIFF", "not a picture at all", good.substr(0, good.size() / 2),
                                  EncodePng(test::ManyColours(9, 9), "t.png")};
    for (const std::string& input : inputs) test::ExpectDecodeError(TPictureFormat::Webp, input);
}

} // namespace
} // namespace pictor
