#include "document/CssColorNames.h"
#include "document/PageScanner.h"
#include "document/StyleScanner.h"
#include "document/SvgDataUrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pictor;

namespace {

using Strings = std::vector<std::string>;

// What a walk reports, in order: the k-th colour found is the k-th one rewritten.
struct TFound : TScanEvents {
    std::string Text;
    Strings Colors, Pics, Sheets, Charsets;
    // A colour in a data: URL's picture as "svg:" and its text in the decoded picture.
    void ColorFound(size_t pos, size_t length, TColorForm form, int index, const TColorPlace& place) override
    {
        const TEmbed& embed = place.Embed;
        const std::string text = embed.Kind == TEmbedding::None
                                     ? Text
                                     : DecodeEmbedded(std::string_view(Text).substr(embed.Pos, embed.Length), embed.Kind);
        Colors.push_back((embed.Kind == TEmbedding::None ? "" : "svg:") +
                         (form == TColorForm::Name ? std::string(CssNamedColors[index].Name) : text.substr(pos, length)));
    }
    void PictureFound(std::string_view ref) override { Pics.emplace_back(ref); }
    void StyleSheetFound(std::string_view ref, std::string_view charset) override
    {
        Sheets.emplace_back(ref);
        Charsets.emplace_back(charset);
    }
};

// What walk reports over text.
TFound Walked(const std::string& text, void (*walk)(std::string_view, bool, TScanEvents&), bool utf8)
{
    TFound found;
    found.Text = text;
    walk(found.Text, utf8, found);
    return found;
}
const auto Page = [](const std::string& html) { return Walked(html, WalkPage, false); };
const auto Sheet = [](const std::string& css) { return Walked(css, WalkStyleSheet, false); };

} // namespace

TEST(PageScan, Colours)
{
    const std::pair<std::string, Strings> cases[] = {
        {"<body bgcolor=\"#fff\" text=\"black\" link=\"red\" vlink=\"#0F0\" alink=\"blue\">",
         {"#fff", "black", "red", "#0F0", "blue"}},
        {"<font color=red>", {}},
        {"<td bgcolor=\"\">", {""}},  // an empty value is an occurrence too
        {"<font\tcolor=\"Red\">", {"Red"}},  // keeps the value's case
        {"<td bgcolor=\"#ccc\" style=\"color: red; background: url(bg.gif)\">", {"#ccc", "red"}},
        {"<style type=\"text/css\">body { color: #123 }</STYLE><p>red</p><font color=\"blue\">", {"#123", "blue"}},
        // 0x83 0x7D: a Shift-JIS character whose trail byte is "}".
        {"<p style=\"x:\x83\x7D; color: red\">", {"red"}},
        // A lead byte takes the byte after it, whatever it is: a quote, "<" or "-" there ends nothing.
        {"<font color=\"red\x82\" title=\"x\">", {"red\x82\" title="}},
        {"<p style=\"x:\x82\" color: red\">", {"red"}},
        {"\x82<font color=\"red\">", {}},
        {"<!-- \x82--> <font color=\"red\"> -->", {}},
        {"<style>\x82</style> p { color: red }</style>", {"red"}},
        // A theme colour's content is a colour a browser paints; any other meta's content is not. The plain
        // forms are the rewrite table's.
        {"<META CONTENT = \"rgb(1 2 3 / 50%)\" NAME='Theme-Color'>", {"rgb(1 2 3 / 50%)"}},
        {"<meta name=msapplication-TileColor content=\"darkblue\">", {"darkblue"}},
        {"<meta name=\"theme-color\" content=\"not a colour\"><meta name=\"theme-color\" content=\"#12\">", {}},
        {"<meta name=\"theme-colors\" content=\"red\">", {}},
        {"<meta name=\"theme-color\" data-content=\"red\">", {}},
        {"<metax name=\"theme-color\" content=\"red\">", {}},
    };
    for (const auto& [html, colors] : cases) EXPECT_EQ(Page(html).Colors, colors) << html;
}

