// The commit of a save of several files, failed, interrupted or killed at each of its steps.
#include "base/AtomicWrites.h"
#include "base/InterruptedSaves.h"
#include "base/Leftovers.h"
#include "document/WorkSession.h"
#include "support/CliRunner.h"
#include "support/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

namespace pictor {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TTempDir;
using TStep = TAtomicWrites::TStep;
using TOutcome = TSaveRecovery::TOutcome;

constexpr int Files = 20;

std::map<std::string, std::string> Tree(const TTempDir& dir) { return test::FilesBelow(dir.Path()); }

// A site of 20 files (or as many as asked) in three folders; the last two do not exist yet, so the save
// makes them.
struct TTwentyFiles {
    TTempDir Dir;
    std::vector<std::string> Paths;
    std::map<std::string, std::string> Old, New;

    explicit TTwentyFiles(int count = Files)
    {
        for (int i = 0; i < count; ++i) {
            const std::string name = (i % 3 == 0 ? "img/p" : i % 3 == 1 ? "css/s" : "p") + std::to_string(i);
            fs::create_directories(Dir.Path() / fs::path(name).parent_path());
            Paths.push_back(i < count - 2 ? Dir.Write(name, "old " + name) : Dir / name);
            New[name] = "new " + name + std::string(size_t(i) * 100, 'x');
        }
        Old = Tree(Dir);
    }

    // signal: sent to the process before file stopBeforeAdd is written.
    void Save(const TAtomicWrites::TStepHook& hook = {}, int stopBeforeAdd = -1, int signal = SIGKILL) const
    {
        TAtomicWrites writes(Paths);
        writes.SetStepHook(hook);
        for (size_t i = 0; i < Paths.size(); ++i) {
            if (int(i) == stopBeforeAdd) {
                ::kill(::getpid(), signal);
                // The interrupt is handled on a thread of its own: writing on would race it to the commit.
                for (;;) ::pause();
            }
            writes.Add(Paths[i], New.at(fs::relative(Paths[i], Dir.Path()).string()));
        }
        writes.Commit();
    }

    // Runs body in a child process and returns how it ended.
    static int InChild(const std::function<void()>& body)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(30);  // only against a hang
            body();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    }
};

// Step k of a commit of n files: n backups (the 18 existing files), then n renames.
struct TStepAt {
    TStep Step;
    size_t File;
};
std::vector<TStepAt> EverySteps()
{
    std::vector<TStepAt> steps;
    for (size_t i = 0; i < Files - 2; ++i) steps.push_back({TStep::Backup, i});
    for (size_t i = 0; i < Files; ++i) steps.push_back({TStep::Rename, i});
    return steps;
}

// A rename failing at any step puts every original back: a failure reported at each step, and a real one
// part-way, a folder appearing where a new file must go once the others are in place.
TEST(Commit, ARenameFailingAtAnyPointPutsEveryOriginalBackAndLeavesNoJournal)
{
    std::vector<std::pair<TStepAt, bool>> failures;
    for (const TStepAt at : EverySteps()) failures.push_back({at, false});
    for (const size_t file : {size_t(Files - 2), size_t(Files - 1)}) failures.push_back({{TStep::Rename, file}, true});
    for (const auto& [at, real] : failures) {
        TTwentyFiles site;
        const TPictorError error = test::ErrorOf([&] {
            site.Save([&](TStep step, size_t file) {
                if (step != at.Step || file != at.File) return 0;
                if (!real) return EIO;
                fs::create_directory(site.Paths[file]);
                return 0;
            });
        });
        const std::string where = (at.Step == TStep::Backup ? "backup " : "rename ") + std::to_string(at.File);
        EXPECT_EQ(error.File, site.Paths[at.File]) << where << (real ? ", a real failure" : "");
        EXPECT_NE(error.Reason.find("どのファイルも元のままです"), std::string::npos) << where << ": " << error.Reason;
        if (real) fs::remove(site.Paths[at.File]);
        EXPECT_EQ(Tree(site.Dir), site.Old) << where << ": every original back, no temporary, backup or journal";
        EXPECT_TRUE(RecoverSavesAbove({site.Dir / "img"}).empty()) << where << ": nothing left for the next run";
    }
}

// The first 16 files on a file system are synced one by one, the rest by one syncfs before the renames.
TEST(Commit, SavesOnEitherSideOfTheOneByOneSyncsAreWhole)
{
    for (const int count : {1, 16, 17, 40}) {
        TTwentyFiles site(count);
        site.Save();
        EXPECT_EQ(Tree(site.Dir), site.New) << count << " files: all new, nothing else left";
    }
}

