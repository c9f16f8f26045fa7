// Cutting a text file into the lines scroll shows. A line ends at a line feed, which is not part
// of it, and so does a carriage return just before the line feed (CR LF and LF files read
// alike); the last line needs no line feed. A line longer than the line buffer is cut into
// pieces of at most kLineBuffer bytes, never inside a two-byte character, each piece a line of
// its own. An end-of-file mark (Ctrl+Z) as the very last byte, which DOS-era files carry, is no
// part of the text (WithoutEndMark).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "app/text/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Finds the line feeds of a text in order. The text is looked at 64 bytes at a time: the line
// feeds of a block become the bits of one word, so a walk over short lines takes each block once
// instead of searching anew from every line's start.
class LineFeedFinder {
 public:
  explicit LineFeedFinder(std::string_view content) : content_(content) {}

  // The offset of the first line feed in [from, limit) (limit <= the content's size), or npos.
  size_t Find(size_t from, size_t limit) {
    while (from < limit) {
      const size_t block = from & ~size_t{63};
      if (block != block_) {
        block_ = block;
        mask_ = Mask(block);
      }
      const uint64_t after = mask_ & (~uint64_t{0} << (from - block));
      if (after != 0) {
        const size_t at = block + __builtin_ctzll(after);
        return at < limit ? at : std::string_view::npos;
      }
      from = block + 64;
    }
    return std::string_view::npos;
  }

 private:
  // Bit k: byte block + k is a line feed (bytes past the end count as none).
  uint64_t Mask(size_t block) const {
    const char* const bytes = content_.data() + block;
    uint64_t mask = 0;
#if defined(__SSE2__)
    if (block + 64 <= content_.size()) {
      const __m128i lineFeeds = _mm_set1_epi8('\n');
      for (int part = 0; part < 4; ++part) {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
        const auto bits = static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, lineFeeds)));
        mask |= uint64_t{bits} << (16 * part);
      }
      return mask;
    }
#endif
    const size_t count = std::min<size_t>(64, content_.size() - block);
    for (size_t k = 0; k < count; ++k) {
      if (bytes[k] == '\n') mask |= uint64_t{1} << k;
    }
    return mask;
  }

  std::string_view content_;
  size_t block_ = std::string_view::npos;  // the block whose line feeds `mask_` holds
  uint64_t mask_ = 0;
};

// The line that starts at `pos` (< content.size()). Looks at no more than the line buffer and its
// line end, so a file of one huge line is read in time proportional to its size. A walk over
// many lines passes one `finder` of the content from line to line.
__attribute__((always_inline)) inline LinePiece NextLine(std::string_view content, size_t pos,
                                                         LineFeedFinder& finder) {
  const char* const data = content.data();
  const size_t window = std::min(content.size() - pos, kLineBuffer + 2);
  const size_t lineFeed = finder.Find(pos, pos + window);
  const bool found = lineFeed != std::string_view::npos;
  if (found || pos + window == content.size()) {
    size_t end = found ? lineFeed : content.size();
    const size_t next = found ? end + 1 : end;
    if (end > pos && data[end - 1] == '\r') --end;
    if (end - pos <= kLineBuffer) return {content.substr(pos, end - pos), next};
  }
  const size_t piece = CutAtCharacter(content.substr(pos, kLineBuffer + 1), kLineBuffer).size();
  return {content.substr(pos, piece), pos + piece};
}

inline LinePiece NextLine(std::string_view content, size_t pos) {
  LineFeedFinder finder(content);
  return NextLine(content, pos, finder);
}

// Calls f(std::string_view line) for every line of `content` (already without its end mark).
template <class F>
void ForEachLine(std::string_view content, F&& f) {
  LineFeedFinder finder(content);
  for (size_t pos = 0; pos < content.size();) {
    const LinePiece piece = NextLine(content, pos, finder);
    f(piece.text);
    pos = piece.next;
  }
}

}  // namespace vondal::scroll
