#pragma once
#include <functional>
#include <string>

#include <sys/types.h>

namespace pictor::test {

// A second, unprivileged user for the tests of permissions and ownership, made with useradd when we are
// root. Empty Reason: usable; otherwise why not (the test then skips, saying so).
struct TOtherUser {
    uid_t Uid = 0;
    gid_t Gid = 0;
    std::string Reason;
};
const TOtherUser& OtherUser();

// body run in a child process as that user; its result (0 for success) or 255 when the switch failed.
int RunAsOtherUser(const std::function<int()>& body);

} // namespace pictor::test
