#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {
thread_local std::uint64_t allocations = 0;

void* allocate(std::size_t size) {
  ++allocations;
  return std::malloc(size ? size : 1);
}
}  // namespace

std::uint64_t allocationsOnThisThread() { return allocations; }

// The plain forms; the aligned ones stay the library's, which pair with
// their own deletes.
void* operator new(std::size_t size) {
  if (void* block = allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
