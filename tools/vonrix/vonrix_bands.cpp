#include "tools/vonrix/vonrix_bands.h"

#include <bit>
#include <cstring>

#include "output/band_table.h"

namespace vondal {
namespace {

constexpr BandRange kVonrixBandRanges[] = {
    {135, 138, 0},
    {472, 479, 1},
    {1810, 1825, 2},
    {1907, 1912, 2},
    {3500, 3575, 3},
    {3599, 3612, 3},
    {3680, 3687, 3},
    {3702, 3716, 4},
    {3745, 3770, 4},
    {3791, 3805, 4},
    {7000, 7200, 5},
    {10100, 10150, 6},
    {14000, 14350, 7},
    {18068, 18168, 8},
    {21000, 21450, 9},
    {24890, 24990, 10},
    {28000, 29700, 11},
    {50000, 54000, 12},
    {144000, 146000, 13},
    {430000, 440000, 14},
    {1260000, 1300000, 15},
    {2400000, 2450000, 16},
    {5650000, 5850000, 17},
    {10000000, 10250000, 18},
    {10450000, 10500000, 19},
    {24000000, 24050000, 20},
    {47000000, 47200000, 21},
    {75500000, 76000000, 22},
    {142000000, 144000000, 23},
    {248000000, 250000000, 24},
};
static_assert(InBandOrder(kVonrixBandRanges));

constexpr std::string_view kVonrixBandNames[kBandCount] = {
    "135k", "472k", "1.9",  "3.5",  "3.8",  "7",   "10",    "14",  "18",  "21",  "24",   "28",   "50",
    "144",  "430",  "1.2G", "2.4G", "5.6G", "10G", "10.4G", "24G", "47G", "75G", "142G", "248G",
};

}  // namespace

int VonrixBandOf(std::string_view freq) { return FindBand(FrequencyOf(freq), kVonrixBandRanges); }

int BandMemo::Remembered(std::string_view freq, uint64_t low, uint64_t high) {
  const uint64_t hash = (low ^ (high + freq.size()) * 0xC2B2AE3D27D4EB4Fu) * 0x9E3779B97F4A7C15u;
  Slot& slot = slots_[hash >> 56];
  if (slot.length != freq.size() || slot.text[0] != low || slot.text[1] != high) {
    slot.text[0] = low;
    slot.text[1] = high;
    slot.length = static_cast<uint8_t>(freq.size());
    slot.band = static_cast<int8_t>(VonrixBandOf(freq));
  }
  return slot.band;
}

int BandMemo::BandOf(std::string_view freq) {
  if (freq.size() > kLongest) return VonrixBandOf(freq);
  char padded[kLongest] = {};
  std::memcpy(padded, freq.data(), freq.size());
  uint64_t words[2];
  std::memcpy(words, padded, sizeof words);
  return Remembered(freq, words[0], words[1]);
}

int BandMemo::BandOfReadable(std::string_view freq) {
  // The bytes past the text are cut off the words: on a little-endian machine they are the high
  // bytes.
  if (std::endian::native != std::endian::little || freq.size() > kLongest) return BandOf(freq);
  uint64_t words[2];
  std::memcpy(words, freq.data(), sizeof words);
  auto lowBytes = [](size_t n) { return n >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * n)) - 1; };
  words[0] &= lowBytes(freq.size());
  words[1] &= freq.size() > 8 ? lowBytes(freq.size() - 8) : 0;
  return Remembered(freq, words[0], words[1]);
}

std::string_view VonrixBandName(int band) {
  return band >= 0 && band < kBandCount ? kVonrixBandNames[band] : "";
}

}  // namespace vondal
