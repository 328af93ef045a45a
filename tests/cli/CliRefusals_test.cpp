// Every refusal says why, in Japanese whatever the locale: a page or picture that is missing, a folder,
// cut short, not of its format, too large, or not permitted. Each picture format's own reasons are the
// codecs' tests.
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

// Signature, an IHDR of 20000 x 20000 RGB with its CRC, an empty IDAT and IEND: a valid header whose
// pixels would take 1.2 GB.
const std::string HugePng(
    "\x89PNG\r\n\x1A\n"
    "\x00\x00\x00\x0DIHDR\x00\x00\x4E\x20\x00\x00\x4E\x20\x08\x02\x00\x00\x00\x6C\x12\xD1\x6E"
    "\x00\x00\x00\x08IDAT\x78\x9C\x03\x00\x00\x00\x00\x01\x48\x06\x89\xD2"
    "\x00\x00\x00\x00IEND\xAE\x42\x60\x82",
    65);

std::string FirstHalf(const std::string& bytes)
{
    return bytes.substr(0, bytes.size() / 2);
}

struct TRefusalCase {
    const char* What;
    std::function<void(const TSite&)> Make;  // index.html names a.png, a.jpg, a.gif and a.bmp; none exists yet
    std::string Named;                       // the file the message names, below the site
    int Status;
    std::string Reason;
};

const std::string Pictures = "<img src=\"a.png\"><img src=\"a.jpg\"><img src=\"a.gif\"><img src=\"a.bmp\">";

// All four pictures present and sound but the one a case spoils.
void Make(const TSite& site, const std::string& spoilt, const std::function<void()>& spoil)
{
    site.Add("index.html", Pictures);
    for (const char* name : {"a.png", "a.jpg", "a.gif", "a.bmp"})
        if (name != spoilt) site.AddPicture(name);
    spoil();
}

std::function<void(const TSite&)> Picture(const std::string& name, const std::function<std::string()>& bytes)
{
    return [=](const TSite& site) { Make(site, name, [&] { site.Add(name, bytes()); }); };
}

TEST(CliRefusals, EachSaysWhyInJapanese)
{
    const TRefusalCase cases[] = {
        {"missing page", [](const TSite&) {}, "index.html", 1, "見つかりません"},
        {"page that is a folder", [](const TSite& site) { fs::create_directory(site.Root / "index.html"); },
         "index.html", 1, "ディレクトリです"},
        {"missing picture", [](const TSite& site) { Make(site, "a.png", [] {}); }, "a.png", 0, "見つかりません"},
        {"sheet that is a folder",
         [](const TSite& site) {
             site.Add("index.html", "<link rel=\"stylesheet\" href=\"s.css\">");
             fs::create_directory(site.Root / "s.css");
         },
         "s.css", 0, "見つかりません: ディレクトリです"},
        {"picture that is a folder",
         [](const TSite& site) { Make(site, "a.png", [&] { fs::create_directory(site.Root / "a.png"); }); }, "a.png", 0,
         "見つかりません: ディレクトリです"},
        {"truncated PNG", Picture("a.png", [] { return FirstHalf(PictureBytes("a.png", 64, 64, 10, 200, 30)); }),
         "a.png", 0, "読み込めません: PNG ファイルが途中で切れています"},
        {"text named .png", Picture("a.png", [] { return std::string("<html>"); }), "a.png", 0,
         "読み込めません: PNG ファイルではありません"},
        {"20000 x 20000 PNG", Picture("a.png", [] { return HugePng; }), "a.png", 0,
         "読み込めません: 大きすぎます（20000×20000 ピクセル、上限は 268435456 ピクセル）"},
    };
    for (const TRefusalCase& c : cases)
        for (const char* locale : {"LC_ALL=C", "LC_ALL=C.UTF-8 LANG=ja_JP.UTF-8"}) {
            TSite site;
            c.Make(site);
            const TCliRun run = RunCli("list " + ShellQuote(site.Root / "index.html"), TCliCapture::Stderr, locale);
            EXPECT_EQ(run.Status, c.Status) << c.What;
            EXPECT_EQ(run.Out, "pictor-cli: " + site.Root / c.Named + ": " + c.Reason + "\n") << c.What;
        }
}

TEST(CliRefusals, AMissingSiteFolderSaysSo)
{
    TTempDir root;
    const TCliRun run = RunCli("list --site " + ShellQuote(root / "gone"), TCliCapture::Stderr);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "pictor-cli: " + root / "gone" + ": 見つかりません\n");
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
