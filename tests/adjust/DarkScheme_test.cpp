#include "adjust/DarkScheme.h"
#include "document/ChannelLists.h"
#include "document/ChannelVariables.h"
#include "document/CssOutline.h"
#include "document/DocumentText.h"
#include "document/SvgDataUrl.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace pictor {
namespace {

THtmlStructure PageOf(const std::string& html) { return test::ScannedPage(html, ccUtf8); }

std::string Dark(int r, int g, int b)
{
    return ColorToUpperCode(DarkColor(RGB(r, g, b), {}));
}

// The text with each {W} as black's dark colour, the light text of the dark scheme, and {B} as white's.
std::string Darkened(std::string text)
{
    for (const auto& [mark, colour] : {std::pair("{W}", Dark(0, 0, 0)), std::pair("{B}", Dark(255, 255, 255))})
        for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, 3, colour);
    return text;
}

// The page's text once the dark scheme is added, and that text with the additions taken out again.
struct TSchemed {
    std::string Text;
    std::string WithoutAdded;
    TDarkScheme Scheme;
};

TSchemed Schemed(THtmlStructure& page)
{
    TSchemed out;
    out.Scheme = FollowReaderScheme(page, TAdjustment::Dark(), false);
    RewriteText(page.Page);
    out.Text = page.Page.CurrentText();
    out.WithoutAdded = out.Text;
    for (auto added = page.Page.Added.rbegin(); added != page.Page.Added.rend(); ++added) {
        const size_t at = out.WithoutAdded.find(added->Text);
        if (at != std::string::npos) out.WithoutAdded.erase(at, added->Text.size());
    }
    return out;
}

// Colour attributes get rules of no specificity in HEAD, before every sheet; each sheet ends with its
// colour declarations repeated, dark, in their rules and at-rules. BORDERCOLOR has no property of its
// own and a style attribute no selector: both are left light.
TEST(DarkScheme, AttributeRulesBeforeEverySheetAndRulesRepeatedInTheirAncestry)
{
    const std::string sheet = "body{color:#000;background-color:#fff;margin:0}"
                              "a{color:#fff!important;text-decoration:none}"
                              ":root{--accent:#fff;--gap:4px}"
                              "@media screen{@supports (display:grid){@layer base{.y{border:1px solid #000;padding:0}}}}"
                              ".card{color:#fff;&:hover{color:#000}.t{margin:0}}"
                              "@keyframes k{from{color:#fff;opacity:0}to{opacity:1}}"
                              "/* open";
    const std::string body =
        "<body bgcolor=\"White\" text=\"#000\" link=\"#000\"><table bordercolor=\"#111\"><tr>"
        "<td bgcolor=\"#fff\"><font color=\"#000\">x</font><p style=\"color:#222\">y</p></body></html>";
    THtmlStructure page = PageOf("<html><head><title>t</title><style>" + sheet + "</style></head>" + body);
    const TSchemed s = Schemed(page);
    // The light page is byte for byte what it was, once the additions are taken out.
    EXPECT_EQ(s.WithoutAdded, page.Page.Text);
    EXPECT_EQ(s.Scheme.Declarations, 8);
    const std::string head = "\n<meta name=\"color-scheme\" content=\"light dark\">\n<style>\n"
                             "@media (prefers-color-scheme: dark) {\n:where(:root) { color: {W}; }\n"
                             ":where(body[bgcolor=\"White\" i]) { background-color: {B}; }\n"
                             ":where(body[text=\"#000\" i]) { color: {W}; }\n"
                             ":where(body[link=\"#000\" i] :link) { color: {W}; }\n"
                             ":where(td[bgcolor=\"#fff\" i]) { background-color: {B}; }\n"
                             ":where(font[color=\"#000\" i]) { color: {W}; }\n}\n</style>";
    const std::string block = "\n*/@media (prefers-color-scheme: dark) {\n"
                              "body { color:{W}; background-color:{B}; }\n"
                              "a { color:{B}!important; }\n"
                              ":root { --accent:{B}; }\n"
                              "@media screen {\n@supports (display:grid) {\n@layer base {\n"
                              ".y { border:1px solid {W}; }\n}\n}\n}\n"
                              ".card { color:{B};\n&:hover { color:{W}; }\n}\n"
                              "@keyframes k {from{color:{B};opacity:0}to{opacity:1}}\n"
                              "}\n";
    EXPECT_EQ(s.Text, "<html><head>" + Darkened(head) + "<title>t</title><style>" + sheet + Darkened(block) +
                          "</style></head>" + body);
    ASSERT_EQ(s.Scheme.LeftLight.size(), 2u);
    EXPECT_EQ(page.Page.Colors[s.Scheme.LeftLight[0].Record].OrgText, "#111");
    EXPECT_EQ(page.Page.Colors[s.Scheme.LeftLight[1].Record].OrgText, "#222");
    // No colour is rewritten.
    for (const TColorRecord& r : page.Page.Colors) EXPECT_EQ(r.Text, r.OrgText);
}

