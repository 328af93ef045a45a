#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <pthread.h>

using namespace pictor;
using namespace pictor::test;

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

// The sheets a page's load ends with, as names below the site.
std::vector<std::string> SheetsOfPage(const std::string& page, const Files& sheets)
{
    TSite site;
    site.Add("index.html", page);
    for (const auto& [name, text] : sheets) site.Add(name, text);
    const THtmlStructure doc = site.Open("index.html");
    std::vector<std::string> names;
    for (const auto& sheet : doc.Sheets) names.push_back(sheet->Path.substr(site.Root.Path().string().size() + 1));
    return names;
}

// The same for a page that links the sheets named by the letters of links, one a letter.
std::vector<std::string> SheetsOf(const std::string& links, const Files& sheets)
{
    std::string page;
    for (char name : links) page += std::string("<link rel=\"stylesheet\" href=\"") + name + ".css\">";
    return SheetsOfPage(page, sheets);
}

// ASCII text as UTF-16 with its byte-order mark.
std::string Utf16Le(std::string_view ascii)
{
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += {c, '\0'};
    return out;
}

} // namespace

// Each sheet is read once; a sheet found by an @import is searched at once, before the rules after it.
TEST(Imports, EachSheetOnceInTheOrderFound)
{
    const struct {
        const char* Links;
        Files Sheets;
        std::vector<std::string> Order;
    } cases[] = {
        {"m", {{"m.css", "@import url(a.css);\r\n@import \"b.css\";\r\np { color: red }"}, {"a.css", "@import url(c.css);"},
               {"b.css", ""}, {"c.css", ""}},
         {"m.css", "a.css", "c.css", "b.css"}},
        {"m", {{"m.css", "@import url(m.css); @import url(./m.css);"}}, {"m.css"}},
        // A linked sheet that another imports keeps its place among the linked ones and is searched there.
        {"mb", {{"m.css", "@import url(b.css); @import url(a.css);"}, {"a.css", ""}, {"b.css", "@import url(c.css);"},
                {"c.css", ""}},
         {"m.css", "b.css", "a.css", "c.css"}},
        // UTF-8 without kana: the name is the file's UTF-8 bytes, as the sheet's reading takes them.
        {"m", {{"m.css", "/* caf\xC3\xA9 */ @import url(caf\xC3\xA9.css);"}, {"caf\xC3\xA9.css", ""}},
         {"m.css", "caf\xC3\xA9.css"}},
        {"m", {{"m.css", Utf16Le("@import url(a.css);")}, {"a.css", ""}}, {"m.css", "a.css"}},
        // Bytes the normaliser calls binary: the sheet's text is searched as it is.
        {"m", {{"m.css", "@import url(a.css); \x01\xFF"}, {"a.css", ""}}, {"m.css", "a.css"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SheetsOf(c.Links, c.Sheets), c.Order) << c.Sheets[0].second;
}

// Comments and strings hide what they hold: neither a "}" nor an "@import" in one is markup, and an
// "@import" inside a block is no import.
TEST(Imports, CommentsStringsAndBlocksHideImports)
{
    const struct {
        const char* Sheet;
        std::vector<std::string> Order;
    } cases[] = {
        {"/* @import url(c.css); */ @import url(a.css);", {"m.css", "a.css"}},
        {".x { background: red /* } @import url(c.css); */ }", {"m.css"}},
        {"@import url(a.css); .x { color: red } @import url(b.css);", {"m.css", "a.css", "b.css"}},
        {".x::before { content: \"} @import 'c.css';\" }", {"m.css"}},
        {"@import \"a.css\" supports(content: \"{\"); @import \"b.css\";", {"m.css", "a.css", "b.css"}},
        {"@media print { .x { color: red } @import \"c.css\"; }", {"m.css"}},
        {"@import url(http://e.com/x.css); @import \"//cdn/y.css\"; @import screen; p { background: url(a.css) }", {"m.css"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SheetsOf("m", {{"m.css", c.Sheet}, {"a.css", ""}, {"b.css", ""}, {"c.css", ""}}), c.Order) << c.Sheet;
}

// Runs f on a thread with a small stack: a search that recursed once a sheet would run out of it on a
// chain of a few thousand, as it runs out of the main stack on tens of thousands.
template <class F>
void OnSmallStack(F f)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, [](void* call) -> void* {
        (*static_cast<F*>(call))();
        return nullptr;
    }, &f), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST(Imports, DeepChainIsFollowed)
{
    constexpr int Depth = 3000;
    Files sheets;
    for (int i = 0; i < Depth; ++i)
        sheets.emplace_back("s/" + std::to_string(i) + ".css", "@import url(" + std::to_string(i + 1) + ".css);");
    sheets.emplace_back("s/" + std::to_string(Depth) + ".css", "p { color: red }");
    sheets.emplace_back("m.css", "@import url(s/0.css);");
    std::vector<std::string> order;
    OnSmallStack([&] { order = SheetsOf("m", sheets); });
    ASSERT_EQ(order.size(), size_t(Depth) + 2);
    EXPECT_EQ(order[1], "s/0.css");
    EXPECT_EQ(order.back(), "s/" + std::to_string(Depth) + ".css");
}

// An "@import" that opens a style block is followed as a browser follows it: its sheets come after
// every sheet the links reach, in the page's order, each searched depth first. One after another rule
// is ignored by a browser and is not followed.
TEST(Imports, StyleBlocksOpeningWithImports)
{
    const Files sheets = {{"a.css", "@import url(a2.css);"}, {"a2.css", ""}, {"b.css", ""},
                          {"c.css", "@import \"c2.css\";"},  {"c2.css", ""}, {"d.css", ""}, {"e.css", ""}};
    const struct {
        std::string Page;
        std::vector<std::string> Order;
    } cases[] = {
        {"<link rel=\"stylesheet\" href=\"a.css\"><STYLE type=\"text/css\">\n<!--\n/* x */ @import url( 'c.css' );\n"
         "@import url(d.css) screen;\n-->\n</STYLE><link rel=\"stylesheet\" href=\"b.css\"><style>@import 'e.css'</style>",
         {"a.css", "b.css", "a2.css", "c.css", "c2.css", "d.css", "e.css"}},
        {"<style>h1 { color: red } @import \"c.css\";</style>", {}},
        {"<style>@import \"a2.css\"; @import \"missing.css\"; @import \"http://e.com/x.css\"; @import \"d.css\";</style>"
         "<link rel=\"stylesheet\" href=\"a.css\">",
         {"a.css", "a2.css", "d.css"}},
        {"<p style=\"x: y\">@import \"c.css\";</p>", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SheetsOfPage(c.Page, sheets), c.Order) << c.Page;
}
