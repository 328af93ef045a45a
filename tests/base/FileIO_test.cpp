#include "base/FileIO.h"
#include "picture/PictureIO.h"
#include "support/Errors.h"
#include "support/SiteBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/wait.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace pictor {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TTempDir;

// A missing file and a folder are named by pictor-cli's refusals, through these reads; a large file is
// read up to its limit and refused past it.
TEST(FileIO, ReadsWholeFilesUpToTheirLimit)
{
    TTempDir dir;
    const std::string data("a\0b\xff", 4);
    EXPECT_EQ(ReadFileBytes(dir.Write("x.bin", data)), data);
    const std::string big(200000, 'x');  // several read rounds
    EXPECT_EQ(ReadFileBytes(dir.Write("big.css", big)), big);
    EXPECT_EQ(ReadFileBytes(dir.Write("empty.css", "")), "");
    // The system reports no size for this one: it must be read to its end all the same.
    EXPECT_NE(ReadFileBytes("/proc/self/status").find("Name:"), std::string::npos);

    std::string large(5 << 20, '\0');  // on huge pages
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = char(i * 7 + (i >> 12));
    const std::string path = dir.Write("big.png", large);
    const TLargeBytes read = ReadLargeFile(path, large.size());
    EXPECT_EQ(std::string_view(read.data(), read.size()), large) << "a file of the limit's size is read";
    EXPECT_TRUE(ReadLargeFile(dir.Write("empty.gif", ""), 0).empty());
    const TPictorError error = test::ErrorOf([&] { ReadLargeFile(path, large.size() - 1); });
    EXPECT_EQ(error.File, path);
    EXPECT_EQ(error.Reason, "大きすぎます（5242880 バイト、上限は 5242879 バイト）");
}

// Each would hang a read (a FIFO without a writer) or never end (a device); a socket cannot be opened.
TEST(FileIO, OnlyRegularFilesAreRead)
{
    TTempDir dir;
    const std::string fifo = dir / "fifo.css";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = dir / "socket.png";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("/dev/zero", dir / "zero.gif");
    for (const std::string& path : {fifo, socketPath, std::string("/dev/zero"), std::string("/dev/urandom"), dir / "zero.gif"}) {
        const TPictorError text = test::ErrorOf([&] { ReadFileBytes(path); });
        EXPECT_EQ(text.File, path);
        EXPECT_TRUE(text.Reason.starts_with("通常のファイルではありません")) << text.Reason;
        EXPECT_EQ(test::ErrorOf([&] { ReadLargeFile(path, 100); }).File, path);
    }
    ::close(sock);
}

// In a child whose address space is capped just above what it uses: decoding a 6000 x 6000 picture runs
// out of memory, and the error must name the picture.
TEST(FileIO, RunningOutOfMemoryNamesTheFile)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any cap would allow";
#else
    TTempDir dir;
    const std::string path = dir.Write("big.png", test::PictureBytes("big.png", 6000, 6000, 1, 2, 3));
    const pid_t child = ::fork();
    if (child == 0) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t cap = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (48u << 20);
        const rlimit limit{cap, cap};
        ::setrlimit(RLIMIT_AS, &limit);
        try {
            ReadPicture(path);
        } catch (const TPictorError& e) {
            ::_exit(e.File == path && e.Reason == "メモリが足りません" ? 0 : 2);
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "the child crashed";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: read after all, 2: another error, 3: not a TPictorError";
#endif
}

TEST(FileIO, ErrorsStayOnOneLine)
{
    const TPictorError error("img/a\nb\x01.png", "line\r\nbreak\t");
    EXPECT_STREQ(error.what(), "img/a\\nb\\x01.png: line\\r\\nbreak\\t");
    EXPECT_EQ(error.File, "img/a\nb\x01.png") << "the name itself is kept for the program";
}

} // namespace
} // namespace pictor
