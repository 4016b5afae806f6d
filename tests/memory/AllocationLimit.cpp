// SPDX-License-Identifier: MIT
#include "memory/AllocationLimit.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Each block starts with its size, so freeing it counts it back.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::atomic<std::size_t> g_held{0};
std::atomic<std::size_t> g_limit{SIZE_MAX};

void* Allocate(std::size_t size) {
    if (g_held.fetch_add(size) + size > g_limit.load()) {
        g_held.fetch_sub(size);
        throw std::bad_alloc();
    }
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) {
        g_held.fetch_sub(size);
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    return static_cast<char*>(block) + kHeader;
}

void Free(void* pointer) noexcept {
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    g_held.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void operator delete(void* pointer) noexcept {
    Free(pointer);
}
void operator delete[](void* pointer) noexcept {
    Free(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Free(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Free(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Free(pointer);
}

namespace dirscribe::test {

AllocationLimit::AllocationLimit(std::size_t allowance) {
    g_limit = g_held.load() + allowance;
}

AllocationLimit::~AllocationLimit() {
    g_limit = SIZE_MAX;
}

} // namespace dirscribe::test
