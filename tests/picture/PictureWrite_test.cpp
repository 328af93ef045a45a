#include "document/Options.h"
#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"
#include "support/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pictor {
namespace {

using test::ReadAll;
using test::TTempDir;

// The option values are process-wide: every test puts them back.
class PictureWrite : public ::testing::Test {
protected:
    ~PictureWrite() override { Options() = Saved_; }
    TTempDir Dir_;
    const TBitmapEx Picture_ = test::FewColours(10, 6);

private:
    TOptions Saved_ = Options();
};

TEST(PictureFormat, EndingDecidesWithoutRegardToCase)
{
    EXPECT_EQ(PictureFormatOf("x.Jpeg"), TPictureFormat::Jpeg);
    EXPECT_EQ(PictureFormatOf("x.gifs"), TPictureFormat::None);
    EXPECT_EQ(PictureFormatOf("jpg"), TPictureFormat::None);
    // A dot in a folder's name is no ending.
    EXPECT_EQ(WithBmpExtension("C:\\site.v2\\b.GIF"), "C:\\site.v2\\b.bmp");
    EXPECT_EQ(WithBmpExtension("site.v2/noext"), "site.v2/noext.bmp");
}

TEST_F(PictureWrite, WorkCopyUsesTheFormatOfTheEnding)
{
    for (const char* name : {"a.bmp", "b.PNG", "c.gif"}) {
        WritePictureWorkCopy(Dir_ / name, Picture_);
        EXPECT_TRUE(ReadPicture(Dir_ / name).SamePixels(Picture_)) << name;
    }
    // JPEG: the quality option's low byte, default sampling.
    Options().JpegCompressionQuality = 0x100 + 30;
    const std::string photo = Dir_ / "PHOTO.JPG";
    WritePictureWorkCopy(photo, Picture_);
    EXPECT_EQ(ReadAll(photo), EncodeJpeg(Picture_, 30, false, photo));

    WritePictureWorkCopy(Dir_ / "d.tif", Picture_);
    EXPECT_FALSE(std::filesystem::exists(Dir_ / "d.tif"));
    Dir_.Write("e.tif", "whatever");
    EXPECT_TRUE(ReadPicture(Dir_ / "e.tif").Empty());
}

TEST_F(PictureWrite, SaveHonoursSamplingAndTheBitmapOptions)
{
    Options().JpegCompressionQuality = 75;
    const std::string jpg = Dir_ / "a.jpg";
    EXPECT_EQ(SavedPicturePath(jpg), jpg);
    EXPECT_EQ(EncodePictureForSave(jpg, true, Picture_), EncodeJpeg(Picture_, 75, true, jpg));

    Options().JpegToBmp = true;
    EXPECT_EQ(SavedPicturePath(Dir_ / "b.jpeg"), Dir_ / "b.bmp");
    EXPECT_EQ(EncodePictureForSave(Dir_ / "b.jpeg", false, Picture_), EncodeBmp(Picture_));

    const std::string gif = Dir_ / "c.gif";
    EXPECT_EQ(SavedPicturePath(gif), gif);
    Options().GifToBmp = true;
    EXPECT_EQ(SavedPicturePath(gif), Dir_ / "c.bmp");
    EXPECT_EQ(EncodePictureForSave(gif, false, Picture_), EncodeBmp(Picture_));

    EXPECT_EQ(EncodePictureForSave(Dir_ / "d.txt", false, Picture_), "");
}

TEST_F(PictureWrite, FailuresNameTheFile)
{
    const std::string missing = Dir_ / "missing.png", empty = Dir_ / "empty.png";
    EXPECT_EQ(test::ErrorOf([&] { ReadPicture(missing); }).File, missing);
    EXPECT_EQ(test::ErrorOf([&] { WritePictureWorkCopy(empty, TBitmapEx()); }).File, empty);
}

} // namespace
} // namespace pictor
