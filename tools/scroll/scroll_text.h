// The file scroll shows: its lines, one colour byte per line, and the colour mode in force.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "tools/scroll/block_allocator.h"

namespace vondal::scroll {

struct ScrollText {
  std::span<std::string_view> lines;  // without their line ends; views into the file's bytes
  std::span<uint8_t> colors;          // attribute 0-15 of each line, + kMarked when marked
  char mode = 0;                      // colour mode: the one given, or the one detected
  std::string_view content;           // the file's bytes

  size_t count() const { return lines.size(); }
};

// Makes the text of a file from its bytes (`content`, which must stay while the text is used):
// the lines, the colour mode and the line colours. Mode "c" takes each line's first character as
// its colour letter; mode "s" colours from `colorLetters` (the colour file's first line);
// without a mode the mode is detected from the lines. Empty on success, else "Malloc failed" or
// "Malloc failed (oversized)".
std::string BuildText(std::string_view content, char mode, std::string_view colorLetters,
                      BlockAllocator& allocator, ScrollText* text);

// Reads the file `fileName` (CP932) and, in mode "s", the first line of the colour file
// `colorFileName`, and builds the text. Empty on success, else "Can't open text file",
// "Can't open color file", "Malloc failed" or "Malloc failed (oversized)".
std::string ReadText(const std::string& fileName, char mode, const std::string& colorFileName,
                     BlockAllocator& allocator, ScrollText* text);

}  // namespace vondal::scroll
