#pragma once
#include <cstddef>
#include <cstdint>
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
        // Whole huge pages, aligned: an unaligned buffer would have its first and last megabytes on
        // small pages, thousands of faults for a buffer of a few megabytes.
        const std::size_t mapped = Mapped(bytes);
        void* map = ::mmap(nullptr, mapped + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED) throw std::bad_alloc();
        const auto at = reinterpret_cast<std::uintptr_t>(map);
        const std::uintptr_t aligned = (at + HugePage - 1) & ~(HugePage - 1);
        if (aligned > at) ::munmap(map, aligned - at);
        if (const std::size_t tail = at + HugePage - aligned) ::munmap(reinterpret_cast<void*>(aligned + mapped), tail);
        ::madvise(reinterpret_cast<void*>(aligned), mapped, MADV_HUGEPAGE);
        return reinterpret_cast<T*>(aligned);
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < MinBytes) std::allocator<T>().deallocate(p, n);
        else ::munmap(p, Mapped(bytes));
    }

    template <class U>
    bool operator==(const THugePageAllocator<U>&) const noexcept { return true; }

private:
    static constexpr std::size_t HugePage = std::size_t(2) << 20;
    static constexpr std::size_t MinBytes = HugePage;
    static std::size_t Mapped(std::size_t bytes) { return (bytes + HugePage - 1) & ~(HugePage - 1); }
};

} // namespace pictor
