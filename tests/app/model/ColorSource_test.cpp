#include "app/model/ColorSource.h"
#include "document/HtmlStructure.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

constexpr TColor Grey = RGB(0x77, 0x77, 0x77);

// Character references are the browser's to read (the window's tests): here the values stay as written.
std::vector<std::string> Unchanged(const std::vector<std::string>& values)
{
    return values;
}

TColorSource Source(TColorSource::TKind kind, std::vector<std::string> candidates, std::size_t index,
                    TColor color = Grey)
{
    TColorSource source;
    source.Kind = kind;
    source.Candidates = std::move(candidates);
    source.Index = index;
    source.Color = color;
    return source;
}

TColorSource Attribute(std::string tag, std::string name, std::vector<std::string> values, std::size_t index)
{
    TColorSource source = Source(TColorSource::Attribute, std::move(values), index);
    source.Tag = std::move(tag);
    source.Name = std::move(name);
    return source;
}

// Each page holds the grey the browser names more than once, so that only the place tells them apart.
TEST(ColorSource, TheDeclarationTheBrowserNamesIsFoundAmongItsLike)
{
    const std::string sheet = "\xEF\xBB\xBFp{color:#777} .a{margin:0} .a{color:#777} @media screen{.a{color:#777}} .b{color:#777}";
    using TRecord = std::optional<TRecordAt>;
    struct {
        const char* Name;
        std::string Page;
        TColorSource Source;
        TRecord Expected;
        bool BrowserReadsNoValues = false;
    } const cases[] = {
        {"rule in a linked sheet: the second .a with a colour, in @media",
         R"(<link rel="stylesheet" href="s.css"><p style="color:#777">x</p>)",
         Source(TColorSource::Rule, {"p", ".a", ".a", ".b"}, 2), TRecordAt{1, 2}},
        {"the first rule of a sheet that starts with a byte order mark",
         R"(<link rel="stylesheet" href="s.css"><p style="color:#777">x</p>)", Source(TColorSource::Rule, {"p"}, 0),
         TRecordAt{1, 0}},
        {"rule in a STYLE element, counted over all of them; style attributes are no rules",
         "<style><!--\np { color: #777 }\n--></style><p style=\"color:#777\">x</p>"
         "<style>/* a; b */ DIV>P , B::before { color : #777; background: #777 }</style>",
         Source(TColorSource::Rule, {"p", "div > p, b::before"}, 1), TRecordAt{0, 2}},
        {"the first rule of a STYLE element starts after its tag",
         R"(<p>a; b</p><style type="text/css">p{color:#777}</style>)", Source(TColorSource::Rule, {"p"}, 0),
         TRecordAt{0, 0}},
        {"a block's last colour, or the one the browser shows for its !important",
         "<style>p{color:#777 !important; color:#888}</style>", Source(TColorSource::Rule, {"p"}, 0), TRecordAt{0, 0}},
        {"style attribute: the second with the same declarations, one without a colour between",
         R"(<p style="color:#777">a</p><p style="margin:0">b</p><p style="COLOR: #777">c</p>)",
         Source(TColorSource::StyleAttribute, {"color:#777", "margin:0", "color: #777"}, 2), TRecordAt{0, 1}},
        {"font color: the second font of that value",
         R"(<font color="#777">a</font><font color="#888">b</font><font color="#777">c</font><p style="color:#777">)",
         Attribute("font", "color", {"#777", "#888", "#777"}, 2), TRecordAt{0, 2}},
        {"body link, not its vlink or text", R"(<body text="#777" vlink="#777" link="#777"><a href="x">x</a>)",
         Attribute("body", "link", {"#777"}, 0), TRecordAt{0, 2}},
        {"a style attribute whose values the browser does not read", R"(<p style="color:#777">a</p>)",
         Source(TColorSource::StyleAttribute, {"color:#777"}, 0), std::nullopt, true},
        {"nothing of the page's: the browser's own colour", R"(<p style="color:#777">x</p>)",
         Source(TColorSource::Nothing, {}, 0), std::nullopt},
        {"a rule the files do not hold", "<style>p{color:#777}</style>", Source(TColorSource::Rule, {"p", "q"}, 1),
         std::nullopt},
        {"a sheet that is not one of the document's", "<style>p{color:#777}</style>",
         [] {
             TColorSource source = Source(TColorSource::Rule, {"p"}, 0);
             source.Sheet = "/nowhere/s.css";
             return source;
         }(),
         std::nullopt},
    };
    const auto none = [](const std::vector<std::string>&) { return std::vector<std::string>(); };
    for (const auto& c : cases) {
        test::TSite site;
        site.Add("index.html", c.Page);
        site.Add("s.css", sheet);
        const THtmlStructure doc = site.Open("index.html");
        TColorSource source = c.Source;
        if (source.Kind == TColorSource::Rule && source.Sheet.empty() && c.Page.find("<link") != std::string::npos)
            source.Sheet = doc.GetSheetWorkFile(0);
        const TAttributeDecoder decode =
            c.BrowserReadsNoValues ? TAttributeDecoder(none) : TAttributeDecoder(Unchanged);
        EXPECT_EQ(RecordOfSource(doc, source, decode), c.Expected) << c.Name;
    }
}

} // namespace
} // namespace pictor
