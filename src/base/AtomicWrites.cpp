#include "base/AtomicWrites.h"

#include "base/FailureReasons.h"
#include "base/InterruptedSaves.h"
#include "base/Leftovers.h"
#include "base/PictorError.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace {

namespace fs = std::filesystem;

std::string FolderPart(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NamePart(const std::string& path) { return path.substr(path.rfind('/') + 1); }

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

// The deepest folder that holds every target.
std::string CommonFolder(const std::vector<std::string>& folders)
{
    fs::path common = fs::absolute(folders.front()).lexically_normal();
    for (const std::string& folder : folders) {
        const fs::path p = fs::absolute(folder).lexically_normal();
        fs::path shared;
        for (auto a = common.begin(), b = p.begin(); a != common.end() && b != p.end() && *a == *b; ++a, ++b)
            shared /= *a;
        common = shared;
    }
    std::string text = common.string();
    while (text.size() > 1 && text.ends_with('/')) text.pop_back();
    return text;
}

// A file system without hard links: the original is moved aside at its rename instead.
bool NoHardLinks(int error) { return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == EXDEV; }

} // namespace

TAtomicWrites::TAtomicWrites(const std::vector<std::string>& paths, TKind kind, const TOwnerRights& rights)
    : Kind_(kind), Random_(std::random_device{}())
{
    const bool saved = Kind_ == TKind::Saved;
    std::vector<std::string> folders;
    for (const std::string& path : paths) {
        TPending& p = Pending_.emplace_back();
        p.Path = path;
        p.Target = saved ? ResolveLink(path) : path;
        p.Exists = CheckTarget(path, p.Target, saved, p.Original);
        if (p.Exists) CheckOwnershipKept(path, p.Original, rights);
        folders.push_back(FolderPart(p.Target));
    }
    if (saved && Pending_.size() > 1) {
        Top_ = CommonFolder(folders);
        Journal_ = std::make_unique<TJournalWriter>(Top_, unsigned(Random_()));
        Id_ = Journal_->Id();
    } else {
        Id_ = NewSaveId(unsigned(Random_()));
    }
    for (size_t i = 0; i < Pending_.size(); ++i) {
        TPending& p = Pending_[i];
        p.Entry.Folder = Top_.empty() ? "." : fs::absolute(folders[i]).lexically_normal().lexically_relative(Top_).string();
        if (p.Entry.Folder.ends_with('/')) p.Entry.Folder.pop_back();
        p.Entry.Target = NamePart(p.Target);
        if (p.Exists) {
            p.Entry.Backup = BackupName(Id_, unsigned(i));
            p.Entry.OriginalInode = p.Original.st_ino;
        }
    }
}

TAtomicWrites::~TAtomicWrites()
{
    for (size_t i = Renamed_; i < Added_; ++i) {
        TPending& p = Pending_[i];
        if (p.Fd >= 0) ::close(p.Fd);
        ::unlink(p.Temp.c_str());
        DropLeftover(p.Temp);
    }
    if (Journal_) Journal_->Remove();
}

std::string TAtomicWrites::In(const TPending& p, const std::string& name) const
{
    return FolderPart(p.Target) + "/" + name;
}

