#include "support/CliRunner.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include <sys/stat.h>

using namespace pictor::test;

namespace {

// Two pages sharing a sheet and a picture, and a page whose own sheet is a FIFO: it cannot be read.
struct TCliSite : TSite {
    TCliSite()
    {
        Add("index.html", "<link rel=\"stylesheet\" href=\"s.css\"><body text=\"#000000\"><img src=\"p.png\">");
        Add("more/page.html", "<link rel=\"stylesheet\" href=\"../s.css\"><img src=\"../p.png\">");
        Add("s.css", "p { color: red }");
        AddPicture("p.png", 2, 2, 0, 0, 0);
        Add("broken.html", "<link rel=\"stylesheet\" href=\"pipe.css\">");
        mkfifo((Root / "pipe.css").c_str(), 0600);
    }
    std::string Folder() const { return ShellQuote(Root.Path().string()); }
};

} // namespace

TEST(CliSite, ListsEveryPageWithOnePaletteAndReportsTheFailedOne)
{
    const TCliSite site;
    const TCliRun run = RunCli("list --json --site " + site.Folder());
    EXPECT_EQ(run.Status, 1) << "a page failed";
    const auto json = nlohmann::json::parse(run.Out);
    ASSERT_EQ(json["pages"].size(), 2u);
    EXPECT_EQ(json["pages"][1]["page"], site.Root / "more/page.html");
    EXPECT_EQ(json["pages"][1]["files"][1]["path"], site.Root / "s.css");
    EXPECT_EQ(json["failed"][0]["page"], site.Root / "broken.html");
    EXPECT_EQ(json["palette"], nlohmann::json::parse(R"([
        {"value": "#000000", "count": 1, "files": [")" +
                                                     site.Root / "index.html" + R"("]},
        {"value": "#FF0000", "count": 1, "files": [")" +
                                                     site.Root / "s.css" + R"("]}])"));
    EXPECT_EQ(json["pictures"][0]["pages"].size(), 2u);

    const TCliRun text = RunCli("list --site " + site.Folder(), TCliCapture::StdoutAndStderr);
    EXPECT_TRUE(text.Out.starts_with("pictor-cli: " + site.Root / "pipe.css")) << text.Out;
    EXPECT_NE(text.Out.find("palette: 2 colour(s)"), std::string::npos) << text.Out;
    EXPECT_NE(text.Out.find("3 page(s), 1 failed"), std::string::npos);
}

// Every existing file is asked about before anything is written: refused, left alone or overwritten.
TEST(CliSite, OutRefusesBeforeWritingAnythingUnlessToldToSkipOrForce)
{
    const TCliSite site;
    const TTempDir out;
    out.Write("more/page.html", "mine");
    const std::string adjust = "adjust --invert --site " + site.Folder() + " --out " + ShellQuote(out.Path().string());
    const TCliRun run = RunCli(adjust, TCliCapture::StdoutAndStderr);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find(out / "more/page.html"), std::string::npos) << run.Out;
    EXPECT_EQ(ReadAll(out / "more/page.html"), "mine");
    EXPECT_FALSE(std::filesystem::exists(out / "index.html"));
    EXPECT_FALSE(std::filesystem::exists(out / "s.css"));

    EXPECT_EQ(RunCli(adjust + " --skip-existing").Status, 1) << "the failed page still counts";
    EXPECT_EQ(ReadAll(out / "more/page.html"), "mine");
    EXPECT_EQ(ReadAll(out / "s.css"), "p { color: #00FFFF }");
    EXPECT_TRUE(std::filesystem::exists(out / "p.png"));

    EXPECT_EQ(RunCli(adjust + " --force").Status, 1) << "the failed page still counts";
    EXPECT_NE(ReadAll(out / "more/page.html"), "mine");
}

TEST(CliSite, APictureIsNamedByItsPathAcrossPages)
{
    const TCliSite site;
    const TCliRun run = RunCli("adjust --invert --no-colors --picture " + ShellQuote(site.Root / "p.png") + " " +
                               ShellQuote(site.Root / "index.html") + " " + ShellQuote(site.Root / "more/page.html"));
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("picture p.png: would be adjusted"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("picture ../p.png: would be adjusted"), std::string::npos) << run.Out;
}
