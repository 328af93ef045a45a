#include "document/SaveDocument.h"
#include "document/SvgDataUrl.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

using namespace pictor;
using namespace pictor::test;

// An SVG picture that a page or a sheet names is a text file with colours: listed after the sheets as a
// file of its own, changed, and saved in its own encoding.
TEST(SvgFiles, LoadInvertSave)
{
    TSite site;
    site.Add("index.html", "<link rel=\"stylesheet\" href=\"css/s.css\"><img src=\"img/i.svg\"><img src=\"img/i.svg?v=2\">"
                           "<img src=\"gone.svg\">");
    site.Add("css/s.css", "p { background: url(../img/x.svg#icon) red }");
    const std::string i =
        "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\">"
        "<style><![CDATA[ .a { fill: #102030 } ]]></style>\n"
        "<path class=\"a\" fill=\"none\" stroke=\"white\" style=\"stop-color: rgb(0, 0, 255)\"/></svg>";
    // EUC-JP, with a comment in Japanese.
    const std::string x = "<svg xmlns=\"http://www.w3.org/2000/svg\"><!-- \xC6\xFC\xCB\xDC\xB8\xEC \xA4\xCE\xBF\xDE -->"
                          "<circle fill=\"#ff0000\" stroke='currentColor'/><rect fill=\"oklch(50% 0.1 200)\"/></svg>";
    site.Add("img/i.svg", i);
    site.Add("img/x.svg", x);
    THtmlStructure doc = site.Open("index.html");
    ASSERT_EQ(doc.SheetCount(), 3);
    EXPECT_EQ(doc.GetSheetFile(1), site.Root / "img/i.svg");
    EXPECT_EQ(doc.GetSheetFile(2), site.Root / "img/x.svg");
    EXPECT_EQ(doc.GetSheet(2).CharCode, ccEuc);
    EXPECT_TRUE(doc.Page.Pics.empty()) << "an SVG is no bitmap";
    ASSERT_EQ(doc.MissingSheets.size(), 1u);
    EXPECT_EQ(doc.MissingSheets[0], site.Root / "gone.svg");

    Change(doc, TAdjustment::Invert());
    SaveDocument(doc, {});
    EXPECT_EQ(ReadAll(site.Root / "img/i.svg"),
              "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\">"
              "<style><![CDATA[ .a { fill: #EFDFCF } ]]></style>\n"
              "<path class=\"a\" fill=\"none\" stroke=\"#000000\" style=\"stop-color: #FFFF00\"/></svg>");
    EXPECT_EQ(ReadAll(site.Root / "img/x.svg"),
              "<svg xmlns=\"http://www.w3.org/2000/svg\"><!-- \xC6\xFC\xCB\xDC\xB8\xEC \xA4\xCE\xBF\xDE -->"
              "<circle fill=\"#00FFFF\" stroke='currentColor'/>"
              "<rect fill=\"oklch(0.81402233904 0.184731118489 24.290172976)\"/></svg>");
}

// A data: URL's picture is rewritten in the URL's own encoding, its colours in the order found, and the
// occurrences after it keep their places.
TEST(SvgDataUrls, RewrittenInTheirOwnEncoding)
{
    const std::string picture = "<svg xmlns='http://www.w3.org/2000/svg'><path fill='#102030' stroke='blue'/></svg>";
    const std::string sheet =
        "a { background: url(\"data:image/svg+xml,%3csvg xmlns='http://www.w3.org/2000/svg'%3e%3cpath fill='none' "
        "stroke='%23343a40' stroke-width='2'/%3e%3cg fill='Red'/%3e%3c/svg%3e\"); color: #fff }\n"
        "b { background: url(data:image/svg+xml;base64," + Base64Encode(picture) + ") white }";
    TSite site;
    THtmlStructure doc =
        site.OpenPage("<img src='data:image/svg+xml,<svg fill=\"%23ABCDEF\"/>'><font color=\"red\">", sheet);
    EXPECT_EQ(Texts(doc.GetSheet(0)), (std::vector<std::string>{"#343a40", "Red", "#fff", "#102030", "blue", "white"}));
    EXPECT_EQ(Texts(doc.Page), (std::vector<std::string>{"#ABCDEF", "red"}));

    Change(doc, TAdjustment::Invert());
    EXPECT_EQ(ReadAll(doc.WorkFileName()),
              SheetLink + "<img src='data:image/svg+xml,<svg fill=\"%23543210\"/>'><font color=\"#00FFFF\">");

    // Inverted back, every ticked colour is written as a colour code, each in its URL's own encoding.
    Change(doc, TAdjustment::Invert());
    const std::string backPicture =
        "<svg xmlns='http://www.w3.org/2000/svg'><path fill='#102030' stroke='#0000FF'/></svg>";
    const std::string back = ReadAll(doc.GetSheetWorkFile(0));
    EXPECT_EQ(back, "a { background: url(\"data:image/svg+xml,%3csvg xmlns='http://www.w3.org/2000/svg'%3e%3cpath "
                    "fill='none' stroke='%23343A40' stroke-width='2'/%3e%3cg fill='%23FF0000'/%3e%3c/svg%3e\"); "
                    "color: #FFFFFF }\nb { background: url(data:image/svg+xml;base64," +
                        Base64Encode(backPicture) + ") #FFFFFF }");
    EXPECT_EQ(doc.GetSheet(0).Colors[2].Pos, std::int32_t(back.find("#FFFFFF") + 1)) << "after the URL, in place";
}
