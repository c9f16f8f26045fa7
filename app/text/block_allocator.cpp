#include "app/text/block_allocator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vondal {

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

void* BlockAllocator::Allocate(size_t size, size_t alignment) {
  if (size > blockSize_) {
    void* piece = FromSystem(size);
    if (piece == nullptr) {
      failure_ = "Malloc failed (oversized)";
      return nullptr;
    }
    oversized_.push_back(piece);
    oversizedBytes_ += size;
    return piece;
  }
  size_t start = (used_ + alignment - 1) & ~(alignment - 1);
  if (blocks_.empty() || start > blockSize_ || blockSize_ - start < size) {
    void* block = FromSystem(blockSize_);
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

const char* BlockAllocator::Copy(std::string_view text) {
  char* copy = static_cast<char*>(Allocate(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.data(), text.size());
  return copy;
}

std::string BlockAllocator::Report() const {
  char line[96];
  const size_t full = blocks_.empty() ? 0 : blocks_.size() - 1;
  std::snprintf(line, sizeof line, "(remalloc(%zu+%zu/%zu)", full, used_, blockSize_);
  std::string report = line;
  if (!oversized_.empty()) {
    std::snprintf(line, sizeof line, ", malloc(%zu:%zu)", oversized_.size(), oversizedBytes_);
    report += line;
  }
  return report;
}

}  // namespace vondal
