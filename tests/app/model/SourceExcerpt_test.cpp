#include "app/model/SourceExcerpt.h"
#include "document/HtmlStructure.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TColorRecord At(int pos, const std::string& text)
{
    TColorRecord record;
    record.Text = record.OrgText = text;
    record.Pos = pos;
    return record;
}

TEST(SourceExcerpt, NearTheStartTakesWhatThereIs)
{
    const std::string text = "a:red;b:blue";
    const TSourceExcerpt e = MakeSourceExcerpt(text, At(3, "red"), 400);
    EXPECT_EQ(e.Before, "a:");
    EXPECT_EQ(e.Color, "red");
    EXPECT_EQ(e.After, ";b:blue");
}

TEST(SourceExcerpt, HalfOfHintViewBytesOnEachSideRoundedDown)
{
    const std::string text = std::string(499, 'x') + "#123456" + std::string(300, 'y');
    const TSourceExcerpt e = MakeSourceExcerpt(text, At(500, "#123456"), 400);
    EXPECT_EQ(e.Before, std::string(200, 'x'));
    EXPECT_EQ(e.After, std::string(200, 'y'));
    const TSourceExcerpt odd = MakeSourceExcerpt(text, At(500, "#123456"), 401);
    EXPECT_EQ(odd.Before.size(), 200u);
    EXPECT_EQ(odd.After.size(), 200u);
}

TEST(SourceExcerpt, CountsBytesAndMayCutADoubleByteCharacter)
{
    // "色" is 0x90 0x46 in Shift-JIS; the excerpt of 2 + 2 bytes keeps only its trail byte before.
    const std::string text = "\x90\x46" "a#000" "\x90\x46";
    const TSourceExcerpt e = MakeSourceExcerpt(text, At(4, "#000"), 4);
    EXPECT_EQ(e.Before, "\x46" "a");
    EXPECT_EQ(e.After, "\x90\x46");
}

TEST(SourceExcerpt, TheColourIsReadFromTheTextAndClippedAtItsEnd)
{
    const TSourceExcerpt e = MakeSourceExcerpt("c:#ABC", At(3, "#ABCDEF"), 10);
    EXPECT_EQ(e.Color, "#ABC");
    EXPECT_EQ(e.After, "");
}

TEST(SourceExcerpt, DisplayTextConvertsShiftJisOnly)
{
    EXPECT_EQ(DisplayText("\x90\x46", false), "色");
    EXPECT_EQ(DisplayText("色", true), "色");
}

} // namespace
} // namespace pictor
