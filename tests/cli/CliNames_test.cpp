// File names that are not UTF-8 in pictor-cli's output: JSON gives each byte that is not part of valid
// UTF-8 as \udcXX (Python's os.fsdecode, so os.fsencode gives the bytes back), text gives the bytes.
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace pictor::test;

namespace {

struct TNameCase {
    const char* What;
    std::string Name;  // the page's file name as bytes
    std::string Json;  // how a JSON string holds it
};

TEST(CliNames, JsonGivesBackTheBytesOfEveryNameAndTextPrintsThem)
{
    const TNameCase cases[] = {
        {"a byte that is never UTF-8", "bad\xFF.html", "bad\\udcff.html"},
        {"Shift-JIS", "\x93\xFA\x96\x7B.html", "\\udc93\\udcfa\\udc96{.html"},
        {"EUC-JP", "\xC6\xFC\xCB\xDC.html", "\\udcc6\\udcfc\\udccb\\udcdc.html"},
        {"a sequence cut short", "\xE6\x97x.html", "\\udce6\\udc97x.html"},
        {"an encoded surrogate", "\xED\xA0\x80.html", "\\udced\\udca0\\udc80.html"},
        {"an overlong form", "\xC0\xAF.html", "\\udcc0\\udcaf.html"},
        {"UTF-8 with U+FFFD itself", "a\xEF\xBF\xBD.html", "a\xEF\xBF\xBD.html"},
        {"UTF-8", "日本\xF0\x9F\x8E\xA8.html", "日本\xF0\x9F\x8E\xA8.html"},
        {"the escape's own text", "a\\udcff.html", "a\\\\udcff.html"},
        {"a quote and a tab", "a\"\t.html", "a\\\"\\t.html"},
        {"a control byte", "a\x01\x7F.html", "a\\u0001\x7F.html"},
    };
    for (const TNameCase& c : cases) {
        TTempDir site;
        const std::string page = site.Write(c.Name, "<body bgcolor=\"red\">");
        const TCliRun json = RunCli("list --json " + ShellQuote(page));
        EXPECT_EQ(json.Status, 0) << c.What;
        EXPECT_NE(json.Out.find("\"page\": \"" + site.Path().string() + "/" + c.Json + "\"\n"), std::string::npos)
            << c.What << "\n" << json.Out;
        const TCliRun text = RunCli("list " + ShellQuote(page));
        EXPECT_TRUE(text.Out.starts_with("[0] " + page + " (")) << c.What << "\n" << text.Out;
    }
}

// Lists of names inside the site's palette and pictures, laid out as at the top.
TEST(CliNames, JsonGivesBackTheBytesOfNamesInsideLists)
{
    TTempDir site;
    const std::string page = site.Write("bad\xFF.html", "<body bgcolor=\"red\"><img src=\"p.gif\">");
    const std::string name = "\n        \"" + site.Path().string() + "/bad\\udcff.html\"\n      ]";
    const TCliRun json = RunCli("list --json --site " + ShellQuote(site.Path().string()));
    EXPECT_NE(json.Out.find("\"files\": [" + name + ",\n      \"value\": \"#FF0000\""), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"pages\": [" + name + ",\n      \"path\": "), std::string::npos) << json.Out;
}

} // namespace
