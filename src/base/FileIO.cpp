#include "base/FileIO.h"

#include "base/PictorError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowErrno(const std::string& path, int error)
{
    throw TPictorError(path, std::strerror(error));
}

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

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

// Writing through a link must replace the file it names, not the link.
std::string ResolveLink(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

// A name in the target's own folder, so that the final rename stays on one file system.
TFileHandle CreateTempBeside(const std::string& target, std::string& tempPath)
{
    const fs::path targetPath(target);
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", unsigned(random()));
        tempPath = (folder / ("." + targetPath.filename().string() + "." + suffix + ".tmp")).string();
        // 0666 lets the umask decide a new file's permissions, as an ordinary create would.
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return TFileHandle(fd);
        if (errno != EEXIST)
            ThrowErrno(target, errno);
    }
    ThrowErrno(target, EEXIST);
}

// Read straight into a buffer of the file's size; a pipe, or a file that grows meanwhile, is appended
// to in chunks.
template <class TBytes>
TBytes ReadWhole(const std::string& path)
{
    const TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        ThrowErrno(path, errno);
    struct stat st;
    if (::fstat(file.Get(), &st) != 0)
        ThrowErrno(path, errno);
    if (S_ISDIR(st.st_mode))
        ThrowErrno(path, EISDIR);
    TBytes bytes(S_ISREG(st.st_mode) ? std::size_t(st.st_size) : 0, '\0');
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
    }
}

enum class TDurability { Synced, Unsynced };

void ReplaceFile(const std::string& path, std::string_view bytes, TDurability durability)
{
    const std::string target = ResolveLink(path);
    std::string tempPath;
    TFileHandle temp = CreateTempBeside(target, tempPath);

    int error = 0;
    struct stat original;
    if (::stat(target.c_str(), &original) == 0 && ::fchmod(temp.Get(), original.st_mode & 07777) != 0)
        error = errno;
    if (!error && !WriteAll(temp.Get(), bytes))
        error = errno;
    if (!error && durability == TDurability::Synced && ::fsync(temp.Get()) != 0)
        error = errno;
    if (temp.Close() != 0 && !error)
        error = errno;
    if (!error && ::rename(tempPath.c_str(), target.c_str()) != 0)
        error = errno;
    if (error) {
        ::unlink(tempPath.c_str());
        ThrowErrno(path, error);
    }
}

} // namespace

std::string ReadFileBytes(const std::string& path)
{
    return ReadWhole<std::string>(path);
}

TLargeBytes ReadLargeFile(const std::string& path)
{
    return ReadWhole<TLargeBytes>(path);
}

void WriteFileAtomic(const std::string& path, std::string_view bytes)
{
    ReplaceFile(path, bytes, TDurability::Synced);
}

void WriteWorkingCopy(const std::string& path, std::string_view bytes)
{
    ReplaceFile(path, bytes, TDurability::Unsynced);
}

void CreateFolders(const std::string& folder)
{
    if (folder.empty())
        return;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw TPictorError(folder, ec.message());
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

bool CopyToWork(const std::string& source, const std::string& destination)
{
    std::error_code ec;
    if (fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec))
        return true;
    const fs::path folder = fs::path(destination).parent_path();
    if (folder.empty())
        return false;
    fs::create_directories(folder, ec);
    return fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec);
}

} // namespace pictor
