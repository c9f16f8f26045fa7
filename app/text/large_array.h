// Memory for the companion programs' few large arrays (Vonrix's entries and station slots): taken
// from the system in huge pages where it offers them, so that filling 24 MB costs a dozen page
// faults instead of six thousand. Arrays below a huge page come from the ordinary heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace vondal {

// `bytes` bytes aligned for any type; null when the system has none. Large requests are whole
// huge pages, asked to be backed by huge pages; their contents are unspecified.
void* AllocateLarge(size_t bytes);
// Gives back what AllocateLarge(bytes) returned.
void FreeLarge(void* memory, size_t bytes);

// A std::vector allocator on AllocateLarge. Elements are default-initialised: resize() leaves
// plain data such as ints unset, so that an array that is written in full anyway is not cleared
// first. Classes still get their constructors and member initialisers.
template <class T>
struct LargeArrayAllocator {
  using value_type = T;

  LargeArrayAllocator() = default;
  template <class U>
  LargeArrayAllocator(const LargeArrayAllocator<U>&) {}

  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* memory = AllocateLarge(n * sizeof(T));
    if (memory == nullptr) throw std::bad_alloc();
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, size_t n) { FreeLarge(memory, n * sizeof(T)); }

  template <class U, class... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
  template <class U>
  void construct(U* place) {
    ::new (static_cast<void*>(place)) U;
  }

  friend bool operator==(const LargeArrayAllocator&, const LargeArrayAllocator&) { return true; }
};

template <class T>
using LargeArray = std::vector<T, LargeArrayAllocator<T>>;

}  // namespace vondal
