#pragma once
#include <string>

namespace pictor {

// This process's own working folder, where the working copies of its documents go. It lies in the
// user's private folder PVWORK-<uid> under the system's temporary folder (TMPDIR or /tmp), named after
// the process, so that two running programs never share working copies; folders there of processes that
// are gone are removed when a session starts. A PVWORK-<uid> that is not a folder of the user's own with
// mode 0700 holding nothing but such folders is refused, never repaired: the session then takes a fresh
// folder of its own made by mkdtemp, so another user cannot block or steer the program.
// The folder and everything in it is removed when the session ends, and when the process is interrupted.
class TWorkSession {
public:
    TWorkSession();
    ~TWorkSession();
    TWorkSession(const TWorkSession&) = delete;
    TWorkSession& operator=(const TWorkSession&) = delete;

    const std::string& Path() const { return Path_; }  // with a trailing "/"

private:
    std::string Shared_;  // PVWORK-<uid>, when it was taken; removed at the end if it is then empty
    std::string Path_;
};

} // namespace pictor
