#include "app/model/RecordChecks.h"
#include "app/model/SourceExcerpt.h"
#include "document/HtmlStructure.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TColorRecord Colour(const std::string& text, TColor color, int pos = 0)
{
    TColorRecord record;
    record.Text = record.OrgText = text;
    record.Color = color;
    record.Pos = pos;
    return record;
}

// A page with red, white and red again, and one sheet with red and blue; one picture each.
struct TTwoFiles {
    TTwoFiles()
    {
        doc.Page.Colors = {Colour("red", RGB(255, 0, 0)), Colour("#fff", RGB(255, 255, 255)),
                           Colour("#FF0000", RGB(255, 0, 0))};
        doc.Page.Pics.resize(1);
        doc.Sheets.push_back(std::make_shared<TElements>());
        doc.GetSheet(0).Path = "/site/a.css";
        doc.GetSheet(0).Colors = {Colour("rgb(255,0,0)", RGB(255, 0, 0)), Colour("blue", RGB(0, 0, 255))};
        doc.GetSheet(0).Pics.resize(1);
    }
    std::vector<bool> Ticks()
    {
        std::vector<bool> ticks;
        for (int tab = 0; tab < doc.FileCount(); ++tab) {
            for (const auto& c : doc.Elements(tab).Colors) ticks.push_back(c.Checked);
            for (const auto& p : doc.Elements(tab).Pics) ticks.push_back(p.Checked);
        }
        return ticks;  // page: red white red pic; sheet: red blue pic
    }
    THtmlStructure doc{NoWorkingCopies()};
};

using Ticks = std::vector<bool>;

TEST(RecordChecks, PlainTicksChangeOneOccurrenceShiftTicksTheValueInEveryFile)
{
    TTwoFiles site;
    SetColorChecked(site.doc, 0, 0, false, false);
    SetPicChecked(site.doc, 1, 0, false);
    EXPECT_EQ(site.Ticks(), (Ticks{false, true, true, true, true, true, false}));

    TTwoFiles shifted;  // whatever the spelling of the value
    SetColorChecked(shifted.doc, 1, 0, false, true);
    EXPECT_EQ(shifted.Ticks(), (Ticks{false, true, false, true, false, true, true}));
    SetColorChecked(shifted.doc, 0, 2, true, true);
    EXPECT_EQ(shifted.Ticks(), Ticks(7, true));

    TTwoFiles picked;
    SetCheckedByColor(picked.doc, RGB(255, 0, 0), false);
    SetCheckedByColor(picked.doc, RGB(1, 2, 3), false);  // a colour no file has
    EXPECT_EQ(picked.Ticks(), (Ticks{false, true, false, true, false, true, true}));
}

TEST(RecordChecks, InvertFlipsEveryFileAndCheckAllTicksEverything)
{
    TTwoFiles site;
    SetColorChecked(site.doc, 0, 1, false, false);
    SetPicChecked(site.doc, 1, 0, false);
    InvertChecks(site.doc);
    EXPECT_EQ(site.Ticks(), (Ticks{false, true, false, false, false, false, true}));
    CheckAll(site.doc);
    EXPECT_EQ(site.Ticks(), Ticks(7, true));
}

// A list that shows each value and picture file once: a row is ticked while any occurrence is, and
// ticking it ticks them all, in every file.
TEST(RecordChecks, OneRowPerValueOrPictureFileActsOnEveryOccurrence)
{
    TTwoFiles site;
    site.doc.Page.Pics[0].FullPath = site.doc.GetSheet(0).Pics[0].FullPath = "/site/a.gif";
    SetColorChecked(site.doc, 0, 0, false, false);
    EXPECT_TRUE(CheckedColors(site.doc).at(RGB(255, 0, 0))) << "two other reds are ticked";
    SetCheckedByColor(site.doc, RGB(255, 0, 0), false);
    EXPECT_FALSE(CheckedColors(site.doc).at(RGB(255, 0, 0)));
    SetPictureFileChecked(site.doc, "/site/a.gif", false);
    EXPECT_EQ(site.Ticks(), (Ticks{false, true, false, false, false, true, false}));
    EXPECT_FALSE(CheckedPictureFiles(site.doc).at("/site/a.gif"));
    SetPicChecked(site.doc, 1, 0, true);
    EXPECT_TRUE(CheckedPictureFiles(site.doc).at("/site/a.gif"));
}

TEST(SourceExcerpt, HalfOfHintViewBytesOnEachSideClippedToTheText)
{
    const TSourceExcerpt start = MakeSourceExcerpt("a:red;b:blue", Colour("red", 0, 3), 400);
    EXPECT_EQ(start.Before, "a:");
    EXPECT_EQ(start.Color, "red");
    EXPECT_EQ(start.After, ";b:blue");

    const std::string text = std::string(499, 'x') + "#123456" + std::string(300, 'y');
    const TSourceExcerpt e = MakeSourceExcerpt(text, Colour("#123456", 0, 500), 401);  // rounded down
    EXPECT_EQ(e.Before, std::string(200, 'x'));
    EXPECT_EQ(e.After, std::string(200, 'y'));

    // The colour is read from the text and clipped at its end.
    const TSourceExcerpt clipped = MakeSourceExcerpt("c:#ABC", Colour("#ABCDEF", 0, 3), 10);
    EXPECT_EQ(clipped.Color, "#ABC");
    EXPECT_EQ(clipped.After, "");
}

TEST(SourceExcerpt, CountsBytesAndMayCutADoubleByteCharacter)
{
    // "色" is 0x90 0x46 in Shift-JIS; the excerpt of 2 + 2 bytes keeps only its trail byte before.
    const TSourceExcerpt e = MakeSourceExcerpt("\x90\x46" "a#000" "\x90\x46", Colour("#000", 0, 4), 4);
    EXPECT_EQ(e.Before, "\x46" "a");
    EXPECT_EQ(e.After, "\x90\x46");
    EXPECT_EQ(DisplayText("\x90\x46", false), "色");
    EXPECT_EQ(DisplayText("色", true), "色");
}

} // namespace
} // namespace pictor
