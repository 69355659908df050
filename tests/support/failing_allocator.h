// Makes one chosen allocation of the test program fail, as memory running out
// would: the program's operator new is replaced (failing_allocator.cpp) and
// counts every allocation while a failure is armed.
#pragma once

#include <cstdint>

namespace testing_support {

// The number of allocations made since the last call to arm or disarm.
std::int64_t allocations_counted();
// The `n`th allocation from now (counting from 1) throws std::bad_alloc; no
// other does. 0 counts without failing.
void arm_allocation_failure(std::int64_t n);
void disarm_allocation_failure();

}  // namespace testing_support
