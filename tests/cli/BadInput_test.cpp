// pictor-cli over the bad-input corpus (tests/data/bad, made by scripts/make-bad-corpus): every run
// ends with exit 0 (naming any missing or unreadable file on stderr), or exit 1 and a one-line message;
// none crashes or hangs, and nothing but the output folder changes.
#include "support/CliRunner.h"
#include "support/TempDir.h"
#include "document/HtmlStructure.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include <sys/stat.h>

using namespace pictor::test;
namespace fs = std::filesystem;

namespace {

const fs::path Corpus = fs::path(PICTOR_TEST_DATA) / "bad";

// Every folder of the corpus that holds an index.html.
std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Corpus))
        if (fs::exists(entry.path() / "index.html")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every file and folder below root with a hash of its bytes.
std::map<std::string, std::size_t> Snapshot(const fs::path& root)
{
    std::map<std::string, std::size_t> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_symlink()) entries[name] = std::hash<std::string>{}(fs::read_symlink(entry.path()).string());
        else if (entry.is_directory()) entries[name + "/"] = 0;
        else entries[name] = std::hash<std::string>{}(ReadAll(entry.path().string()));
    }
    return entries;
}

// pictor-cli with a temporary folder of its own, which must be empty again afterwards; nothing below
// watched may change.
TCliRun RunConfined(const std::string& arguments, TCliCapture capture, const fs::path& watched)
{
    const auto before = Snapshot(watched);
    TTempDir scratch;
    const TCliRun run = RunCli(arguments, capture, "TMPDIR=" + ShellQuote(scratch.Path().string()));
    EXPECT_EQ(Snapshot(watched), before) << "files outside the output folder changed";
    EXPECT_TRUE(fs::is_empty(scratch.Path())) << "the working folder was left behind";
    return run;
}

// run.Out: what the run wrote to stderr. A case's name says what it must give: ok- exit 0, error- exit 1,
// dead- exit 0 naming a missing or unreadable file and why, ignored- exit 0 naming a colour text a
// browser drops, either- one of the two.
void ExpectCleanEnd(const TCliRun& run, const std::string& caseName)
{
    const std::string& err = run.Out;
    ASSERT_TRUE(run.Status == 0 || run.Status == 1) << "exit " << run.Status << "\n" << run.Out;
    if (run.Status == 0) {
        EXPECT_FALSE(caseName.starts_with("error-")) << "the input was accepted";
        // A success says nothing on stderr but a line for each missing or unreadable file and for each
        // colour text a browser drops.
        std::istringstream lines(err);
        int dead = 0, ignored = 0;
        for (std::string line; std::getline(lines, line);) {
            const bool isDead = line.find(": 見つかりません") != std::string::npos ||
                                line.find(": 読み込めません: ") != std::string::npos;
            const bool isIgnored = line.ends_with(pictor::RejectedColorHint);
            dead += isDead;
            ignored += isIgnored;
            EXPECT_TRUE(line.starts_with("pictor-cli: ") && (isDead || isIgnored) &&
                        std::none_of(line.begin(), line.end(), [](unsigned char c) { return c < 0x20; }))
                << line;
        }
        if (caseName.starts_with("ok-")) { EXPECT_EQ(dead + ignored, 0) << err; }
        if (caseName.starts_with("dead-")) { EXPECT_GT(dead, 0) << "the dead file is named"; }
        if (caseName.starts_with("ignored-")) { EXPECT_GT(ignored, 0) << "the ignored colour is named"; }
        return;
    }
    EXPECT_FALSE(caseName.starts_with("ok-") || caseName.starts_with("dead-") || caseName.starts_with("ignored-")) << err;
    EXPECT_TRUE(err.starts_with("pictor-cli: ")) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(caseName), std::string::npos) << "the message names the file: " << err;
}

class TBadInput : public testing::TestWithParam<std::string> {
protected:
    std::string Page() const { return ShellQuote((Corpus / GetParam() / "index.html").string()); }
};

// list loads as adjust does: its text run would repeat the adjust's stderr, so only its JSON is read.
TEST_P(TBadInput, AdjustIntoAFolderEndsCleanlyAndJsonListIsJson)
{
    TTempDir out;
    const fs::path site = out.Path() / "site";
    const TCliRun run =
        RunConfined("adjust " + Page() + " --invert --out " + ShellQuote(site.string()), TCliCapture::Stderr, Corpus);
    ExpectCleanEnd(run, GetParam());
    if (run.Status == 0) { EXPECT_TRUE(fs::exists(site / "index.html")); }
    const TCliRun json = RunConfined("list --json " + Page(), TCliCapture::Stdout, Corpus);
    EXPECT_EQ(json.Status, run.Status);
    if (json.Status == 0) { EXPECT_TRUE(nlohmann::json::accept(json.Out)) << json.Out.substr(0, 2000); }
}

INSTANTIATE_TEST_SUITE_P(Corpus, TBadInput, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// A FIFO cannot be kept in the repository: made here, as the page, a sheet and a picture. None may be
// waited on or read (sockets and devices are the file-reading test's).
TEST(BadInputSpecial, FifosAreRefusedAtOnce)
{
    const std::string link = "<link rel=\"stylesheet\" href=\"s.css\"><img src=\"a.png\">";
    for (const char* special : {"index.html", "s.css", "a.png"}) {
        TTempDir site;
        if (std::string(special) != "index.html") site.Write("index.html", link);
        if (std::string(special) != "s.css") site.Write("s.css", "p { color: red }");
        ASSERT_EQ(::mkfifo((site / special).c_str(), 0600), 0);
        const TCliRun run = RunCli("list " + ShellQuote(site / "index.html"), TCliCapture::Stderr);
        EXPECT_EQ(run.Status, 1) << special << run.Out;
        EXPECT_NE(run.Out.find(site / special + ": 通常のファイルではありません"), std::string::npos) << run.Out;
    }
}

} // namespace
