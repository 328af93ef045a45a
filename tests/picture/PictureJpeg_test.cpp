#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <jpeglib.h>

namespace pictor {
namespace {

TBitmapEx Decode(const std::string& bytes) { return DecodePicture(TPictureFormat::Jpeg, bytes, "t.jpg"); }

const std::string IccMarker("ICC_PROFILE\0\1\1profile-bytes", 27);

// Colour spaces the program never writes, encoded with libjpeg directly, with an ICC profile marker;
// progressive with the given scans when there are any.
std::string RawJpeg(int width, int height, J_COLOR_SPACE space, int components, const std::vector<std::uint8_t>& samples,
                    const std::vector<jpeg_scan_info>& scans = {})
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (!scans.empty()) {
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    jpeg_write_marker(&info, JPEG_APP0 + 2, reinterpret_cast<const JOCTET*>(IccMarker.data()), unsigned(IccMarker.size()));
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(samples.data()) + info.next_scanline * JDIMENSION(width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    jpeg_destroy_compress(&info);
    return out;
}

// Offset of the frame header (SOFn) marker.
std::size_t FrameHeaderAt(const std::string& jpeg)
{
    std::size_t at = 2;
    while (at + 4 < jpeg.size() && std::uint8_t(jpeg[at]) == 0xFF) {
        const int marker = std::uint8_t(jpeg[at + 1]);
        if (marker >= 0xC0 && marker <= 0xC2)
            return at;
        at += 2 + (std::size_t(std::uint8_t(jpeg[at + 2])) << 8 | std::uint8_t(jpeg[at + 3]));
    }
    ADD_FAILURE() << "no frame header";
    return 0;
}

int LumaSampling(const std::string& jpeg)
{
    return std::uint8_t(jpeg[FrameHeaderAt(jpeg) + 11]);  // H << 4 | V of the first component
}

TEST(PictureJpeg, RoundTripKeepsColourOrderAndFollowsTheArguments)
{
    const TBitmapEx solid = test::Solid(16, 8, 50, 100, 200);
    const TBitmapEx back = Decode(EncodeJpeg(solid, 95, true, "t.jpg"));
    ASSERT_EQ(back.Width(), 16);
    ASSERT_EQ(back.Height(), 8);
    EXPECT_LE(test::MaxDifference(back.Frame(0), solid.Frame(0)), 3);

    const TBitmapEx bitmap = test::ManyColours(64, 64);
    EXPECT_EQ(LumaSampling(EncodeJpeg(bitmap, 80, true, "t.jpg")), 0x11);
    EXPECT_EQ(LumaSampling(EncodeJpeg(bitmap, 80, false, "t.jpg")), 0x22);
    EXPECT_LT(EncodeJpeg(bitmap, 10, false, "t.jpg").size(), EncodeJpeg(bitmap, 90, false, "t.jpg").size());
}

TEST(PictureJpeg, MarkersSurviveRewritingWithOneJfifHeader)
{
    TBitmapEx bitmap = test::FewColours(8, 8);
    TPictureExtras extras;
    const std::string exif("Exif\0\0MM\0*", 10);
    extras.JpegMarkers = {{JPEG_APP0 + 1, exif}, {JPEG_APP0 + 2, IccMarker}, {JPEG_COM, "made by hand"}};
    bitmap.SetExtras(extras);

    // Twice through the codec: libjpeg's own JFIF header must not pile up.
    const TBitmapEx once = Decode(EncodeJpeg(bitmap, 90, false, "t.jpg"));
    const TBitmapEx twice = Decode(EncodeJpeg(once, 90, false, "t.jpg"));
    const auto& markers = twice.Extras().JpegMarkers;
    ASSERT_EQ(markers.size(), 4u);
    EXPECT_EQ(markers[0].first, JPEG_APP0);
    EXPECT_EQ(markers[0].second.substr(0, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(decltype(extras.JpegMarkers)(markers.begin() + 1, markers.end()), extras.JpegMarkers);
}

bool HasIccProfile(const TBitmapEx& bitmap)
{
    return std::ranges::any_of(bitmap.Extras().JpegMarkers, [](const auto& m) { return m.second == IccMarker; });
}

TEST(PictureJpeg, GreyAndCmykPicturesBecomeBlueGreenRed)
{
    const TBitmapEx grey = Decode(RawJpeg(8, 8, JCS_GRAYSCALE, 1, std::vector<std::uint8_t>(64, 90)));
    EXPECT_LE(test::MaxDifference(grey.Frame(0), test::Solid(8, 8, 90, 90, 90).Frame(0)), 2);
    EXPECT_TRUE(HasIccProfile(grey));

    // libjpeg marks CMYK with an Adobe header, so the samples are stored inverted: this is pure red ink-wise.
    std::vector<std::uint8_t> cmyk;
    for (int i = 0; i < 64; ++i)
        cmyk.insert(cmyk.end(), {255, 0, 0, 255});
    const TBitmapEx red = Decode(RawJpeg(8, 8, JCS_CMYK, 4, cmyk));
    EXPECT_LE(test::MaxDifference(red.Frame(0), test::Solid(8, 8, 255, 0, 0).Frame(0)), 3);
    EXPECT_FALSE(HasIccProfile(red)) << "a CMYK profile does not fit the converted colours";
}

TEST(PictureJpeg, BadFilesRaiseErrorsNamingTheFile)
{
    const std::string good = EncodeJpeg(test::ManyColours(64, 64), 90, false, "t.jpg");
    std::string huge = good;
    huge.replace(FrameHeaderAt(huge) + 5, 4, "\x75\x30\x75\x30");  // 30000 x 30000
    const std::string cut = "JPEG ファイルが途中で切れています";
    test::ExpectDecodeErrors(TPictureFormat::Jpeg,
        {{good.substr(0, good.size() / 2), cut}, {good.substr(0, 100), cut}, {"", cut},
         {"GIF89a", "JPEG ファイルではありません"}, {"\xFF\xD8 not really", ""},
         {huge, "大きすぎます（30000×30000 ピクセル、上限は 268435456 ピクセル）"}});
}

// Each scan is a pass over the whole picture: a file of endless scans must fail, not spin.
TEST(PictureJpeg, ProgressionsBeyondReasonAreCorrupt)
{
    // Every coefficient in its own scan and refined bit by bit: a valid progression of 1 + 63 x 4 scans.
    std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k < 64; ++k)
        for (int bit = 3; bit >= 0; --bit) scans.push_back({1, {0}, k, k, bit == 3 ? 0 : bit + 1, bit});
    const std::vector<std::uint8_t> grey(64 * 64, 90);
    test::ExpectDecodeErrors(TPictureFormat::Jpeg,
                             {{RawJpeg(64, 64, JCS_GRAYSCALE, 1, grey, scans),
                               "JPEG ファイルとして解読できません（スキャンが 100 を超えます）"}});

    // A first scan that claims to refine bits never sent.
    std::string bogus = RawJpeg(64, 64, JCS_GRAYSCALE, 1, grey, {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}});
    const std::size_t sos = bogus.find("\xFF\xDA");
    ASSERT_NE(sos, std::string::npos);
    bogus[sos + 9] = '\x10';  // Ah 1, Al 0
    test::ExpectDecodeErrors(TPictureFormat::Jpeg, {{bogus, "JPEG ファイルとして解読できません"}});
}

TEST(PictureJpeg, AHeaderClaimingMoreRowsThanTheFileHoldsCostsNoMemory)
{
    std::string lying = EncodeJpeg(test::ManyColours(64, 64), 90, false, "t.jpg");
    lying.replace(FrameHeaderAt(lying) + 5, 4, "\x3E\x80\x3E\x80");  // 16000 x 16000
    lying.resize(lying.size() - 2);  // cut off before the end marker
    test::ExpectLyingHeaderCostsNoMemory(TPictureFormat::Jpeg, lying);
}

} // namespace
} // namespace pictor
