#pragma once
#include "base/SaveJournal.h"

#include <string>
#include <vector>

namespace pictor {

// What became of a save that was cut short, found by its journal.
struct TSaveRecovery {
    enum class TOutcome {
        Finished,  // every temporary was whole: the new files are in place
        Undone,    // some temporary was not: every original is back
        Left,      // damaged, pointing out of its folder, or another user's: nothing touched
        Running,   // its save is still under way (the lock is held)
    };
    std::string Journal;
    TOutcome Outcome = TOutcome::Left;
    std::vector<std::string> Files;  // the files it replaced or was to replace
    std::string Reason;              // why it was left
};

// One line, in the program's language, that says what was done and to which files.
std::string RecoveryMessage(const TSaveRecovery& recovery);

// Finishes or undoes every save cut short whose journal lies in one of folders or a folder above one.
// Done before a page or site is read: a save's journal lies in the top folder of the files it wrote.
std::vector<TSaveRecovery> RecoverSavesAbove(const std::vector<std::string>& folders);
// The same for the journals in folder alone.
std::vector<TSaveRecovery> RecoverSavesIn(const std::string& folder);

// Temporaries and backups in folder whose save is gone (no lock held, no journal above): removed.
// Returns the paths removed.
std::vector<std::string> RemoveAbandonedFiles(const std::string& folder);

// Puts every original of entries back and removes their temporaries; the live commit uses it too when a
// rename fails. folder is the journal's. Throws TPictorError naming the first file that could not be
// put back, after trying them all.
void UndoEntries(const std::string& folder, const std::vector<TJournalEntry>& entries);

} // namespace pictor
