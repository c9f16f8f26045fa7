#include "tools/scroll/block_allocator.h"

#include <cstdio>
#include <cstdlib>

namespace vondal::scroll {
namespace {

constexpr size_t kAlignment = alignof(std::max_align_t);

}  // namespace

BlockAllocator::~BlockAllocator() {
  for (void* block : blocks_) std::free(block);
  for (void* piece : oversized_) std::free(piece);
}

void* BlockAllocator::FromSystem(size_t size) {
  if (size > systemLimit_ - systemBytes_) return nullptr;
  void* memory = std::calloc(1, size);
  if (memory != nullptr) systemBytes_ += size;
  return memory;
}

void* BlockAllocator::Allocate(size_t size) {
  if (size > kBlockSize) {
    void* piece = FromSystem(size);
    if (piece == nullptr) {
      failure_ = "Malloc failed (oversized)";
      return nullptr;
    }
    oversized_.push_back(piece);
    oversizedBytes_ += size;
    return piece;
  }
  size_t start = (used_ + kAlignment - 1) / kAlignment * kAlignment;
  if (blocks_.empty() || start > kBlockSize || kBlockSize - start < size) {
    void* block = FromSystem(kBlockSize);
    if (block == nullptr) {
      failure_ = "Malloc failed";
      return nullptr;
    }
    blocks_.push_back(block);
    start = 0;
  }
  used_ = start + size;
  return static_cast<char*>(blocks_.back()) + start;
}

std::string BlockAllocator::Report() const {
  char line[96];
  const size_t full = blocks_.empty() ? 0 : blocks_.size() - 1;
  std::snprintf(line, sizeof line, "(remalloc(%zu+%zu/%zu)", full, used_, kBlockSize);
  std::string report = line;
  if (!oversized_.empty()) {
    std::snprintf(line, sizeof line, ", malloc(%zu:%zu)", oversized_.size(), oversizedBytes_);
    report += line;
  }
  return report;
}

}  // namespace vondal::scroll
