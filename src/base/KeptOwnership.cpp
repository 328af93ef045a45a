#include "base/KeptOwnership.h"

#include "base/PictorError.h"

#include <algorithm>
#include <cerrno>

#include <grp.h>
#include <pwd.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace pictor {

namespace {

constexpr char AccessAcl[] = "system.posix_acl_access";

std::string GroupName(gid_t group)
{
    std::vector<char> buffer(4096);
    struct group entry, *found = nullptr;
    if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return std::string(found->gr_name) + "（" + std::to_string(group) + "）";
    return std::to_string(group);
}

std::string UserName(uid_t user)
{
    std::vector<char> buffer(4096);
    struct passwd entry, *found = nullptr;
    if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return std::string(found->pw_name) + "（" + std::to_string(user) + "）";
    return std::to_string(user);
}

constexpr char Instead[] = "上書き保存できません。「名前を付けて保存」（pictor-cli では --out）で別のフォルダーに保存してください";

} // namespace

TOwnerRights TOwnerRights::OfProcess()
{
    TOwnerRights rights;
    rights.User = ::geteuid();
    rights.MayGiveAway = rights.User == 0;
    rights.Groups.assign(size_t(std::max(::getgroups(0, nullptr), 0)), 0);
    rights.Groups.resize(size_t(std::max(::getgroups(int(rights.Groups.size()), rights.Groups.data()), 0)));
    rights.Groups.push_back(::getegid());
    return rights;
}

bool TOwnerRights::CanGiveGroup(gid_t group) const
{
    return MayGiveAway || std::find(Groups.begin(), Groups.end(), group) != Groups.end();
}

void CheckOwnershipKept(const std::string& path, const struct stat& original, const TOwnerRights& rights)
{
    if (!rights.CanGiveOwner(original.st_uid))
        throw TPictorError(path, "所有者 " + UserName(original.st_uid) + " のファイルは、所有者を保ったまま" + Instead);
    if (!rights.CanGiveGroup(original.st_gid))
        throw TPictorError(path, "グループ " + GroupName(original.st_gid) +
                                     " に属していないため、このファイルのグループを保ったまま" + Instead);
}

int KeepOwnership(int fd, const std::string& originalPath, const struct stat& original)
{
    // The owner first: a change of owner clears the set-id bits, which the mode then puts back.
    if (::fchown(fd, original.st_uid, original.st_gid) != 0) return errno;
    if (::fchmod(fd, original.st_mode & 07777) != 0) return errno;
    std::vector<char> acl(256);
    ssize_t size = ::lgetxattr(originalPath.c_str(), AccessAcl, acl.data(), acl.size());
    if (size < 0 && errno == ERANGE) {
        acl.resize(size_t(std::max<ssize_t>(::lgetxattr(originalPath.c_str(), AccessAcl, nullptr, 0), 0)));
        size = ::lgetxattr(originalPath.c_str(), AccessAcl, acl.data(), acl.size());
    }
    if (size < 0) return errno == ENODATA || errno == ENOTSUP ? 0 : errno;
    return ::fsetxattr(fd, AccessAcl, acl.data(), size_t(size), 0) == 0 ? 0 : errno;
}

} // namespace pictor
