#include "base/AtomicWrites.h"

#include "base/FailureReasons.h"
#include "base/Leftovers.h"
#include "base/PictorError.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace {

constexpr std::string_view TempPrefix = ".pv";
constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";

[[noreturn]] void ThrowErrno(const std::string& path, int error)
{
    throw TPictorError(path, SystemErrorText(error));
}

std::string FolderPart(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Writing through a link must replace the file it names, not the link.
std::string ResolveLink(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

// Refuses what a save must not replace; fills original when the target exists.
bool CheckTarget(const std::string& path, const std::string& target, bool followLink, struct stat& original)
{
    if ((followLink ? ::stat(target.c_str(), &original) : ::lstat(target.c_str(), &original)) != 0) {
        if (errno == ENOENT) return false;
        ThrowErrno(path, errno);
    }
    if (S_ISDIR(original.st_mode)) ThrowErrno(path, EISDIR);
    if (S_ISLNK(original.st_mode)) return false;  // a working copy's place: the link itself is replaced
    if (!S_ISREG(original.st_mode)) throw TPictorError(path, NotRegularFileText());
    // The rename would replace it all the same: a file that the user may not write is not replaced.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) ThrowErrno(path, errno);
    return true;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::string TemporaryName(int pid, unsigned random)
{
    std::string name(TempPrefix);
    std::string id;
    for (unsigned p = unsigned(pid); p != 0 || id.empty(); p /= 36) id.insert(id.begin(), Digits[p % 36]);
    name += id + ".";
    for (int i = 0; i < 4; ++i, random /= 36) name += Digits[random % 36];
    return name;
}

int TemporaryOwner(std::string_view name)
{
    auto isDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); };
    if (!name.starts_with(TempPrefix)) return -1;
    name.remove_prefix(TempPrefix.size());
    const size_t dot = name.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot > 6 || name.size() != dot + 5) return -1;
    if (!std::all_of(name.begin(), name.end(), [&](char c) { return c == name[dot] || isDigit(c); })) return -1;
    long pid = 0;
    for (char c : name.substr(0, dot)) pid = pid * 36 + long(std::strchr(Digits, c) - Digits);
    return pid > 0 && pid <= 0x7fffffff ? int(pid) : -1;
}

TAtomicWrites::~TAtomicWrites()
{
    for (size_t i = Renamed_; i < Pending_.size(); ++i) {
        ::unlink(Pending_[i].Temp.c_str());
        DropLeftover(Pending_[i].Temp);
    }
}

// A run killed outright leaves its temporaries; the next write into that folder removes those whose
// writer is gone.
void TAtomicWrites::SweepStaleTemporaries(const std::string& folder)
{
    if (std::find(SweptFolders_.begin(), SweptFolders_.end(), folder) != SweptFolders_.end()) return;
    SweptFolders_.push_back(folder);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const int owner = TemporaryOwner(entry->d_name);
        struct stat st;
        if (owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH) continue;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

void TAtomicWrites::Add(const std::string& path, std::string_view bytes)
{
    const bool saved = Kind_ == TKind::Saved;
    TPending pending{path, saved ? ResolveLink(path) : path, {}};
    struct stat original;
    const bool exists = CheckTarget(path, pending.Target, saved, original);
    const std::string folder = FolderPart(pending.Target);
    SweepStaleTemporaries(folder);

    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        pending.Temp = folder + "/" + TemporaryName(int(::getpid()), unsigned(Random_()));
        // A new file gets the ordinary create mode; a replacement starts private and takes the original's.
        fd = CreateLeftoverFile(pending.Temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) ThrowErrno(path, errno);
    }
    if (fd < 0) ThrowErrno(path, EEXIST);
    Pending_.push_back(pending);

    int error = 0;
    if (exists) {
        // Another user's file keeps its owner only where the system lets us give it away; the group is
        // tried on its own, as a member may set it.
        if (::fchown(fd, original.st_uid, original.st_gid) != 0) (void)!::fchown(fd, uid_t(-1), original.st_gid);
        if (::fchmod(fd, original.st_mode & 07777) != 0) error = errno;
    }
    if (!error && !WriteAll(fd, bytes)) error = errno;
    if (!error && saved) error = SyncOrDefer(fd, Pending_.back());
    if (::close(fd) != 0 && !error) error = errno;
    if (error) ThrowErrno(path, error);  // the destructor removes the temporary
}

// The first few files on a file system are synced one by one, which waits for them alone; the rest
// wait for one syncfs before the renames: a site of a thousand pages would otherwise wait for a thousand
// journal commits. Returns errno or 0.
int TAtomicWrites::SyncOrDefer(int fd, TPending& pending)
{
    constexpr int FilesSyncedOneByOne = 16;
    struct stat written;
    if (::fstat(fd, &written) != 0) return errno;
    if (SyncedOneByOne_[written.st_dev]++ < FilesSyncedOneByOne) return ::fsync(fd) == 0 ? 0 : errno;
    pending.Deferred = true;
    pending.Device = written.st_dev;
    return 0;
}

void TAtomicWrites::SyncDeferred() const
{
    std::set<dev_t> synced;
    for (const TPending& p : Pending_) {
        if (!p.Deferred || !synced.insert(p.Device).second) continue;
        const int fd = ::open(p.Temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) ThrowErrno(p.Path, errno);
        const int error = ::syncfs(fd) == 0 ? 0 : errno;
        ::close(fd);
        if (error) ThrowErrno(p.Path, error);
    }
}

void TAtomicWrites::Commit()
{
    if (Renamed_ == 0) SyncDeferred();
    std::vector<std::string> folders;
    for (; Renamed_ < Pending_.size(); ++Renamed_) {
        const TPending& p = Pending_[Renamed_];
        if (::rename(p.Temp.c_str(), p.Target.c_str()) != 0) ThrowErrno(p.Path, errno);
        DropLeftover(p.Temp);
        const std::string folder = FolderPart(p.Target);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    if (Kind_ == TKind::Saved)
        for (const std::string& folder : folders) SyncFolder(folder);
}

} // namespace pictor
