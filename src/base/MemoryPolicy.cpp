#include "base/MemoryPolicy.h"

#include <cstdint>

#include <malloc.h>
#include <sys/mman.h>

namespace pictor {

// A large site or picture is held in buffers of tens of megabytes. By default glibc gives such a buffer
// back to the system when it is freed, and every page of the next one is then a fresh page fault, which
// costs microseconds on a virtual machine: reloading, undoing or saving a large document faulted it in
// again and again. Kept in the heap, freed memory serves the next buffer at once.
void KeepFreedMemoryForReuse()
{
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest glibc takes
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

void AdviseHugePages(void* buffer, std::size_t bytes)
{
    // Only whole huge pages inside the buffer: the pages around it may belong to other allocations.
    constexpr std::uintptr_t huge = std::uintptr_t(2) << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(buffer) + huge - 1) & ~(huge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(buffer) + bytes) & ~(huge - 1);
    if (begin < end) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    // The small pages around them, and the huge ones, mapped in one call rather than a fault each.
    constexpr std::uintptr_t page = 4096;
    const auto first = (reinterpret_cast<std::uintptr_t>(buffer) + page - 1) & ~(page - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(buffer) + bytes) & ~(page - 1);
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
}

} // namespace pictor
