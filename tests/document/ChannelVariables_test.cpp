#include "document/ChannelLists.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

using namespace pictor;
using namespace pictor::test;

TEST(ChannelLists, ReadAndWrittenBackInTheirOwnSeparators)
{
    struct TRow {
        std::string_view Value;
        TChannelReading Reading;
        TColor Color;
        std::string_view Inverted;
    };
    const TRow rows[] = {
        {"13 ,\t110 , 253", TChannelReading::Rgb, RGB(13, 110, 253), "242 ,\t145 , 2"},
        {"100% 0% 50%", TChannelReading::Rgb, RGB(255, 0, 128), "0 255 127"},
        {"0deg 100% 25%", TChannelReading::Hsl, RGB(128, 0, 0), "180 100% 74.9%"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Value);
        const auto color = ChannelListColor(row.Value, row.Reading);
        ASSERT_TRUE(color);
        EXPECT_EQ(*color, row.Color);
        const TColor inverse = RGB(255 - GetRValue(row.Color), 255 - GetGValue(row.Color), 255 - GetBValue(row.Color));
        const std::string inverted = ChannelListText(row.Value, row.Reading, inverse);
        EXPECT_EQ(inverted, row.Inverted);
        EXPECT_EQ(ChannelListColor(inverted, row.Reading), inverse);
    }
}

TEST(ChannelLists, HslWrittenBackGivesEveryColourExactly)
{
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 13) {
                const TColor color = RGB(r, g, b);
                EXPECT_EQ(ChannelListColor(ChannelListText("1 2% 3%", TChannelReading::Hsl, color), TChannelReading::Hsl),
                          color);
            }
}

TEST(ChannelLists, WhatIsNoChannelList)
{
    for (std::string_view value : {"", "1 2", "1 2 3 4", "1, 2 3", "1 2, 3", "a b c", "1px solid red", "var(--x)",
                                   "1 2 3 / 50%", "1,, 2, 3", "#fff", "- 1 2"})
        EXPECT_FALSE(ChannelSpans(value)) << value;
    EXPECT_FALSE(ChannelListColor("210 40% 50%", TChannelReading::None));
    EXPECT_FALSE(ChannelListColor("1, 2%, 3", TChannelReading::Rgb)) << "commas take channels all alike";
}

TEST(ChannelLists, OneChannelInvertedExactlyInItsOwnUnit)
{
    struct TRow {
        std::string_view Value;
        TChannelRole Role;
        std::string_view Inverted;
    };
    // The Bulma row of the document table inverts a hue in degrees, a saturation, a lightness and its delta.
    const TChannelRole hue{TChannelReading::Hsl, 0, false}, lightness{TChannelReading::Hsl, 2, false},
        lightnessDelta{TChannelReading::Hsl, 2, true}, hueDelta{TChannelReading::Hsl, 0, true},
        green{TChannelReading::Rgb, 1, false};
    const TRow rows[] = {
        {"0.25turn", hue, "0.75turn"}, {"200grad", hue, "0grad"},    {"41.5%", lightness, "58.5%"},
        {"0%", lightnessDelta, "0%"},  {"10deg", hueDelta, "10deg"}, {"13", green, "242"},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(InvertedChannelText(row.Value, row.Role), row.Inverted) << row.Value;
        EXPECT_EQ(InvertedChannelText(row.Inverted, row.Role), row.Value) << "twice";
    }
}

// The variable and the alpha it is painted with; the plain uses are the document table's.
TEST(ChannelLists, TheVariableAFunctionTakesAsItsChannels)
{
    const struct {
        std::string_view Args, Name, Alpha;
    } rows[] = {
        {"var(--x), var(--bs-bg-opacity, 1)) !important", "--x", "var(--bs-bg-opacity, 1)"},
        {" VAR( --x ) )", "--x", ""},
        {"var(--r) var(--g) var(--b))", "", ""},
        {"var(--x), .5, 1)", "", ""},
        {"1, 2, 3)", "", ""},
        {"var(x))", "", ""},
        {"var(--x", "", ""},
    };
    for (const auto& row : rows) {
        const TChannelListUse use = ChannelListVariable(row.Args);
        EXPECT_EQ(use.Name, row.Name) << row.Args;
        EXPECT_EQ(use.Alpha, row.Alpha) << row.Args;
    }
}