// An interrupt while the files are written cancels the save and removes the working folder, one during
// the renames waits for their end; a kill is undone by the next run before the commit record is written
// and finished after it.
TEST(Commit, AnInterruptOrAKillAtAnyStepEndsWithEveryOldFileOrEveryNewOne)
{
    // Before file k is written, or (k = -1) at a step of the commit.
    std::vector<std::pair<int, TStepAt>> moments;
    for (int k = 0; k < Files; ++k) moments.push_back({k, {}});
    for (const TStepAt at : EverySteps()) moments.push_back({-1, at});
    for (const auto& [k, at] : moments)
        for (const int signal : {k < 0 ? SIGTERM : k % 2 ? SIGINT : SIGHUP, SIGKILL}) {
            TTwentyFiles site;
            TTempDir tmp;
            const int status = TTwentyFiles::InChild([&] {
                RemoveLeftoversOnInterrupt("test");
                ::setenv("TMPDIR", tmp.Path().c_str(), 1);
                const TWorkSession session;
                const auto atStep = [&](TStep step, size_t file) {
                    if (k < 0 && step == at.Step && file == at.File) ::kill(::getpid(), signal);
                    return 0;
                };
                site.Save(atStep, k, signal);
                for (;;) ::pause();
            });
            const std::string where = "signal " + std::to_string(signal) +
                                      (k < 0 ? " in the commit at file " : " before file ") +
                                      std::to_string(k < 0 ? int(at.File) : k);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << where;
            const std::string shared = tmp / ("PVWORK-" + std::to_string(::geteuid()));
            EXPECT_EQ(fs::is_empty(shared), signal != SIGKILL) << where << ": an interrupted run's working folder goes";
            if (signal == SIGKILL) {
                const std::vector<TSaveRecovery> found = RecoverSavesAbove({site.Dir / "img"});
                ASSERT_EQ(found.size(), 1u) << where;
                EXPECT_EQ(found[0].Outcome, k < 0 ? TOutcome::Finished : TOutcome::Undone) << where;
                EXPECT_EQ(found[0].Files.size(), k < 0 ? site.Paths.size() : size_t(k))
                    << where << ": the files it had begun";
                if (k != 0) {
                    EXPECT_NE(RecoveryMessage(found[0]).find(site.Paths[0]), std::string::npos) << where;
                }
                EXPECT_TRUE(RecoverSavesAbove({site.Dir / "img"}).empty()) << where << ": nothing left to do";
            }
            EXPECT_EQ(Tree(site.Dir), k < 0 ? site.New : site.Old) << where;
        }
}

// Killed half-way through the renames: the journal, the temporaries still to go and the backups.
struct TKilledMidway : TTwentyFiles {
    std::string Journal;
    TKilledMidway()
    {
        InChild([&] {
            Save([](TStep step, size_t file) {
                if (step == TStep::Rename && file == 10) ::kill(::getpid(), SIGKILL);
                return 0;
            });
        });
        for (const auto& entry : fs::directory_iterator(Dir.Path()))
            if (!JournalId(entry.path().filename().string()).empty()) Journal = entry.path().string();
    }
};

// After the kill: a temporary that is not whole undoes the commit; a damaged journal, one pointing out of
// its folder, or a folder turned into a link out of the site leaves every file as it is.
TEST(Recovery, ADamagedSaveIsUndoneOrLeftAndNeverReachesOutOfItsFolder)
{
    const auto journal = [](std::function<void(std::string&)> change) {
        return [=](const TKilledMidway& site) {
            std::string text = ReadAll(site.Journal);
            change(text);
            std::ofstream(site.Journal, std::ios::trunc) << text;
        };
    };
    TTempDir elsewhere;
    const std::string victim = elsewhere.Write("s1", "keep");
    const std::vector<std::tuple<const char*, std::function<void(const TKilledMidway&)>, TOutcome>> damages = {
        {"a temporary cut short",
         [](const TKilledMidway& site) {
             for (const auto& entry : fs::directory_iterator(site.Dir / "css"))
                 if (!TemporaryId(entry.path().filename().string()).empty()) fs::resize_file(entry.path(), 3);
         },
         TOutcome::Undone},
        {"a changed size", journal([](std::string& t) { t[t.find("entry") + 30] ^= 1; }), TOutcome::Left},
        {"a folder above its own", journal([](std::string& t) { t.replace(t.find("entry css"), 9, "entry ../css"); }),
         TOutcome::Left},
        {"garbage", journal([](std::string& t) { t = "pictor-save-journal 1\nrm -rf /\n"; }), TOutcome::Left},
        {"a folder that became a link out of the site",
         [&](const TKilledMidway& site) {
             fs::rename(site.Dir / "css", site.Dir / "css.real");
             fs::create_directory_symlink(elsewhere.Path(), site.Dir / "css");
         },
         TOutcome::Left},
    };
    for (const auto& [what, damage, outcome] : damages) {
        TKilledMidway site;
        ASSERT_FALSE(site.Journal.empty());
        damage(site);
        const std::map<std::string, std::string> before = Tree(site.Dir);
        const std::vector<TSaveRecovery> found = RecoverSavesAbove({site.Dir.Path().string()});
        ASSERT_EQ(found.size(), 1u) << what;
        EXPECT_EQ(found[0].Outcome, outcome) << what;
        EXPECT_EQ(Tree(site.Dir), outcome == TOutcome::Undone ? site.Old : before) << what << ": every file as it was";
        if (outcome == TOutcome::Left) {
            EXPECT_NE(RecoveryMessage(found[0]).find(site.Journal), std::string::npos) << what;
        }
    }
    EXPECT_EQ(ReadAll(victim), "keep");
}

