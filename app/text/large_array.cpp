#include "app/text/large_array.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace vondal {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t RoundedUp(size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateLarge(size_t bytes) {
  if (bytes < kHugePage) return std::malloc(bytes == 0 ? 1 : bytes);
  if (bytes > SIZE_MAX - 2 * kHugePage) return nullptr;
  // A huge page must start at a multiple of its size: a huge page more is mapped, and what lies
  // before and after the aligned part is given back.
  const size_t size = RoundedUp(bytes);
  void* mapping = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(mapping);
  const uintptr_t aligned = RoundedUp(start);
  if (aligned > start) munmap(mapping, aligned - start);
  if (const size_t after = kHugePage - (aligned - start); after > 0) {
    munmap(reinterpret_cast<void*>(aligned + size), after);
  }
  void* memory = reinterpret_cast<void*>(aligned);
  madvise(memory, size, MADV_HUGEPAGE);  // a hint: without it the memory still works
  return memory;
}

void FreeLarge(void* memory, size_t bytes) {
  if (bytes < kHugePage) {
    std::free(memory);
    return;
  }
  munmap(memory, RoundedUp(bytes));
}

}  // namespace vondal
