#include "tools/scroll/line_colors.h"

#include <algorithm>
#include <cstring>

#include "app/text/wildcard.h"
#include "color/color_set.h"

namespace vondal::scroll {
namespace {

constexpr std::string_view kComparisonHeader = "CF@@@6n@u@6n";
constexpr std::string_view kDiaryDate = "[@6n][@C]";
constexpr std::string_view kSummarySheet = "*<SUMMARYSHEET*VERSION*>*";
constexpr std::string_view kFileA = "======== fileA line* ========";
constexpr std::string_view kFileB = "======== fileB line* ========";

bool Contains(std::string_view text, std::string_view what) {
  return memmem(text.data(), text.size(), what.data(), what.size()) != nullptr;
}

bool Matches(std::string_view pattern, std::string_view line) { return MatchExtended(pattern, line, false); }

// The patterns that start with a literal fail at once on any other line; those that start with
// "*" are tried only on lines holding their literal part, which every match needs.
bool IsDiaryDate(std::string_view line) { return line.starts_with('[') && Matches(kDiaryDate, line); }
bool IsSummarySheet(std::string_view line) {
  return Contains(line, "<SUMMARYSHEET") && Matches(kSummarySheet, line);
}
bool IsFileA(std::string_view line) { return line.starts_with("======== fileA") && Matches(kFileA, line); }
bool IsFileB(std::string_view line) { return line.starts_with("======== fileB") && Matches(kFileB, line); }

uint8_t DiaryColor(std::string_view line) {
  if (IsDiaryDate(line)) return 6;
  if (Matches("【*】", line)) return 3;
  if (Contains(line, "(写)") && Matches("*(写)*", line)) return 11;
  if (Contains(line, "献血") && Matches("*献血*", line)) return 12;
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

char DetectColorMode(std::span<const std::string_view> lines) {
  if (lines.empty()) return kNoColorMode;
  if (Matches(kComparisonHeader, lines[0])) return '0';
  for (std::string_view line : lines) {
    if (IsDiaryDate(line)) return 'd';
    if (IsSummarySheet(line)) return 't';
  }
  return kNoColorMode;
}

char RefineColorMode(char mode, std::span<const std::string_view> lines) {
  if (mode != '0') return mode;
  return std::any_of(lines.begin(), lines.end(), IsFileA) ? '3' : mode;
}

void ColorLines(char mode, std::span<const std::string_view> lines, std::span<uint8_t> colors) {
  bool inFileB = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    uint8_t color = kPlainColor;
    switch (mode) {
      case '0':
      case '1':
        color = line.starts_with('B') ? 6 : kPlainColor;
        break;
      case '3':
        if (IsFileB(line))
          inFileB = true;
        else if (IsFileA(line))
          inFileB = false;
        color = inFileB ? 6 : kPlainColor;
        break;
      case 'd':
        color = DiaryColor(line);
        break;
      case 't':
        color = SummarySheetColor(line);
        break;
      default:
        break;
    }
    colors[i] = color;
  }
}

void ColorLinesFromLetters(std::string_view letters, std::span<uint8_t> colors) {
  for (size_t i = 0; i < colors.size(); ++i)
    colors[i] = i < letters.size() ? ColorOfLetter(letters[i]) : kPlainColor;
}

}  // namespace vondal::scroll
