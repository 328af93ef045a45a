// Where pictor-cli's standard output goes wrong: a reader that stops early has had enough, a full disk
// is a failure, and files saved before the report failed are never passed off as a failed run.
#include "support/CliRunner.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

using namespace pictor::test;

namespace {

constexpr int KilledBySigpipe = 128 + 13;
const std::string DiskFull = "ディスクに空きがありません";

struct TSmallSite : TSite {
    TSmallSite() { Add("index.html", "<body bgcolor=\"red\">"); }
    std::string Page() const { return Root / "index.html"; }
    bool Inverted() const { return ReadAll(Page()).find("#00FFFF") != std::string::npos; }
};

enum class TOutput { PipeNobodyReads, FullDisk, Closed };

struct TOutputCase {
    const char* What;
    std::vector<std::string> Arguments;  // PAGE and OUT stand for the site's page and a new folder
    TOutput Output;
    int Status;
    std::string Stderr;
    bool Saves;
};

TEST(CliOutput, AReaderGoneIsNoFailureAFullDiskIsAndASaveIsNeverHidden)
{
    const std::string lost = "pictor-cli: saved; the report could not be written: " + DiskFull + "\n";
    const std::string failed = "pictor-cli: cannot write the output: " + DiskFull + "\n";
    constexpr TOutput gone = TOutput::PipeNobodyReads;
    const TOutputCase cases[] = {
        {"list, pipe nobody reads", {"list", "--json", "PAGE"}, gone, KilledBySigpipe, "", false},
        {"saved in place, pipe nobody reads", {"adjust", "PAGE", "--invert", "--in-place"}, gone, 0, "", true},
        {"list, full disk", {"list", "PAGE"}, TOutput::FullDisk, 1, failed, false},
        {"saved in place, full disk", {"adjust", "PAGE", "--invert", "--in-place"}, TOutput::FullDisk, 4, lost, true},
        {"saved below a folder, full disk", {"adjust", "PAGE", "--invert", "--out", "OUT"}, TOutput::FullDisk, 4, lost,
         true},
        {"list, stdout closed", {"list", "PAGE"}, TOutput::Closed, 1,
         "pictor-cli: cannot write the output: ファイル記述子が無効です\n", false},
    };
    for (const TOutputCase& c : cases) {
        TSmallSite site;
        TTempDir out;
        std::vector<std::string> arguments = c.Arguments;
        for (std::string& argument : arguments) {
            if (argument == "PAGE") argument = site.Page();
            if (argument == "OUT") argument = out / "site";
        }
        int fd = -1, ends[2];
        if (c.Output == TOutput::FullDisk) fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        if (c.Output == TOutput::PipeNobodyReads && ::pipe2(ends, O_CLOEXEC) == 0) {
            ::close(ends[0]);
            fd = ends[1];
        }
        ASSERT_TRUE(c.Output == TOutput::Closed || fd >= 0) << c.What;
        const TCliRun run = RunCliInto(arguments, fd);
        if (fd >= 0) ::close(fd);
        EXPECT_EQ(run.Status, c.Status) << c.What << "\n" << run.Out;
        EXPECT_EQ(run.Out, c.Stderr) << c.What;
        const bool saved = site.Inverted() || std::filesystem::exists(out / "site/index.html");
        EXPECT_EQ(saved, c.Saves) << c.What;
    }
}

} // namespace
