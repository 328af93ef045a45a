#include "base/WorkPool.h"
#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"

#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

namespace pictor {
namespace {

TBitmapEx Decode(const std::string& bytes) { return DecodePicture(TPictureFormat::Png, bytes, "t.png"); }

// Kinds of PNG the program never writes, made with libpng's simplified writer.
std::string RawPng(png_uint_32 format, int width, int height, const std::vector<std::uint8_t>& samples,
                   const std::vector<std::uint8_t>& colormap = {})
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = format;
    image.colormap_entries = png_uint_32(colormap.size() / 4);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, colormap.data()));
    std::string out(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, samples.data(), 0, colormap.data()));
    out.resize(size);
    return out;
}

// The PNG with its IHDR (type and data at 12..29, CRC after) claiming another size, with a correct CRC.
std::string WithSize(std::string png, std::uint32_t width, std::uint32_t height)
{
    for (int i = 0; i < 4; ++i) {
        png[16 + std::size_t(i)] = char(width >> (24 - 8 * i) & 0xFF);
        png[20 + std::size_t(i)] = char(height >> (24 - 8 * i) & 0xFF);
    }
    const auto crc = std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));
    for (int i = 0; i < 4; ++i)
        png[29 + std::size_t(i)] = char(crc >> (24 - 8 * i) & 0xFF);
    return png;
}

TEST(PicturePng, RoundTripIsExactWithAndWithoutAlpha)
{
    for (const TBitmapEx& picture : {test::ManyColours(19, 7), test::WithAlpha(test::ManyColours(19, 7))}) {
        const std::string bytes = EncodePng(picture, "t.png");
        const TBitmapEx back = Decode(bytes);
        EXPECT_TRUE(back.SamePixels(picture));
        EXPECT_EQ(back.Extras().PngHasAlpha, !picture.Frame(0).Alpha.empty());
        EXPECT_EQ(bytes.find("gAMA"), std::string::npos);
    }
}

// Large pictures are compressed in bands that continue one another's stream, to the same bytes on the
// work pool as on one thread.
TEST(PicturePng, LargePicturesRoundTripExactlyAcrossBands)
{
    TBitmapEx picture = test::ManyColours(2600, 2300);  // 18 MB of rows: more than one band
    std::uint32_t noise = 1;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); x += 5) {
            noise = noise * 1103515245 + 12345;
            picture.ScanLine(y)[x * 3 + 1] = std::uint8_t(noise >> 16);
        }
    TWorkPool pool(3);
    const std::string bytes = EncodePng(picture, "t.png", &pool);
    EXPECT_TRUE(bytes == EncodePng(picture, "t.png"));
    EXPECT_TRUE(Decode(bytes).SamePixels(picture));

    auto& alpha = picture.MutableFrame(0).Alpha;
    alpha.resize(std::size_t(2600) * 2300);
    for (std::size_t i = 0; i < alpha.size(); ++i) alpha[i] = std::uint8_t(i / 2600 + i % 7);
    EXPECT_TRUE(Decode(EncodePng(picture, "t.png", &pool)).SamePixels(picture));
}

TEST(PicturePng, PaletteWithTransparencyAndSixteenBitGreyAreRead)
{
    // Palette: entry 0 opaque red, entry 1 half-transparent blue; pixels 0, 1.
    const std::vector<std::uint8_t> colormap = {255, 0, 0, 255, 0, 0, 255, 128};
    const TBitmapEx paletted = Decode(RawPng(PNG_FORMAT_RGBA_COLORMAP, 2, 1, {0, 1}, colormap));
    EXPECT_EQ(paletted.Frame(0).Pixels, TPixelBytes({0, 0, 255, 255, 0, 0}));
    EXPECT_EQ(paletted.Frame(0).Alpha, TPixelBytes({255, 128}));

    // 16-bit samples are cut to their high byte.
    const std::vector<std::uint8_t> grey16 = {0x00, 0x00, 0xFF, 0xFF};  // two 16-bit samples: 0, 65535
    const TBitmapEx grey = Decode(RawPng(PNG_FORMAT_LINEAR_Y, 2, 1, grey16));
    EXPECT_EQ(grey.Frame(0).Pixels, TPixelBytes({0, 0, 0, 255, 255, 255}));
    EXPECT_TRUE(grey.Frame(0).Alpha.empty());
}

TEST(PicturePng, BadFilesRaiseErrorsNamingTheFile)
{
    const std::string good = EncodePng(test::ManyColours(64, 64), "t.png");
    std::string corrupt = good;
    corrupt[good.size() / 2] ^= 0x55;
    const std::string cut = "PNG ファイルが途中で切れています", other = "PNG ファイルではありません";
    test::ExpectDecodeErrors(TPictureFormat::Png,
        {{good.substr(0, good.size() / 2), cut}, {good.substr(0, 20), cut}, {good.substr(0, 5), cut},
         {"GIF89a", other}, {"", other}, {corrupt, "PNG ファイルとして解読できません"},
         {WithSize(good, 100000, 100000), "大きすぎます（100000×100000 ピクセル、上限は 268435456 ピクセル）"}});
}

TEST(PicturePng, AHeaderClaimingMoreRowsThanTheFileHoldsCostsNoMemory)
{
    const std::string small = EncodePng(test::ManyColours(64, 64), "t.png");
    test::ExpectLyingHeaderCostsNoMemory(TPictureFormat::Png, WithSize(small, 16000, 16000));
}

} // namespace
} // namespace pictor
