#include "document/ChannelVariables.h"
#include "document/SelectorPairs.h"
#include "document/SelectorScanner.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace pictor {
namespace {

// Which characters may split a selector (the rest shown as '_'), and the escapes taken whole.
TEST(SelectorPairs, ScannerStepsOverEscapesStringsAndBrackets)
{
    const struct {
        const char* Text;
        const char* Plain;
        std::vector<std::string> Escapes;
    } cases[] = {
        {"a\\,b,c", "a__b,c", {"\\,"}},
        // A hex escape ends at six digits or with the one white space after it.
        {".\\31\r\nx", "._____x", {"\\31\r\n"}},
        {"\\1234567", "_______7", {"\\123456"}},
        {"[title=\"a]b, c\"] .d", "[_______________ .d", {}},
        {":not(.a, [x=')']), .c", ":not(____________, .c", {}},
        // Unclosed to the end; a backslash at the end escapes nothing.
        {"\"a, b", "\"____", {}},
        {"a\\", "a_", {"\\"}},
        {"a) ,b", "a) ,b", {}},
    };
    for (const auto& c : cases) {
        const std::string_view text = c.Text;
        std::string plain(text.size(), '_');
        std::vector<std::string> escapes;
        std::size_t end = 0;
        TSelectorScanner scanner(text);
        while (const auto step = scanner.Next()) {
            EXPECT_EQ(step->Pos, end) << c.Text;
            end = step->Pos + step->Length;
            if (step->Plain) plain[step->Pos] = text[step->Pos];
            if (text[step->Pos] == '\\') escapes.emplace_back(text.substr(step->Pos, step->Length));
        }
        EXPECT_EQ(end, text.size()) << c.Text;
        EXPECT_EQ(plain, c.Plain) << c.Text;
        EXPECT_EQ(escapes, c.Escapes) << c.Text;
    }
}

TEST(SelectorPairs, ChainsAndTheirAncestors)
{
    const struct {
        const char* Selector;
        const char* Text;
        std::vector<std::string> Ancestors;
        std::vector<std::string> Compounds;
    } cases[] = {
        {"  nav.a  >li ", "nav.a > li", {"nav.a"}, {"nav.a", "li"}},
        {"ul>li > a:hover", "ul > li > a:hover", {"ul", "ul > li"}, {"ul", "li", "a:hover"}},
        // A sibling is no ancestor; what it follows, with it, is.
        {".a + .b .c", ".a + .b .c", {".a + .b"}, {".a", ".b", ".c"}},
        {".a ~ .b", ".a ~ .b", {}, {".a", ".b"}},
        // Combinators inside parentheses, brackets and strings are no combinators.
        {":is(.a .b) > .c", ":is(.a .b) > .c", {":is(.a .b)"}, {":is(.a .b)", ".c"}},
        {"[title=\"a b\"] .c", "[title=\"a b\"] .c", {"[title=\"a b\"]"}, {"[title=\"a b\"]", ".c"}},
        {".\\31 0 .c", ".\\31 0 .c", {".\\31 0"}, {".\\31 0", ".c"}},
        {"[title='a\\' b'] > .c", "[title='a\\' b'] > .c", {"[title='a\\' b']"}, {"[title='a\\' b']", ".c"}},
    };
    for (const auto& c : cases) {
        const TSelectorChain chain = ChainOfSelector(c.Selector);
        EXPECT_EQ(chain.Text, c.Text) << c.Selector;
        std::vector<std::string> ancestors, compounds;
        for (std::size_t length : chain.Ancestors) ancestors.push_back(chain.Text.substr(0, length));
        EXPECT_EQ(ancestors, c.Ancestors) << c.Selector;
        for (std::size_t k = 0; k < chain.Compounds.size(); ++k) {
            const std::size_t end = k + 1 < chain.Compounds.size() ? chain.Compounds[k + 1] : chain.Text.size();
            std::string compound = chain.Text.substr(chain.Compounds[k], end - chain.Compounds[k]);
            while (compound.ends_with(' ') || compound.ends_with('>') || compound.ends_with('+') || compound.ends_with('~'))
                compound.pop_back();
            compounds.push_back(compound);
        }
        EXPECT_EQ(compounds, c.Compounds) << c.Selector;
    }
}

TEST(SelectorPairs, SimpleSelectorsOfACompound)
{
    const struct {
        const char* Compound;
        std::vector<std::string_view> Parts;
    } cases[] = {
        {"input[type=\"a.b\"]::placeholder", {"::placeholder", "[type=\"a.b\"]", "input"}},
        {".x:not(.y.z)#id", {"#id", ".x", ":not(.y.z)"}},
        // An escaped colon before a pseudo-element's "::" is no part of it.
        {".a\\:::after", {".a\\:", "::after"}},
        {"[x='.y']:hover", {":hover", "[x='.y']"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SimpleSelectors(c.Compound), c.Parts) << c.Compound;
}

// Which text colour stands on which background by the selectors of different rules (records by place).
TEST(SelectorPairs, TextsOnTheBackgroundsOfTheirElementOrItsAncestors)
{
    const THtmlStructure page = test::ScannedPage(
        "<style>"
        ".navbar.is-link{background-color:#485fc7}"           // 0
        ".navbar.is-link .navbar-item,.x{color:#fff}"         // 1: stands in the navbar
        ".button{background:#eee}"                            // 2
        ".button{color:#333}"                                 // 3: the same element
        ".card .title{color:#111;background-color:#fafafa}"   // 4, 5: one block, the walk's own pair
        ".other .navbar-item{color:#222}"                     // 6: no such background
        ".navbar.is-link ~ .navbar-item{color:#444}"          // 7: a sibling, not inside
        ".hero{background:url(a.png) #abc}"                   // 8: a background of more than a colour? one colour
        ".hero .title{color:#555}"                            // 9
        ".btn.is-dark{background-color:#333}"                 // 10
        ".btn.is-dark.is-focused,.btn.is-dark:focus{color:#fff}"  // 11: the same element, one state more
        ".btn.is-light .icon{color:#eee}"                     // 12: is-light is no is-dark
        ".tag{color:#123}"                                    // 13: on a tag that is also
        ".tag.is-hovered{background-color:#f5f5f5}"           // 14
        "</style>",
        ccUtf8);
    const TSelectorPairs pairs = PairColorsBySelectors(page.Page, true);
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (const TPairedColors& p : pairs.Pairs) found.emplace_back(p.Foreground, p.Background);
    const std::vector<std::pair<std::size_t, std::size_t>> expected{{1, 0}, {3, 2}, {9, 8}, {11, 10}, {13, 14}};
    EXPECT_EQ(found, expected);
    // No page text given: no background stands under it.
    EXPECT_TRUE(pairs.UnderPageText.empty());
}

// Backgrounds no text is paired with stand under the page's own text, the last body, html or :root colour.
TEST(SelectorPairs, BackgroundsOfNoTextUnderThePageText)
{
    const THtmlStructure page = test::ScannedPage("<style>"
                                                  "html{color:#000}"                      // 0
                                                  "body{color:#212529}"                   // 1
                                                  ".bg-success{background-color:#28a745}" // 2
                                                  ".card{background:#fff;color:#333}"     // 3, 4: its own text
                                                  ".nav{background-color:#eee}"           // 5
                                                  ".nav .item{color:#555}"                // 6: on the nav
                                                  "</style>",
                                                  ccUtf8);
    const TSelectorPairs pairs = PairColorsBySelectors(page.Page, true);
    ASSERT_EQ(pairs.UnderPageText.size(), 1u);
    EXPECT_EQ(pairs.UnderPageText[0].Foreground, 1u);
    EXPECT_EQ(pairs.UnderPageText[0].Background, 2u);
}

// Colours through custom properties: the records of the properties a declaration names (the root's, not
// those of the site's own dark scheme; a block's own first), with the alpha of the use.
TEST(SelectorPairs, ColoursThroughCustomProperties)
{
    THtmlStructure page = test::ScannedPage(
        "<style>"
        ":root{--bc:27.8% 0.03 257;--b1:100% 0 0;--su:64.8% 0.15 160;--p:49% 0.3 276}"  // 0-3
        "@media (prefers-color-scheme:dark){:root{--bc:80% 0.03 257}}"                   // 4
        ":root{background-color:oklch(var(--b1)/1);color:var(--fallback-bc,oklch(var(--bc)/1))}"
        ".bg-success\\/80{background-color:oklch(var(--su)/.8)}"
        ".text-primary\\/70{color:oklch(var(--p)/.7)}"
        ".btn{--btn-bg:var(--x);background-color:var(--btn-bg);color:#fff}"  // 5
        ".btn-primary{--x:#0d6efd}"                                          // 6: not the button's own
        ".alert{--alert-bg:#cfe2ff;background:var(--alert-bg);color:var(--alert-color)}:root{--alert-color:#052c65}"  // 7, 8
        "</style>",
        ccUtf8);
    AddChannelColors(page);
    const TSelectorPairs pairs = PairColorsBySelectors(page.Page, true);
    const auto list = [](const std::vector<TPairedColors>& found) {
        std::vector<std::array<std::size_t, 5>> out;
        for (const TPairedColors& p : found)
            out.push_back({p.Foreground, p.Background, p.ForegroundAlpha, p.BackgroundAlpha, p.SharedBackground});
        return out;
    };
    using TRows = std::vector<std::array<std::size_t, 5>>;
    EXPECT_EQ(list(pairs.Pairs), (TRows{{0, 1, 255, 255, 1}, {8, 7, 255, 255, 1}}));
    EXPECT_EQ(list(pairs.UnderPageText), (TRows{{0, 2, 255, 204, 1}}));
    ASSERT_EQ(pairs.OnPage.size(), 1u);
    EXPECT_EQ(pairs.OnPage[0].Record, 3u);
    EXPECT_EQ(pairs.OnPage[0].Alpha, 179);
}

} // namespace
} // namespace pictor
