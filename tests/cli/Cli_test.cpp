#include "support/CliRunner.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <tuple>

#include <sys/inotify.h>
#include <unistd.h>

using namespace pictor::test;

namespace {

struct TCliSite : TSite {
    TCliSite()
    {
        Add("index.html", "<link rel=\"stylesheet\" href=\"s.css\"><body bgcolor=\"red\" text=\"#000000\">"
                          "<img src=\"a.png\"><img src=\"b.bmp\">");
        Add("s.css", "p { color: red; background: url(c.gif) }");
        AddPicture("a.png", 4, 4, 10, 20, 30);
        AddPicture("b.bmp", 2, 2, 1, 2, 3);
        AddPicture("c.gif", 2, 2, 0, 0, 255);
    }
    std::string Page() const { return ShellQuote(Root / "index.html"); }
};

} // namespace

// Each wrong request exits with 2, saying why, a number out of range with its range; options may stand
// before the pages.
TEST(CliUsage, WrongRequestsExitWithTwo)
{
    TCliSite site;
    const std::tuple<const char*, int, const char*> cases[] = {
        {"", 2, ""}, {"adjust", 2, ""}, {"list", 2, ""}, {"adjust PAGE", 2, ""}, {"adjust PAGE --invert --hue-sat 1,2,3", 2, ""},
        {"adjust PAGE --bright-contrast 0,101", 2, "contrast 101 is out of range -100..100"},
        {"adjust PAGE --balance 1,2", 2, ""}, {"adjust PAGE --invert --force", 2, ""},
        {"adjust PAGE --invert --in-place --out /tmp/x", 2, ""}, {"adjust PAGE --invert --jpeg-quality 0", 2, ""},
        {"adjust PAGE --invert --jpeg-sampling 420", 2, ""}, {"adjust PAGE --invert --color 'rgb(a,b,c)'", 2, ""},
        {"adjust PAGE --new-color 'rgb(1,x,3)'", 2, ""}, {"adjust PAGE --invert --frobnicate", 2, ""},
        {"adjust PAGE --invert --out ''", 2, ""}, {"adjust PAGE --new-color zzz", 2, ""},
        {"adjust --hue-sat 40,10,0 PAGE", 0, "would"}, {"adjust --balance 1,2,3 --color red PAGE", 0, "would"},
        {"adjust --invert --picture a.png PAGE", 0, "would"}, {"adjust --bright-contrast 10 20 PAGE", 0, "would"},
        {"--help", 0, "adjust"}, {"--version", 0, ""}};
    for (const auto& [args, status, message] : cases) {
        std::string a = args;
        if (auto at = a.find("PAGE"); at != std::string::npos) a.replace(at, 4, site.Page());
        const TCliRun run = RunCli(a, TCliCapture::StdoutAndStderr);
        EXPECT_EQ(run.Status, status) << args << "\n" << run.Out;
        EXPECT_FALSE(run.Out.empty()) << args;
        EXPECT_NE(run.Out.find(message), std::string::npos) << args << "\n" << run.Out;
    }
}

TEST(CliList, ListingAndADryRunWriteNothing)
{
    TCliSite site;
    TTempDir temporary;
    const int watch = inotify_init1(IN_NONBLOCK);
    for (const std::filesystem::path& folder : {site.Root.Path(), temporary.Path()})
        inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO);
    const std::string environment = "TMPDIR=" + ShellQuote(temporary.Path().string());
    EXPECT_EQ(RunCli("list " + site.Page(), TCliCapture::Stdout, environment).Status, 0);
    EXPECT_EQ(RunCli("adjust --invert " + site.Page(), TCliCapture::Stdout, environment).Status, 0);
    alignas(inotify_event) char events[4096];
    EXPECT_EQ(read(watch, events, sizeof events), -1) << "a file was made or written";
    close(watch);
}

