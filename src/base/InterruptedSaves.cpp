#include "base/InterruptedSaves.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace {

namespace fs = std::filesystem;

struct TFileId {
    std::uint64_t Inode = 0;  // 0: no such file
    std::uint64_t Size = 0;
};

TFileId IdOf(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return {std::uint64_t(st.st_ino), std::uint64_t(st.st_size)};
}

std::string FolderOf(const std::string& journalFolder, const TJournalEntry& e)
{
    return e.Folder == "." ? journalFolder : journalFolder + "/" + e.Folder;
}

std::string In(const std::string& journalFolder, const TJournalEntry& e, const std::string& name)
{
    return FolderOf(journalFolder, e) + "/" + name;
}

std::string RealPath(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return {};
    std::string resolved(real);
    std::free(real);
    return resolved;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A folder named in a journal must be its own or below it, also after its links are followed.
void CheckInside(const std::string& folder, const std::vector<TJournalEntry>& entries, const std::string& journal)
{
    const std::string top = RealPath(folder);
    std::set<std::string> checked;
    for (const TJournalEntry& e : entries) {
        if (!checked.insert(e.Folder).second) continue;
        const std::string real = RealPath(FolderOf(folder, e));
        if (top.empty() || real.empty() || (real != top && !real.starts_with(top == "/" ? top : top + "/")))
            throw TPictorError(journal, "保存記録がその置き場所の外を指しています（" + e.Folder + "）");
    }
}

bool AllWhole(const std::string& folder, const std::vector<TJournalEntry>& entries)
{
    for (const TJournalEntry& e : entries) {
        const TFileId temp = IdOf(In(folder, e, e.Temp));
        if (IdOf(In(folder, e, e.Target)).Inode != e.TempInode && (temp.Inode != e.TempInode || temp.Size != e.Size))
            return false;
    }
    return true;
}

void Finish(const std::string& folder, const std::vector<TJournalEntry>& entries)
{
    for (const TJournalEntry& e : entries) {
        const std::string target = In(folder, e, e.Target);
        if (IdOf(target).Inode != e.TempInode && ::rename(In(folder, e, e.Temp).c_str(), target.c_str()) != 0)
            throw TPictorError(target, SystemErrorText(errno));
    }
    for (const TJournalEntry& e : entries)
        if (!e.Backup.empty() && IdOf(In(folder, e, e.Backup)).Inode == e.OriginalInode)
            ::unlink(In(folder, e, e.Backup).c_str());
}

void RemoveTemporaries(const std::string& folder, const std::vector<TJournalEntry>& temporaries)
{
    for (const TJournalEntry& t : temporaries) {
        const std::string temp = In(folder, t, t.Temp);
        if (IdOf(temp).Inode != 0) ::unlink(temp.c_str());
    }
}

std::vector<std::string> TargetsOf(const std::string& folder, const std::vector<TJournalEntry>& entries)
{
    std::vector<std::string> targets;
    for (const TJournalEntry& e : entries) targets.push_back(In(folder, e, e.Target));
    return targets;
}

// Whether a journal of save id lies in folder or a folder above it.
bool JournalAbove(const std::string& folder, std::string_view id)
{
    for (fs::path p = folder;; p = p.parent_path()) {
        struct stat st;
        if (::lstat((p / JournalName(id)).c_str(), &st) == 0) return true;
        if (p == p.parent_path() || p.empty()) return false;
    }
}

std::optional<TSaveRecovery> RecoverJournal(const std::string& folder, const std::string& name)
{
    TSaveRecovery r;
    r.Journal = folder + "/" + name;
    const int fd = ::open(r.Journal.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;  // gone meanwhile: its save ended
    struct stat opened, named;
    try {
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
            throw TPictorError(r.Journal, "保存記録が普通のファイルではありません");
        if (opened.st_uid != ::geteuid()) throw TPictorError(r.Journal, "他のユーザーの保存記録です");
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            r.Outcome = TSaveRecovery::TOutcome::Running;
            ::close(fd);
            return r;
        }
        // Another run may have dealt with it between our open and our lock.
        if (::stat(r.Journal.c_str(), &named) != 0 || named.st_ino != opened.st_ino) {
            ::close(fd);
            return std::nullopt;
        }
        const TJournal journal = ReadJournal(fd, r.Journal, JournalId(name));
        CheckInside(folder, journal.Committed ? journal.Entries : journal.Temporaries, r.Journal);
        if (!journal.Committed) {
            r.Files = TargetsOf(folder, journal.Temporaries);
            RemoveTemporaries(folder, journal.Temporaries);
            r.Outcome = TSaveRecovery::TOutcome::Undone;
        } else {
            r.Files = TargetsOf(folder, journal.Entries);
            const bool whole = AllWhole(folder, journal.Entries);
            if (whole) Finish(folder, journal.Entries);
            else UndoEntries(folder, journal.Entries);
            r.Outcome = whole ? TSaveRecovery::TOutcome::Finished : TSaveRecovery::TOutcome::Undone;
        }
        std::set<std::string> folders;
        for (const TJournalEntry& e : journal.Committed ? journal.Entries : journal.Temporaries)
            folders.insert(FolderOf(folder, e));
        for (const std::string& f : folders) SyncFolder(f);
        ::unlink(r.Journal.c_str());
        SyncFolder(folder);
    } catch (const TPictorError& e) {
        r.Outcome = TSaveRecovery::TOutcome::Left;
        r.Reason = e.File == r.Journal ? e.Reason : e.what();
    }
    ::close(fd);
    return r;
}

std::string Joined(const std::vector<std::string>& files)
{
    std::string text;
    for (const std::string& f : files) text += (text.empty() ? "" : ", ") + f;
    return text;
}

} // namespace