// The block after one sheet: a later declaration of a colour property that holds no colour (transparent,
// inherit, a var()) is repeated so that it still wins (Foundation's hollow button), one of a property that
// sets no colour is not; a scheme that keeps the page light turns dark (Primer's root), one that offers
// dark, or none, stays; light-dark() gives its light colour, dark, colours through variables too (Tabler),
// since the page's scheme is dark there and the site's own dark colour would be made dark again; a data:
// URL's picture is repeated with its dark colours in the URL's own encoding, a base64 one encoded afresh
// (Bootstrap's chevrons); the site's own scheme rules stay as they are; an unticked colour is repeated light.
TEST(DarkScheme, EachSheetEndsWithTheBlockOfItsColoursDark)
{
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg'><path fill='#000'/></svg>";
    std::string darkSvg = svg;
    darkSvg.replace(darkSvg.find("#000"), 4, Dark(0, 0, 0));
    const std::string chevron =
        "url(\"data:image/svg+xml,%3csvg xmlns='http://www.w3.org/2000/svg'%3e%3cpath fill='%23";
    const struct {
        std::string Sheet, Block;
        int Unticked = -1; // a colour record left as it is: repeated light
    } cases[] = {
        {".primary{background-color:#000;color:#fff;border-radius:0}"
         ".hollow{background-color:transparent;color:inherit;border-radius:3px}"
         ".card{background:var(--bg);color-scheme:light;margin:0}",
         ".primary { background-color:{W}; color:{B}; }\n.hollow { background-color:transparent; color:inherit; }\n"
         ".card { background:var(--bg); color-scheme:dark; }"},
        {".a{color:#000}.b{color-scheme:light}", ".a { color:{W}; }\n.b { color-scheme:dark; }"},
        {".a{color:#000}.b{color-scheme: only Light !important}",
         ".a { color:{W}; }\n.b { color-scheme: only dark !important; }"},
        {".a{color:#000}.b{Color-Scheme:light}", ".a { color:{W}; }\n.b { Color-Scheme:dark; }"},
        {".a{color:#000}.b{color-scheme:light dark}", ".a { color:{W}; }"},
        {".a{color:#000}.b{color-scheme:normal}", ".a { color:{W}; }"},
        {".a{color:#000}.b{--light:1}", ".a { color:{W}; }"},
        {".a{border:1px solid light-dark(#fff, #000)}", ".a { border:1px solid {B}; }"},
        {".a{color:LIGHT-DARK( #000 ,rgb(255 255 255) )}", ".a { color:{W}; }"},
        {".a{--b:light-dark(var(--g), oklch(from var(--d) l c h))}", ".a { --b:var(--g); }"},
        {".a{background:linear-gradient(light-dark(#000,#fff),#fff)}", ".a { background:linear-gradient({W},{B}); }"},
        {".a{content:\"light-dark(x,y)\";color:#000}", ".a { color:{W}; }"},
        {".select{background-image:" + chevron + "343a40'/%3e%3c/svg%3e\");padding:0}",
         ".select { background-image:" + chevron + Dark(0x34, 0x3a, 0x40).substr(1) + "'/%3e%3c/svg%3e\"); }"},
        {".check{background:url(data:image/svg+xml;base64," + Base64Encode(svg) + ") no-repeat}",
         ".check { background:url(data:image/svg+xml;base64," + Base64Encode(darkSvg) + ") no-repeat; }"},
        {":root{--bg:#fff}@media (prefers-color-scheme: dark){:root{--bg:#222}}", ":root { --bg:{B}; }"},
        {".a{color:#000}.b{color:#000}", ".a { color:{W}; }\n.b { color:#000; }", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Sheet);
        THtmlStructure page = PageOf("<head><style>" + c.Sheet + "</style></head>");
        if (c.Unticked >= 0) page.Page.Colors[size_t(c.Unticked)].Checked = false;
        // A second call replaces what the first added.
        FollowReaderScheme(page, TAdjustment::Dark(), false);
        const TSchemed s = Schemed(page);
        EXPECT_EQ(s.WithoutAdded, page.Page.Text);
        EXPECT_TRUE(s.Scheme.LeftLight.empty());
        ASSERT_EQ(page.Page.Added.size(), 2u);
        EXPECT_EQ(page.Page.Added[1].Text, "\n@media (prefers-color-scheme: dark) {\n" + Darkened(c.Block) + "\n}\n");
    }
}

