#include "tools/scroll/line_cells.h"

#include <algorithm>

#include "app/text/sjis.h"

namespace vondal::scroll {
namespace {

// The display characters: a two-byte character cut at an edge, the first and the other cells of
// a tab, a control character, a byte that is no character.
constexpr char kCut = '~';
constexpr char kTabFirst = static_cast<char>(0xA5);  // "･"
constexpr char kTabRest = ' ';
constexpr char kControl = '^';
constexpr char kNoCharacter = '?';

char SingleCell(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return kControl;
  if (c < 0x7F || IsHalfWidthKana(c)) return static_cast<char>(c);
  return kNoCharacter;  // 0x80, 0xA0, 0xFD-0xFF, a lead byte without its second byte
}

}  // namespace

void AppendColumns(std::string_view line, int from, int to, std::string* out) {
  int col = 0;
  size_t i = 0;
  while (i < line.size() && col < to) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == '\t') {
      const int next = (col / kTabWidth + 1) * kTabWidth;
      for (int k = std::max(col, from); k < std::min(next, to); ++k)
        out->push_back(k == col ? kTabFirst : kTabRest);
      col = next;
      ++i;
    } else if (CharLength(line, i) == 2) {
      const bool firstShown = col >= from;
      const bool secondShown = col + 1 >= from && col + 1 < to;
      if (firstShown && secondShown) {
        out->append(line.substr(i, 2));
      } else if (firstShown || secondShown) {
        out->push_back(kCut);
      }
      col += 2;
      i += 2;
    } else {
      if (col >= from) out->push_back(SingleCell(c));
      ++col;
      ++i;
    }
  }
  for (int k = std::max(col, from); k < to; ++k) out->push_back(' ');
}

std::string LineCells(std::string_view line, int offset, int fixed, int width) {
  std::string cells;
  cells.reserve(width);
  if (offset <= 0) {
    AppendColumns(line, 0, width, &cells);
    return cells;
  }
  AppendColumns(line, 0, fixed, &cells);
  cells.push_back('|');
  const int from = offset + fixed;
  AppendColumns(line, from, from + width - fixed - 1, &cells);
  return cells;
}

int ExpandedWidth(std::string_view line) {
  int col = 0;
  for (size_t i = 0; i < line.size();) {
    if (line[i] == '\t') {
      col = (col / kTabWidth + 1) * kTabWidth;
      ++i;
    } else {
      const size_t length = CharLength(line, i);
      col += static_cast<int>(length);
      i += length;
    }
  }
  return col;
}

}  // namespace vondal::scroll
