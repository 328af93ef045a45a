#pragma once
#include <cstddef>
#include <memory>
#include <new>

#include <sys/mman.h>

namespace pictor {

// Puts large buffers (pictures' pixels, a large site's records) on huge pages where the system offers
// them (the "madvise" mode of transparent huge pages). A 12-Mpixel picture then costs a few dozen page
// faults instead of nine thousand, which on a virtual machine is most of the time it takes to decode it.
template <class T>
class THugePageAllocator {
public:
    using value_type = T;

    THugePageAllocator() = default;
    template <class U>
    THugePageAllocator(const THugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < MinBytes) return std::allocator<T>().allocate(n);
        void* map = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED) throw std::bad_alloc();
        ::madvise(map, bytes, MADV_HUGEPAGE);
        return static_cast<T*>(map);
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < MinBytes) std::allocator<T>().deallocate(p, n);
        else ::munmap(p, bytes);
    }

    template <class U>
    bool operator==(const THugePageAllocator<U>&) const noexcept { return true; }

private:
    static constexpr std::size_t MinBytes = std::size_t(4) << 20;
};

} // namespace pictor
