#include "base/AtomicWrites.h"
#include "base/FileIO.h"
#include "support/Errors.h"
#include "support/OtherUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pictor {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TTempDir;

struct stat StatOf(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

std::vector<std::string> Names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicWrites, AFailureBeforeTheRenamesLeavesEveryOriginalAndNoTemporary)
{
    TTempDir dir;
    const std::string a = dir.Write("a.htm", "old a"), b = dir.Write("b.css", "old b");
    fs::create_directory(dir / "c.png");  // a target that became a folder
    {
        TAtomicWrites writes;
        writes.Add(a, "new a");
        writes.Add(b, "new b");
        EXPECT_EQ(test::ErrorOf([&] { writes.Add(dir / "c.png", "new c"); }).File, dir / "c.png");
    }
    EXPECT_EQ(ReadAll(a), "old a");
    EXPECT_EQ(ReadAll(b), "old b");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.htm", "b.css", "c.png"}));

    TAtomicWrites writes;
    writes.Add(a, "new a");
    writes.Add(b, "new b");
    EXPECT_EQ(ReadAll(a), "old a") << "nothing replaced before Commit";
    writes.Commit();
    EXPECT_EQ(ReadAll(a), "new a");
    EXPECT_EQ(ReadAll(b), "new b");
}

TEST(AtomicWrites, NamesOfTheLongestLengthCanBeReplaced)
{
    TTempDir dir;
    for (const size_t length : {242u, 250u, 255u}) {
        const std::string path = dir.Write(std::string(length - 4, 'n') + ".css", "old");
        WriteFileAtomic(path, "new");
        EXPECT_EQ(ReadAll(path), "new") << length;
    }
}

TEST(AtomicWrites, TemporaryNamesAreShortAndTellTheirWriter)
{
    for (const int pid : {1, 35, 36, 4194304, 0x7fffffff}) {
        const std::string name = TemporaryName(pid, 123456u);
        EXPECT_LE(name.size(), 14u) << name;
        EXPECT_EQ(TemporaryOwner(name), pid) << name;
    }
    for (const char* other : {".pv", ".pvab", ".pv.abcd", ".pvAB.abcd", "pv12.abcd", ".pv12.abc", ".pv12.abcde", "a.png"})
        EXPECT_EQ(TemporaryOwner(other), -1) << other;
}

TEST(AtomicWrites, LeftoversOfAKilledWriterGoAtTheNextWriteThere)
{
    TTempDir dir;
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string stale = TemporaryName(dead, 1), live = TemporaryName(::getpid(), 2);
    dir.Write(stale, "torn");
    dir.Write(live, "another save of ours, under way");
    WriteFileAtomic(dir / "page.htm", "x");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{live, "page.htm"}));
}

TEST(AtomicWrites, OwnerGroupAndModeAreKept)
{
    const test::TOtherUser& other = test::OtherUser();
    if (!other.Reason.empty()) GTEST_SKIP() << other.Reason;
    TTempDir dir;
    const std::string path = dir.Write("a.png", "old");
    ASSERT_EQ(::chown(path.c_str(), other.Uid, other.Gid), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    WriteFileAtomic(path, "new");
    const struct stat st = StatOf(path);
    EXPECT_EQ(st.st_uid, other.Uid);
    EXPECT_EQ(st.st_gid, other.Gid);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadAll(path), "new");
}

// As an ordinary user: a file that the user may not write is refused, though the folder would let the
// rename replace it.
TEST(AtomicWrites, ReadOnlyFilesAreNotReplaced)
{
    const test::TOtherUser& other = test::OtherUser();
    if (!other.Reason.empty()) GTEST_SKIP() << other.Reason;
    TTempDir dir;
    const std::string path = dir.Write("site/page.htm", "original");
    ASSERT_EQ(::chown((dir / "site").c_str(), other.Uid, other.Gid), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chown(path.c_str(), other.Uid, other.Gid), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const int result = test::RunAsOtherUser([&] {
        try {
            WriteFileAtomic(path, "replacement");
        } catch (const TPictorError& e) {
            return e.File == path && e.Reason == "アクセスが許可されていません" ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(result, 0) << "1: replaced, 2: another error, 255: the user could not be taken";
    EXPECT_EQ(ReadAll(path), "original");
    EXPECT_EQ(Names(dir / "site"), std::vector<std::string>{"page.htm"});
}

TEST(AtomicWrites, WorkingCopiesReplaceALinkInsteadOfFollowingIt)
{
    TTempDir dir;
    const std::string victim = dir.Write("victim.txt", "keep");
    fs::create_symlink(victim, dir / "work.css");
    WriteWorkingCopy(dir / "work.css", "copy");
    EXPECT_FALSE(fs::is_symlink(dir / "work.css"));
    EXPECT_EQ(ReadAll(dir / "work.css"), "copy");
    EXPECT_EQ(ReadAll(victim), "keep");

    fs::create_symlink(victim, dir / "work.png");
    EXPECT_TRUE(CopyToWork(dir.Write("a.png", "picture"), dir / "work.png"));
    EXPECT_FALSE(fs::is_symlink(dir / "work.png"));
    EXPECT_EQ(ReadAll(victim), "keep");
}

} // namespace
} // namespace pictor
