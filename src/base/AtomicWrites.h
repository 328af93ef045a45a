#pragma once
#include "base/KeptOwnership.h"
#include "base/SaveJournal.h"

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace pictor {

// Replaces several files all or nothing: each is written to a temporary beside its target and synced;
// Commit renames them all into place. Until then every original stays as it was, and a failure, or
// destruction without Commit, removes the temporaries. With more than one file the commit can be
// undone until it is complete: each original keeps a second name (a hidden backup beside it) and a
// journal in the files' top folder lists them, so a rename that fails puts every replaced file back,
// and a run cut short is finished or undone by the next (InterruptedSaves.h). Errors are TPictorError
// naming the target.
class TAtomicWrites {
public:
    // Saved: synced, and a target that is a link is the file it names. WorkingCopies: made again from the
    // document whenever needed, so not synced; a link among them is replaced, never followed.
    enum class TKind { Saved, WorkingCopies };
    // The steps of a commit, for tests that make one fail (return an errno) or interrupt it.
    enum class TStep { Backup, Rename };
    using TStepHook = std::function<int(TStep step, size_t file)>;

    // paths: every file to be written, in the order of Add and of the renames. Each existing target must
    // be a regular file that the user may write and whose owner and group rights can keep; all are
    // checked before anything is written.
    explicit TAtomicWrites(const std::vector<std::string>& paths, TKind kind = TKind::Saved,
                           const TOwnerRights& rights = TOwnerRights::OfProcess());
    ~TAtomicWrites();
    TAtomicWrites(const TAtomicWrites&) = delete;
    TAtomicWrites& operator=(const TAtomicWrites&) = delete;

    // Writes the next of the paths.
    void Add(const std::string& path, std::string_view bytes);
    void Commit();
    void SetStepHook(TStepHook hook) { Hook_ = std::move(hook); }

private:
    struct TPending {
        std::string Path;    // as asked, for errors
        std::string Target;  // links resolved
        bool Exists = false;
        struct stat Original {};
        TJournalEntry Entry;  // names relative to the journal's folder
        std::string Temp;
        int Fd = -1;  // kept open, and locked, while no journal speaks for the temporary
        bool Deferred = false;  // synced by Commit, with the other files on Device
        dev_t Device = 0;
    };
    std::string In(const TPending& p, const std::string& name) const;
    int MakeTemporary(TPending& pending);
    int SyncOrDefer(int fd, TPending& pending);
    void SyncDeferred() const;
    void CommitWithJournal();
    int Step(TStep step, size_t file) const { return Hook_ ? Hook_(step, file) : 0; }

    TKind Kind_;
    std::minstd_rand Random_;
    std::string Id_;  // of the temporaries' names: the journal's, or one of their own
    std::string Top_;  // the journal's folder
    std::unique_ptr<TJournalWriter> Journal_;
    std::map<dev_t, int> SyncedOneByOne_;  // by file system
    std::vector<TPending> Pending_;
    size_t Added_ = 0, Renamed_ = 0;
    std::vector<std::string> SweptFolders_;
    TStepHook Hook_;
};

} // namespace pictor