// Named for this save, noted in the journal before it exists, and locked: a run that finds it later
// can tell whether its writer is gone.
int TAtomicWrites::MakeTemporary(TPending& p)
{
    for (unsigned n = unsigned(Added_ - 1), attempt = 0; attempt < 100; ++attempt, n += unsigned(Pending_.size())) {
        p.Entry.Temp = TemporaryName(Id_, n);
        p.Temp = In(p, p.Entry.Temp);
        if (Journal_) Journal_->NoteTemporary(p.Entry.Folder, p.Entry.Temp, p.Entry.Target);
        // A new file gets the ordinary create mode; a replacement starts private and takes the original's.
        const int fd = CreateLeftoverFile(p.Temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, p.Exists ? 0600 : 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) ThrowErrno(p.Path, errno);
        ::flock(fd, LOCK_EX);
        // Another run may have found it between the create and the lock and taken it for a dead one's.
        struct stat named, opened;
        if (::lstat(p.Temp.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 && named.st_ino == opened.st_ino)
            return fd;
        ::close(fd);
        DropLeftover(p.Temp);
    }
    ThrowErrno(p.Path, EEXIST);
}

void TAtomicWrites::Add(const std::string& path, std::string_view bytes)
{
    if (Added_ >= Pending_.size() || Pending_[Added_].Path != path)
        throw std::logic_error("TAtomicWrites::Add out of the announced order: " + path);
    TPending& p = Pending_[Added_++];
    const std::string folder = FolderPart(p.Target);
    if (std::find(SweptFolders_.begin(), SweptFolders_.end(), folder) == SweptFolders_.end()) {
        SweptFolders_.push_back(folder);
        RemoveAbandonedFiles(folder);
    }
    p.Fd = MakeTemporary(p);
    int error = p.Exists ? KeepOwnership(p.Fd, p.Target, p.Original) : 0;
    if (!error && !WriteAll(p.Fd, bytes)) error = errno;
    if (!error && Kind_ == TKind::Saved) error = SyncOrDefer(p.Fd, p);
    struct stat written;
    if (!error && ::fstat(p.Fd, &written) != 0) error = errno;
    if (error) ThrowErrno(path, error);  // the destructor removes the temporary
    p.Entry.TempInode = written.st_ino;
    p.Entry.Size = std::uint64_t(written.st_size);
    if (Journal_) {  // the journal's lock speaks for it from here
        const int fd = p.Fd;
        p.Fd = -1;
        if (::close(fd) != 0) ThrowErrno(path, errno);
    }
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
    if (Added_ != Pending_.size()) throw std::logic_error("TAtomicWrites::Commit before every file was added");
    if (Kind_ == TKind::Saved) SyncDeferred();
    if (Journal_) return CommitWithJournal();
    // One file: its rename replaces it whole or not at all.
    for (; Renamed_ < Added_; ++Renamed_) {
        TPending& p = Pending_[Renamed_];
        int error = Step(TStep::Rename, Renamed_);
        if (!error && ::rename(p.Temp.c_str(), p.Target.c_str()) != 0) error = errno;
        if (error) ThrowErrno(p.Path, error);
        DropLeftover(p.Temp);
        ::close(p.Fd);
        p.Fd = -1;
    }
    if (Kind_ == TKind::Saved)
        for (const TPending& p : Pending_) SyncFolder(FolderPart(p.Target));
}

void TAtomicWrites::CommitWithJournal()
{
    std::vector<TJournalEntry> entries;
    std::set<std::string> folders{Top_};
    for (const TPending& p : Pending_) {
        entries.push_back(p.Entry);
        folders.insert(FolderPart(p.Target));
    }
    auto syncFolders = [&] {
        for (const std::string& folder : folders) SyncFolder(folder);
    };
    const TInterruptsHeld held;  // from the first rename until the commit is finished or undone
    Journal_->WriteCommit(entries);
    std::vector<bool> movedAside(Pending_.size());
    try {
        for (size_t i = 0; i < Pending_.size(); ++i) {
            const TPending& p = Pending_[i];
            if (!p.Exists) continue;
            int error = Step(TStep::Backup, i);
            if (!error && ::link(p.Target.c_str(), In(p, p.Entry.Backup).c_str()) != 0) error = errno;
            if (error && NoHardLinks(error)) movedAside[i] = true;
            else if (error) ThrowErrno(p.Path, error);
        }
        for (; Renamed_ < Added_; ++Renamed_) {
            const TPending& p = Pending_[Renamed_];
            int error = Step(TStep::Rename, Renamed_);
            if (!error && movedAside[Renamed_] && ::rename(p.Target.c_str(), In(p, p.Entry.Backup).c_str()) != 0)
                error = errno;
            if (!error && ::rename(p.Temp.c_str(), p.Target.c_str()) != 0) error = errno;
            if (error) ThrowErrno(p.Path, error);
        }
    } catch (const TPictorError& failure) {
        Renamed_ = Added_;  // the undo removes the temporaries
        for (const TPending& p : Pending_) DropLeftover(p.Temp);
        try {
            UndoEntries(Top_, entries);
        } catch (const TPictorError& undo) {
            // The journal stays: the next run, or pictor-cli recover, puts the rest back.
            Journal_->Keep();
            Journal_.reset();
            throw TPictorError(failure.File, failure.Reason + "。元に戻せなかったファイルがあります（" + undo.what() +
                                                 "）: pictor-cli recover " + Top_ + " で戻してください");
        }
        syncFolders();
        throw TPictorError(failure.File, failure.Reason + "。保存を取り消しました: どのファイルも元のままです");
    }
    for (const TPending& p : Pending_) {
        DropLeftover(p.Temp);
        if (p.Exists) ::unlink(In(p, p.Entry.Backup).c_str());
    }
    syncFolders();
    Journal_->Remove();
    Journal_.reset();
    SyncFolder(Top_);
}

} // namespace pictor
