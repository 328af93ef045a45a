#include "document/ColorLiterals.h"
#include "document/PageScanner.h"
#include "document/StyleScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pictor;

namespace {

struct TFound : TScanEvents {
    std::string Text;
    std::vector<std::string> Colors, Pics, Sheets;
    void ColorFound(size_t pos, size_t length, TColorForm form, int index) override
    {
        Colors.push_back(form == TColorForm::Name ? std::string(NamedColors[index].Name) : Text.substr(pos, length));
    }
    void PictureFound(std::string_view ref) override { Pics.emplace_back(ref); }
    void StyleSheetFound(std::string_view ref) override { Sheets.emplace_back(ref); }
};

TFound Page(const std::string& html, bool utf8 = false)
{
    TFound found;
    found.Text = html;
    WalkPage(found.Text, utf8, found);
    return found;
}

TFound Sheet(const std::string& css)
{
    TFound found;
    found.Text = css;
    WalkStyleSheet(found.Text, false, found);
    return found;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(UpperCaseTags, NamesUpValuesAndTextKept)
{
    std::string s = "<body bgcolor=\"red\" text=navy link='x'>text <!-- <b> --> <a href=\"u(v)\">";
    UpperCaseTags(s, false);
    EXPECT_EQ(s, "<BODY BGCOLOR=\"red\" TEXT=navy LINK='x'>text <!-- <b> --> <A HREF=\"u(v)\">");
    std::string sjis = "<p \x83\x61 a>";  // a trail byte that is a lower-case letter stays
    UpperCaseTags(sjis, false);
    EXPECT_EQ(sjis, "<P \x83\x61 A>");
}

TEST(PageScan, ColourAttributes)
{
    EXPECT_EQ(Page("<body bgcolor=\"#fff\" text=\"black\" link=\"red\" vlink=\"#0F0\" alink=\"blue\">").Colors,
              (Strings{"#fff", "black", "red", "#0F0", "blue"}));
    EXPECT_EQ(Page("<body bgcolor=\"#fff\"\r\nlink=\"red\">").Colors, (Strings{"#fff", "red"}));
    EXPECT_EQ(Page("<font color = \"red\">").Colors, (Strings{"red"}));
    EXPECT_TRUE(Page("<font color=red>").Colors.empty());
    EXPECT_EQ(Page("<td bgcolor=\"\">").Colors, (Strings{""})) << "an empty value is an occurrence too";
    EXPECT_TRUE(Page("<!-- <font color=\"red\"> -->").Colors.empty());
    EXPECT_EQ(Page("<font\tcolor=\"Red\">").Colors, (Strings{"Red"})) << "keeps the value's case";
}

TEST(PageScan, StyleAttributeColoursAndPictures)
{
    auto found = Page("<td bgcolor=\"#ccc\" style=\"color: red; background: url(bg.gif)\">");
    EXPECT_EQ(found.Colors, (Strings{"#ccc", "red"}));
    EXPECT_EQ(found.Pics, (Strings{"bg.gif"}));
    EXPECT_EQ(Page("<p style=\"color:red\">").Colors, (Strings{"red"})) << "the end of the value is a separator";
    EXPECT_EQ(Page("<p style=\"border:1px solid YELLOW\">").Colors, (Strings{"yellow"}));
}

TEST(PageScan, PictureReferences)
{
    EXPECT_EQ(Page("<img src=\"Images/Logo.GIF\">").Pics, (Strings{"Images/Logo.GIF"}));
    EXPECT_EQ(Page("<IMG SRC = \"a.png?v=2\">").Pics, (Strings{"a.png"}));
    EXPECT_EQ(Page("<img src=\"x.jpeg\"><body background=\"bg.bmp\">").Pics, (Strings{"x.jpeg", "bg.bmp"}));
    for (const char* external : {"http://e.com/a.gif", "HTTPS://e.com/a.gif", "//cdn/a.gif", "data:image/gif;x.gif",
                                 "ftp://h/a.png"})
        EXPECT_TRUE(Page(std::string("<img src=\"") + external + "\">").Pics.empty()) << external;
    // Read no further than the attribute's closing quote.
    EXPECT_TRUE(Page("<img src=\"\" data-src=\"x.png\">").Pics.empty());
    EXPECT_TRUE(Page("<img src=\"a.webp\" alt=\"logo.png\">").Pics.empty());
    // Keeps the case it is written in, even where a "<" in a style block upper-cased the scanning copy.
    EXPECT_EQ(Page("<style>/* a<b */ p { background: url(img/bg.gif) }</style>").Pics, (Strings{"img/bg.gif"}));
}

TEST(PageScan, StyleSheetLinks)
{
    EXPECT_EQ(Page("<link rel=\"stylesheet\" type=\"text/css\" href=\"css/main.css\">").Sheets, (Strings{"css/main.css"}));
    EXPECT_EQ(Page("<LINK REL = \"StyleSheet\" HREF=\"A.CSS?x\">").Sheets, (Strings{"A.CSS"}));
    EXPECT_TRUE(Page("<link rel=\"alternate stylesheet\" href=\"b.css\">").Sheets.empty());
    EXPECT_TRUE(Page("<link rel=\"stylesheet\" href=\"https://e.com/b.css\">").Sheets.empty());
}

TEST(PageScan, StyleBlocks)
{
    auto found = Page("<style type=\"text/css\">body { color: #123; background: url('a.png') }</STYLE><p>red</p>");
    EXPECT_EQ(found.Colors, (Strings{"#123"}));
    EXPECT_EQ(found.Pics, (Strings{"a.png"}));
    EXPECT_EQ(Page("<style>p{color:red}</style><font color=\"blue\">").Colors, (Strings{"blue"}));
}

TEST(PageScan, DoubleByteCharactersAreUnits)
{
    // 0x95 0x5C: a Shift-JIS character whose trail byte is a backslash; 0x83 0x7D ends in "}".
    EXPECT_EQ(Page("<p style=\"x:\x83\x7D; color: red\">").Colors, (Strings{"red"}));
    // UTF-8: the last byte of a character must not swallow the quote or the "<" after it.
    EXPECT_EQ(Page("<p title=\"\xE3\x81\x82\"><font color=\"red\">\xE3\x81\x82<b>", true).Colors, (Strings{"red"}));
}

TEST(StyleScan, DeclarationTokens)
{
    EXPECT_EQ(Sheet("p { color: #FF0000; background-color: Red; border: 1px solid rgb(0, 128, 0) }").Colors,
              (Strings{"#FF0000", "red", "rgb(0, 128, 0)"}));
    EXPECT_EQ(Sheet("a{color:#fff;}").Colors, (Strings{"#fff"}));
    EXPECT_EQ(Sheet("a{color:\t#fff}").Colors, (Strings{"#fff"}));
    EXPECT_TRUE(Sheet("a{a# fff}").Colors.empty());
    EXPECT_TRUE(Sheet("a{white-space: nowrap}").Colors.empty());
    EXPECT_EQ(Sheet("a{font-family: Arial Black;}").Colors, (Strings{"black"}));
    EXPECT_TRUE(Sheet("a{color: red}").Colors.empty()) << "a name directly before the brace";
    EXPECT_TRUE(Sheet("a{background: url(red.gif)}").Colors.empty());
    EXPECT_TRUE(Sheet("/* a{color: red;} */ a{ /* color: red; */ }").Colors.empty());
    EXPECT_EQ(Sheet("a{color: YELLOW;}").Colors, (Strings{"yellow"}));
    EXPECT_TRUE(Sheet("red; a{}").Colors.empty()) << "nothing outside blocks";
}

TEST(StyleScan, HexTokenEndsAtNonAlphanumeric)
{
    EXPECT_EQ(Sheet("a{color: #f00!important; b: #000, #fff;}").Colors, (Strings{"#f00", "#000", "#fff"}));
}

TEST(StyleScan, PictureReferences)
{
    EXPECT_EQ(Sheet("a{background: url('../img/bg.gif')} b{x: url(\"c.png\") url(d.jpg)}").Pics,
              (Strings{"../img/bg.gif", "c.png", "d.jpg"}));
    EXPECT_TRUE(Sheet("a{background: url(http://e.com/a.gif)}").Pics.empty());
    EXPECT_TRUE(Sheet("a{background: url(data:image/png;base64,AAA)}").Pics.empty());
    EXPECT_TRUE(Sheet("a{background: url(//cdn/a.gif)}").Pics.empty());
    EXPECT_EQ(Sheet("a{b: url(x.gif); c: url(x.gif)}").Pics, (Strings{"x.gif", "x.gif"}))
        << "the walk reports each; the document keeps distinct ones";
}

TEST(StyleScan, ImportTargets)
{
    EXPECT_EQ(FindImportTargets("@import url(a.css);\r\n@IMPORT url('b.css') screen;\r\n@import \"c.css\";\r\n"),
              (Strings{"a.css", "b.css", "c.css"}));
    EXPECT_TRUE(FindImportTargets("/* @import url(a.css); */ p { @import url(b.css) }").empty());
    EXPECT_TRUE(FindImportTargets("@import url(http://e.com/x.css); @import \"//cdn/y.css\";").empty());
    EXPECT_TRUE(FindImportTargets("@import screen; p { background: url(z.gif) }").empty())
        << "no target of its own: not an unrelated url() later on";
}
