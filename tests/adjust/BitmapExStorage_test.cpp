#include "adjust/BitmapEx.h"
#include "document/PictorError.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TFrame MakeFrame(int width, int height, std::uint8_t fill)
{
    TFrame frame;
    frame.Width = width;
    frame.Height = height;
    frame.Pixels.assign(std::size_t(width) * height * 3, fill);
    return frame;
}

TEST(BitmapExStorage, DefaultIsEmptyAndSizedIsBlackOpaque)
{
    TBitmapEx empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.FrameCount(), 0);
    EXPECT_EQ(empty.Extras().GifLoopCount, -1);

    TBitmapEx bitmap(3, 2);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Stride(), 9);
    ASSERT_EQ(bitmap.FrameCount(), 1);
    EXPECT_EQ(bitmap.Frame(0).Pixels, TPixelBytes(18, 0));
    EXPECT_TRUE(bitmap.Frame(0).Alpha.empty());
    // Rows are packed: row 1 starts right after row 0's nine bytes.
    EXPECT_EQ(bitmap.ScanLine(1), bitmap.Frame(0).Pixels.data() + 9);
}

TEST(BitmapExStorage, CopiesShareUntilOneIsWritten)
{
    TBitmapEx original(4, 4);
    TBitmapEx copy = original;
    EXPECT_TRUE(copy.SharesPixelsWith(original));
    const TBitmapEx& constCopy = copy;
    (void)constCopy.ScanLine(0);
    (void)constCopy.Frame(0);
    EXPECT_TRUE(copy.SharesPixelsWith(original)) << "reading must not detach";

    copy.ScanLine(2)[5] = 77;
    EXPECT_FALSE(copy.SharesPixelsWith(original));
    EXPECT_EQ(original.ScanLine(2)[5], 0);
    EXPECT_EQ(copy.ScanLine(2)[5], 77);
    EXPECT_FALSE(copy.SamePixels(original));
}

TEST(BitmapExStorage, EveryMutatorDetaches)
{
    TBitmapEx original(2, 2);
    TBitmapEx a = original, b = original, c = original;
    a.MutableFrame(0).Alpha.assign(4, 0);
    TPictureExtras extras;
    extras.GifLoopCount = 3;
    b.SetExtras(extras);
    c.SetFrames({MakeFrame(1, 1, 9)});
    for (const TBitmapEx* changed : {&a, &b, &c})
        EXPECT_FALSE(changed->SharesPixelsWith(original));
    EXPECT_TRUE(original.Frame(0).Alpha.empty());
    EXPECT_EQ(original.Extras().GifLoopCount, -1);
    EXPECT_EQ(original.Width(), 2);
    EXPECT_EQ(c.Width(), 1);
    EXPECT_EQ(b.Extras().GifLoopCount, 3);
}

TEST(BitmapExStorage, SetFramesKeepsExtrasAndRejectsMismatchedSizes)
{
    TBitmapEx bitmap(1, 1);
    TPictureExtras extras;
    extras.PngHasAlpha = true;
    bitmap.SetExtras(extras);
    bitmap.SetFrames({MakeFrame(2, 2, 1)});
    EXPECT_TRUE(bitmap.Extras().PngHasAlpha);

    TFrame shortPixels = MakeFrame(2, 2, 0);
    shortPixels.Pixels.pop_back();
    EXPECT_THROW(bitmap.SetFrames({shortPixels}), TPictorError);
    TFrame badAlpha = MakeFrame(2, 2, 0);
    badAlpha.Alpha.assign(3, 255);
    EXPECT_THROW(bitmap.SetFrames({badAlpha}), TPictorError);
    EXPECT_EQ(bitmap.Width(), 2) << "a rejected call changes nothing";
}

TEST(BitmapExStorage, SamePixelsLooksAtEveryFrameAndAlpha)
{
    TBitmapEx a, b;
    a.SetFrames({MakeFrame(2, 2, 5), MakeFrame(1, 1, 6)});
    b.SetFrames({MakeFrame(2, 2, 5), MakeFrame(1, 1, 6)});
    EXPECT_TRUE(a.SamePixels(b));
    EXPECT_FALSE(a.SharesPixelsWith(b));

    b.MutableFrame(1).Pixels[2] = 7;
    EXPECT_FALSE(a.SamePixels(b));
    b.MutableFrame(1).Pixels[2] = 6;
    b.MutableFrame(0).Alpha.assign(4, 255);
    EXPECT_FALSE(a.SamePixels(b));
    b.MutableFrame(0).Alpha.clear();
    b.SetFrames({MakeFrame(2, 2, 5)});
    EXPECT_FALSE(a.SamePixels(b));
}

TEST(BitmapExStorage, MovedFromBitmapIsEmptyAndReusable)
{
    TBitmapEx source(2, 2);
    TBitmapEx target = std::move(source);
    EXPECT_EQ(target.Width(), 2);
    EXPECT_TRUE(source.Empty());  // NOLINT(bugprone-use-after-move): moving leaves an empty bitmap
    source.SetFrames({MakeFrame(1, 1, 3)});
    EXPECT_EQ(source.Width(), 1);
}

} // namespace
} // namespace pictor
