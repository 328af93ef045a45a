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

TEST(PictureFormat, EndingDecidesWithoutRegardToCase)
{
    EXPECT_EQ(PictureFormatOf("x.Jpeg"), TPictureFormat::Jpeg);
    EXPECT_EQ(PictureFormatOf("x.gifs"), TPictureFormat::None);
    EXPECT_EQ(PictureFormatOf("jpg"), TPictureFormat::None);
    // A dot in a folder's name is no ending.
    EXPECT_EQ(WithBmpExtension("C:\\site.v2\\b.GIF"), "C:\\site.v2\\b.bmp");
    EXPECT_EQ(WithBmpExtension("site.v2/noext"), "site.v2/noext.bmp");
}

// The preview reads a picture by its bytes: a still picture's copy is written for speed, a BMP or,
// with alpha, a stored PNG, while an animated one keeps the format that holds its frames.
TEST(PictureWrite, WorkCopyIsWrittenForSpeedUnlessAnimated)
{
    const TTempDir dir;
    const TBitmapEx picture = test::FewColours(10, 6);
    TBitmapEx translucent = picture;
    translucent.MutableFrame(0).Alpha.assign(std::size_t(picture.Width() * picture.Height()), 128);
    for (const char* name : {"a.bmp", "b.PNG", "c.gif", "PHOTO.JPG", "e.webp"}) {
        WritePictureWorkCopy(dir / name, picture);
        EXPECT_EQ(ReadAll(dir / name), EncodeBmp(picture)) << name;
        WritePictureWorkCopy(dir / name, translucent);
        EXPECT_EQ(ReadAll(dir / name), EncodeQuickPng(translucent, name)) << name;
        EXPECT_TRUE(DecodePicture(TPictureFormat::Png, ReadAll(dir / name), name).SamePixels(translucent)) << name;
    }

    TBitmapEx animated;
    animated.SetFrames({test::FewColours(4, 4).Frame(0), test::FewColours(4, 4).Frame(0)});
    WritePictureWorkCopy(dir / "f.gif", animated);
    EXPECT_EQ(ReadPicture(dir / "f.gif").FrameCount(), 2);

    WritePictureWorkCopy(dir / "d.tif", picture);
    EXPECT_FALSE(std::filesystem::exists(dir / "d.tif"));
    dir.Write("e.tif", "whatever");
    EXPECT_TRUE(ReadPicture(dir / "e.tif").Empty());
}

TEST(PictureWrite, FailuresNameTheFile)
{
    const std::string empty = "/nonexistent/empty.png";
    const TPictorError nothing = test::ErrorOf([&] { WritePictureWorkCopy(empty, TBitmapEx()); });
    EXPECT_EQ(nothing.File, empty);
    EXPECT_EQ(nothing.Reason, "書き出す画像がありません");
    const TPictorError wide = test::ErrorOf([&] { EncodeGif(test::ManyColours(70000, 1), "wide.gif"); });
    EXPECT_EQ(wide.File, "wide.gif");
    EXPECT_EQ(wide.Reason, "GIF ファイルに書き出せません（70000×1 ピクセル、幅も高さも上限は 65535 ピクセル）");
}

} // namespace
} // namespace pictor
