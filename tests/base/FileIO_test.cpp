#include "base/FileIO.h"
#include "support/Errors.h"
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

std::size_t EntriesIn(const fs::path& folder)
{
    return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t ModeOf(const std::string& path)
{
    struct stat st;
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(FileIO, ReadsWholeFilesAndNamesAMissingOne)
{
    TTempDir dir;
    const std::string data("a\0b\xff", 4);
    EXPECT_EQ(ReadFileBytes(dir.Write("x.bin", data)), data);
    const std::string big(200000, 'x');  // several read rounds
    EXPECT_EQ(ReadFileBytes(dir.Write("big.css", big)), big);
    EXPECT_EQ(ReadFileBytes(dir.Write("empty.css", "")), "");
    // The system reports no size for this one: it must be read to its end all the same.
    EXPECT_NE(ReadFileBytes("/proc/self/status").find("Name:"), std::string::npos);

    const std::string missing = dir / "missing.css";
    const TPictorError error = test::ErrorOf([&] { ReadFileBytes(missing); });
    EXPECT_EQ(error.File, missing);
    EXPECT_EQ(error.Reason, "No such file or directory");
    EXPECT_THROW(ReadFileBytes(dir.Path().string()), TPictorError);

    std::string large(5 << 20, '\0');  // on huge pages
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = char(i * 7 + (i >> 12));
    const TLargeBytes read = ReadLargeFile(dir.Write("big.png", large));
    EXPECT_EQ(std::string_view(read.data(), read.size()), large);
    EXPECT_TRUE(ReadLargeFile(dir.Write("empty.gif", "")).empty());
    EXPECT_THROW(ReadLargeFile(dir / "missing.png"), TPictorError);
}

TEST(FileIO, WritesReplaceAndLeaveNoTemporaryFile)
{
    TTempDir dir;
    const std::string path = dir / "page.htm";
    WriteFileAtomic(path, "first");
    WriteFileAtomic(path, "second, longer");
    EXPECT_EQ(ReadAll(path), "second, longer");
    WriteFileAtomic(path, "");
    EXPECT_EQ(ReadAll(path), "");
    const std::string work = dir / "work.htm";
    WriteWorkingCopy(work, "first");
    WriteWorkingCopy(work, "second");
    EXPECT_EQ(ReadAll(work), "second");
    EXPECT_EQ(EntriesIn(dir.Path()), 2u);
    EXPECT_THROW(WriteWorkingCopy((dir / "missing/page.htm"), "x"), TPictorError);
}

TEST(FileIO, WriteFileAtomicKeepsPermissionsAndLinks)
{
    TTempDir dir;
    const std::string path = dir.Write("a.png", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    WriteFileAtomic(path, "new");
    EXPECT_EQ(ModeOf(path), 0640u);

    const mode_t mask = ::umask(022);
    ::umask(mask);
    WriteFileAtomic(dir / "fresh.png", "x");
    EXPECT_EQ(ModeOf(dir / "fresh.png"), 0666u & ~mask) << "a new file gets the ordinary create mode";

    const std::string real = dir.Write("real.css", "old");
    fs::create_symlink(real, dir / "link.css");
    WriteFileAtomic(dir / "link.css", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.css"));
    EXPECT_EQ(ReadAll(real), "new");
}

TEST(FileIO, FailedWriteLeavesTheTargetAndNoTemporaryFile)
{
    TTempDir dir;
    // Renaming a file over a folder fails even for root.
    fs::create_directory(dir / "taken.gif");
    EXPECT_THROW(WriteFileAtomic(dir / "taken.gif", "data"), TPictorError);
    EXPECT_TRUE(fs::is_directory(dir / "taken.gif"));
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    EXPECT_THROW(WriteFileAtomic(dir / "no/such/folder/x.htm", "data"), TPictorError);
}

TEST(FileIO, WriteIntoReadOnlyFolderThrowsAndKeepsTheOriginal)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    TTempDir dir;
    const std::string path = dir.Write("ro/page.htm", "original");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(test::ErrorOf([&] { WriteFileAtomic(path, "replacement"); }).File, path);
    EXPECT_EQ(ReadAll(path), "original");
    EXPECT_EQ(EntriesIn(dir / "ro"), 1u);
}

TEST(FileIO, CopyToWorkReplacesAndCreatesFolders)
{
    TTempDir dir;
    const std::string source = dir.Write("site/img/a.gif", "GIF89a");
    const std::string target = dir / "work/img/a.gif";
    EXPECT_TRUE(CopyToWork(source, target));
    EXPECT_EQ(ReadAll(target), "GIF89a");
    dir.Write("site/img/a.gif", "changed");
    EXPECT_TRUE(CopyToWork(source, target));
    EXPECT_EQ(ReadAll(target), "changed");
    EXPECT_FALSE(CopyToWork(dir / "site/missing.gif", dir / "work/missing.gif"));
}

} // namespace
} // namespace pictor
