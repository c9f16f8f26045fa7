// Cutting a text file into the lines scroll shows. A line ends at a line feed, which is not part
// of it, and so does a carriage return just before the line feed (CR LF and LF files read
// alike); the last line needs no line feed. A line longer than the line buffer is cut into
// pieces of at most kLineBuffer bytes, never inside a two-byte character, each piece a line of
// its own. An end-of-file mark (Ctrl+Z) as the very last byte, which DOS-era files carry, is no
// part of the text (WithoutEndMark).
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "app/text/sjis.h"

namespace vondal::scroll {

// The longest line read and shown.
inline constexpr size_t kLineBuffer = 10000;

inline std::string_view WithoutEndMark(std::string_view content) {
  if (!content.empty() && content.back() == '\x1A') content.remove_suffix(1);
  return content;
}

struct LinePiece {
  std::string_view text;  // the line, a view into the content
  size_t next;            // where the next line starts
};

// The line that starts at `pos` (< content.size()). Looks at no more than the line buffer and its
// line end, so a file of one huge line is read in time proportional to its size.
inline LinePiece NextLine(std::string_view content, size_t pos) {
  const char* const data = content.data();
  const size_t window = std::min(content.size() - pos, kLineBuffer + 2);
  const void* lineFeed = std::memchr(data + pos, '\n', window);
  if (lineFeed != nullptr || pos + window == content.size()) {
    size_t end = lineFeed != nullptr ? static_cast<const char*>(lineFeed) - data : content.size();
    const size_t next = lineFeed != nullptr ? end + 1 : end;
    if (end > pos && data[end - 1] == '\r') --end;
    if (end - pos <= kLineBuffer) return {content.substr(pos, end - pos), next};
  }
  const size_t piece = CutAtCharacter(content.substr(pos, kLineBuffer + 1), kLineBuffer).size();
  return {content.substr(pos, piece), pos + piece};
}

// Calls f(std::string_view line) for every line of `content` (already without its end mark).
template <class F>
void ForEachLine(std::string_view content, F&& f) {
  for (size_t pos = 0; pos < content.size();) {
    const LinePiece piece = NextLine(content, pos);
    f(piece.text);
    pos = piece.next;
  }
}

}  // namespace vondal::scroll