TEST(PageScan, PicturesAndStyleSheets)
{
    EXPECT_EQ(Page("<td style=\"background: url(bg.gif)\"><IMG SRC = \"Images/Logo.GIF?v=2\">"
                   "<body background=\"bg.bmp\"><style>p { background: url('a.png') }</style>").Pics,
              (Strings{"bg.gif", "Images/Logo.GIF", "bg.bmp", "a.png"}));
    for (const char* external : {"HTTPS://e.com/a.gif", "//cdn/a.gif", "data:image/gif;x.gif"})
        EXPECT_TRUE(Page(std::string("<img src=\"") + external + "\">").Pics.empty()) << external;
    // Read no further than the attribute's closing quote.
    EXPECT_TRUE(Page("<img src=\"\" data-src=\"x.png\">").Pics.empty());
    EXPECT_TRUE(Page("<img src=\"a.tiff\" alt=\"logo.png\">").Pics.empty());
    EXPECT_EQ(Page("<img src=\"a.webp\" alt=\"logo.png\"><img src=\"B.WebP?v=1\">").Pics, (Strings{"a.webp", "B.WebP"}));
    // Keeps the case it is written in, even where a "<" in a style block upper-cased the scanning copy.
    EXPECT_EQ(Page("<style>/* a<b */ p { background: url(img/bg.gif) }</style>").Pics, (Strings{"img/bg.gif"}));

    EXPECT_EQ(Page("<LINK REL = \"StyleSheet\" type=\"text/css\" HREF=\"A.CSS?x\">").Sheets, (Strings{"A.CSS"}));
    EXPECT_TRUE(Page("<link rel=\"alternate stylesheet\" href=\"b.css\">").Sheets.empty());
    EXPECT_TRUE(Page("<link rel=\"stylesheet\" href=\"https://e.com/b.css\">").Sheets.empty());
    // The link's charset attribute, wherever it stands and however it is quoted.
    EXPECT_EQ(Page("<link charset=\"EUC-JP\" rel=\"stylesheet\" href=\"a.css\"><link rel=\"stylesheet\" href=\"b.css\" "
                   "CHARSET = shift_jis><link rel=\"stylesheet\" href=\"c.css\">").Charsets,
              (Strings{"EUC-JP", "shift_jis", ""}));
}

