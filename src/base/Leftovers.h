#pragma once
#include <string>

namespace pictor {

// What an interrupted run must remove: the working folders and temporaries in use. A signal reaches the
// process, not an object, so this list is the one piece of process-wide state.
void AddLeftover(const std::string& path);
void DropLeftover(const std::string& path);
// Creates a file with open(2) and adds it in one step, so that an interrupt never finds it created but
// not yet listed. Returns the descriptor, or -1 with errno set.
int CreateLeftoverFile(const std::string& path, int flags, unsigned mode);

// From the start of main: SIGINT and SIGTERM remove every leftover (folders with their contents), then
// end the process as the signal would. The signals are handled on a thread of their own.
void RemoveLeftoversOnInterrupt();

} // namespace pictor
