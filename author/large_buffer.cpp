#include "author/large_buffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace tindel::author {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

void* allocate_large(std::size_t bytes) {
  if (bytes < kLargePage) return ::operator new(bytes);
  std::size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
  void* block = std::aligned_alloc(kLargePage, rounded);
  if (!block) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  // Only advice: without large pages the block is ordinary memory.
  ::madvise(block, rounded, MADV_HUGEPAGE);
#endif
  return block;
}

void release_large(void* block, std::size_t bytes) {
  if (bytes < kLargePage) return ::operator delete(block);
  std::free(block);
}

}  // namespace tindel::author
