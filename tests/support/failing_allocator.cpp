#include "support/failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<std::int64_t> counted{0};
std::atomic<std::int64_t> fail_at{0};

void* allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) {
    const std::int64_t n = ++counted;
    if (n == fail_at.load(std::memory_order_relaxed)) throw std::bad_alloc();
  }
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

}  // namespace

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
// The non-throwing forms (the standard library's temporary buffers use them)
// must come from the same heap as the deletes below, and fail the same way.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace testing_support {

std::int64_t allocations_counted() {
  return counted.load();
}

void arm_allocation_failure(std::int64_t n) {
  counting = false;
  counted = 0;
  fail_at = n;
  counting = true;
}

void disarm_allocation_failure() {
  counting = false;
}

}  // namespace testing_support
