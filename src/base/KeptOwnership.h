#pragma once
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

namespace pictor {

// What a process may give a file it made: an owner other than itself only with the right to (root), a
// group only among its own unless it has that right.
struct TOwnerRights {
    uid_t User = 0;
    std::vector<gid_t> Groups;  // the effective group and the supplementary ones
    bool MayGiveAway = false;

    static TOwnerRights OfProcess();
    bool CanGiveOwner(uid_t owner) const { return MayGiveAway || owner == User; }
    bool CanGiveGroup(gid_t group) const;
};

// A file that replaces original must keep its owner and group (and with them its set-id bits): when
// rights cannot give them, throws TPictorError naming path, the owner or group, and what to do instead.
void CheckOwnershipKept(const std::string& path, const struct stat& original, const TOwnerRights& rights);

// Gives the file open as fd the owner, group, mode and access ACL of original, the file at originalPath.
// Returns 0 or the errno of the step that failed.
int KeepOwnership(int fd, const std::string& originalPath, const struct stat& original);

} // namespace pictor
