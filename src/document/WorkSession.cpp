#include "document/WorkSession.h"

#include "base/Leftovers.h"
#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace fs = std::filesystem;

namespace {

std::string TempRoot()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string root = (tmp && *tmp) ? tmp : "/tmp";
    while (root.size() > 1 && root.ends_with('/')) root.pop_back();
    return root;
}

// A session folder's name: the process id, "-", six characters from mkdtemp.
int SessionOwner(const std::string& name)
{
    const size_t dash = name.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 10 || name.size() != dash + 7) return -1;
    long pid = 0;
    for (size_t i = 0; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid > 0 && pid <= 0x7fffffff ? int(pid) : -1;
}

bool Alive(int pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// Whether the shared folder may be used: the user's own plain folder, mode 0700, holding only session
// folders of the user's own. Sessions of dead processes are removed on the way.
bool Trustworthy(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0700) {
        ::close(fd);
        return false;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool trusted = true;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat sub;
        const int owner = SessionOwner(name);
        if (owner < 0 || ::fstatat(::dirfd(dir), name.c_str(), &sub, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISDIR(sub.st_mode) || sub.st_uid != ::geteuid()) {
            trusted = false;
            break;
        }
        if (!Alive(owner)) stale.push_back(folder + "/" + name);
    }
    ::closedir(dir);
    if (trusted)
        for (const std::string& old : stale) {
            std::error_code ec;
            fs::remove_all(old, ec);  // never follows links: a link inside is removed, not its target
        }
    return trusted;
}

std::string MakeTemporaryFolder(std::string pattern)
{
    if (!::mkdtemp(pattern.data())) throw TPictorError(pattern, SystemErrorText(errno));
    return pattern;
}

} // namespace

TWorkSession::TWorkSession()
{
    const std::string shared = TempRoot() + "/PVWORK-" + std::to_string(::geteuid());
    // Another session may remove the shared folder when it ends empty, between our two steps: try again.
    for (int attempt = 0; attempt < 3 && Path_.empty(); ++attempt) {
        if (::mkdir(shared.c_str(), 0700) != 0 && errno != EEXIST) break;
        if (!Trustworthy(shared)) break;
        std::string pattern = shared + "/" + std::to_string(::getpid()) + "-XXXXXX";
        if (::mkdtemp(pattern.data())) {
            Shared_ = shared;
            Path_ = pattern;
        } else if (errno != ENOENT) {
            break;
        }
    }
    if (Path_.empty()) Path_ = MakeTemporaryFolder(TempRoot() + "/pictor-XXXXXX");
    AddLeftover(Path_);
    Path_ += "/";
}

TWorkSession::~TWorkSession()
{
    const std::string folder = Path_.substr(0, Path_.size() - 1);
    std::error_code ec;
    fs::remove_all(folder, ec);
    DropLeftover(folder);
    if (!Shared_.empty()) ::rmdir(Shared_.c_str());  // fails, as it should, while other sessions live there
}

} // namespace pictor
