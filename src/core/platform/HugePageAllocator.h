// SPDX-License-Identifier: MIT
// An allocator for the few very large buffers of a big listing.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <sys/mman.h>

namespace dirscribe {

// Large blocks come straight from the kernel with transparent huge pages asked for, so
// filling a buffer of millions of rows does not pay one page fault per 4 KiB; small
// blocks come from the ordinary heap. Where huge pages are not available the kernel
// ignores the advice.
template <typename T> class HugePageAllocator {
public:
    // The names below are the ones the standard library asks an allocator for.
    using value_type = T; // NOLINT(readability-identifier-naming)
    static constexpr std::size_t kThresholdBytes = std::size_t{4} << 20;

    HugePageAllocator() = default;
    template <typename U> explicit HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { // NOLINT(readability-identifier-naming)
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kThresholdBytes)
            return std::allocator<T>().allocate(n);
        void* block =
            ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
        ::madvise(block, bytes, MADV_HUGEPAGE);
        return static_cast<T*>(block);
    }

    void deallocate(T* block, std::size_t n) noexcept { // NOLINT(readability-identifier-naming)
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kThresholdBytes)
            std::allocator<T>().deallocate(block, n);
        else
            ::munmap(block, bytes);
    }

    template <typename U> bool operator==(const HugePageAllocator<U>&) const noexcept {
        return true;
    }
};

} // namespace dirscribe
