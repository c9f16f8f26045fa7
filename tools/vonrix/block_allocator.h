// The allocator of Vonrix's small pieces of memory (the station texts): blocks of 100,000 bytes,
// zero-filled, each request carved from the current block. Nothing is handed back before the end
// of the run; the report line at the end says how much was used.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

class BlockAllocator {
 public:
  static constexpr size_t kBlockSize = 100000;

  // systemLimit: how many bytes the system will give in all (tests use it to run out of memory).
  explicit BlockAllocator(size_t systemLimit = SIZE_MAX) : systemLimit_(systemLimit) {}
  ~BlockAllocator();
  BlockAllocator(const BlockAllocator&) = delete;
  BlockAllocator& operator=(const BlockAllocator&) = delete;

  // size zero-filled bytes that stay until the allocator goes. A request that does not fit in
  // the rest of the current block starts a new block; one larger than a block is obtained from
  // the system by itself. Null when the system has no more memory; failure() then tells which.
  void* Allocate(size_t size);

  // A NUL-terminated copy of text; null when memory ran out.
  const char* Copy(std::string_view text);

  // "Malloc failed" (no block could be obtained), "Malloc failed (oversized)" (no memory for a
  // request above the block size), or empty.
  const std::string& failure() const { return failure_; }

  // "(remalloc(blocks-1+used/100000)", followed by ", malloc(count:bytes)" when requests above
  // the block size were made.
  std::string Report() const;

 private:
  void* FromSystem(size_t size);

  size_t systemLimit_;
  size_t systemBytes_ = 0;
  std::vector<void*> blocks_;     // every block, the current one last
  std::vector<void*> oversized_;  // requests above the block size
  size_t oversizedBytes_ = 0;
  size_t used_ = 0;  // bytes used in the current block
  std::string failure_;
};

}  // namespace vondal
