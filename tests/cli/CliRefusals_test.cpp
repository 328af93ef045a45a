// Every refusal says why, in Japanese whatever the locale: a page or sheet that is missing, a folder, or
// not permitted. A picture that is a folder is the bad-input corpus's, each picture format's own reasons
// the codecs' tests; that pictor-cli names a missing or unreadable picture is
// CliList.DeadReferencesAndColourTextsABrowserDrops.
#include "support/CliRunner.h"
#include "support/OtherUser.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/stat.h>

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

// Root reads every file: the refusal is made by a second user, who may not read a page or a picture.
TEST(CliRefusals, FilesThatMayNotBeReadSaySo)
{
    const TOtherUser& other = OtherUser();
    if (!other.Reason.empty()) GTEST_SKIP() << other.Reason;
    TSite site;
    const std::string locked = site.AddPicture("locked/a.png");
    const std::string page = site.Add("locked/index.html", "<img src=\"a.png\">");
    ASSERT_EQ(::chmod(site.Root.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((site.Root / "locked").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0600), 0);
    const auto refusal = [](const std::string& path) {
        return RunAsOtherUser([&] {
            const TCliRun run = RunCli("list " + ShellQuote(path), TCliCapture::Stderr);
            return run.Out.ends_with(": 読み込めません: アクセスが許可されていません\n") ? 0
                   : run.Out.ends_with(": アクセスが許可されていません\n")            ? 1
                                                                                      : 2;
        });
    };
    EXPECT_EQ(refusal(page), 0) << "the picture is not permitted";
    ASSERT_EQ(::chmod(page.c_str(), 0600), 0);
    EXPECT_EQ(refusal(page), 1) << "the page is not permitted";
}

} // namespace
