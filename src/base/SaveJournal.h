#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// The record on disk of a save of several files, kept in the top folder of the files it replaces, so
// that a save cut short (a crash, SIGKILL) can be finished or undone by the next run. It first lists
// each temporary as it is made; once every temporary is written and synced it gets the commit record:
// for each file its temporary and the hidden backup that keeps the original. It is locked (flock) for as
// long as its save runs, so a lock that can be taken means its writer is gone.
//
// Names beside a target are short and tell their save: temporary ".pv" + id + "." + n, backup ".pb" +
// id + "." + n; the journal is ".pvj" + id. Every path in a journal is relative to its folder.

// One file of a commit. Folder: relative to the journal's folder ("." for itself).
struct TJournalEntry {
    std::string Folder;
    std::string Target;   // a name in Folder
    std::string Temp;     // a name in Folder
    std::string Backup;   // a name in Folder; empty when there was no original
    std::uint64_t Size = 0;      // of the temporary
    std::uint64_t TempInode = 0;
    std::uint64_t OriginalInode = 0;  // 0: no original
};

std::string NewSaveId(unsigned random);
std::string JournalName(std::string_view id);
std::string TemporaryName(std::string_view id, unsigned n);
std::string BackupName(std::string_view id, unsigned n);
// The save id of a temporary's, a backup's or a journal's name; empty for any other name.
std::string_view TemporaryId(std::string_view name);
std::string_view BackupId(std::string_view name);
std::string_view JournalId(std::string_view name);

class TJournalWriter {
public:
    // Creates and locks the journal in folder; its id is fresh.
    TJournalWriter(const std::string& folder, unsigned random);
    ~TJournalWriter();  // closes, leaving the file: Remove() or Keep() is the caller's decision
    TJournalWriter(const TJournalWriter&) = delete;
    TJournalWriter& operator=(const TJournalWriter&) = delete;

    const std::string& Id() const { return Id_; }
    const std::string& Folder() const { return Folder_; }
    const std::string& Path() const { return Path_; }
    // Before the temporary is made; not synced: a temporary lost with it is a leftover that no lock holds.
    void NoteTemporary(const std::string& folder, const std::string& temp, const std::string& target);
    // Written and synced: from here on the save is finished, not undone, if the run is cut short.
    void WriteCommit(const std::vector<TJournalEntry>& entries);
    void Remove();
    // Left for the next run to finish or undo: no longer removed on an interrupt.
    void Keep();

private:
    void Append(const std::string& text);

    std::string Folder_;
    std::string Id_;
    std::string Path_;
    int Fd_ = -1;
};

struct TJournal {
    std::vector<TJournalEntry> Temporaries;  // from the lines before the commit: Folder, Target and Temp
    bool Committed = false;
    std::vector<TJournalEntry> Entries;
};

// Reads a journal that fd has open. Throws TPictorError naming path for a damaged journal or one that
// names a file outside its folder or a name not of its save.
TJournal ReadJournal(int fd, const std::string& path, std::string_view id);

} // namespace pictor
