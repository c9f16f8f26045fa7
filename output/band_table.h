// The band table: the one definition of bands, modes and band-plan segments for every output that
// groups contacts by band, for the error inspection, the information screen's band map and Vonrix.
// A FREQ text is a frequency in MHz ("7.025", "144.50"); inside, frequencies are whole kHz.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

// Band numbers: 0-24 are the amateur bands from 135 kHz to 248 GHz.
inline constexpr int kBandCount = 25;
inline constexpr int kOutsideBands = 25;  // "*": a frequency in no band
inline constexpr int kBandTotal = 26;     // the label of total rows and columns ("合計")
inline constexpr int kBandListSize = 27;

// Mode numbers, in the order of the mode list.
enum ModeNumber : int { kModeCW, kModeSSB, kModeFM, kModeAM, kModeRTTY, kModePSK31, kModeOther };
inline constexpr int kModeCount = 7;

// An inclusive range of kHz that belongs to one band.
struct BandRange {
  int32_t lowKhz;
  int32_t highKhz;
  int band;
};

// An inclusive range of kHz and its segment class: 1 + the mode number normally used there.
struct Segment {
  int32_t lowKhz;
  int32_t highKhz;
  int segmentClass;
};

// A FREQ text in kHz: its short form expanded (ExpandShortForm), then FrequencyToKhz (0 when it
// is no frequency).
int64_t FrequencyOf(std::string_view freq);

// True when every range lies above the one before it: the order FindBand needs.
constexpr bool InBandOrder(std::span<const BandRange> ranges) {
  for (size_t i = 0; i < ranges.size(); ++i) {
    if (ranges[i].highKhz < ranges[i].lowKhz || (i > 0 && ranges[i].lowKhz <= ranges[i - 1].highKhz))
      return false;
  }
  return true;
}

// The band of the range in `ranges` (InBandOrder) that holds khz, or -1. 0 kHz is in no band.
int FindBand(int64_t khz, std::span<const BandRange> ranges);

// The band of a FREQ text, 0-24, or -1 when it lies outside every band (callers that count by
// band count -1 under kOutsideBands).
int BandOf(std::string_view freq);

// The name of band 0-26 in a style: 'L' the display name, 8 columns with the unit letters lined
// up ("    7  M"); 'm' the wavelength name ("40m"); 'S' the display name without blanks ("7M");
// 's' without blanks and without the letter M ("7", "1.9", "10.1G"). Empty for any other band
// number or style.
std::string BandName(int band, char style);
// The wavelength name of a band ("40m"), as BandName(band, 'm') gives it without a copy.
std::string_view BandWavelength(int band);

// The mode number of a MODE text: the entry of "CW" "SSB" "FM" "AM" "RTTY" "PSK31" it equals
// exactly (case counts), else kModeOther.
int ModeOf(std::string_view mode);

// The name of mode 0-6 ("CW" … "PSK31", "*"); empty outside.
std::string_view ModeName(int mode);

// The digits of a signal report in a mode: 2 for SSB, FM and AM (RS), 3 otherwise (RST).
int ReportLength(int mode);

// The segment of one line of the configuration key `mode`: "low high MODE" (MHz texts and a mode
// name CW … PSK31; any run of blanks, tabs, commas and semicolons separates the three), its
// class the mode number + 1. None for a line that does not have exactly three items, whose high
// end lies below the low end or whose mode is unknown. The same lines are the auto-fill map of
// MODE.
std::optional<Segment> UserSegmentOf(std::string_view modeLine);

// The user segments, searched in their order: those of the `mode` lines (SetUserSegments), or
// segments already read from them (InstallUserSegments; start-up hands over the settings' own).
// Each call replaces the segments in force; until one is made there are none.
void SetUserSegments(const std::vector<std::string>& modeLines);
void InstallUserSegments(std::span<const Segment> segments);
const std::vector<Segment>& UserSegments();

// The segment class of a FREQ text, 0-6: 0 outside every band or in no segment; else the class
// of the first user segment, then of the first built-in segment, that holds it.
int SegmentOf(std::string_view freq);

// One breakpoint of the band map: from startKhz up to the next breakpoint the frequencies belong
// to `band` (-1: none) with segment class `segmentClass` (-1 outside the bands).
struct BandMapPoint {
  int32_t startKhz;
  int band;
  int segmentClass;

  bool operator==(const BandMapPoint&) const = default;
};

// The band map the information screen shows: the band ranges with the user and built-in segments
// painted on (the first segment to cover a stretch gives it its class), neighbours of equal class
// merged.
std::vector<BandMapPoint> BuildBandMap();

}  // namespace vondal
