// Memory of the main program. What lives as long as the program (working record, screen
// buffer, configuration values, tables) is carved from the local pool and never returned; what
// one operation needs (file buffers, output tables, the index file buffer) comes from the
// temporary pool, which the next operation resets as a whole. A ring of 60 entries records what
// each operation used, for the information screen.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

inline constexpr size_t kLocalPoolSize = 500000;
inline constexpr size_t kQuotaSize = 52000;  // the temporary pool before the configuration is read
inline constexpr size_t kTempPoolSize = 2000000;
inline constexpr size_t kHistorySize = 60;
inline constexpr size_t kHistoryNameLength = 9;

enum class TempStage { kNone, kQuota, kMalloc };

struct UseEntry {
  std::string name;  // at most 9 bytes
  size_t amount = 0;
};

class MemoryPools {
 public:
  // Creates the local pool (zero-filled). Returns false when the system has no memory for it.
  bool CreateLocal(size_t capacity);

  // Zero-filled memory from the local pool, or none when it is exhausted. The block starts at a
  // multiple of `alignment` (a power of two); the bytes skipped to get there count as used.
  void* LocalAlloc(size_t size, size_t alignment = 1);
  size_t LocalCapacity() const { return localCapacity_; }
  size_t LocalUsed() const { return localUsed_; }

  // The `memory` setting (megabytes): 2-10 sizes the temporary pool, anything else gives 2.
  // From now on the configuration counts as read: the next reset allocates the final pool.
  void SetTempMegabytes(int memory);

  // Zero-filled memory from the temporary pool, or none when it does not fit (the pool is left
  // as it was). Aligned as LocalAlloc.
  void* TempAlloc(size_t size, size_t alignment = 1);
  // Whether `block` lies in the temporary pool as it is now.
  bool InTemp(const void* block) const;
  // Frees all temporary memory. The first reset carves the "quota" area from the local pool;
  // the first reset after the configuration allocates the final pool ("malloc"). False when
  // memory for that could not be had.
  [[nodiscard]] bool TempReset();
  size_t TempUsed() const { return tempUsed_; }
  size_t TempCapacity() const { return tempCapacity_; }
  TempStage Stage() const { return stage_; }
  // Which pool failed when TempReset returned false: "local memory" or "malloc(temp)".
  const char* TempFailure() const { return tempFailure_; }

  // Adds a history entry: the name (cut to 9 bytes, never inside a two-byte character) and the temporary
  // pool's use, or its capacity for "quota" and "malloc".
  void RecordUse(std::string_view name);
  // The entries, oldest first.
  std::vector<UseEntry> History() const;

 private:
  std::unique_ptr<unsigned char[]> local_;
  size_t localCapacity_ = 0;
  size_t localUsed_ = 0;
  std::unique_ptr<unsigned char[]> tempBlock_;  // the final pool (stage malloc)
  unsigned char* temp_ = nullptr;
  size_t tempCapacity_ = 0;
  size_t tempUsed_ = 0;
  size_t tempFinalSize_ = kTempPoolSize;
  bool configured_ = false;
  TempStage stage_ = TempStage::kNone;
  const char* tempFailure_ = "";
  std::array<UseEntry, kHistorySize> history_;
  size_t historyCount_ = 0;
};

// The program's pools.
MemoryPools& ThePools();

// The program's pools with the failures that end the program: "(!) Error in malloc(local)",
// "(!) Error in local memory", "(!) Error in malloc(temp)", status 1.
void CreateLocalPool(size_t capacity = kLocalPoolSize);
void* LocalPoolAlloc(size_t size, size_t alignment = 1);
void* TempPoolAlloc(size_t size);  // none when it does not fit: the caller reports
void TempPoolReset();
void RecordUse(std::string_view name);

// Memory for what lives as long as the run, for the std::pmr containers that hold it (the
// settings): the local pool once CreateLocalPool has made it, the system's before that and in
// programs and tests that make no pools. What the local pool gives is never given back, and
// running out of it ends the program like LocalPoolAlloc.
std::pmr::memory_resource* RunMemory();

// Working memory of one step, for std::pmr containers (the key tables of the configuration
// read): carved from the temporary pool while it has room, from the system's after that. What
// the pool gave is freed by its next reset, so such a container must be gone before it.
std::pmr::memory_resource* TempMemory();

// Capacity and use of the local pool as decimal texts right-aligned in 8 columns.
std::string LocalPoolCapacityText();
std::string LocalPoolUsedText();

}  // namespace vondal
