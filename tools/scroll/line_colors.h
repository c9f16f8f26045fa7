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
#include <span>
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

// The mode the lines call for when none was given: "0" when the first line is a header
// "CF@@@6n@u@6n"; otherwise "d" or "t" from the first line that matches "[@6n][@C]" or
// "*<SUMMARYSHEET*VERSION*>*"; none when nothing matches.
char DetectColorMode(std::span<const std::string_view> lines);

// Mode "0" becomes "3" when a line "======== fileA line* ========" follows: the text is a
// comparison.
char RefineColorMode(char mode, std::span<const std::string_view> lines);

// Colours every line by the rule of `mode` (not "c" or "s", whose colours come from letters).
void ColorLines(char mode, std::span<const std::string_view> lines, std::span<uint8_t> colors);

// Colours the lines from the letters of a colour file's first line, one per line in order; lines
// beyond its end get 7.
void ColorLinesFromLetters(std::string_view letters, std::span<uint8_t> colors);

}  // namespace vondal::scroll