TEST(CliList, JsonSchema)
{
    TCliSite site;
    const TCliRun run = RunCli("list --json " + site.Page());
    ASSERT_EQ(run.Status, 0) << run.Out;
    const auto doc = nlohmann::json::parse(run.Out);
    EXPECT_EQ(run.Out, doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n") << "laid out alike";
    EXPECT_EQ(doc["page"], site.Root / "index.html");
    ASSERT_EQ(doc["files"].size(), 2u);
    const auto& page = doc["files"][0];
    EXPECT_EQ(page["encoding"], "Shift-JIS");
    EXPECT_EQ(page["colors"][0]["text"], "red");
    EXPECT_EQ(page["colors"][0]["value"], "#FF0000");
    EXPECT_EQ(page["colors"][0]["checked"], true);
    EXPECT_EQ(page["colors"][1]["pos"], 63);
    EXPECT_EQ(page["pictures"][0]["ref"], "a.png");
    EXPECT_EQ(page["pictures"][0]["width"], 4);
    EXPECT_EQ(doc["files"][1]["pictures"][0]["path"], site.Root / "c.gif");
    // BGCOLOR and TEXT of BODY; the sheet's "background" holds no colour.
    ASSERT_EQ(doc["contrast"].size(), 1u);
    const auto& pair = doc["contrast"][0];
    EXPECT_EQ(pair["foreground"]["pos"], 63);
    EXPECT_EQ(pair["background"]["pos"], page["colors"][0]["pos"]);
    EXPECT_NEAR(pair["ratio"].get<double>(), 5.252, 1e-3);
}

// list shows the pairs below the limit; a fall is reported and --min-contrast refuses it. Grey on white,
// just above the limit (4.54) in the page and just below it (4.47) in the sheet.
TEST(CliContrast, AFallIsReportedAndMinContrastRefusesIt)
{
    TSite site;
    site.Add("index.html", "<link rel=\"stylesheet\" href=\"s.css\"><body bgcolor=\"#FFFFFF\" text=\"#767676\">");
    site.Add("s.css", "p { color: #777777; background-color: #FFFFFF }");
    const std::string quoted = ShellQuote(site.Root / "index.html");
    const TCliRun list = RunCli("list " + quoted);
    EXPECT_NE(list.Out.find("#777777 at 12 on #FFFFFF at 39  4.47"), std::string::npos) << list.Out;
    EXPECT_EQ(list.Out.find("4.54"), std::string::npos) << list.Out;
    const std::string page = ReadAll(site.Root / "index.html");
    const std::string darker = "adjust " + quoted + " --new-color '#777777' --color '#767676' --in-place";
    const TCliRun refused = RunCli(darker + " --min-contrast 4.5", TCliCapture::Stderr);
    EXPECT_EQ(refused.Status, 3);
    EXPECT_EQ(refused.Out,
              "pictor-cli: " + (site.Root / "index.html") +
                  ": contrast falls below 4.50: #777777 on #FFFFFF (was #767676 on #FFFFFF), 4.54 -> 4.47\n");
    EXPECT_EQ(ReadAll(site.Root / "index.html"), page);
    // A pair below the limit before (the sheet's) is no fall; without the option a fall is only reported,
    // with the changes.
    const TCliRun run = RunCli(darker);
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("4.54 -> 4.47"), std::string::npos) << run.Out;
    EXPECT_NE(ReadAll(site.Root / "index.html"), page);
}

