#include "console/screen.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>

#include "app/text/sjis.h"

namespace vondal {
namespace {

constexpr unsigned char kBroken = '~';

// Horizontal, vertical, top-left, top-right, bottom-left, bottom-right.
constexpr unsigned char kAsciiGlyphs[6] = {'-', '|', '+', '+', '+', '+'};
constexpr unsigned char kLineGlyphs[6] = {0x06, 0x05, 0x01, 0x02, 0x03, 0x04};

}  // namespace

Screen::Screen(int width, int height)
    : width_(std::clamp(width, 1, kMaxScreenWidth)),
      height_(std::clamp(height, 1, kMaxScreenHeight)),
      plane_(static_cast<size_t>(width_) * height_),
      cells_(3 * plane_),
      states_(height_, kChanged) {
  std::memset(cells_.data(), ' ', plane_);
  std::memset(cells_.data() + plane_, kPlainAttr, plane_);
  std::memset(cells_.data() + 2 * plane_, kSingleByte, plane_);
}

void Screen::Set(int row, int col, unsigned char c, uint8_t attr, CellKind kind) {
  Chars(row)[col] = c;
  Attrs(row)[col] = attr;
  Kinds(row)[col] = kind;
}

void Screen::RepairEdges(int row, int firstCol, int lastCol) {
  uint8_t* kinds = Kinds(row);
  if (firstCol > 0 && kinds[firstCol] == kSecondHalf) {
    Chars(row)[firstCol - 1] = kBroken;
    kinds[firstCol - 1] = kSingleByte;
  }
  if (lastCol + 1 < width_ && kinds[lastCol + 1] == kSecondHalf) {
    Chars(row)[lastCol + 1] = kBroken;
    kinds[lastCol + 1] = kSingleByte;
  }
}

int Screen::PutText(std::string_view text, int row, int col, int limit, uint8_t attr, uint8_t ctrlAttr) {
  assert(row >= 0 && row < height_);
  if (text.empty() || col >= width_ || col < 0) return col;
  limit = std::min(limit, width_);
  if (col >= limit) return col;
  int start = col;
  RepairEdges(row, col, col);  // the cell before may hold the first half of what we overwrite
  size_t i = 0;
  while (i < text.size() && col < limit) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 32) {
      Set(row, col++, c + 64, ctrlAttr, kSingleByte);
      ++i;
    } else if (IsLeadByte(c)) {
      if (i + 1 < text.size() && col + 1 < limit) {
        Set(row, col, c, attr, kFirstHalf);
        Set(row, col + 1, static_cast<unsigned char>(text[i + 1]), attr, kSecondHalf);
        col += 2;
      } else {
        Set(row, col++, kBroken, attr, kSingleByte);
      }
      i += 2;
    } else {
      Set(row, col++, c, attr, kSingleByte);
      ++i;
    }
  }
  RepairEdges(row, start, col - 1);
  states_[row] = kChanged;
  return col;
}

int Screen::PutTextToEnd(std::string_view text, int row, int col, uint8_t attr, uint8_t ctrlAttr) {
  return PutText(text, row, col, width_, attr, ctrlAttr);
}

int Screen::PutChar(unsigned char c, int row, int col, uint8_t attr) {
  assert(row >= 0 && row < height_);
  if (col < 0 || col >= width_) return col;
  RepairEdges(row, col, col);
  Set(row, col, c, attr, kSingleByte);
  states_[row] = kChanged;
  return col + 1;
}

void Screen::BlankRow(int row) {
  std::memset(Chars(row), ' ', width_);
  std::memset(Attrs(row), kPlainAttr, width_);
  std::memset(Kinds(row), kSingleByte, width_);
  states_[row] = kChanged;
}

void Screen::ClearRows(int firstRow, int lastRow) {
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, height_ - 1);
  for (int row = firstRow; row <= lastRow; ++row) BlankRow(row);
}

void Screen::ClearCells(int row, int firstCol, int lastCol) {
  firstCol = std::max(firstCol, 0);
  lastCol = std::min(lastCol, width_ - 1);
  if (firstCol > lastCol) return;
  RepairEdges(row, firstCol, lastCol);
  size_t count = lastCol - firstCol + 1;
  std::memset(Chars(row) + firstCol, ' ', count);
  std::memset(Attrs(row) + firstCol, kPlainAttr, count);
  std::memset(Kinds(row) + firstCol, kSingleByte, count);
  states_[row] = kChanged;
}