// Pages and sheets before and after an invert: the colour records of each file.
TEST(ChannelVariables, ListedWhereAColourFunctionTakesThemAnywhereInThePage)
{
    const std::string link = "<link rel=\"stylesheet\" href=\"a.css\">";
    struct TRow {
        std::string_view Case;
        std::string Sheet;
        std::vector<std::string> Texts, Inverted;
        std::string Page = "<link rel=\"stylesheet\" href=\"a.css\">";
        std::string Other = "";
    };
    const TRow rows[] = {
        {"Bootstrap 5: the variable in :root, taken with a variable alpha",
         ":root { --bs-primary: #0d6efd; --bs-primary-rgb: 13, 110, 253; --bs-bg-opacity: 1 }\n"
         ".bg-primary { background-color: rgba(var(--bs-primary-rgb), var(--bs-bg-opacity)) !important }",
         {"#0d6efd", "13, 110, 253"}, {"#F29102", "242, 145, 2"}},
        {"an unused list is no colour, nor is one taken by no colour function",
         ":root { --unused: 1 2 3; --gap: 4 5 6 } p { margin: var(--gap); color: #000 }", {"#000"}, {"#FFFFFF"}},
        {"taken by oklch(), as daisyUI does: read and written as oklch() channels",
         ":root { --bc: 100% 0 0; --wac: 0 0 0 }\n"
         ".a { color: var(--fallback-bc,oklch(var(--bc)/1)); background: oklch(var(--wac) / var(--o)) }",
         {"100% 0 0", "0 0 0"}, {"0 0 0", "1 0 0"}},
        {"Bulma 1: one channel a variable, lightness changed in calc() by a variable or a number",
         ":root { --h: 171deg; --s: 100%; --l: 41%; --d: -5%; --n: 1 }\n"
         ".a { color: hsl(var(--h), var(--s), var(--l)); background: hsl(var(--h), var(--s), calc(var(--l) + var(--d)));"
         " border-color: hsla(calc(var(--h) - 5deg), var(--s), calc(var(--l) + 5%), 1) }",
         {"171deg", "100%", "41%", "-5%", "5%"}, {"351deg", "100%", "59%", "5%", "-5%"}},
        {"one channel reached through another variable; rgb() channels one a variable",
         ".x { --bh: var(--h) } :root { --h: 200; --r: 10% } p { color: hsl(var(--bh) 50% 50%); background: rgb(var(--r) 0 0) }",
         {"200", "10%"}, {"20", "90%"}},
        {"a name that is a hue in one function and a lightness in another is neither",
         ":root { --v: 40 } p { color: hsl(var(--v) 50% 50%); background: hsl(0 0% var(--v)) }", {}, {}},
        {"taken by another sheet of the page", ":root{--x:13 110 253}", {"13 110 253"}, {"242 145 2"},
         link + "<link rel=\"stylesheet\" href=\"b.css\">", "p { color: rgb(var(--x) / 50%) }"},
        {"taken by the page's style attribute; read as hsl()", ".x { --h: 0, 100%, 50% }", {"0, 100%, 50%"},
         {"180, 100%, 50%"}, link + "<p style=\"color: hsl(var(--h))\">"},
        {"taken by rgb() and by hsl(): no one colour", ".x { --y: 10 20% 30% }", {}, {},
         link + "<style>p { color: rgb(var(--y)); background: hsl(var(--y)) }</style>"},
        {"every declaration of the name, with the colours around them in place",
         ".a { --c: 1, 2, 3; color: red } .b { color: #fff; --c: 4, 5, 6; box-shadow: 0 0 0 1px rgba(var(--c), .5) }",
         {"1, 2, 3", "red", "#fff", "4, 5, 6"}, {"254, 253, 252", "#00FFFF", "#000000", "251, 250, 249"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Case);
        TSite site;
        site.Add("index.html", row.Page);
        site.Add("a.css", row.Sheet);
        site.Add("b.css", row.Other);
        THtmlStructure doc = site.Open("index.html");
        EXPECT_EQ(Texts(doc.GetSheet(0)), row.Texts);
        for (const TColorRecord& record : doc.GetSheet(0).Colors)
            EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)).substr(size_t(record.Pos - 1), record.Text.size()), record.Text);
        Change(doc, TAdjustment::Invert());
        EXPECT_EQ(Texts(doc.GetSheet(0)), row.Inverted);
        std::string expected = row.Sheet;
        for (size_t k = doc.GetSheet(0).Colors.size(); k-- > 0;) {
            const TColorRecord& record = doc.GetSheet(0).Colors[k];
            expected.replace(record.SourcePos, record.OrgText.size(), record.Text);
        }
        EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)), expected);
    }
}

// A colour in a data: URL's picture stands at its URL: a list between two such URLs is rewritten too.
TEST(ChannelVariables, ListsAmongColoursOfDataUrls)
{
    TSite site;
    THtmlStructure doc =
        site.OpenPage("", ":root { --i: url(\"data:image/svg+xml,%3csvg fill='%23fff'/%3e\"); --x: 1, 2, 3;"
                          " --j: url(\"data:image/svg+xml,%3csvg fill='%23000'/%3e\") } p { color: rgb(var(--x)) }");
    EXPECT_EQ(Texts(doc.GetSheet(0)), (std::vector<std::string>{"#fff", "1, 2, 3", "#000"}));
    Change(doc, TAdjustment::Invert());
    EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)),
              ":root { --i: url(\"data:image/svg+xml,%3csvg fill='%23000000'/%3e\"); --x: 254, 253, 252;"
              " --j: url(\"data:image/svg+xml,%3csvg fill='%23FFFFFF'/%3e\") } p { color: rgb(var(--x)) }");
}
