#pragma once
#include <cstddef>

namespace pictor {

// Called once at the start of a program, before its first document is loaded.
void KeepFreedMemoryForReuse();

// Asks for huge pages under a buffer not yet written to (where the system offers them only on request):
// a ten-megabyte text then costs a handful of page faults instead of thousands.
void AdviseHugePages(void* buffer, std::size_t bytes);

} // namespace pictor