void Screen::ReverseCells(int row, int firstCol, int lastCol) {
  firstCol = std::max(firstCol, 0);
  lastCol = std::min(lastCol, width_ - 1);
  uint8_t* attrs = Attrs(row);
  for (int col = firstCol; col <= lastCol; ++col) {
    attrs[col] = static_cast<uint8_t>((attrs[col] << 4) | (attrs[col] >> 4));
  }
  states_[row] = kChanged;
}

void Screen::ReverseRow(int row) { ReverseCells(row, 0, width_ - 1); }

void Screen::CopyRow(const Screen& source, int from, int to) {
  std::memcpy(Chars(to), source.Chars(from), width_);
  std::memcpy(Attrs(to), source.Attrs(from), width_);
  std::memcpy(Kinds(to), source.Kinds(from), width_);
  states_[to] = kChanged;
}

void Screen::CopyRowsFrom(const Screen& other, int firstRow, int lastRow) {
  assert(other.width_ == width_ && other.height_ == height_);
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, height_ - 1);
  for (int row = firstRow; row <= lastRow; ++row) CopyRow(other, row, row);
}

void Screen::ScrollUp(int firstRow, int lastRow) {
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, height_ - 1);
  if (firstRow > lastRow) return;
  for (int row = firstRow; row < lastRow; ++row) CopyRow(*this, row + 1, row);
  BlankRow(lastRow);
}

void Screen::ScrollDown(int firstRow, int lastRow) {
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, height_ - 1);
  if (firstRow > lastRow) return;
  for (int row = lastRow; row > firstRow; --row) CopyRow(*this, row - 1, row);
  BlankRow(firstRow);
}

unsigned char Screen::FrameGlyph(int i) const {
  switch (frameSet_) {
    case FrameGlyphSet::kAscii:
      return kAsciiGlyphs[i];
    case FrameGlyphSet::kNone:
      return ' ';
    case FrameGlyphSet::kLine:
      return kLineGlyphs[i];
  }
  return ' ';
}

void Screen::DrawBox(int top, int left, int bottom, int right, uint8_t attr) {
  if (top > bottom || left > right) return;
  for (int col = left + 1; col < right; ++col) {
    PutChar(FrameGlyph(0), top, col, attr);
    PutChar(FrameGlyph(0), bottom, col, attr);
  }
  for (int row = top + 1; row < bottom; ++row) {
    PutChar(FrameGlyph(1), row, left, attr);
    PutChar(FrameGlyph(1), row, right, attr);
  }
  PutChar(FrameGlyph(2), top, left, attr);
  PutChar(FrameGlyph(3), top, right, attr);
  PutChar(FrameGlyph(4), bottom, left, attr);
  PutChar(FrameGlyph(5), bottom, right, attr);
}

void Screen::Flush(Terminal& terminal) {
  std::string run;
  for (int row = 0; row + 1 < height_; ++row) {
    if (states_[row] != kChanged) continue;
    // The last cell of row H-2 stays untouched: writing it would scroll some terminals.
    int written = row + 2 == height_ ? width_ - 1 : width_;
    const unsigned char* chars = Chars(row);
    const uint8_t* attrs = Attrs(row);
    const uint8_t* kinds = Kinds(row);
    int col = 0;
    while (col < written) {
      int start = col;
      uint8_t attr = attrs[col];
      run.clear();
      // A two-byte character belongs to the run of its first half, whatever its second half's
      // attribute says.
      while (col < written && (attrs[col] == attr || col == start)) {
        if (kinds[col] == kFirstHalf && col + 1 < written) {
          run.push_back(static_cast<char>(chars[col]));
          run.push_back(static_cast<char>(chars[col + 1]));
          col += 2;
        } else if (kinds[col] == kSingleByte) {
          run.push_back(static_cast<char>(chars[col]));
          ++col;
        } else {
          run.push_back(static_cast<char>(kBroken));  // a half cut off by the written width
          ++col;
        }
      }
      terminal.DrawRun(row, start, run, attr);
    }
    states_[row] = kWritten;
  }
}

void Screen::MarkAllChanged() { std::fill(states_.begin(), states_.end(), kChanged); }

std::string_view Screen::RowText(int row) const {
  return std::string_view(reinterpret_cast<const char*>(Chars(row)), width_);
}

}  // namespace vondal
