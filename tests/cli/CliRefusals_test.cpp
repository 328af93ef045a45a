// Every refusal says why, in Japanese whatever the locale: a page or sheet that is missing or a folder.
// A file that may not be read fails its open(2) as a missing one does, with its errno's text (that of
// EACCES is the atomic writes' test's). A picture that is a folder is the bad-input corpus's, each
// picture format's own reasons the codecs' tests; that pictor-cli names a missing or unreadable picture
// is CliList.DeadReferencesAndColourTextsABrowserDrops.
#include "support/CliRunner.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace pictor::test;
namespace fs = std::filesystem;

namespace {

struct TRefusalCase {
    const char* What;
    std::function<void(const TSite&)> Make;
    std::string Listed; // below the site: a page, or a folder when it ends with a slash
    std::string Named;  // the file the message names
    int Status;
    std::string Reason;
};

TEST(CliRefusals, EachSaysWhyInJapanese)
{
    const TRefusalCase cases[] = {
        {"missing page", [](const TSite&) {}, "index.html", "index.html", 1, "見つかりません"},
        {"missing site folder", [](const TSite&) {}, "gone/", "gone", 1, "見つかりません"},
        {"page that is a folder", [](const TSite& site) { fs::create_directory(site.Root / "index.html"); },
         "index.html", "index.html", 1, "ディレクトリです"},
        {"sheet that is a folder",
         [](const TSite& site) {
             site.Add("index.html", "<link rel=\"stylesheet\" href=\"s.css\">");
             fs::create_directory(site.Root / "s.css");
         },
         "index.html", "s.css", 0, "見つかりません: ディレクトリです"},
    };
    for (const TRefusalCase& c : cases)
        for (const char* locale : {"LC_ALL=C", "LC_ALL=C.UTF-8 LANG=ja_JP.UTF-8"}) {
            TSite site;
            c.Make(site);
            const std::string listed = c.Listed.ends_with('/') ? "--site " + ShellQuote(site.Root / c.Named)
                                                               : ShellQuote(site.Root / c.Listed);
            const TCliRun run = RunCli("list " + listed, TCliCapture::Stderr, locale);
            EXPECT_EQ(run.Status, c.Status) << c.What;
            EXPECT_EQ(run.Out, "pictor-cli: " + site.Root / c.Named + ": " + c.Reason + "\n") << c.What;
        }
}

} // namespace
