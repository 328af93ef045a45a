#pragma once
#include <string>

namespace pictor {

// What an interrupted run must remove: the working folders, and the temporaries and journal of a save
// being written. A signal reaches the process, not an object, so this list is the one piece of
// process-wide state.
void AddLeftover(const std::string& path);
void DropLeftover(const std::string& path);
// Creates a temporary of a save with open(2) and adds it in one step, so that an interrupt never finds it
// created but not yet listed. Returns the descriptor, or -1 with errno set.
int CreateLeftoverFile(const std::string& path, int flags, unsigned mode);

// While one lives, an interrupt waits: a commit that has begun to replace files is finished or undone
// before the process ends.
class TInterruptsHeld {
public:
    TInterruptsHeld();
    ~TInterruptsHeld();
    TInterruptsHeld(const TInterruptsHeld&) = delete;
    TInterruptsHeld& operator=(const TInterruptsHeld&) = delete;
};

// From the start of main: SIGINT, SIGTERM and SIGHUP remove every leftover (folders with their contents,
// the latest first), say so on stderr after program's name when a save was cut short, then end the
// process as the signal would. The signals are handled on a thread of their own.
void RemoveLeftoversOnInterrupt(const char* program);

} // namespace pictor