// Where a browser sees a colour in style text, and the places it sees none.
TEST(StyleScan, Colours)
{
    const std::pair<std::string, Strings> cases[] = {
        {"p { color: #FF0000; background-color: Red; border: 1px solid rgb(0, 128, 0) }",
         {"#FF0000", "red", "rgb(0, 128, 0)"}},
        {"a{color: #f00!important; b: #000, #fff;}", {"#f00", "#000", "#fff"}}, // "#" tokens end at non-alphanumerics
        {"a{background: url(red.gif)}", {}},
        // A lead byte takes the quote or "*" after it: neither closes the string or comment.
        {"a{b:'\x82'} c{color:red;} d{e:'x'}", {}},
        {"/* \x82*/ a{color:red;} */ b{color:blue;}", {"blue"}},
        {"red; a{}", {}}, // nothing outside blocks
        // The forms of today's style sheets, where a browser sees a colour, and the places it sees none.
        {"a{color:red!important;b:0 0 1px navy,0 0 red}", {"red", "navy", "red"}},
        {"a{b:-webkit-repeating-radial-gradient(#123,blue);c:conic-gradient(from 0deg,red,tan)}",
         {"#123", "blue", "red", "tan"}},
        {"a{color:transparent;b:currentColor;c:inherit;h:Canvas;d:rgb(var(--x));i:rgb(calc(1) 0 0)}", {}},
        // Colour functions CSS does not take are reported (to be listed as ignored); no place for a colour.
        {"a{l:rgba(a,b,c);m:hsl(1,2,3);n:translate(red);o:x(#fff)}", {"rgba(a,b,c)", "hsl(1,2,3)"}},
        {"a{font:12px Arial Black;font-family:Red;animation:red 1s;grid-area:red;-webkit-animation-name:red}", {}},
        {"a{transition:color 1s;counter-reset:red;will-change:red;content:'red';list-style-type:red;quotes:red}", {}},
        // Channels written as numbers beside an alpha a browser works out: the function is a colour. A channel
        // it works out makes it none.
        {"a{color:hsl(210 40% 50% / calc(var(--a) * .5))}", {"hsl(210 40% 50% / calc(var(--a) * .5))"}},
        {"a{color:oklch(0.5 0.1 200 / var(--a, 1))}", {"oklch(0.5 0.1 200 / var(--a, 1))"}},
        {"a{color:rgba(var(--bs-primary-rgb), .5);b:hsl(var(--h), 50%, 50%);c:rgb(calc(1 + 2) 0 0)}", {}},
        {"a{color:rgb(1 2 3 / var(--a);b:#123}", {}}, // never closed: the declaration is lost, as a browser loses it
        // Colours made of colours: every literal colour inside is one.
        {"a{color:rgb(from #0d6efd r g b / 50%);b:hsl(from red calc(h + 20) s l)}", {"#0d6efd", "red"}},
        {"a{color:oklch(from var(--c, navy) l c h);d:color(from lab(50 20 30) srgb r g b)}", {"navy", "lab(50 20 30)"}},
        {"a{color:var(--x, #fff);b:var(--y, var(--z, teal))}", {"#fff", "teal"}},
        {"a{background:-webkit-gradient(linear, left top, left bottom, from(#fff), color-stop(.5, red), to(#000))}",
         {"#fff", "red", "#000"}},
        {"a{box-shadow:0 0 2px oklch(0.5 0.1 200);background:linear-gradient(lab(1 2 3),hwb(0 0% 0%))}",
         {"oklch(0.5 0.1 200)", "lab(1 2 3)", "hwb(0 0% 0%)"}},
        {"a{color:oklch(var(--l) 0.1 200)}", {}},
        // A comment is white space, in a colour function and before a colour.
        {"a{color:rgb(10 /* ) ( */ 20 30)}b{color:#123}", {"rgb(10 /* ) ( */ 20 30)", "#123"}},
        {"a{color:/* x */#fff;b:/**/red;c:0 0/**/navy}", {"#fff", "red", "navy"}},
        // Strings, url()s and nesting: the walk keeps step, and only values give colours.
        {"a{background:url(\"data:image/svg+xml,%3Csvg fill='rgb(0,0,0)' x=\\\"1\\\"%3E)%3C/svg%3E\")}b{color:#123}",
         {"svg:rgb(0,0,0)", "#123"}},
        // A data: URL holding a ")" and quotes: before, the rest of the sheet was lost.
        {"a{--i:url(\"data:image/svg+xml,%3Csvg%3E rotate(0deg) x='1' %3C/svg%3E\")}b{color:#123}", {"#123"}},
        {"a{content:\"\\\"; color: red\"}b{color:#456}", {"#456"}},
        {"a{background:url( data:image/png;base64,AA}red; )}b{color:#abc}", {"#abc"}},
        {"@media screen{@supports (display:grid){a{color:#111;&:hover{color:#222}}}}c{color:#333}",
         {"#111", "#222", "#333"}},
        {"#fff a, red b{color:#444}@media print{#nav{color:#555}}@media (color:red){a{color:#666}}",
         {"#444", "#555", "#666"}},
        {"@keyframes x{from{color:red}50%{color:#777}}", {"red", "#777"}},
        {"a{color #888; red}", {}}, // no declaration without its colon
        // A declaration whose colon stands inside a string: its url() reaches no further than its value, so
        // the picture's colour and the one after it stay apart and in order.
        {"{\":url(\"data:image/svg+xml,;%3cstroke=':red", {"red"}},
    };
    for (const auto& [css, colors] : cases) EXPECT_EQ(Sheet(css).Colors, colors) << css;
}

