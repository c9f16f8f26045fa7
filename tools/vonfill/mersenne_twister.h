// The one source of randomness of Vonfill: the standard 32-bit Mersenne Twister (MT19937), seeded
// by its older multiplicative scheme. Every draw is exact integer and IEEE double arithmetic, so a
// fixed seed gives the same log on every run and every machine.
#pragma once

#include <array>
#include <cstdint>

namespace vondal::vonfill {

class MersenneTwister {
 public:
  static constexpr int kStateSize = 624;

  // The older seeding: the first word is the seed, each further word the previous one times 69069.
  explicit MersenneTwister(uint32_t seed);

  // Starts from a whole state of 624 words (the tests compare against other seedings with it).
  explicit MersenneTwister(const std::array<uint32_t, kStateSize>& state) : state_(state) {}

  // The next tempered 32-bit output.
  uint32_t Next() {
    if (index_ == kStateSize) Twist();
    uint32_t y = state_[index_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
  }

  // A draw r = (y + 0.5) * 2^-32 of the next output y: 0 < r < 1, and exact in a double.
  double Draw() { return (static_cast<double>(Next()) + 0.5) * (1.0 / 4294967296.0); }

  // random(n): the integer part of r * n, 0 … n - 1 (n > 0).
  int Random(int n) { return static_cast<int>(Draw() * n); }

 private:
  void Twist();

  std::array<uint32_t, kStateSize> state_;
  int index_ = kStateSize;
};

}  // namespace vondal::vonfill
