// The file scroll shows: its bytes, one colour byte per line, and where every 64th line starts,
// so that any line is found by reading at most 63 lines from there. Lines are not copied: they
// are read again from the file's bytes whenever they are shown or searched.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "app/text/block_allocator.h"
#include "log/mapped_file.h"

namespace vondal::scroll {

inline constexpr size_t kCheckpointStep = 64;

// scroll takes its memory from the block allocator in blocks of 1,000,000 bytes.
inline constexpr size_t kScrollBlockSize = 1000000;

struct ScrollText {
  std::string_view content;          // the file's bytes without an end-of-file mark
  std::span<uint8_t> colors;         // one per line: attribute 0-15, + kMarked when marked
  std::span<size_t> checkpoints;     // where line n × kCheckpointStep starts
  char mode = 0;                     // colour mode: the one given, or the one detected
  bool letterFirst = false;          // mode "c": a line's first character is its colour letter
  std::unique_ptr<MappedFile> file;  // holds the bytes of a file that was read

  size_t count() const { return colors.size(); }
  // Line n (< count()) as it is shown and searched.
  std::string_view Line(size_t n) const;
};

// Reads lines one after another, from any line on: the way to go through many of them.
class LineWalker {
 public:
  LineWalker(const ScrollText& text, size_t first);
  bool AtEnd() const { return index_ >= text_.count(); }
  size_t index() const { return index_; }
  std::string_view line() const { return line_; }
  void Next();

 private:
  void Read();

  const ScrollText& text_;
  size_t index_;
  size_t pos_ = 0;  // where the line after the current one starts
  std::string_view line_;
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