// Colours made of one-channel variables take their channels from each element's rules: where the browser
// takes relative colours, it mirrors each such call itself, the variables light again there. A lightness
// contrast moved travels beside its variable, through the variables that are it; a call adding to the
// lightness (which is light again there too), or reading no ticked variable, mirrors without it.
TEST(DarkScheme, OneChannelColoursMirroredByTheBrowserWhereItTakesRelativeColours)
{
    THtmlStructure page = PageOf("<head><style>:root{--h:233deg;--s:100%;--l:63%;--t:var(--l);--d:5%}"
                                 ".a{color:hsl(var(--h),var(--s),var(--t))}"
                                 ".b{background:hsl(var(--h) var(--s) calc(var(--l) + var(--d)))}"
                                 ".c{color:hsl(var(--x),50%,50%)}</style></head>");
    AddChannelColors(page);
    FollowReaderScheme(page, TAdjustment::Dark(), false);
    ASSERT_EQ(page.Page.Added.size(), 2u);
    const std::string& block = page.Page.Added[1].Text;
    // The link colour on the page's background is nudged to stay AA, in the block before as here.
    const std::size_t dark = block.find("--l:") + 4;
    const double nudged = SrgbToSpace(TColorSpace::Oklch, HslToSrgb(233, 1, std::stod(block.substr(dark)) / 100))[0];
    EXPECT_EQ(block.substr(block.find("@supports")),
              "@supports (color: oklch(from red l c h)) {\n"
              ":root { --l:63%; --l-pictor-dark: " +
                  Decimal(nudged, 4) +
                  "; --t:var(--l); --t-pictor-dark: var(--l-pictor-dark); --d:5%; }\n"
                  ".a { color:oklch(from hsl(var(--h),var(--s),var(--t)) "
                  "var(--t-pictor-dark, calc(0.93 - 0.75 * l)) c h / alpha); }\n"
                  ".b { background:oklch(from hsl(var(--h) var(--s) "
                  "calc(var(--l) + var(--d))) calc(0.93 - 0.75 * l) c h / alpha); }\n"
                  ".c { color:hsl(var(--x),50%,50%); }\n}\n}\n");
}

TEST(CssOutline, BlocksAndDeclarationsPastStringsCommentsAndBraces)
{
    const std::string css = "a[title='{;}']{content:\"}\";color:red}/*{*/@media x{b{c:d(;)}}";
    const TCssOutline o = OutlineCss(css, 0, css.size(), true);
    ASSERT_EQ(o.Blocks.size(), 3u);
    EXPECT_EQ(css.substr(o.Blocks[0].PreludeStart, o.Blocks[0].PreludeEnd - o.Blocks[0].PreludeStart), "a[title='{;}']");
    EXPECT_EQ(o.Blocks[2].Parent, 1);
    ASSERT_EQ(o.Declarations.size(), 3u);
    EXPECT_EQ(css.substr(o.Declarations[1].Start, o.Declarations[1].End - o.Declarations[1].Start), "color:red");
    EXPECT_EQ(css.substr(o.Declarations[2].Start, o.Declarations[2].End - o.Declarations[2].Start), "c:d(;)");
    EXPECT_EQ(o.DeclarationAt(css.find("red"), 3), 1);
    EXPECT_EQ(o.DeclarationAt(0, 1), -1);
    EXPECT_EQ(o.OpenAtEnd, 0);
    EXPECT_EQ(OutlineCss("a{b{", 0, 4, true).OpenAtEnd, 2);
}

TEST(RewriteText, AddedTextsStandBeforeWhatStartsThere)
{
    THtmlStructure page = PageOf("<font color=\"red\">");
    page.Page.Colors[0].Text = "#0000FF";
    page.Page.Added = {{0, "<!--a-->"}, {13, "[b]"}, {18, "[c]"}};
    RewriteText(page.Page);
    EXPECT_EQ(page.Page.CurrentText(), "<!--a--><font color=\"[b]#0000FF\">[c]");
    EXPECT_EQ(page.Page.Colors[0].Pos, 25);  // 1-based, after both additions
}

} // namespace
} // namespace pictor
