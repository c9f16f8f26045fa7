// The index file: see doc/index_format.md.
#pragma once

#include <cstdint>

namespace vondal {

// "Vondal INDEX w01.010", 0x1A, NUL.
inline constexpr char kIndexHeader[] = "Vondal INDEX w01.010\x1A";
inline constexpr int kIndexHeaderSize = 22;  // including the NUL
static_assert(sizeof kIndexHeader == kIndexHeaderSize);

// An entry is a 4-byte little-endian word (low 26 bits the date-time key, high 6 bits the
// CALLSIGN length L) followed by the L bytes of CALLSIGN.
inline constexpr int kIndexKeyBits = 26;
inline constexpr uint32_t kIndexKeyMask = (1u << kIndexKeyBits) - 1;
inline constexpr int kIndexMaxCallsign = 24;

inline uint32_t IndexWord(int32_t key, int callsignLength) {
  return (static_cast<uint32_t>(key) & kIndexKeyMask) |
         (static_cast<uint32_t>(callsignLength) << kIndexKeyBits);
}

}  // namespace vondal
