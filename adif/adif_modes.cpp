#include "adif/adif_modes.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/text/sjis.h"

namespace vondal {
namespace {

// The modes of ADIF, each with the submodes it has.
struct ModeFamily {
  std::string_view mode;
  std::initializer_list<std::string_view> submodes;
};

const ModeFamily kModes[] = {
    {"AM", {}},
    {"ARDOP", {}},
    {"ATV", {}},
    {"CHIP", {"CHIP64", "CHIP128"}},
    {"CLO", {}},
    {"CONTESTI", {}},
    {"CW", {"PCW"}},
    {"DIGITALVOICE", {"C4FM", "DMR", "DSTAR", "FREEDV", "M17"}},
    {"DOMINO",
     {"DOM-M", "DOM4", "DOM5", "DOM8", "DOM11", "DOM16", "DOM22", "DOM44", "DOM88", "DOMINOEX", "DOMINOF"}},
    {"DYNAMIC", {"VARA HF", "VARA SATELLITE", "VARA FM 1200", "VARA FM 9600"}},
    {"FAX", {}},
    {"FM", {}},
    {"FSK", {"SCAMP_FAST", "SCAMP_SLOW", "SCAMP_VSLOW"}},
    {"FSK441", {}},
    {"FT8", {}},
    {"HELL", {"FMHELL", "FSKHELL", "HELL80", "HELLX5", "HELLX9", "HFSK", "PSKHELL", "SLOWHELL"}},
    {"ISCAT", {"ISCAT-A", "ISCAT-B"}},
    {"JT4", {"JT4A", "JT4B", "JT4C", "JT4D", "JT4E", "JT4F", "JT4G"}},
    {"JT6M", {}},
    {"JT9",
     {"JT9-1", "JT9-2", "JT9-5", "JT9-10", "JT9-30", "JT9A", "JT9B", "JT9C", "JT9D", "JT9E", "JT9E FAST",
      "JT9F", "JT9F FAST", "JT9G", "JT9G FAST", "JT9H", "JT9H FAST"}},
    {"JT44", {}},
    {"JT65", {"JT65A", "JT65B", "JT65B2", "JT65C", "JT65C2"}},
    {"MFSK",
     {"FSQCALL", "FST4", "FST4W", "FT4", "JS8", "JTMS", "MFSK4", "MFSK8", "MFSK11", "MFSK16", "MFSK22",
      "MFSK31", "MFSK32", "MFSK64", "MFSK64L", "MFSK128", "MFSK128L", "Q65"}},
    {"MSK144", {}},
    {"MTONE", {}},
    {"MT63", {}},
    {"OFDM", {}},
    {"OLIVIA",
     {"OLIVIA 4/125", "OLIVIA 4/250", "OLIVIA 8/250", "OLIVIA 8/500", "OLIVIA 16/500", "OLIVIA 16/1000",
      "OLIVIA 32/1000"}},
    {"OPERA", {"OPERA-BEACON", "OPERA-QSO"}},
    {"PAC", {"PAC2", "PAC3", "PAC4"}},
    {"PAX", {"PAX2"}},
    {"PKT", {}},
    {"PSK", {"8PSK125",   "8PSK125F",  "8PSK125FL", "8PSK250",    "8PSK250F",   "8PSK250FL",  "8PSK500",
             "8PSK500F",  "8PSK1000",  "8PSK1000F", "8PSK1200F",  "FSK31",      "PSK10",      "PSK31",
             "PSK63",     "PSK63F",    "PSK63RC4",  "PSK63RC5",   "PSK63RC10",  "PSK63RC20",  "PSK63RC32",
             "PSK125",    "PSK125RC4", "PSK125RC5", "PSK125RC10", "PSK125RC12", "PSK125RC16", "PSK250",
             "PSK250RC2", "PSK250RC3", "PSK250RC5", "PSK250RC6",  "PSK250RC7",  "PSK500",     "PSK500RC2",
             "PSK500RC3", "PSK500RC4", "PSK800RC2", "PSK1000",    "PSK1000RC2", "PSKAM10",    "PSKAM31",
             "PSKAM50",   "PSKFEC31",  "QPSK31",    "QPSK63",     "QPSK125",    "QPSK250",    "QPSK500",
             "SIM31"}},
    {"PSK2K", {}},
    {"Q15", {}},
    {"QRA64", {"QRA64A", "QRA64B", "QRA64C", "QRA64D", "QRA64E"}},
    {"ROS", {"ROS-EME", "ROS-HF", "ROS-MF"}},
    {"RTTY", {"ASCI"}},
    {"RTTYM", {}},
    {"SSB", {"LSB", "USB"}},
    {"SSTV", {}},
    {"T10", {}},
    {"THOR",
     {"THOR-M", "THOR4", "THOR5", "THOR8", "THOR11", "THOR16", "THOR22", "THOR25X4", "THOR50X1", "THOR50X2",
      "THOR100"}},
    {"THRB", {"THRBX", "THRBX1", "THRBX2", "THRBX4", "THROB1", "THROB2", "THROB4"}},
    {"TOR", {"AMTORFEC", "GTOR", "NAVTEX", "SITORB"}},
    {"V4", {}},
    {"VOI", {}},
    {"WINMOR", {}},
    {"WSPR", {}},
};

struct ModeName {
  std::string_view name;  // a mode or a submode
  AdifMode mode;
};

// Every mode and submode by name, sorted for a binary search.
const std::vector<ModeName>& ModeNames() {
  static const std::vector<ModeName> names = [] {
    std::vector<ModeName> all;
    for (const ModeFamily& family : kModes) {
      all.push_back({family.mode, {family.mode, {}}});
      for (std::string_view submode : family.submodes) all.push_back({submode, {family.mode, submode}});
    }
    std::sort(all.begin(), all.end(), [](const ModeName& a, const ModeName& b) { return a.name < b.name; });
    return all;
  }();
  return names;
}

}  // namespace

std::optional<AdifMode> AdifModeOf(std::string_view text) {
  char upper[32];
  if (text.empty() || text.size() > sizeof upper) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;  // no ADIF name holds Japanese
    upper[i] = AsciiUpper(c);
  }
  const std::string_view key(upper, text.size());
  const std::vector<ModeName>& names = ModeNames();
  const auto it = std::lower_bound(names.begin(), names.end(), key,
                                   [](const ModeName& entry, std::string_view k) { return entry.name < k; });
  if (it == names.end() || it->name != key) return std::nullopt;
  return it->mode;
}

}  // namespace vondal
