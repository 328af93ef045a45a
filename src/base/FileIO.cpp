#include "base/FileIO.h"

#include "base/AtomicWrites.h"
#include "base/FailureReasons.h"
#include "base/MemoryPolicy.h"
#include "base/PictorError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace fs = std::filesystem;

namespace {

// Closes on every way out, so a throw cannot leak the descriptor.
class TFileHandle {
public:
    explicit TFileHandle(int fd) : Fd_(fd) {}
    ~TFileHandle() { if (Fd_ >= 0) ::close(Fd_); }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Get() const { return Fd_; }
    int Close() { int fd = Fd_; Fd_ = -1; return ::close(fd); }
private:
    int Fd_;
};

// Read straight into a buffer of the file's size; a file that reports no size (under /proc) or grows
// meanwhile is appended to in chunks.
template <class TBytes>
TBytes ReadWhole(const std::string& path, std::size_t limit)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (file.Get() < 0) {
        if (errno == ENXIO && ::stat(path.c_str(), &st) == 0)  // a socket
            throw TPictorError(path, NotRegularFileText());
        ThrowErrno(path, errno);
    }
    if (::fstat(file.Get(), &st) != 0)
        ThrowErrno(path, errno);
    if (S_ISDIR(st.st_mode))
        ThrowErrno(path, EISDIR);
    if (!S_ISREG(st.st_mode))
        throw TPictorError(path, NotRegularFileText());
    if (std::uintmax_t(st.st_size) > limit)
        throw TPictorError(path, FileTooLargeText(std::uintmax_t(st.st_size), limit));
    TBytes bytes;
    bytes.reserve(std::size_t(st.st_size));
    AdviseHugePages(bytes.data(), bytes.capacity());
    bytes.resize(std::size_t(st.st_size));
    std::size_t filled = 0;
    char chunk[65536];
    for (;;) {
        const bool intoBytes = filled < bytes.size();
        const ssize_t got = intoBytes ? ::read(file.Get(), bytes.data() + filled, bytes.size() - filled)
                                      : ::read(file.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(path, errno);
        }
        if (got == 0) {
            bytes.resize(filled);
            return bytes;
        }
        if (!intoBytes) bytes.insert(bytes.end(), chunk, chunk + got);
        filled += std::size_t(got);
        if (filled > limit)
            throw TPictorError(path, FileTooLargeText(filled, limit));
    }
}

} // namespace

std::string ReadFileBytes(const std::string& path)
{
    try {
        return ReadWhole<std::string>(path, MaxTextFileBytes);
    } catch (const std::bad_alloc&) {
        throw TPictorError(path, SystemErrorText(ENOMEM));
    }
}

TLargeBytes ReadLargeFile(const std::string& path, std::size_t limit)
{
    try {
        return ReadWhole<TLargeBytes>(path, limit);
    } catch (const std::bad_alloc&) {
        throw TPictorError(path, SystemErrorText(ENOMEM));
    }
}

void WriteFileAtomic(const std::string& path, std::string_view bytes)
{
    TAtomicWrites writes({path});
    writes.Add(path, bytes);
    writes.Commit();
}

void WriteWorkingCopy(const std::string& path, std::string_view bytes)
{
    TAtomicWrites writes({path}, TAtomicWrites::TKind::WorkingCopies);
    writes.Add(path, bytes);
    writes.Commit();
}

void CreateFolders(const std::string& folder)
{
    if (folder.empty())
        return;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw TPictorError(folder, SystemErrorText(ec.value()));
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(path, ec) && !fs::is_directory(path, ec);
}

bool FolderExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

namespace {

// The destination is made afresh, never opened through a link that someone placed there.
bool CopyRefusingLinks(const std::string& source, const std::string& destination)
{
    const TFileHandle in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (in.Get() < 0 || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (::unlink(destination.c_str()) != 0 && errno != ENOENT) return false;
    TFileHandle out(::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (out.Get() < 0) return false;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(in.Get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return out.Close() == 0;
        for (ssize_t put = 0; put < got;) {
            const ssize_t n = ::write(out.Get(), chunk + put, std::size_t(got - put));
            if (n < 0 && errno != EINTR) return false;
            if (n > 0) put += n;
        }
    }
}

} // namespace

bool CopyToWork(const std::string& source, const std::string& destination)
{
    if (CopyRefusingLinks(source, destination))
        return true;
    const fs::path folder = fs::path(destination).parent_path();
    if (folder.empty())
        return false;
    std::error_code ec;
    fs::create_directories(folder, ec);
    return CopyRefusingLinks(source, destination);
}

} // namespace pictor
