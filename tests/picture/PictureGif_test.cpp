#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"

#include <gtest/gtest.h>

#include <gif_lib.h>

namespace pictor {
namespace {

TBitmapEx Decode(const std::string& bytes) { return DecodePicture(TPictureFormat::Gif, bytes, "t.gif"); }

struct TRawImage {
    int Left, Top, Width, Height;
    std::vector<std::uint8_t> Indices;  // rows from the top
    int Transparent = NO_TRANSPARENT_COLOR;
    bool Interlaced = false;
};

int Append(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), std::size_t(length));
    return length;
}

// GIFs the program never writes (a first image smaller than the canvas, interlacing), made with giflib.
std::string RawGif(int width, int height, int background, const std::vector<TRawImage>& images)
{
    static const GifColorType palette[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Append, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(4, palette);
    EXPECT_EQ(EGifPutScreenDesc(gif, width, height, 8, background, map), GIF_OK);
    for (const TRawImage& image : images) {
        if (image.Transparent != NO_TRANSPARENT_COLOR) {
            const GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, image.Transparent};
            GifByteType extension[4];
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(EGifGCBToExtension(&control, extension)), extension);
        }
        EXPECT_EQ(EGifPutImageDesc(gif, image.Left, image.Top, image.Width, image.Height, image.Interlaced, nullptr), GIF_OK);
        std::vector<std::pair<int, int>> passes{{0, 1}};
        if (image.Interlaced) passes = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
        std::vector<GifPixelType> indices = image.Indices;
        for (auto [start, step] : passes)
            for (int y = start; y < image.Height; y += step)
                EXPECT_EQ(EGifPutLine(gif, indices.data() + y * image.Width, image.Width), GIF_OK);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

TFrame Frame(int left, int top, const TBitmapEx& pixels, int delay, int disposal)
{
    TFrame frame = pixels.Frame(0);
    frame.Left = left;
    frame.Top = top;
    frame.DelayCs = delay;
    frame.Disposal = disposal;
    return frame;
}

// Transparent pixels keep no colour of their own in a GIF: they come back black.
void MakeTransparent(TFrame& frame, std::size_t pixel)
{
    frame.Alpha.resize(frame.Pixels.size() / 3, 255);
    frame.Alpha[pixel] = 0;
    std::fill_n(&frame.Pixels[pixel * 3], 3, 0);
}

TEST(PictureGif, StillPicturesRoundTrip)
{
    const TBitmapEx few = test::FewColours(13, 9);
    const TBitmapEx back = Decode(EncodeGif(few, "t.gif"));
    EXPECT_TRUE(back.SamePixels(few));
    EXPECT_EQ(back.Extras().GifLoopCount, -1);
    EXPECT_FALSE(back.Extras().GifHasTransparency);

    // More than 256 colours are quantised to a palette close to them.
    const TBitmapEx many = test::ManyColours(60, 40);
    ASSERT_GT(test::DistinctColours(many.Frame(0)), 256u);
    const TBitmapEx quantised = Decode(EncodeGif(many, "t.gif"));
    EXPECT_LE(test::DistinctColours(quantised.Frame(0)), 256u);
    EXPECT_LE(test::MaxDifference(quantised.Frame(0), many.Frame(0)), 32) << "each colour close to its own";
}

TEST(PictureGif, AnimationKeepsFramesTimingLoopAndTransparency)
{
    TBitmapEx bitmap;
    std::vector<TFrame> frames = {Frame(0, 0, test::FewColours(12, 10), 10, 1),
                                  Frame(2, 3, test::FewColours(4, 5), 20, 2),
                                  Frame(0, 9, test::FewColours(12, 1), 30, 3)};
    MakeTransparent(frames[0], 5);
    MakeTransparent(frames[1], 0);
    MakeTransparent(frames[1], 19);
    bitmap.SetFrames(frames);
    TPictureExtras extras;
    extras.GifLoopCount = 0;
    bitmap.SetExtras(extras);

    const TBitmapEx back = Decode(EncodeGif(bitmap, "t.gif"));
    ASSERT_EQ(back.FrameCount(), 3);
    EXPECT_TRUE(back.SamePixels(bitmap));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(back.Frame(k).DelayCs, frames[std::size_t(k)].DelayCs);
        EXPECT_EQ(back.Frame(k).Disposal, frames[std::size_t(k)].Disposal);
    }
    EXPECT_EQ(back.Extras().GifLoopCount, 0);
    EXPECT_TRUE(back.Extras().GifHasTransparency);
}

// GIFs the program never writes: a first image smaller than the canvas is placed on it, whole or seen
// through, a later one is cut to the canvas, and interlaced rows land in place.
TEST(PictureGif, ImagesAreLaidOnTheCanvasAndInterlacedRowsInPlace)
{
    const TRawImage small{1, 1, 2, 1, {1, 3}};
    const TBitmapEx opaque = Decode(RawGif(4, 3, 2, {small}));
    ASSERT_EQ(opaque.Width(), 4);
    ASSERT_EQ(opaque.Height(), 3);
    EXPECT_TRUE(opaque.Frame(0).Alpha.empty());
    const auto& p = opaque.Frame(0).Pixels;
    EXPECT_EQ(p[0 * 3 + 1], 255) << "outside the image: the background colour (green)";
    EXPECT_EQ(p[5 * 3 + 2], 255) << "red at (1, 1)";
    EXPECT_EQ(p[6 * 3 + 0], 255) << "blue at (2, 1)";

    TRawImage seeThrough = small;
    seeThrough.Transparent = 3;
    const TRawImage beyond{3, 2, 3, 3, std::vector<std::uint8_t>(9, 1)};  // cut to its one pixel on the canvas
    const TBitmapEx transparent = Decode(RawGif(4, 3, 2, {seeThrough, beyond}));
    TPixelBytes alpha(12, 0);
    alpha[5] = 255;
    EXPECT_EQ(transparent.Frame(0).Alpha, alpha);
    ASSERT_EQ(transparent.FrameCount(), 2);
    EXPECT_EQ(transparent.Frame(1).Left, 3);
    EXPECT_EQ(transparent.Frame(1).Width, 1);
    EXPECT_EQ(transparent.Frame(1).Height, 1);

    TRawImage image{0, 0, 1, 11, {}};
    image.Interlaced = true;
    for (int y = 0; y < 11; ++y)
        image.Indices.push_back(std::uint8_t(y % 4));
    const TBitmapEx bitmap = Decode(RawGif(1, 11, 0, {image}));
    const std::uint8_t red[4] = {0, 255, 0, 0};
    for (int y = 0; y < 11; ++y)
        EXPECT_EQ(bitmap.ScanLine(y)[2], red[y % 4]) << y;
}

TEST(PictureGif, BadFilesRaiseErrorsNamingTheFile)
{
    const std::string good = EncodeGif(test::ManyColours(64, 64), "t.gif");
    std::string huge = good;
    huge.replace(6, 4, "\xFF\xFF\xFF\xFF");  // 65535 x 65535 canvas
    test::ExpectDecodeErrors(TPictureFormat::Gif,
        {{good.substr(0, good.size() / 2), "GIF ファイルが途中で切れています"}, {good.substr(0, 8), "GIF ファイルが途中で切れています"},
         {"\x89PNG\r\n\x1a\n", "GIF ファイルではありません"},
         {huge, "大きすぎます（65535×65535 ピクセル、上限は 268435456 ピクセル）"}});
}

} // namespace
} // namespace pictor