TEST(StyleScan, Pictures)
{
    EXPECT_EQ(Sheet("a{background: url('../img/bg.gif')} b{x: url( \"c.png\" ) url( d.jpg )} c{y: url(d.jpg)}"
                    "@import url(e.png);")
                  .Pics,
              (Strings{"../img/bg.gif", "c.png", "d.jpg", "d.jpg"}))
        << "the walk reports each; the document keeps distinct ones";
    for (const char* external : {"http://e.com/a.gif", "data:image/png;base64,AAA", "//cdn/a.gif"})
        EXPECT_TRUE(Sheet(std::string("a{background: url(") + external + ")}").Pics.empty()) << external;
}

// In SVG, what CSS takes for FILL, STROKE and the *COLOR attributes is a colour, in either quotes; "none",
// "currentColor", url(#id) and SMIL's fill="freeze" are not. Outside an SVG element FILL is nothing.
TEST(SvgScan, Attributes)
{
    const std::pair<std::string, Strings> pages[] = {
        {"<svg fill=\"red\" stroke='#00f'><path fill=\"none\" stroke=\"currentColor\"/><rect fill=\"url(#g)\" "
         "stop-color=\"rgb(1,2,3)\"/></svg>",
         {"red", "#00f", "rgb(1,2,3)"}},
        {"<SVG><stop stop-color=\"#123\" offset=\"1\"/><feFlood\nflood-color=\"hsl(0 0% 50%)\"/>"
         "<feSpecularLighting lighting-color=\"white\"/></SVG><font color=\"red\">",
         {"#123", "hsl(0 0% 50%)", "white", "red"}},
        {"<svg><animate fill=\"freeze\"/><g data-fill=\"red\" style='fill: red; stroke: #ABC'/></svg>",
         {"red", "#ABC"}},
        {"<svg><style>.a { fill: #abc } .b { stroke: none }</style><text color=\"transparent\">x</text></svg>", {"#abc"}},
        {"<svg><g fill='red'/></svg><p fill=\"blue\" style='color: red'>", {"red"}},
        // A self-closed SVG element holds nothing: what follows is HTML again.
        {"<svg fill=\"red\"/><body bgcolor=\"ff0000\">", {"red", "ff0000"}},
    };
    for (const auto& [html, colors] : pages) EXPECT_EQ(Page(html).Colors, colors) << html;
}

// The picture a data:image/svg+xml URL holds, in a sheet, a style attribute or a SRC/HREF, percent-encoded
// or in base64; each of its colours is found in it.
TEST(SvgScan, DataUrls)
{
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg'><path fill='#343a40' stroke=\"red\"/></svg>";
    const std::string base64 = Base64Encode(svg);
    const std::pair<std::string, Strings> sheets[] = {
        {"a { background-image: url(data:image/svg+xml;charset=utf8,%3Csvg%3E%3Crect%20fill=%22%23FFF%22/%3E%3C/svg%3E) }",
         {"svg:#FFF"}},
        {"a { background: url(data:image/png;base64,iVBORw0KGgo=) red; b: url(data:image/svg+xmlx,<svg fill='red'>) }",
         {"red"}},
        // A data: URL in the picture is left alone; the walk goes on after the outer one.
        {"a { background: url(\"data:image/svg+xml,<svg><style>g{background:url(data:image/svg+xml,<svg fill='red'/>)}"
         "</style><g fill='blue'/></svg>\"); color: #000 }",
         {"svg:blue", "#000"}},
    };
    for (const auto& [css, colors] : sheets) EXPECT_EQ(Sheet(css).Colors, colors) << css;
    EXPECT_EQ(Page("<img src=\"data:image/svg+xml;base64," + base64 + "\"><p style=\"background: "
                   "url('data:image/svg+xml,%3Csvg fill=%22lime%22/%3E')\"><use href='data:image/svg+xml,<svg "
                   "stroke=\"teal\"/>'/><font color=\"red\">")
                  .Colors,
              (Strings{"svg:#343a40", "svg:red", "svg:lime", "svg:teal", "red"}));
    EXPECT_TRUE(Page("<img src=\"data:image/svg+xml;base64,!!!\">").Colors.empty());
}
