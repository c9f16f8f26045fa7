#include "app/memory_pool.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "app/text/sjis.h"
#include "console/console.h"

namespace vondal {
namespace {

// Puts the cursor on the message line, shows the pool's name and ends the program.
[[noreturn]] void PoolFailure(const char* pool) {
  std::string text = std::string("(!) Error in ") + pool;
  if (ConsoleAttached()) {
    MoveCursor(MessageRow(), 0);
    ShowCursor(true);
  }
  EndProgram(1, text);
}

std::string Right8(size_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%8zu", value);
  return text;
}

// The bytes to skip from `used` so that base + used becomes a multiple of `alignment`.
size_t Padding(const unsigned char* base, size_t used, size_t alignment) {
  const auto address = reinterpret_cast<uintptr_t>(base + used);
  return (alignment - address % alignment) % alignment;
}

// The local pool as a memory resource: nothing is given back.
class LocalPoolMemory final : public std::pmr::memory_resource {
  void* do_allocate(size_t bytes, size_t alignment) override { return LocalPoolAlloc(bytes, alignment); }
  void do_deallocate(void*, size_t, size_t) override {}
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

// The temporary pool as a memory resource, the system's allocator behind it.
class TempPoolMemory final : public std::pmr::memory_resource {
  void* do_allocate(size_t bytes, size_t alignment) override {
    if (void* block = ThePools().TempAlloc(bytes, alignment)) return block;
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void* block, size_t bytes, size_t alignment) override {
    if (!ThePools().InTemp(block)) std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
  }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

LocalPoolMemory localPoolMemory;
TempPoolMemory tempPoolMemory;
std::pmr::memory_resource* runMemory = std::pmr::new_delete_resource();

}  // namespace

bool MemoryPools::CreateLocal(size_t capacity) {
  local_.reset(new (std::nothrow) unsigned char[capacity]());
  if (!local_) return false;
  localCapacity_ = capacity;
  localUsed_ = 0;
  return true;
}

void* MemoryPools::LocalAlloc(size_t size, size_t alignment) {
  if (!local_) return nullptr;
  const size_t padding = Padding(local_.get(), localUsed_, alignment);
  if (padding > localCapacity_ - localUsed_ || size > localCapacity_ - localUsed_ - padding) return nullptr;
  void* block = local_.get() + localUsed_ + padding;
  localUsed_ += padding + size;
  return block;
}

void MemoryPools::SetTempMegabytes(int memory) {
  tempFinalSize_ = memory >= 2 && memory <= 10 ? static_cast<size_t>(memory) * 1000000 : kTempPoolSize;
  configured_ = true;
}

void* MemoryPools::TempAlloc(size_t size, size_t alignment) {
  if (temp_ == nullptr) return nullptr;
  const size_t padding = Padding(temp_, tempUsed_, alignment);
  if (padding > tempCapacity_ - tempUsed_ || size > tempCapacity_ - tempUsed_ - padding) return nullptr;
  void* block = temp_ + tempUsed_ + padding;
  std::memset(block, 0, size);
  tempUsed_ += padding + size;
  return block;
}

bool MemoryPools::InTemp(const void* block) const {
  const auto* byte = static_cast<const unsigned char*>(block);
  return temp_ != nullptr && std::less_equal<>()(temp_, byte) && std::less<>()(byte, temp_ + tempCapacity_);
}

bool MemoryPools::TempReset() {
  if (stage_ == TempStage::kNone) {
    auto* quota = static_cast<unsigned char*>(LocalAlloc(kQuotaSize));
    if (quota == nullptr) {
      tempFailure_ = "local memory";
      return false;
    }
    temp_ = quota;
    tempCapacity_ = kQuotaSize;
    stage_ = TempStage::kQuota;
    tempUsed_ = 0;
    RecordUse("quota");
  } else if (stage_ == TempStage::kQuota && configured_) {
    tempBlock_.reset(new (std::nothrow) unsigned char[tempFinalSize_]);
    if (!tempBlock_) {
      tempFailure_ = "malloc(temp)";
      return false;
    }
    temp_ = tempBlock_.get();
    tempCapacity_ = tempFinalSize_;
    stage_ = TempStage::kMalloc;
    tempUsed_ = 0;
    RecordUse("malloc");
  }
  tempUsed_ = 0;
  return true;
}

void MemoryPools::RecordUse(std::string_view name) {
  UseEntry& entry = history_[historyCount_ % kHistorySize];
  entry.name = std::string(CutAtCharacter(name, kHistoryNameLength));
  entry.amount = name == "quota" || name == "malloc" ? tempCapacity_ : tempUsed_;
  ++historyCount_;
}

std::vector<UseEntry> MemoryPools::History() const {
  std::vector<UseEntry> entries;
  size_t count = std::min(historyCount_, kHistorySize);
  size_t first = historyCount_ - count;
  for (size_t i = first; i < historyCount_; ++i) entries.push_back(history_[i % kHistorySize]);
  return entries;
}

MemoryPools& ThePools() {
  static MemoryPools pools;
  return pools;
}

void CreateLocalPool(size_t capacity) {
  if (!ThePools().CreateLocal(capacity)) PoolFailure("malloc(local)");
  runMemory = &localPoolMemory;
}

void* LocalPoolAlloc(size_t size, size_t alignment) {
  if (ThePools().LocalCapacity() == 0) CreateLocalPool(kLocalPoolSize);
  void* block = ThePools().LocalAlloc(size, alignment);
  if (block == nullptr) PoolFailure("local memory");
  return block;
}

void* TempPoolAlloc(size_t size) { return ThePools().TempAlloc(size); }

void TempPoolReset() {
  if (!ThePools().TempReset()) PoolFailure(ThePools().TempFailure());
}

void RecordUse(std::string_view name) { ThePools().RecordUse(name); }

std::pmr::memory_resource* RunMemory() { return runMemory; }
std::pmr::memory_resource* TempMemory() { return &tempPoolMemory; }

std::string LocalPoolCapacityText() { return Right8(ThePools().LocalCapacity()); }
std::string LocalPoolUsedText() { return Right8(ThePools().LocalUsed()); }

}  // namespace vondal
