#include "tools/scroll/line_cells.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/text/sjis.h"

namespace vondal::scroll {
namespace {

// The display characters: a two-byte character cut at an edge, the first cell of a tab (its
// other cells are blank), a control character, a byte that is no character.
constexpr char kCut = '~';
constexpr char kTabFirst = static_cast<char>(0xA5);  // "･"
constexpr char kControl = '^';
constexpr char kNoCharacter = '?';

// A byte shown as it is in one cell: printable ASCII and half-width katakana.
constexpr bool IsPlain(unsigned char c) { return (c >= 0x20 && c < 0x7F) || IsHalfWidthKana(c); }

char SingleCell(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return kControl;
  return kNoCharacter;  // 0x80, 0xA0, 0xFD-0xFF, a lead byte without its second byte
}

// What a byte is to the copy of plain text: shown as it is, the first of two bytes shown as they
// are, or anything else (a tab, a control character, a byte that is no character).
enum ByteClass : unsigned char { kOtherByte, kPlainByte, kLeadByte };

constexpr std::array<ByteClass, 256> kByteClasses = [] {
  std::array<ByteClass, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    if (IsPlain(static_cast<unsigned char>(c))) classes[c] = kPlainByte;
    if (IsLeadByte(static_cast<unsigned char>(c))) classes[c] = kLeadByte;
  }
  return classes;
}();

// How far the line from byte i (column col) consists of characters that are shown as they are
// and lie wholly before column `to`: the byte and the column after them.
void PlainStretch(std::string_view line, size_t& i, int& col, int to) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  while (i < line.size() && col < to) {
    const ByteClass byteClass = kByteClasses[bytes[i]];
    if (byteClass == kPlainByte) {
      ++i;
      ++col;
    } else if (byteClass == kLeadByte && i + 1 < line.size() && col + 1 < to) {
      i += 2;
      col += 2;
    } else {
      return;
    }
  }
}

}  // namespace

void AppendColumns(std::string_view line, int from, int to, std::string* out) {
  // Blanks first: what the line does not reach stays blank. Column k goes to cells[k - from].
  const size_t start = out->size();
  out->resize(start + std::max(to - from, 0), ' ');
  char* const cells = out->data() + start;
  int col = 0;
  for (size_t i = 0; i < line.size() && col < to;) {
    if (col >= from) {
      // Most of a line is shown as it is: byte for cell, copied in one piece.
      const size_t first = i;
      const int firstCol = col;
      PlainStretch(line, i, col, to);
      std::memcpy(cells + (firstCol - from), line.data() + first, i - first);
      if (i >= line.size() || col >= to) break;
    }
    const auto c = static_cast<unsigned char>(line[i]);
    if (IsPlain(c)) {
      // A run of plain characters is copied as it is, as far as it is shown.
      const size_t limit = std::min(line.size(), i + (to - col));
      size_t end = i + 1;
      while (end < limit && IsPlain(static_cast<unsigned char>(line[end]))) ++end;
      const int runEnd = col + static_cast<int>(end - i);
      const int shownFrom = std::max(col, from);
      if (shownFrom < runEnd)
        std::memcpy(cells + (shownFrom - from), line.data() + i + (shownFrom - col), runEnd - shownFrom);
      col = runEnd;
      i = end;
    } else if (c == '\t') {
      const int next = (col / kTabWidth + 1) * kTabWidth;
      if (col >= from) cells[col - from] = kTabFirst;  // the other cells are blank already
      col = next;
      ++i;
    } else if (CharLength(line, i) == 2) {
      const bool firstShown = col >= from;
      const bool secondShown = col + 1 >= from && col + 1 < to;
      if (firstShown && secondShown) {
        cells[col - from] = line[i];
        cells[col + 1 - from] = line[i + 1];
      } else if (firstShown) {
        cells[col - from] = kCut;
      } else if (secondShown) {
        cells[col + 1 - from] = kCut;
      }
      col += 2;
      i += 2;
    } else {
      if (col >= from) cells[col - from] = SingleCell(c);
      ++col;
      ++i;
    }
  }
}

void AppendCells(std::string_view line, int offset, int fixed, int width, std::string* out) {
  if (offset <= 0) {
    AppendColumns(line, 0, width, out);
    return;
  }
  AppendColumns(line, 0, fixed, out);
  out->push_back('|');
  const int from = offset + fixed;
  AppendColumns(line, from, from + width - fixed - 1, out);
}

std::string LineCells(std::string_view line, int offset, int fixed, int width) {
  std::string cells;
  AppendCells(line, offset, fixed, width, &cells);
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
