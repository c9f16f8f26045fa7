#include "tools/vonfill/mersenne_twister.h"

namespace vondal::vonfill {
namespace {

constexpr int kShift = 397;
constexpr uint32_t kMatrix = 0x9908B0DFu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7FFFFFFFu;

}  // namespace

MersenneTwister::MersenneTwister(uint32_t seed) {
  state_[0] = seed;
  for (int i = 1; i < kStateSize; ++i) state_[i] = state_[i - 1] * 69069u;
}

void MersenneTwister::Twist() {
  for (int i = 0; i < kStateSize; ++i) {
    const uint32_t y = (state_[i] & kUpper) | (state_[(i + 1) % kStateSize] & kLower);
    state_[i] = state_[(i + kShift) % kStateSize] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
  }
  index_ = 0;
}

}  // namespace vondal::vonfill
