// The allocator of the companion programs' small pieces of memory (Vonrix's station texts,
// scroll's line colours): blocks obtained from the system and zero-filled, each request carved
// from the current block; a request larger than a block is obtained by itself. Nothing is handed
// back before the end of the run; the report line at the end says how much was used. Vonrix
// works with blocks of 100,000 bytes, scroll with blocks of 1,000,000.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

class BlockAllocator {
 public:
  // Vonrix's block size, the default.
  static constexpr size_t kBlockSize = 100000;

  // systemLimit: how many bytes the system will give in all (tests use it to run out of memory).
  explicit BlockAllocator(size_t systemLimit = SIZE_MAX, size_t blockSize = kBlockSize)
      : systemLimit_(systemLimit), blockSize_(blockSize) {}
  ~BlockAllocator();
  BlockAllocator(const BlockAllocator&) = delete;
  BlockAllocator& operator=(const BlockAllocator&) = delete;

  // `size` zero-filled bytes at a multiple of `alignment` (a power of two) within the block, that
  // stay until the allocator goes. A request that does not fit in the rest of the current block
  // starts a new block; one larger than a block is obtained from the system by itself (and is
  // aligned for any type). Null when the system has no more memory; failure() then tells which.
  void* Allocate(size_t size, size_t alignment = 1);

  // A NUL-terminated copy of text; null when memory ran out.
  const char* Copy(std::string_view text);

  // "Malloc failed" (no block could be obtained), "Malloc failed (oversized)" (no memory for a
  // request above the block size), or empty.
  const std::string& failure() const { return failure_; }

  // "(remalloc(blocks-1+used/block size)", followed by ", malloc(count:bytes)" when requests
  // above the block size were made.
  std::string Report() const;

 private:
  void* FromSystem(size_t size);

  size_t systemLimit_;
  size_t blockSize_;
  size_t systemBytes_ = 0;
  std::vector<void*> blocks_;     // every block, the current one last
  std::vector<void*> oversized_;  // requests above the block size
  size_t oversizedBytes_ = 0;
  size_t used_ = 0;  // bytes used in the current block
  std::string failure_;
};

}  // namespace vondal
