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
  explicit StationTable(BlockAllocator& allocator) : allocator_(allocator) {}

  // The number of the station `text`, added when it is new; -1 when memory ran out (the
  // allocator's failure() says how).
  int32_t Add(std::string_view text);

  std::string_view operator[](int32_t station) const { return texts_[station]; }
  int32_t size() const { return static_cast<int32_t>(texts_.size()); }

  // True when station a sorts before station b in byte order (a shorter text before a longer one
  // it begins).
  bool Before(int32_t a, int32_t b) const;

 private:
  void Grow();

  BlockAllocator& allocator_;
  std::vector<std::string_view> texts_;
  std::vector<uint32_t> hashes_;  // of each station's text
  std::vector<int32_t> slots_;    // open addressing: a station number or -1; a power of two long
};

}  // namespace vondal
