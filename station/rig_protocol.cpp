#include "station/rig_protocol.h"

#include <algorithm>
#include <array>

#include "app/text/sjis.h"

namespace vondal {
namespace {

constexpr std::string_view kReport = "RPRT ";
constexpr size_t kMaxValueLines = 16;

// "RPRT -11": hamlib's result code, at most five digits.
std::optional<int> ReportOf(std::string_view line) {
  if (!line.starts_with(kReport)) return std::nullopt;
  std::string_view number = line.substr(kReport.size());
  const bool negative = number.starts_with('-');
  if (negative) number.remove_prefix(1);
  if (number.empty() || number.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : number) {
    if (!IsAsciiDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

}  // namespace

const std::string* RigBlock::Find(std::string_view key) const {
  for (const auto& [name, value] : values) {
    if (name == key) return &value;
  }
  return nullptr;
}

RigBlock ParseRigBlock(std::string_view bytes, std::string_view command) {
  RigBlock block;
  if (bytes.size() > kMaxAnswerBytes) {
    block.state = RigParse::kGarbage;
    return block;
  }
  bool header = true;
  size_t pos = 0;
  for (size_t end; (end = bytes.find('\n', pos)) != std::string_view::npos; pos = end + 1) {
    std::string_view line = bytes.substr(pos, end - pos);
    if (line.ends_with('\r')) line.remove_suffix(1);
    block.state = RigParse::kGarbage;  // until the line proves good
    if (!IsPrintableAscii(line)) return block;  // rigctld answers in printable ASCII
    if (header) {
      // The long name and a colon; a set command would echo its values after it, ours have none.
      if (!line.starts_with(command) || line.substr(command.size()) != ":") return block;
      header = false;
    } else if (line.starts_with(kReport)) {
      const std::optional<int> report = ReportOf(line);
      if (!report || end + 1 != bytes.size()) return block;  // nothing may follow the result
      block.report = *report;
      block.state = RigParse::kDone;
      return block;
    } else {
      const size_t colon = line.find(": ");
      if (colon == 0 || colon == std::string_view::npos || block.values.size() == kMaxValueLines)
        return block;
      block.values.emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
    block.state = RigParse::kMore;
  }
  // An unfinished line must still be able to become a good one.
  std::string_view rest = bytes.substr(pos);
  if (rest.ends_with('\r')) rest.remove_suffix(1);
  if (!IsPrintableAscii(rest) || (header && !(std::string(command) + ":").starts_with(rest)))
    block.state = RigParse::kGarbage;
  return block;
}

std::optional<int64_t> HertzOf(std::string_view value) {
  const size_t point = value.find('.');
  const std::string_view whole = value.substr(0, point);
  if (whole.empty() || whole.size() > 12) return std::nullopt;
  int64_t hz = 0;
  for (char c : whole) {
    if (!IsAsciiDigit(c)) return std::nullopt;
    hz = hz * 10 + (c - '0');
  }
  if (point != std::string_view::npos) {
    const std::string_view fraction = value.substr(point + 1);
    if (fraction.empty() || !AllAsciiDigits(fraction)) return std::nullopt;
  }
  if (hz == 0) return std::nullopt;
  return hz;
}

RigMode ModeOfRigWord(std::string_view word) {
  struct Entry {
    std::string_view word;
    std::string_view mode;
  };
  static constexpr std::array<Entry, 18> kPlain = {{
      {"USB", "SSB"},
      {"LSB", "SSB"},
      {"CW", "CW"},
      {"CWR", "CW"},
      {"CW-R", "CW"},
      {"CWN", "CW"},
      {"FM", "FM"},
      {"FMN", "FM"},
      {"WFM", "FM"},
      {"AM", "AM"},
      {"AMN", "AM"},
      {"AMS", "AM"},
      {"SAM", "AM"},
      {"RTTY", "RTTY"},
      {"RTTYR", "RTTY"},
      {"RTTY-R", "RTTY"},
      {"PSK", "PSK31"},
      {"PSKR", "PSK31"},
  }};
  for (const Entry& entry : kPlain) {
    if (word == entry.word) return {RigModeKind::kPlain, entry.mode};
  }
  // The packet modes, their "-D" spellings and the numbered data settings of some radios.
  if (word.starts_with("PKT") || word.ends_with("-D") || word.starts_with("USBD") || word.starts_with("LSBD"))
    return {RigModeKind::kData, {}};
  return {};
}

}  // namespace vondal
