#include "adif/adif_bands.h"

#include <array>

#include "app/text/text_helpers.h"

namespace vondal {
namespace {

struct Band {
  const char* name;  // ADIF's name, lower case
  int64_t lowHz;
  int64_t highHz;
  const char* edge;  // the FREQ a contact of the band without a frequency gets
};

constexpr int64_t kMHz = 1000000;

// ADIF's band list, in frequency order. The edges written are the log's own band starts where
// they lie above ADIF's (70cm, 23cm, 13cm, 2mm, 1mm).
constexpr Band kBands[] = {
    {"2190m", 135700, 137800, "0.1357"},
    {"630m", 472000, 479000, "0.472"},
    {"560m", 501000, 504000, "0.501"},
    {"160m", 1800000, 2000000, "1.8"},
    {"80m", 3500000, 4000000, "3.5"},
    {"60m", 5060000, 5450000, "5.06"},
    {"40m", 7000000, 7300000, "7.0"},
    {"30m", 10100000, 10150000, "10.1"},
    {"20m", 14000000, 14350000, "14.0"},
    {"17m", 18068000, 18168000, "18.068"},
    {"15m", 21000000, 21450000, "21.0"},
    {"12m", 24890000, 24990000, "24.89"},
    {"10m", 28000000, 29700000, "28.0"},
    {"8m", 40000000, 45000000, "40.0"},
    {"6m", 50000000, 54000000, "50.0"},
    {"5m", 54000001, 69900000, "54.000001"},
    {"4m", 70000000, 71000000, "70.0"},
    {"2m", 144000000, 148000000, "144.0"},
    {"1.25m", 222000000, 225000000, "222.0"},
    {"70cm", 420000000, 450000000, "430.0"},
    {"33cm", 902000000, 928000000, "902.0"},
    {"23cm", 1240 * kMHz, 1300 * kMHz, "1260.0"},
    {"13cm", 2300 * kMHz, 2450 * kMHz, "2400.0"},
    {"9cm", 3300 * kMHz, 3500 * kMHz, "3300.0"},
    {"6cm", 5650 * kMHz, 5925 * kMHz, "5650.0"},
    {"3cm", 10000 * kMHz, 10500 * kMHz, "10000.0"},
    {"1.25cm", 24000 * kMHz, 24250 * kMHz, "24000.0"},
    {"6mm", 47000 * kMHz, 47200 * kMHz, "47000.0"},
    {"4mm", 75500 * kMHz, 81000 * kMHz, "75500.0"},
    {"2.5mm", 119980 * kMHz, 123000 * kMHz, "119980.0"},
    {"2mm", 134000 * kMHz, 149000 * kMHz, "142000.0"},
    {"1mm", 241000 * kMHz, 250000 * kMHz, "248000.0"},
    {"submm", 300000 * kMHz, 7500000 * kMHz, "300000.0"},
};

// The log's own name of the 3.8 MHz band (ADIF counts it in 80m) and the band's first frequency.
constexpr std::string_view k75m = "75m";
constexpr std::string_view k75mEdge = "3.702";

bool SameName(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

}  // namespace

int64_t FrequencyHz(std::string_view freq) {
  int64_t hz = 0;
  int64_t unit = kMHz;
  bool point = false;
  bool digits = false;
  for (char c : freq) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (!point) {
        if (hz > 1000000 * kMHz) return -1;  // far above every band
        hz = hz * 10 + (c - '0') * kMHz;
      } else if (unit > 1) {
        unit /= 10;
        hz += (c - '0') * unit;
      }
    } else {
      return -1;
    }
  }
  return digits ? hz : -1;
}

int AdifBandOf(std::string_view freq) { return AdifBandOfHz(FrequencyHz(ExpandShortForm(freq))); }

int AdifBandOfHz(int64_t hz) {
  if (hz <= 0) return -1;
  for (size_t i = 0; i < std::size(kBands); ++i) {
    if (hz >= kBands[i].lowHz && hz <= kBands[i].highHz) return static_cast<int>(i);
  }
  return -1;
}

std::string_view AdifBandName(int band) {
  return band >= 0 && band < static_cast<int>(std::size(kBands)) ? kBands[band].name : std::string_view();
}

std::string_view BandEdgeFreq(std::string_view band) {
  if (SameName(band, k75m)) return k75mEdge;
  for (const Band& b : kBands) {
    if (SameName(band, b.name)) return b.edge;
  }
  return {};
}

}  // namespace vondal
