#include "base/MemoryPolicy.h"

#include <malloc.h>

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

} // namespace pictor