// Dead pictures and colour texts a browser drops are named on stderr, marked in JSON and not counted as
// changes; that they are never rewritten is DocumentLoad.ColourTextsABrowserDropsAreIgnored. The JSON,
// written as it goes, must read as the library lays out the same document, byte for byte: optional
// members, an empty list and escapes in a colour's text among them.
TEST(CliList, DeadReferencesAndColourTextsABrowserDrops)
{
    TSite site;
    site.Add("index.html", "<link rel=\"stylesheet\" href=\"s.css\"><font color=\"rgb(a,b,c)\"><body bgcolor=\"transparent\">"
                           "<img src=\"gone.gif\"><img src=\"bad.png\"><font color=\"#0969da80\">");
    site.Add("s.css", "a{color:rgb(1px,2,3)}b{color:red;c:#ff000}i{color:rgb(1,/*\"\\\\ \xC3\xA9*/2,3)}");
    site.Add("bad.png", "not a png");
    const std::string page = ShellQuote(site.Root / "index.html");
    const TCliRun err = RunCli("list " + page, TCliCapture::Stderr);
    EXPECT_EQ(err.Status, 0);
    const std::string hint = ": ブラウザーが無視する色の指定のため変更しません\n";
    EXPECT_EQ(err.Out, "pictor-cli: " + site.Root / "gone.gif" + ": 見つかりません\npictor-cli: " + site.Root / "bad.png" +
                           ": 読み込めません: PNG ファイルではありません\npictor-cli: " + site.Root / "index.html" +
                           ":50: \"rgb(a,b,c)\"" + hint + "pictor-cli: " + site.Root / "s.css" + ":9: \"rgb(1px,2,3)\"" +
                           hint + "pictor-cli: " + site.Root / "s.css" + ":36: \"#ff000\"" + hint);
    const TCliRun list = RunCli("list --json " + page);
    ASSERT_EQ(list.Status, 0);
    const auto json = nlohmann::json::parse(list.Out);
    EXPECT_EQ(list.Out, json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
    const auto& file = json["files"][0];
    EXPECT_EQ(file["pictures"][0]["missing"], true);
    EXPECT_EQ(file["pictures"][1]["unreadable"], true);
    EXPECT_FALSE(file["pictures"][0].contains("unreadable"));
    EXPECT_EQ(file["colors"][0]["ignored"], true);
    EXPECT_EQ(file["colors"][2]["alpha"], 128);
    const auto& sheet = json["files"][1]["colors"];
    EXPECT_EQ(sheet[0]["ignored"], true);
    EXPECT_EQ(sheet[0]["checked"], false);
    EXPECT_FALSE(sheet[1].contains("ignored"));
    EXPECT_EQ(sheet[2]["ignored"], true);
    EXPECT_EQ(sheet[3]["text"], "rgb(1,/*\"\\\\ \xC3\xA9*/2,3)");
    EXPECT_NE(RunCli("adjust " + page + " --invert").Out.find("3 colour occurrence(s) and 0 picture(s) would change"),
              std::string::npos);
}

// That a dry run writes nothing is watched in CliList.ListingAndADryRunWriteNothing.
TEST(CliAdjust, DryRunListsTheChangesAndOutCopiesUntouchedPictures)
{
    TCliSite site;
    const TCliRun run = RunCli("adjust " + site.Page() + " --invert");
    ASSERT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("red -> #00FFFF"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("a.png"), std::string::npos) << run.Out;

    TTempDir out;
    const std::string only = " --invert --picture a.png --color '#000' --out " + ShellQuote(out.Path().string());
    ASSERT_EQ(RunCli("adjust " + site.Page() + only).Status, 0);
    EXPECT_EQ(ReadAll(out / "b.bmp"), ReadAll(site.Root / "b.bmp"));
    EXPECT_EQ(ReadAll(out / "c.gif"), ReadAll(site.Root / "c.gif"));
    EXPECT_NE(ReadAll(out / "a.png"), ReadAll(site.Root / "a.png"));
    EXPECT_EQ(ReadAll(out / "index.html"), "<link rel=\"stylesheet\" href=\"s.css\"><body bgcolor=\"red\" text=\"#FFFFFF\">"
                                           "<img src=\"a.png\"><img src=\"b.bmp\">");
}

TEST(CliAdjust, InPlace)
{
    TCliSite site;
    const std::string css = ReadAll(site.Root / "s.css");
    EXPECT_EQ(RunCli("adjust " + site.Page() + " --hue-sat 0,0,0 --in-place").Status, 0);
    EXPECT_EQ(ReadAll(site.Root / "s.css"), css) << "an adjustment of all zeros changes nothing";

    const TCliRun run = RunCli("adjust " + site.Page() + " --new-color '#aBc' --lowercase --no-pictures --in-place --json");
    ASSERT_EQ(run.Status, 0);
    const auto doc = nlohmann::json::parse(run.Out);
    EXPECT_EQ(doc["files"][0]["colors"][0]["text"], "#aabbcc");
    EXPECT_EQ(doc["files"][0]["colors"][0]["value"], "#AABBCC");
    EXPECT_EQ(ReadAll(site.Root / "s.css"), "p { color: #aabbcc; background: url(c.gif) }");
}