TEST(Recovery, AJournalCutShortAsItWasMadeIsRemoved)
{
    TTempDir dir;
    for (const char* text : {"", "pictor-save", "pictor-save-journal 1\ntemp . a .pvabcdef"}) {
        const std::string journal = dir.Write(JournalName("abcdef"), text);
        const std::vector<TSaveRecovery> found = RecoverSavesAbove({dir.Path().string()});
        ASSERT_EQ(found.size(), 1u) << text;
        EXPECT_EQ(found[0].Outcome, TOutcome::Undone) << text;
        EXPECT_FALSE(fs::exists(journal)) << text;
    }
}

TEST(Recovery, ARunningSaveIsLeftToItself)
{
    TTempDir dir;
    const std::string a = dir.Write("a", "old"), b = dir.Write("b", "old");
    TAtomicWrites writes({a, b});
    writes.Add(a, "new");
    const std::vector<TSaveRecovery> found = RecoverSavesAbove({dir.Path().string()});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Outcome, TOutcome::Running);
    writes.Add(b, "new");
    writes.Commit();
    EXPECT_EQ(ReadAll(a), "new");
}

// A leftover is known for abandoned by its lock, not by a process id that the system may reuse.
TEST(Recovery, LeftoversWhoseLockIsFreeAndWhoseJournalIsGoneAreRemoved)
{
    TTempDir dir;
    const std::string dead = dir.Write(TemporaryName("abcdef", 0), "torn"),
                      backup = dir.Write(BackupName("abcdef", 1), "old"),
                      live = dir.Write(TemporaryName("ghijkl", 0), "a save of one file, under way"),
                      journaled = dir.Write("sub/" + TemporaryName("mnopqr", 0), "its journal is above");
    dir.Write(JournalName("mnopqr"), "pictor-save-journal 1\n");
    // The user's own files that only look like leftovers.
    const std::vector<std::string> mine = {".pv", ".pvabcdef", ".pvabcdef.", ".pvABCDEF.1", "pvabcdef.1", ".pvjabcdef.1"};
    for (const std::string& name : mine) dir.Write(name, "mine");
    const int lock = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    EXPECT_EQ(RemoveAbandonedFiles(dir.Path().string()).size(), 2u);
    EXPECT_TRUE(RemoveAbandonedFiles(dir / "sub").empty());
    ::close(lock);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_FALSE(fs::exists(backup));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(journaled));
    for (const std::string& name : mine) EXPECT_TRUE(fs::exists(dir / name)) << name;
}

TEST(Recovery, PictorCliRecoverSaysWhatItFoundAndListRecoversByItself)
{
    {
        TKilledMidway site;
        const test::TCliRun run = test::RunCli("recover " + test::ShellQuote(site.Dir.Path().string()));
        EXPECT_EQ(run.Status, 0);
        EXPECT_NE(run.Out.find("中断された保存を最後まで終えました"), std::string::npos) << run.Out;
        EXPECT_EQ(Tree(site.Dir), site.New);
        EXPECT_NE(test::RunCli("recover " + test::ShellQuote(site.Dir.Path().string())).Out.find("見つかりませんでした"),
                  std::string::npos);
    }
    TKilledMidway site;
    site.Dir.Write("css/page.html", "<p>");
    const test::TCliRun run = test::RunCli("list " + test::ShellQuote(site.Dir / "css/page.html"), test::TCliCapture::Stderr);
    EXPECT_NE(run.Out.find("中断された保存を最後まで終えました"), std::string::npos) << run.Out;
    auto expected = site.New;
    expected["css/page.html"] = "<p>";
    EXPECT_EQ(Tree(site.Dir), expected);
}

} // namespace
} // namespace pictor