std::string RecoveryMessage(const TSaveRecovery& r)
{
    switch (r.Outcome) {
    case TSaveRecovery::TOutcome::Finished:
        return EscapeControlBytes("中断された保存を最後まで終えました（" + r.Journal + "）: " + Joined(r.Files));
    case TSaveRecovery::TOutcome::Undone:
        return EscapeControlBytes("中断された保存を取り消し、元のファイルに戻しました（" + r.Journal +
                                  "）: " + Joined(r.Files));
    case TSaveRecovery::TOutcome::Running:
        return EscapeControlBytes(r.Journal + ": 保存の途中です（別のプロセスが使っています）。そのままにしました");
    case TSaveRecovery::TOutcome::Left:
        break;
    }
    return EscapeControlBytes(r.Journal + ": " + r.Reason +
                              "。ファイルには手を付けていません。中身を確かめてから保存記録を取り除いてください");
}

void UndoEntries(const std::string& folder, const std::vector<TJournalEntry>& entries)
{
    std::optional<TPictorError> first;
    for (const TJournalEntry& e : entries) {
        const std::string target = In(folder, e, e.Target), backup = e.Backup.empty() ? "" : In(folder, e, e.Backup);
        int failed = 0;
        if (!backup.empty() && IdOf(backup).Inode == e.OriginalInode) {
            // Not renamed yet, the backup is a second name of the original itself.
            if (IdOf(target).Inode == e.OriginalInode) ::unlink(backup.c_str());
            else if (::rename(backup.c_str(), target.c_str()) != 0) failed = errno;
        } else if (backup.empty() && IdOf(target).Inode == e.TempInode && ::unlink(target.c_str()) != 0) {
            failed = errno;
        }
        if (failed && !first) first.emplace(target, SystemErrorText(failed));
        const std::string temp = In(folder, e, e.Temp);
        if (IdOf(temp).Inode == e.TempInode) ::unlink(temp.c_str());
    }
    if (first) throw *first;
}

std::vector<TSaveRecovery> RecoverSavesIn(const std::string& folder)
{
    std::vector<std::string> journals;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            if (!JournalId(entry->d_name).empty()) journals.push_back(entry->d_name);
        ::closedir(dir);
    }
    std::vector<TSaveRecovery> done;
    for (const std::string& name : journals)
        if (auto r = RecoverJournal(folder, name)) done.push_back(std::move(*r));
    return done;
}

std::vector<TSaveRecovery> RecoverSavesAbove(const std::vector<std::string>& folders)
{
    std::set<std::string> above;
    for (const std::string& folder : folders) {
        fs::path p = fs::absolute(folder).lexically_normal();
        if (!p.has_filename()) p = p.parent_path();  // "a/b/" is the folder b
        for (; above.insert(p.string()).second; p = p.parent_path())
            if (p == p.parent_path()) break;
    }
    std::vector<TSaveRecovery> done;
    for (const std::string& folder : above) {
        auto found = RecoverSavesIn(folder);
        done.insert(done.end(), found.begin(), found.end());
    }
    return done;
}

std::vector<std::string> RemoveAbandonedFiles(const std::string& folder)
{
    std::vector<std::string> removed;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return removed;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view id = TemporaryId(entry->d_name);
        if (id.empty()) id = BackupId(entry->d_name);
        if (id.empty()) continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        // A lock held: a save of one file is writing it; a journal: its save is running or is for
        // recovery to finish or undo.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            !JournalAbove(folder, id) && ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0)
            removed.push_back(folder + "/" + entry->d_name);
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

} // namespace pictor
