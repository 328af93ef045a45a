#include "support/OtherUser.h"

#include <cstdlib>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pictor::test {

namespace {

constexpr const char* UserName = "pictor-test-user";

TOtherUser FindOrMake()
{
    if (::geteuid() != 0) return {0, 0, "needs root to act as a second user"};
    if (!::getpwnam(UserName) &&
        std::system((std::string("useradd --system --no-create-home ") + UserName + " >/dev/null 2>&1").c_str()) != 0)
        return {0, 0, std::string("useradd could not make the user ") + UserName};
    const passwd* entry = ::getpwnam(UserName);
    if (!entry) return {0, 0, std::string("the user ") + UserName + " cannot be found"};
    return {entry->pw_uid, entry->pw_gid, ""};
}

} // namespace

const TOtherUser& OtherUser()
{
    static const TOtherUser user = FindOrMake();
    return user;
}

int RunAsOtherUser(const std::function<int()>& body)
{
    const TOtherUser& user = OtherUser();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.Gid) != 0 || ::setuid(user.Uid) != 0) ::_exit(255);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 254;
}

} // namespace pictor::test
