// rigctld's text protocol, the part the log uses (doc/rig.md): two questions in the extended
// response form and the reading of their answers, and what hamlib's mode words mean for MODE.
//
// An answer in the extended form is one block of lines, each ended by "\n" ("\r\n" is taken too):
//   get_freq:              the command's long name and a colon
//   Frequency: 7025000     "Key: value" lines, none or more
//   RPRT 0                 hamlib's result, 0 for success, a negative error code otherwise
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vondal {

inline constexpr std::string_view kAskFrequency = "+f\n";
inline constexpr std::string_view kAskMode = "+m\n";
inline constexpr std::string_view kFrequencyCommand = "get_freq";
inline constexpr std::string_view kModeCommand = "get_mode";

// An answer longer than this is no answer to our questions.
inline constexpr size_t kMaxAnswerBytes = 1024;

enum class RigParse {
  kMore,     // the bytes so far begin a good answer: wait for the rest
  kDone,     // a whole answer, nothing after it
  kGarbage,  // the bytes cannot be the answer
};

struct RigBlock {
  RigParse state = RigParse::kMore;
  int report = 0;  // the RPRT code
  std::vector<std::pair<std::string, std::string>> values;

  // The value of `key`, or null.
  const std::string* Find(std::string_view key) const;
};

// Reads the answer to `command` ("get_freq") from all the bytes received for it so far.
RigBlock ParseRigBlock(std::string_view bytes, std::string_view command);

// The frequency of a "Frequency" value in whole Hz: decimal digits, a fraction cut off; none for
// anything else, for 0 and for more than 12 digits (a terahertz).
std::optional<int64_t> HertzOf(std::string_view value);

// What the radio's mode word stands for in the log.
enum class RigModeKind {
  kNone,   // a mode the log has no word for (a digital voice mode, a spectrum view ...)
  kPlain,  // one of the auto-fill modes, in RigMode::mode
  kData,   // a data mode (PKTUSB, USB-D ...): the `mode` map or the configured data mode decides
};

struct RigMode {
  RigModeKind kind = RigModeKind::kNone;
  std::string_view mode;  // "CW" "SSB" "FM" "AM" "RTTY" "PSK31" for kPlain
};

// USB LSB → SSB; CW CWR → CW; FM FMN WFM → FM; AM and its narrow and synchronous kin → AM;
// RTTY RTTYR → RTTY; PSK PSKR → PSK31; PKT…, …-D and the USB/LSB data modes → kData.
RigMode ModeOfRigWord(std::string_view word);

}  // namespace vondal
