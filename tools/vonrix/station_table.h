// The stations of one run of Vonrix, each kept once: a station is a number 0 … size()-1 in the
// order the stations were first met, and its text lives in the block allocator. Entries carry the
// number, so that grouping contacts by station is counting, not comparing texts.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/text/block_allocator.h"
#include "app/text/large_array.h"

namespace vondal {

class StationTable {
 public:
  explicit StationTable(BlockAllocator& allocator) : allocator_(allocator) { Grow(); }

  // Makes room for `stations` stations at once, so that a table that would otherwise grow step
  // by step to that size is not rebuilt on the way. Only before the first Add.
  void Reserve(size_t stations);

  // What a station text is looked up by: its first 8 bytes, and its length with a hash of it.
  // Callers that read many texts compute the keys of the next few ahead and Prefetch them.
  struct Key {
    uint64_t head;   // the first bytes of the text, zero-padded
    uint32_t check;  // the length (at most 255) in the low byte, a 24-bit hash above it
  };
  static Key KeyOf(std::string_view text);
  // KeyOf for a text of which 8 bytes from its start can be read, whatever its length (a text
  // inside a record image, not at its very end): the head is read in one step.
  static Key KeyOfReadable(std::string_view text);

  // Asks the processor to fetch the place where the key is looked up, so that the wait for memory
  // passes behind the caller's other work.
  void Prefetch(const Key& key) const { __builtin_prefetch(&slots_[(key.check >> 8) & mask_]); }

  // The number of the station `text` (key: KeyOf(text)), added when it is new; -1 when memory
  // ran out (the allocator's failure() says how).
  int32_t Add(std::string_view text, const Key& key);
  int32_t Add(std::string_view text) { return Add(text, KeyOf(text)); }

  std::string_view operator[](int32_t station) const { return texts_[station]; }
  int32_t size() const { return static_cast<int32_t>(texts_.size()); }

  // True when station a sorts before station b in byte order (a shorter text before a longer one
  // it begins).
  bool Before(int32_t a, int32_t b) const;

 private:
  // One place of the open-addressing table. A call sign is short, so the slot holds the whole
  // key: finding a station mostly reads this one slot, not the text in the allocator's blocks.
  static constexpr size_t kHeadBytes = 8;
  struct Slot {
    int32_t station = -1;  // -1: empty
    uint32_t check = 0;
    uint64_t head = 0;
  };
  static_assert(sizeof(Slot) == 16);

  static Key KeyOfHead(std::string_view text, uint64_t head);
  void Grow();

  BlockAllocator& allocator_;
  LargeArray<std::string_view> texts_;
  // A power of two long, at most three quarters full: a station met before is found in 2.5
  // slots on average, and the table stays small enough to be mostly in the processor's cache.
  LargeArray<Slot> slots_;
  size_t mask_ = 0;  // slots_.size() - 1
};

}  // namespace vondal
