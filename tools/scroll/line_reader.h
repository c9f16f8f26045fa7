// Cutting a text file into the lines scroll shows. A line ends at a line feed, which is not part
// of it, and so does a carriage return just before the line feed (CR LF and LF files read
// alike). A line longer than the line buffer is cut into pieces of at most kLineBuffer bytes,
// never inside a two-byte character. A final line without a line feed counts; an end-of-file
// mark (Ctrl+Z) as the very last byte, which DOS-era files carry, does not.
#pragma once

#include <cstring>
#include <string_view>

#include "app/text/sjis.h"

namespace vondal::scroll {

// The longest line read and shown.
inline constexpr size_t kLineBuffer = 10000;

// Calls f(std::string_view line) for every line of `content`, in order. The views point into
// `content`.
template <class F>
void ForEachLine(std::string_view content, F&& f) {
  if (!content.empty() && content.back() == '\x1A') content.remove_suffix(1);
  const char* const data = content.data();
  size_t pos = 0;
  while (pos < content.size()) {
    const void* lineFeed = std::memchr(data + pos, '\n', content.size() - pos);
    size_t end = lineFeed != nullptr ? static_cast<const char*>(lineFeed) - data : content.size();
    const size_t next = lineFeed != nullptr ? end + 1 : end;
    if (end > pos && data[end - 1] == '\r') --end;
    std::string_view line(data + pos, end - pos);
    while (line.size() > kLineBuffer) {
      size_t piece = CutAtCharacter(line, kLineBuffer).size();
      f(line.substr(0, piece));
      line.remove_prefix(piece);
    }
    f(line);
    pos = next;
  }
}

// The number of lines ForEachLine gives.
inline size_t CountLines(std::string_view content) {
  size_t count = 0;
  ForEachLine(content, [&count](std::string_view) { ++count; });
  return count;
}

}  // namespace vondal::scroll
