#include "tools/scroll/line_colors.h"

#include <cstring>

#include "app/text/wildcard.h"
#include "color/color_set.h"

namespace vondal::scroll {
namespace {

constexpr std::string_view kComparisonHeader = "CF@@@6n@u@6n";
constexpr std::string_view kDiaryDate = "[@6n][@C]";
constexpr std::string_view kSheetMark = "<SUMMARYSHEET";
constexpr std::string_view kSummarySheet = "*<SUMMARYSHEET*VERSION*>*";
constexpr std::string_view kFileA = "======== fileA line* ========";
constexpr std::string_view kFileB = "======== fileB line* ========";

const char* Find(std::string_view text, std::string_view what) {
  return static_cast<const char*>(memmem(text.data(), text.size(), what.data(), what.size()));
}

bool Matches(std::string_view pattern, std::string_view line) { return MatchExtended(pattern, line, false); }

// The patterns that start with a literal fail at once on any other line; those that start with
// "*" are tried only on lines holding their literal part, which every match needs.
bool IsDiaryDate(std::string_view line) { return line.starts_with('[') && Matches(kDiaryDate, line); }
bool IsFileBHeader(std::string_view line) {
  return line.starts_with("======== fileB") && Matches(kFileB, line);
}

uint8_t DiaryColor(std::string_view line) {
  if (IsDiaryDate(line)) return 6;
  if (Matches("【*】", line)) return 3;
  if (Find(line, "(写)") != nullptr && Matches("*(写)*", line)) return 11;
  if (Find(line, "献血") != nullptr && Matches("*献血*", line)) return 12;
  return kPlainColor;
}

uint8_t SummarySheetColor(std::string_view line) {
  if (Matches("<*>", line)) return 6;
  if (line.ends_with(" 0") && Matches("* 0", line)) return 12;
  return kPlainColor;
}

}  // namespace

bool IsColorMode(char letter) { return letter != 0 && std::strchr("cs013dt", letter) != nullptr; }

uint8_t ColorOfLetter(char letter) {
  const char* found = letter != 0 ? std::strchr(kColorLetters, letter) : nullptr;
  return found != nullptr ? static_cast<uint8_t>(found - kColorLetters) : kPlainColor;
}

ColorModeDetector::ColorModeDetector(std::string_view content)
    : content_(content), searchedTo_(content.data()) {}

bool ColorModeDetector::HoldsAngle(std::string_view line) {
  const char* const lineEnd = line.data() + line.size();
  const char* const contentEnd = content_.data() + content_.size();
  while (nextAngle_ == nullptr && searchedTo_ < lineEnd) {
    const size_t window = std::min<size_t>(kAngleWindow, contentEnd - searchedTo_);
    nextAngle_ = static_cast<const char*>(std::memchr(searchedTo_, '<', window));
    searchedTo_ += window;
  }
  if (nextAngle_ == nullptr || nextAngle_ >= lineEnd) return false;
  // Found in this line: the search goes on after it.
  nextAngle_ = nullptr;
  searchedTo_ = lineEnd;
  return true;
}

void ColorModeDetector::See(std::string_view line) {
  const bool first = first_;
  first_ = false;
  if (mode_ != kNoColorMode) return;
  if (first && Matches(kComparisonHeader, line)) {
    mode_ = '0';
  } else if (IsDiaryDate(line)) {
    mode_ = 'd';
  } else if (HoldsAngle(line)) {
    if (Find(line, kSheetMark) != nullptr && Matches(kSummarySheet, line)) mode_ = 't';
  }
}

bool IsFileAHeader(std::string_view line) {
  return line.starts_with("======== fileA") && Matches(kFileA, line);
}

uint8_t LineColorRule::ColorOf(std::string_view line) {
  switch (mode_) {
    case '0':
    case '1':
      return line.starts_with('B') ? 6 : kPlainColor;
    case '3':
      if (IsFileBHeader(line)) {
        inFileB_ = true;
      } else if (IsFileAHeader(line)) {
        inFileB_ = false;
      }
      return inFileB_ ? 6 : kPlainColor;
    case 'd':
      return DiaryColor(line);
    case 't':
      return SummarySheetColor(line);
    default:
      return kPlainColor;
  }
}

}  // namespace vondal::scroll
