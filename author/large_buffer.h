#pragma once
// An allocator for the few very large arrays that a check of a big quest fills (a record of
// every statement and every lookup). Where the system offers large pages to memory that asks
// for them, such an array is backed by them: filling it then costs a small fraction of the
// page faults, which otherwise take as long as the check itself.
#include <cstddef>

namespace tindel::author {

void* allocate_large(std::size_t bytes);
void release_large(void* block, std::size_t bytes);

template <typename T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <typename U>
  LargeAllocator(const LargeAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(allocate_large(n * sizeof(T))); }
  void deallocate(T* block, std::size_t n) { release_large(block, n * sizeof(T)); }
  friend bool operator==(const LargeAllocator&, const LargeAllocator&) { return true; }
};

}  // namespace tindel::author
