#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

void Put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i) & 0xFF);
}

// A BMP with a 40-byte header; rows are given as stored (padded, in file order).
std::string RawBmp(int width, int height, int bits, const std::string& palette, const std::string& rows,
                   std::uint32_t compression = 0, const std::string& masks = "")
{
    const std::uint32_t offset = 14 + 40 + std::uint32_t(masks.size() + palette.size());
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
    return out + masks + palette + rows;
}

TBitmapEx Decode(const std::string& bytes)
{
    return DecodePicture(TPictureFormat::Bmp, bytes, "t.bmp");
}

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

TEST(PictureBmp, ReadsPalettedPictures)
{
    const std::string palette("\xff\x00\x00\x00" "\x00\x00\xff\x00" "\x00\xff\x00\x00", 12);  // blue, red, green
    // 8 bits, bottom-up: the stored rows are bottom (2, 0) then top (1, 1).
    TBitmapEx eight = Decode(RawBmp(2, 2, 8, palette, std::string("\x02\x00\x00\x00\x01\x01\x00\x00", 8)));
    EXPECT_EQ(eight.Frame(0).Pixels, TPixelBytes({0, 0, 255, 0, 0, 255, /**/ 0, 255, 0, 255, 0, 0}));

    // 4 bits, top-down, three pixels: indices 1, 2, 0.
    TBitmapEx four = Decode(RawBmp(3, -1, 4, palette, std::string("\x12\x00\x00\x00", 4)));
    EXPECT_EQ(four.Frame(0).Pixels, TPixelBytes({0, 0, 255, 0, 255, 0, 255, 0, 0}));

    // 1 bit, nine pixels cross a byte: 1 0 0 0 0 0 0 1 | 1.
    TBitmapEx one = Decode(RawBmp(9, -1, 1, palette.substr(0, 8), std::string("\x81\x80\x00\x00", 4)));
    const auto& p = one.Frame(0).Pixels;
    EXPECT_EQ(p[0 * 3 + 2], 255);
    EXPECT_EQ(p[1 * 3 + 0], 255);
    EXPECT_EQ(p[7 * 3 + 2], 255);
    EXPECT_EQ(p[8 * 3 + 2], 255);
}

TEST(PictureBmp, ReadsThirtyTwoAndSixteenBitPictures)
{
    // 32 bits BGRX, top-down, with the fourth byte ignored.
    TBitmapEx wide = Decode(RawBmp(2, -1, 32, "", std::string("\x01\x02\x03\x99\x04\x05\x06\x00", 8)));
    EXPECT_EQ(wide.Frame(0).Pixels, TPixelBytes({1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(wide.Frame(0).Alpha.empty());

    // 16 bits with 5-6-5 bit fields: pure red, then pure green.
    std::string masks;
    Put(masks, 0xF800, 4);
    Put(masks, 0x07E0, 4);
    Put(masks, 0x001F, 4);
    TBitmapEx narrow = Decode(RawBmp(2, 1, 16, "", std::string("\x00\xF8\xE0\x07", 4), 3, masks));
    EXPECT_EQ(narrow.Frame(0).Pixels, TPixelBytes({0, 0, 255, 0, 255, 0}));
}

TEST(PictureBmp, BadFilesRaiseErrorsNamingTheFile)
{
    const std::string good = EncodeBmp(test::FewColours(8, 8));
    test::ExpectDecodeError(TPictureFormat::Bmp, good.substr(0, good.size() - 10), "truncated");
    test::ExpectDecodeError(TPictureFormat::Bmp, good.substr(0, 30), "truncated");
    test::ExpectDecodeError(TPictureFormat::Bmp, "PK\3\4 zip");
    test::ExpectDecodeError(TPictureFormat::Bmp, RawBmp(100000, 100000, 24, "", std::string(64, '\0')), "too large");
    test::ExpectDecodeError(TPictureFormat::Bmp, RawBmp(2, 2, 8, std::string(8, '\0'), std::string(8, '\0'), 1),
                            "unsupported");
}

} // namespace
} // namespace pictor
