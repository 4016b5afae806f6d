// SPDX-License-Identifier: MIT
// Running out of memory on purpose: this test program's operator new fails once a limit is
// reached, as allocations do under `ulimit -v`, which the sanitizers' reserved address space
// rules out for the test build.
#pragma once

#include <cstddef>

namespace dirscribe::test {

// While one lives, operator new (on every thread) throws std::bad_alloc when the bytes it
// holds would grow by more than allowance over what they were at its start; what is freed
// counts back. Large buffers taken straight from the kernel (HugePageAllocator) are not
// counted.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t allowance);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

} // namespace dirscribe::test
