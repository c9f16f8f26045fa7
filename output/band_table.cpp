#include "output/band_table.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

#include "app/text/sjis.h"
#include "app/text/text_helpers.h"

namespace vondal {
namespace {

struct BandNames {
  const char* display;
  const char* wavelength;
};

constexpr std::array<BandNames, kBandListSize> kBandNames = {{
    {"    135k", "2190m"},  {"    475k", "630m"}, {"    1.9M", "160m"}, {"    3.5M", "80m"},
    {"    3.8M", "75m"},    {"    7  M", "40m"},  {"   10  M", "30m"},  {"   14  M", "20m"},
    {"   18  M", "17m"},    {"   21  M", "15m"},  {"   24  M", "12m"},  {"   28  M", "10m"},
    {"   50  M", "6m"},     {"  144  M", "2m"},   {"  430  M", "70cm"}, {" 1.2G   ", "23cm"},
    {" 2.4G   ", "13cm"},   {" 5.6G   ", "6cm"},  {"10.1G   ", "3cm"},  {"10.4G   ", "3cm"},
    {"24  G   ", "1.25cm"}, {"47  G   ", "6mm"},  {"75  G   ", "4mm"},  {"  142  G", "2mm"},
    {"  248  G", "1mm"},    {"     *  ", "*"},    {"  合計  ", ""},
}};

constexpr BandRange kBandRanges[] = {
    {135, 137, 0},
    {472, 478, 1},
    {1800, 1874, 2},
    {1907, 1912, 2},
    {3500, 3579, 3},
    {3599, 3611, 3},
    {3662, 3686, 3},
    {3702, 3715, 4},
    {3745, 3769, 4},
    {3791, 3804, 4},
    {7000, 7199, 5},
    {10100, 10149, 6},
    {14000, 14349, 7},
    {18068, 18167, 8},
    {21000, 21449, 9},
    {24890, 24989, 10},
    {28000, 29699, 11},
    {50000, 53999, 12},
    {144000, 145999, 13},
    {430000, 439999, 14},
    {1260000, 1299999, 15},
    {2400000, 2449999, 16},
    {5650000, 5849999, 17},
    {10000000, 10249999, 18},
    {10450000, 10499999, 19},
    {24000000, 24049999, 20},
    {47000000, 47199999, 21},
    {75500000, 75999999, 22},
    {142000000, 143999999, 23},
    {248000000, 249999999, 24},
};
static_assert(InBandOrder(kBandRanges));

// Searched after the user segments, the first match wins: the CW row 135-28199 comes after the
// phone rows inside it on purpose.
constexpr Segment kBuiltInSegments[] = {
    {1907, 1912, 2},         {3535, 3686, 2},         {7045, 7199, 2},         {14100, 14349, 2},
    {18110, 18167, 2},       {21150, 21449, 2},       {24930, 24989, 2},       {28200, 28999, 2},
    {135, 28199, 1},         {29000, 29299, 3},       {50000, 50099, 1},       {50100, 50999, 2},
    {51000, 51999, 3},       {52300, 52499, 2},       {144000, 144099, 1},     {144100, 144499, 2},
    {144700, 145799, 3},     {430000, 430099, 1},     {430100, 430699, 2},     {431400, 431899, 3},
    {432100, 433999, 3},     {1294000, 1294499, 2},   {1294600, 1295799, 3},   {2424000, 2424499, 2},
    {2427000, 2430999, 3},   {5737000, 5754999, 3},   {5757000, 5759999, 3},   {5760000, 5761999, 2},
    {10190000, 10234999, 3}, {10237000, 10239999, 3}, {10240000, 10241999, 2},
};

constexpr std::string_view kModeNames[kModeCount] = {"CW", "SSB", "FM", "AM", "RTTY", "PSK31", "*"};

std::vector<Segment> userSegments;

bool Holds(const Segment& segment, int64_t khz) { return segment.lowKhz <= khz && khz <= segment.highKhz; }

// A user line's frequency in kHz, or -1 when it is beyond every band (and would not fit the 32
// bits of a band-plan row).
int64_t LineFrequency(std::string_view text) {
  const int64_t khz = FrequencyToKhz(text);
  return khz >= INT32_MAX ? -1 : khz;
}

// The items of a user line: runs of anything but blanks, tabs, commas and semicolons.
std::vector<std::string_view> SegmentItems(std::string_view line) {
  std::vector<std::string_view> items;
  size_t pos = 0;
  while (pos < line.size()) {
    pos = line.find_first_not_of(" \t,;", pos);
    if (pos == std::string_view::npos) break;
    size_t end = line.find_first_of(" \t,;", pos);
    if (end == std::string_view::npos) end = line.size();
    items.push_back(line.substr(pos, end - pos));
    pos = end;
  }
  return items;
}

// Paints one segment onto the map (see BuildBandMap): intervals of a band that no earlier segment
// has painted take its class, split where the segment begins or ends inside them.
void Paint(std::vector<BandMapPoint>& map, const Segment& segment) {
  auto endOf = [&map](size_t i) -> int64_t {
    return i + 1 < map.size() ? map[i + 1].startKhz - 1 : INT64_MAX;
  };
  auto unpainted = [&map](size_t i) { return map[i].band >= 0 && map[i].segmentClass == 0; };
  size_t i = 0;
  while (i + 1 < map.size() && map[i + 1].startKhz <= segment.lowKhz) ++i;
  if (map[i].startKhz < segment.lowKhz && unpainted(i)) {
    map.insert(map.begin() + i + 1, BandMapPoint{segment.lowKhz, map[i].band, 0});
    ++i;
  }
  for (; i < map.size() && map[i].startKhz <= segment.highKhz; ++i) {
    if (!unpainted(i)) continue;
    if (endOf(i) > segment.highKhz) {
      map.insert(map.begin() + i + 1, BandMapPoint{segment.highKhz + 1, map[i].band, 0});
      map[i].segmentClass = segment.segmentClass;
      break;
    }
    map[i].segmentClass = segment.segmentClass;
  }
}

}  // namespace

int64_t FrequencyOf(std::string_view freq) { return FrequencyToKhz(ExpandShortForm(freq)); }

int FindBand(int64_t khz, std::span<const BandRange> ranges) {
  if (khz <= 0) return -1;
  // The last range that starts at or below khz is the only one that can hold it.
  const auto after =
      std::upper_bound(ranges.begin(), ranges.end(), khz,
                       [](int64_t value, const BandRange& range) { return value < range.lowKhz; });
  if (after == ranges.begin() || khz > (after - 1)->highKhz) return -1;
  return (after - 1)->band;
}

int BandOf(std::string_view freq) {
  // A log holds few distinct frequency texts, and every output asks for the band of each record:
  // the band of a text is kept in a small table keyed by the text.
  struct Known {
    uint8_t size = 0xFF;
    char text[23];
    int band;
  };
  static thread_local std::array<Known, 256> known;
  if (freq.size() > sizeof Known::text) return FindBand(FrequencyOf(freq), kBandRanges);
  uint32_t hash = static_cast<uint32_t>(freq.size());
  for (char c : freq) hash = hash * 31 + static_cast<unsigned char>(c);
  Known& slot = known[(hash ^ hash >> 8) & 0xFF];
  if (slot.size == freq.size() && std::memcmp(slot.text, freq.data(), freq.size()) == 0) return slot.band;
  slot.band = FindBand(FrequencyOf(freq), kBandRanges);
  slot.size = static_cast<uint8_t>(freq.size());
  if (!freq.empty()) std::memcpy(slot.text, freq.data(), freq.size());
  return slot.band;
}

std::string_view BandWavelength(int band) {
  return band < 0 || band >= kBandListSize ? std::string_view() : kBandNames[band].wavelength;
}

std::string BandName(int band, char style) {
  if (band < 0 || band >= kBandListSize) return "";
  const std::string_view display = kBandNames[band].display;
  switch (style) {
    case 'L':
      return std::string(display);
    case 'm':
      return kBandNames[band].wavelength;
    case 'S':
    case 's': {
      std::string name;
      for (size_t i = 0; i < display.size(); i += CharLength(display, i)) {
        const size_t len = CharLength(display, i);
        if (len == 1 && (display[i] == ' ' || (style == 's' && display[i] == 'M'))) continue;
        name.append(display.substr(i, len));
      }
      return name;
    }
    default:
      return "";
  }
}

int ModeOf(std::string_view mode) {
  for (int m = 0; m < kModeOther; ++m) {
    if (mode == kModeNames[m]) return m;
  }
  return kModeOther;
}

std::string_view ModeName(int mode) { return mode >= 0 && mode < kModeCount ? kModeNames[mode] : ""; }

int ReportLength(int mode) { return mode == kModeSSB || mode == kModeFM || mode == kModeAM ? 2 : 3; }

std::optional<Segment> UserSegmentOf(std::string_view modeLine) {
  const std::vector<std::string_view> items = SegmentItems(modeLine);
  if (items.size() != 3) return std::nullopt;
  const int mode = ModeOf(items[2]);
  const int64_t low = LineFrequency(items[0]);
  const int64_t high = LineFrequency(items[1]);
  if (mode == kModeOther || low < 0 || high < low) return std::nullopt;
  return Segment{static_cast<int32_t>(low), static_cast<int32_t>(high), mode + 1};
}

void SetUserSegments(const std::vector<std::string>& modeLines) {
  userSegments.clear();
  for (const std::string& line : modeLines) {
    if (std::optional<Segment> segment = UserSegmentOf(line)) userSegments.push_back(*segment);
  }
}

void InstallUserSegments(std::span<const Segment> segments) {
  userSegments.assign(segments.begin(), segments.end());
}

const std::vector<Segment>& UserSegments() { return userSegments; }

int SegmentOf(std::string_view freq) {
  const int64_t khz = FrequencyOf(freq);
  if (FindBand(khz, kBandRanges) < 0) return 0;
  for (const Segment& segment : userSegments) {
    if (Holds(segment, khz)) return segment.segmentClass;
  }
  for (const Segment& segment : kBuiltInSegments) {
    if (Holds(segment, khz)) return segment.segmentClass;
  }
  return 0;
}

std::vector<BandMapPoint> BuildBandMap() {
  std::vector<BandMapPoint> map;
  map.reserve(std::size(kBandRanges) * 2 + (userSegments.size() + std::size(kBuiltInSegments)) * 2);
  for (const BandRange& range : kBandRanges) {
    map.push_back({range.lowKhz, range.band, 0});
    map.push_back({range.highKhz + 1, -1, -1});
  }
  for (const Segment& segment : userSegments) Paint(map, segment);
  for (const Segment& segment : kBuiltInSegments) Paint(map, segment);

  std::vector<BandMapPoint> compact;
  for (const BandMapPoint& point : map) {
    if (compact.empty() || point.segmentClass != compact.back().segmentClass) compact.push_back(point);
  }
  return compact;
}

}  // namespace vondal
