// FREQ of the generated contacts: an operator stays on one band for a run of contacts, often on
// one frequency, before moving on.
#pragma once

#include <string>

#include "tools/vonfill/call_signs.h"
#include "tools/vonfill/mersenne_twister.h"

namespace vondal::vonfill {

// One row of the band table.
struct Band {
  const char* text;  // base frequency in MHz
  int offset;        // the two last digits are offset + random(range)
  int range;
  int position;    // where the two digits are written
  int longestRun;  // the most contacts in a row on the band
};

inline constexpr int kBandCount = 12;
extern const Band kBands[kBandCount];

class FrequencyRun {
 public:
  // The FREQ of the next contact, with a station of `kind`. A new band (and frequency) is chosen
  // when the run is over, or when a foreign station comes up on 144 or 430 MHz, which it cannot be
  // reached on; otherwise the run goes on, on the same frequency when the run fixed it.
  const std::string& Next(MersenneTwister& rng, StationKind kind);

  int band() const { return band_; }

 private:
  void SetDigits(MersenneTwister& rng);

  int band_ = -1;
  int run_ = 0;
  bool fixed_ = false;
  std::string freq_;
};

}  // namespace vondal::vonfill
