// The stations of one run of Vonrix, each kept once: a station is a number 0 … size()-1 in the
// order the stations were first met, and its text lives in the block allocator. Entries carry the
// number, so that grouping contacts by station is counting, not comparing texts.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/vonrix/block_allocator.h"

namespace vondal {

class StationTable {
 public:
  explicit StationTable(BlockAllocator& allocator) : allocator_(allocator) { Grow(); }

  // The hash Add wants for `text` (24 bits).
  static uint32_t Hash(std::string_view text);

  // Asks the processor to fetch the place where a text of this hash is looked up: callers that
  // know the next texts ahead hide the wait for memory behind their other work.
  void Prefetch(uint32_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

  // The number of the station `text` (hash: Hash(text)), added when it is new; -1 when memory
  // ran out (the allocator's failure() says how).
  int32_t Add(std::string_view text, uint32_t hash);
  int32_t Add(std::string_view text) { return Add(text, Hash(text)); }

  std::string_view operator[](int32_t station) const { return texts_[station]; }
  int32_t size() const { return static_cast<int32_t>(texts_.size()); }

  // True when station a sorts before station b in byte order (a shorter text before a longer one
  // it begins).
  bool Before(int32_t a, int32_t b) const;

 private:
  // One place of the open-addressing table. A call sign is short, so the slot holds its first
  // 8 bytes with its length and hash: finding a station mostly reads this one slot, not the text
  // in the allocator's blocks.
  static constexpr size_t kHeadBytes = 8;
  struct Slot {
    int32_t station = -1;  // -1: empty
    uint32_t check = 0;    // the length (at most 255) in the low byte, the hash above it
    uint64_t head = 0;     // the first bytes of the text, zero-padded
  };
  static_assert(sizeof(Slot) == 16);

  static uint32_t CheckOf(std::string_view text, uint32_t hash);
  static uint64_t HeadOf(std::string_view text);
  void Grow();

  BlockAllocator& allocator_;
  std::vector<std::string_view> texts_;
  std::vector<Slot> slots_;  // a power of two long, at most half full
  size_t mask_ = 0;          // slots_.size() - 1
};

}  // namespace vondal
