// The memory of one run of scroll: blocks of 1,000,000 bytes, each request carved from the
// current block, and requests above the block size taken from the system by themselves. Nothing
// is handed back before the end of the run; -m prints how much was used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vondal::scroll {

class BlockAllocator {
 public:
  static constexpr size_t kBlockSize = 1000000;

  // systemLimit: how many bytes the system gives in all (tests use it to run out of memory).
  explicit BlockAllocator(size_t systemLimit = SIZE_MAX) : systemLimit_(systemLimit) {}
  ~BlockAllocator();
  BlockAllocator(const BlockAllocator&) = delete;
  BlockAllocator& operator=(const BlockAllocator&) = delete;

  // `size` zero-filled bytes, aligned for any type, that stay until the allocator goes. Null when
  // the system has no more memory; failure() then says which kind of request failed.
  void* Allocate(size_t size);

  // "Malloc failed" (no new block), "Malloc failed (oversized)" (no memory for a request above
  // the block size), or empty.
  const std::string& failure() const { return failure_; }

  // "(remalloc(blocks-1+used/1000000)", followed by ", malloc(count:bytes)" when requests above
  // the block size were made.
  std::string Report() const;

 private:
  void* FromSystem(size_t size);

  size_t systemLimit_;
  size_t systemBytes_ = 0;
  std::vector<void*> blocks_;  // every block, the current one last
  std::vector<void*> oversized_;
  size_t oversizedBytes_ = 0;
  size_t used_ = 0;  // bytes used in the current block
  std::string failure_;
};

}  // namespace vondal::scroll
