#include "tools/vonfill/frequency_run.h"

namespace vondal::vonfill {
namespace {

// Letter minus 'a' is the row of kBands: how often each band comes up.
constexpr char kJapaneseBandChoice[] = "abbbcccccccddddeeeeeffgggghhiiiijjkl";
constexpr char kForeignBandChoice[] = "abccccccddeeeeeeeeefffffgggggghiiiij";

constexpr int kBand144 = 10;
constexpr int kBand430 = 11;

}  // namespace

const Band kBands[kBandCount] = {
    {"1.9", 8, 5, 3, 5},    {"3.5", 0, 25, 3, 8},   {"7.0", 0, 30, 3, 20},   {"10.1", 0, 36, 4, 10},
    {"14.0", 0, 60, 4, 16}, {"18.0", 68, 32, 4, 8}, {"21.0", 0, 60, 4, 16},  {"24.8", 90, 10, 4, 8},
    {"28.0", 0, 60, 4, 16}, {"50.0", 50, 40, 4, 8}, {"144.0", 50, 40, 5, 4}, {"430.0", 50, 40, 5, 4},
};

void FrequencyRun::SetDigits(MersenneTwister& rng) {
  const Band& band = kBands[band_];
  const int digits = band.offset + rng.Random(band.range);
  freq_.assign(band.text, band.position);
  freq_ += static_cast<char>('0' + digits / 10);
  freq_ += static_cast<char>('0' + digits % 10);
}

const std::string& FrequencyRun::Next(MersenneTwister& rng, StationKind kind) {
  if (run_ == 0 || (kind == StationKind::kForeign && (band_ == kBand144 || band_ == kBand430))) {
    const char* choice = kind == StationKind::kForeign ? kForeignBandChoice : kJapaneseBandChoice;
    band_ = choice[rng.Random(36)] - 'a';
    SetDigits(rng);
    run_ = rng.Random(kBands[band_].longestRun);
    fixed_ = rng.Draw() < 0.3;
  } else {
    --run_;
    if (!fixed_) SetDigits(rng);
  }
  return freq_;
}

}  // namespace vondal::vonfill
