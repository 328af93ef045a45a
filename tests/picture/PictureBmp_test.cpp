#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TBitmapEx Decode(const std::string& bytes) { return DecodePicture(TPictureFormat::Bmp, bytes, "t.bmp"); }

void Put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i) & 0xFF);
}

// A BMP with a 40-byte header; rows are given as stored (padded, in file order). palette: or bit fields.
std::string RawBmp(int width, int height, int bits, const std::string& palette, const std::string& rows,
                   std::uint32_t compression = 0)
{
    const std::uint32_t offset = 14 + 40 + std::uint32_t(palette.size());
    std::string out = "BM";
    Put(out, offset + std::uint32_t(rows.size()), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, std::uint32_t(width), 4);
    Put(out, std::uint32_t(height), 4);
    Put(out, 1, 2);
    Put(out, std::uint32_t(bits), 2);
    Put(out, compression, 4);
    Put(out, std::uint32_t(rows.size()), 4);
    out.append(16, '\0');  // resolution and colour counts: 0
    return out + palette + rows;
}

// Blue, red, green.
const std::string palette("\xff\x00\x00\x00" "\x00\x00\xff\x00" "\x00\xff\x00\x00", 12);

TEST(PictureBmp, RoundTripIsExactForEveryRowPadding)
{
    for (int width : {1, 2, 3, 4, 5}) {
        const TBitmapEx bitmap = test::ManyColours(width, 3);
        const std::string bytes = EncodeBmp(bitmap);
        const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(bytes.size(), 54 + stride * 3) << width;
        // Bottom-up: the first stored row is the picture's last.
        EXPECT_EQ(bytes.compare(54, std::size_t(width) * 3, reinterpret_cast<const char*>(bitmap.ScanLine(2)),
                                std::size_t(width) * 3), 0);
        EXPECT_TRUE(Decode(bytes).SamePixels(bitmap)) << width;
    }
}

// Every stored form, from the top or the bottom. Run-length encoded: runs, copied stretches and the
// end-of-line, delta and end-of-bitmap codes; pixels no code reaches are palette entry 0, and whatever
// would land outside the picture is dropped.
TEST(PictureBmp, ReadsEveryStoredForm)
{
    const TPixelBytes B{255, 0, 0}, R{0, 0, 255}, G{0, 255, 0};
    auto rows = [](std::initializer_list<TPixelBytes> pixels) {
        TPixelBytes out;
        for (const auto& p : pixels) out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    std::string masks;
    for (const std::uint32_t mask : {0xF800, 0x07E0, 0x001F}) Put(masks, mask, 4);
    const struct {
        int Width, Height, Bits;
        std::string Palette, Data; // Palette: the bit fields of a 16-bit picture
        std::uint32_t Compression;
        TPixelBytes Pixels;  // from the top
    } cases[] = {
        // 8 bits, 4 bits, and 1 bit with a row that crosses a byte.
        {2, 2, 8, palette, std::string("\x02\x00\x00\x00\x01\x01\x00\x00", 8), 0, rows({R, R, G, B})},
        {3, -1, 4, palette, std::string("\x12\x00\x00\x00", 4), 0, rows({R, G, B})},
        {9, -1, 1, palette.substr(0, 8), std::string("\x81\x80\x00\x00", 4), 0, rows({R, B, B, B, B, B, B, R, R})},
        // 32 bits with the fourth byte ignored; 16 bits with 5-6-5 bit fields.
        {2, -1, 32, "", std::string("\x01\x02\x03\x99\x04\x05\x06\x00", 8), 0, {1, 2, 3, 4, 5, 6}},
        {2, 1, 16, masks, std::string("\x00\xF8\xE0\x07", 4), 3, rows({R, G})},
        // Bottom row: a run of 2, a stretch of 3 (padded to 4 bytes), end of line; then up to the top row
        // at x 2 by a delta, where a run of 5 keeps 3; end of bitmap.
        {5, 3, 8, palette, std::string("\x02\x01\x00\x03\x02\x00\x02\x00\x00\x00\x00\x02\x02\x01\x05\x02\x00\x01", 18),
         1, rows({B, B, G, G, G, /**/ B, B, B, B, B, /**/ R, R, G, B, G})},
        // Four bits: a run alternates its two nibbles; a stretch of 3 nibbles takes 2 bytes.
        {5, 2, 4, palette, std::string("\x05\x12\x00\x00\x00\x03\x21\x00\x01\x11\x00\x01", 12), 2,
         rows({G, R, B, R, B, /**/ R, G, R, G, R})},
        // Malformed: a stretch longer than the data, a delta beyond the picture, no end-of-bitmap.
        {2, 2, 8, palette, std::string("\x01\x01\x00\x09\x02", 5), 1, rows({B, B, R, B})},
        {2, 2, 8, palette, std::string("\x00\x02\xff\xff\x02\x02", 6), 1, rows({B, B, B, B})},
        {2, 2, 4, palette, std::string("\xff\x12\xff\x12\x00\x00\x00\x02", 8), 2, rows({B, B, R, G})},
    };
    for (const auto& c : cases) {
        const TBitmapEx bitmap = Decode(RawBmp(c.Width, c.Height, c.Bits, c.Palette, c.Data, c.Compression));
        ASSERT_EQ(bitmap.Width(), c.Width);
        EXPECT_EQ(bitmap.Frame(0).Pixels, c.Pixels) << c.Bits << " bits, " << c.Data.size() << " bytes";
        EXPECT_TRUE(bitmap.Frame(0).Alpha.empty());
    }
}

TEST(PictureBmp, BadFilesRaiseErrorsNamingTheFile)
{
    const std::string good = EncodeBmp(test::FewColours(8, 8));
    const std::string cut = "BMP ファイルが途中で切れています";
    test::ExpectDecodeErrors(TPictureFormat::Bmp,
        {{good.substr(0, good.size() - 10), cut}, {good.substr(0, 30), cut}, {good.substr(0, 8), cut},
         {"PK\3\4 zip", "BMP ファイルではありません"},
         {RawBmp(100000, 100000, 24, "", std::string(64, '\0')), "大きすぎます（100000×100000 ピクセル、上限は 268435456 ピクセル）"},
         // RLE8 is for 8 bits only
         {RawBmp(2, 2, 4, std::string(8, '\0'), std::string(8, '\0'), 1), "BMP ファイルのこの形式には対応していません（4 ビット、圧縮方式 1）"}});
}

} // namespace
} // namespace pictor
