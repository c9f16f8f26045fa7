// The colour of each line: the colour modes, how a mode is detected from the text when none is
// given, and the colour each mode gives a line.
//
// Modes: none (every line plain), "c" (each line starts with its colour letter), "s" (the first
// line of a colour file holds one letter per text line), "0"/"1" (lines starting with "B"
// stand out), "3" (the fileB blocks of a comparison stand out), "d" and "t" (the lines of a
// diary and of a JARL summary sheet by their patterns). Patterns are the extended wildcard
// matcher's, case-sensitive.
#pragma once

#include <cstdint>
#include <string_view>

namespace vondal::scroll {

// The colour byte of a line: a console attribute 0-15, plus kMarked while a search marks it.
inline constexpr uint8_t kPlainColor = 7;
inline constexpr uint8_t kMarked = 16;

inline constexpr char kNoColorMode = 0;

// Whether `letter` names a colour mode ("cs013dt").
bool IsColorMode(char letter);

// The attribute a colour letter names: "kcgbrmyw" 0-7, "KCGBRMYW" 8-15, anything else 7.
uint8_t ColorOfLetter(char letter);

// Finds the mode of a text that was given none, seeing its lines in order: "0" when the first
// line is a comparison header "CF@@@6n@u@6n"; otherwise "d" or "t" from the first line that
// matches "[@6n][@C]" or "*<SUMMARYSHEET*VERSION*>*".
class ColorModeDetector {
 public:
  // `content` is the whole text; the lines seen must be views into it.
  explicit ColorModeDetector(std::string_view content);
  void See(std::string_view line);
  // The mode found so far; none while nothing matched.
  char mode() const { return mode_; }

 private:
  // Only lines holding "<" can match the sheet's pattern, and "<" is rare in most texts: the
  // content is searched for it a window at a time just ahead of the lines, so that the lines
  // are then read from the processor's cache rather than the text read twice from memory.
  bool HoldsAngle(std::string_view line);
  static constexpr size_t kAngleWindow = 64 * 1024;

  std::string_view content_;
  const char* searchedTo_;           // the content before it has been searched for "<"
  const char* nextAngle_ = nullptr;  // the first "<" found and not yet reached by the lines
  bool first_ = true;
  char mode_ = kNoColorMode;
};

// Whether a line of a comparison starts the blocks of file A ("======== fileA line* ========");
// one of them turns mode "0" into "3".
bool IsFileAHeader(std::string_view line);

// The colours of the lines of a mode ("0", "1", "3", "d", "t", or none), line by line in order.
class LineColorRule {
 public:
  explicit LineColorRule(char mode) : mode_(mode) {}
  uint8_t ColorOf(std::string_view line);

 private:
  char mode_;
  bool inFileB_ = false;  // mode 3: between a fileB header and the next fileA header
};

}  // namespace vondal::scroll
