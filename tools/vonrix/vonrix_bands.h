// Vonrix's own band ranges and band names. Band numbers are those of the band table
// (output/band_table.h), and frequencies are read the same way, short forms included; the ranges
// follow the band plan as Vonrix has always counted it, so they differ a little from the table's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vondal {

// The band of a FREQ text, 0-24, or -1 when it lies in none of Vonrix's ranges.
int VonrixBandOf(std::string_view freq);

// VonrixBandOf for the FREQ texts of a whole log. A log repeats a few hundred frequency texts
// many times over, so each is converted once and remembered (in a small table where a newcomer
// takes the place of an older text).
class BandMemo {
 public:
  int BandOf(std::string_view freq);
  // BandOf for a FREQ text of which 16 bytes from its start can be read, whatever its length (a
  // text inside a record image, not at its very end): the text is read in two loads.
  int BandOfReadable(std::string_view freq);

 private:
  static constexpr size_t kLongest = 16;  // the most FREQ holds
  // A text of up to 16 bytes in two words, zero-padded, so that texts compare in two steps.
  struct Slot {
    uint64_t text[2] = {};
    uint8_t length = 0xFF;  // 0xFF: empty
    int8_t band = -1;
  };
  int Remembered(std::string_view freq, uint64_t low, uint64_t high);
  std::array<Slot, 256> slots_;
};

// The name of band 0-24 in the report ("135k", "7", "1.2G", …).
std::string_view VonrixBandName(int band);

// The band's symbol in the report: "A" for band 0 … "Y" for band 24.
inline char BandSymbol(int band) { return static_cast<char>('A' + band); }

}  // namespace vondal
