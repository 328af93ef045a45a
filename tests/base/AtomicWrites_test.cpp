#include "base/AtomicWrites.h"
#include "base/FileIO.h"
#include "support/Errors.h"
#include "support/OtherUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
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
    fs::create_directory(dir / "c.png");  // a target that became a folder: refused before anything is written
    EXPECT_EQ(test::ErrorOf([&] { TAtomicWrites writes({a, b, dir / "c.png"}); }).File, dir / "c.png");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.htm", "b.css", "c.png"}));
    {
        TAtomicWrites writes({a, b});
        writes.Add(a, "new a");
        EXPECT_EQ(ReadAll(a), "old a") << "nothing replaced before Commit";
    }
    EXPECT_EQ(ReadAll(a), "old a");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.htm", "b.css", "c.png"})) << "no temporary, no journal";
}

// Names up to the longest a file system takes; one file is one rename, with nothing beside it but the
// temporary; a file keeps its mode, and its owner and group when there is a second user to give it to; a
// new one gets the create mode, a link is followed.
TEST(AtomicWrites, OneFileIsOneRenameKeepingItsModeAndLink)
{
    TTempDir dir;
    for (const size_t length : {242u, 250u, 255u}) {
        const std::string path = dir.Write(std::string(length - 4, 'n') + ".css", "old");
        WriteFileAtomic(path, "new");
        EXPECT_EQ(ReadAll(path), "new") << length;
    }
    TTempDir one;
    const std::string path = one.Write("page.htm", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    const test::TOtherUser& other = test::OtherUser();
    if (other.Reason.empty()) {
        ASSERT_EQ(::chown(path.c_str(), other.Uid, other.Gid), 0);
    }
    std::vector<std::string> during;
    {
        TAtomicWrites writes({path});
        writes.Add(path, "new");
        during = Names(one.Path());
        writes.Commit();
    }
    EXPECT_EQ(during.size(), 2u) << "the temporary alone, no journal";
    EXPECT_EQ(Names(one.Path()), std::vector<std::string>{"page.htm"});
    const struct stat st = StatOf(path);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    if (other.Reason.empty()) {
        EXPECT_EQ(st.st_uid, other.Uid);
        EXPECT_EQ(st.st_gid, other.Gid);
    }

    const mode_t mask = ::umask(022);
    ::umask(mask);
    WriteFileAtomic(one / "fresh.png", "x");
    EXPECT_EQ(StatOf(one / "fresh.png").st_mode & 07777, 0666u & ~mask);
    const std::string real = one.Write("real.css", "old");
    fs::create_symlink(real, one / "link.css");
    WriteFileAtomic(one / "link.css", "new");
    EXPECT_TRUE(fs::is_symlink(one / "link.css"));
    EXPECT_EQ(ReadAll(real), "new");
}

// As an ordinary user, since root ignores permissions: a file the user may not write is refused though
// the folder would let the rename replace it, and so is one in a folder the user may not write.
TEST(AtomicWrites, ReadOnlyFilesAndFoldersAreNotReplaced)
{
    const test::TOtherUser& other = test::OtherUser();
    const bool root = ::geteuid() == 0;
    if (root && !other.Reason.empty()) GTEST_SKIP() << other.Reason;
    for (const bool readOnlyFile : {true, false}) {
        TTempDir dir;
        const std::string path = dir.Write("site/page.htm", "original");
        if (root) {
            ASSERT_EQ(::chown((dir / "site").c_str(), other.Uid, other.Gid), 0);
            ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
            ASSERT_EQ(::chown(path.c_str(), other.Uid, other.Gid), 0);
        }
        ASSERT_EQ(::chmod((readOnlyFile ? path : dir / "site").c_str(), readOnlyFile ? 0444 : 0555), 0);
        const auto attempt = [&] {
            try {
                WriteFileAtomic(path, "replacement");
            } catch (const TPictorError& e) {
                return e.File == path && e.Reason == "アクセスが許可されていません" ? 0 : 2;
            }
            return 1;
        };
        const int result = root ? test::RunAsOtherUser(attempt) : attempt();
        EXPECT_EQ(result, 0) << readOnlyFile << ": 1: replaced, 2: another error, 255: the user could not be taken";
        EXPECT_EQ(ReadAll(path), "original");
        EXPECT_EQ(Names(dir / "site"), std::vector<std::string>{"page.htm"});
    }
}

// Working copies replace a link instead of following it, and are made with their folders.
TEST(AtomicWrites, WorkingCopiesReplaceALinkAndMakeTheirFolders)
{
    TTempDir dir;
    const std::string victim = dir.Write("victim.txt", "keep");
    fs::create_symlink(victim, dir / "work.css");
    WriteWorkingCopy(dir / "work.css", "copy");
    EXPECT_FALSE(fs::is_symlink(dir / "work.css"));
    EXPECT_EQ(ReadAll(dir / "work.css"), "copy");
    fs::create_directories(dir / "work/img");
    fs::create_symlink(victim, dir / "work/img/a.gif");
    const std::string source = dir.Write("site/img/a.gif", "GIF89a");
    EXPECT_TRUE(CopyToWork(source, dir / "work/img/a.gif"));
    EXPECT_FALSE(fs::is_symlink(dir / "work/img/a.gif"));
    EXPECT_EQ(ReadAll(victim), "keep");
    EXPECT_TRUE(CopyToWork(source, dir / "new/img/a.gif"));
    EXPECT_FALSE(CopyToWork(dir / "site/missing.gif", dir / "work/missing.gif"));
}

} // namespace
} // namespace pictor
