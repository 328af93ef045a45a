#pragma once
#include <cstddef>

namespace pictor {

// Called once at the start of a program, before its first document is loaded.
void KeepFreedMemoryForReuse();

// Asks for huge pages under a buffer not yet written to (where the system offers them only on request),
// and maps all its pages at once: a ten-megabyte text then costs a few calls instead of thousands of
// page faults.
void AdviseHugePages(void* buffer, std::size_t bytes);

} // namespace pictor
