#include "app/model/RecordChecks.h"
#include "document/HtmlStructure.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TColorRecord Colour(const std::string& text, TColor color)
{
    TColorRecord record;
    record.Text = record.OrgText = text;
    record.Color = color;
    return record;
}

// A page with red, white and red again, and one sheet with red and blue; one picture each.
struct TTwoFiles {
    TTwoFiles()
    {
        doc.Page.Colors = {Colour("red", RGB(255, 0, 0)), Colour("#fff", RGB(255, 255, 255)),
                           Colour("#FF0000", RGB(255, 0, 0))};
        doc.Page.Pics.resize(1);
        doc.Sheets.resize(1);
        doc.SheetCount = 1;
        doc.SheetFiles = {"/site/a.css"};
        doc.Sheets[0].Colors = {Colour("rgb(255,0,0)", RGB(255, 0, 0)), Colour("blue", RGB(0, 0, 255))};
        doc.Sheets[0].Pics.resize(1);
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
    THtmlStructure doc;
};

TEST(RecordChecks, ATickWithoutShiftChangesOneOccurrence)
{
    TTwoFiles site;
    SetColorChecked(site.doc, 0, 0, false, false);
    EXPECT_EQ(site.Ticks(), (std::vector<bool>{false, true, true, true, true, true, true}));
    SetPicChecked(site.doc, 1, 0, false);
    EXPECT_EQ(site.Ticks(), (std::vector<bool>{false, true, true, true, true, true, false}));
}

TEST(RecordChecks, ShiftTicksTheSameValueInEveryFileWhateverItsSpelling)
{
    TTwoFiles site;
    SetColorChecked(site.doc, 1, 0, false, true);
    EXPECT_EQ(site.Ticks(), (std::vector<bool>{false, true, false, true, false, true, true}));
    SetColorChecked(site.doc, 0, 2, true, true);
    EXPECT_EQ(site.Ticks(), (std::vector<bool>{true, true, true, true, true, true, true}));
}

TEST(RecordChecks, APickedColourIsTickedByValueInEveryFile)
{
    TTwoFiles site;
    SetCheckedByColor(site.doc, RGB(255, 0, 0), false);
    EXPECT_EQ(site.Ticks(), (std::vector<bool>{false, true, false, true, false, true, true}));
    SetCheckedByColor(site.doc, RGB(1, 2, 3), false);  // a colour no file has
    EXPECT_EQ(site.Ticks(), (std::vector<bool>{false, true, false, true, false, true, true}));
}

TEST(RecordChecks, InvertTwiceRestoresEveryFileAndCheckAllTicksEverything)
{
    TTwoFiles site;
    SetColorChecked(site.doc, 0, 1, false, false);
    SetPicChecked(site.doc, 1, 0, false);
    const std::vector<bool> before = site.Ticks();
    InvertChecks(site.doc);
    EXPECT_EQ(site.Ticks(), (std::vector<bool>{false, true, false, false, false, false, true}));
    InvertChecks(site.doc);
    EXPECT_EQ(site.Ticks(), before);
    CheckAll(site.doc);
    EXPECT_EQ(site.Ticks(), std::vector<bool>(7, true));
}

} // namespace
} // namespace pictor
