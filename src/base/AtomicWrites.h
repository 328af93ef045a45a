#pragma once
#include <map>
#include <random>
#include <string>
#include <sys/types.h>
#include <string_view>
#include <vector>

namespace pictor {

// Replaces several files all or nothing: each is written to a temporary beside its target and synced;
// Commit renames them all into place. Until then every original stays as it was, and a failure, or
// destruction without Commit, removes the temporaries. Errors are TPictorError naming the target.
class TAtomicWrites {
public:
    // Saved: synced, and a target that is a link is the file it names. WorkingCopies: made again from the
    // document whenever needed, so not synced; a link among them is replaced, never followed.
    enum class TKind { Saved, WorkingCopies };
    explicit TAtomicWrites(TKind kind = TKind::Saved) : Kind_(kind), Random_(std::random_device{}()) {}
    ~TAtomicWrites();
    TAtomicWrites(const TAtomicWrites&) = delete;
    TAtomicWrites& operator=(const TAtomicWrites&) = delete;

    // An existing target must be a regular file that the user may write; its owner, group and mode go to
    // the new file as far as the system allows.
    void Add(const std::string& path, std::string_view bytes);
    void Commit();

private:
    struct TPending {
        std::string Path;    // as asked, for errors
        std::string Target;  // links resolved
        std::string Temp;
        bool Deferred = false;  // synced by Commit, with the other files on Device
        dev_t Device = 0;
    };
    void SweepStaleTemporaries(const std::string& folder);
    int SyncOrDefer(int fd, TPending& pending);
    void SyncDeferred() const;

    TKind Kind_;
    std::minstd_rand Random_;  // temporaries' names
    std::map<dev_t, int> SyncedOneByOne_;  // by file system
    std::vector<TPending> Pending_;
    size_t Renamed_ = 0;
    std::vector<std::string> SweptFolders_;
};

// The name of a temporary beside a target: short, so that it fits wherever the target's name fits,
// and carrying the writer's process id, so that a later run can tell a dead writer's leftover.
std::string TemporaryName(int pid, unsigned random);
// The writer's process id of a leftover temporary's name; -1 for any other name.
int TemporaryOwner(std::string_view name);

} // namespace pictor
