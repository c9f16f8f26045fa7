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

size_t Screen::BlockBytes(int width, int height) {
  const size_t w = std::clamp(width, 1, kMaxScreenWidth);
  const size_t h = std::clamp(height, 1, kMaxScreenHeight);
  return (3 * w + 3 * kOffsetBytes + 1) * h;
}

Screen::Screen(int width, int height, unsigned char* block)
    : width_(std::clamp(width, 1, kMaxScreenWidth)),
      height_(std::clamp(height, 1, kMaxScreenHeight)),
      plane_(static_cast<size_t>(width_) * height_),
      owned_(block == nullptr ? new unsigned char[BlockBytes(width_, height_)] : nullptr),
      block_(block == nullptr ? owned_.get() : block) {
  Initialize();
}

Screen::Screen(const Screen& other)
    : width_(other.width_),
      height_(other.height_),
      plane_(other.plane_),
      owned_(new unsigned char[other.BufferBytes()]),
      block_(owned_.get()),
      frameSet_(other.frameSet_) {
  std::memcpy(block_, other.block_, BufferBytes());  // the row offsets hold in the copy too
}

Screen& Screen::operator=(const Screen& other) {
  if (this == &other) return *this;
  if (other.width_ != width_ || other.height_ != height_) {
    width_ = other.width_;
    height_ = other.height_;
    plane_ = other.plane_;
    owned_.reset(new unsigned char[other.BufferBytes()]);
    block_ = owned_.get();
  }
  std::memcpy(block_, other.block_, BufferBytes());
  frameSet_ = other.frameSet_;
  return *this;
}

uint32_t Screen::RowOffset(Plane plane, int row) const {
  uint32_t offset;
  std::memcpy(&offset, block_ + (plane * static_cast<size_t>(height_) + row) * kOffsetBytes, kOffsetBytes);
  return offset;
}

void Screen::SetRowOffset(Plane plane, int row, uint32_t offset) {
  std::memcpy(block_ + (plane * static_cast<size_t>(height_) + row) * kOffsetBytes, &offset, kOffsetBytes);
}

void Screen::Initialize() {
  const size_t planes = 3 * kOffsetBytes * height_;
  for (Plane plane : {kCharPlane, kAttrPlane, kKindPlane}) {
    for (int row = 0; row < height_; ++row) {
      SetRowOffset(plane, row,
                   static_cast<uint32_t>(planes + plane * plane_ + static_cast<size_t>(row) * width_));
    }
  }
  std::memset(block_ + planes, ' ', plane_);
  std::memset(block_ + planes + plane_, kPlainAttr, plane_);
  std::memset(block_ + planes + 2 * plane_, kSingleByte, plane_);
  std::memset(States(), kChanged, height_);
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
  States()[row] = kChanged;
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
  States()[row] = kChanged;
  return col + 1;
}

void Screen::BlankRow(int row) {
  std::memset(Chars(row), ' ', width_);
  std::memset(Attrs(row), kPlainAttr, width_);
  std::memset(Kinds(row), kSingleByte, width_);
  States()[row] = kChanged;
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
  States()[row] = kChanged;
}

void Screen::ReverseCells(int row, int firstCol, int lastCol) {
  firstCol = std::max(firstCol, 0);
  lastCol = std::min(lastCol, width_ - 1);
  uint8_t* attrs = Attrs(row);
  for (int col = firstCol; col <= lastCol; ++col) {
    attrs[col] = static_cast<uint8_t>((attrs[col] << 4) | (attrs[col] >> 4));
  }
  States()[row] = kChanged;
}

void Screen::ReverseRow(int row) { ReverseCells(row, 0, width_ - 1); }

void Screen::CopyRow(const Screen& source, int from, int to) {
  std::memcpy(Chars(to), source.Chars(from), width_);
  std::memcpy(Attrs(to), source.Attrs(from), width_);
  std::memcpy(Kinds(to), source.Kinds(from), width_);
  States()[to] = kChanged;
}

void Screen::CopyRowsFrom(const Screen& other, int firstRow, int lastRow) {
  assert(other.width_ == width_ && other.height_ == height_);
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, height_ - 1);
  for (int row = firstRow; row <= lastRow; ++row) CopyRow(other, row, row);
}

void Screen::RotateRows(int from, int to) {
  const int step = from < to ? 1 : -1;
  for (Plane plane : {kCharPlane, kAttrPlane, kKindPlane}) {
    const uint32_t moving = RowOffset(plane, from);
    for (int row = from; row != to; row += step) SetRowOffset(plane, row, RowOffset(plane, row + step));
    SetRowOffset(plane, to, moving);
  }
  for (int row = std::min(from, to); row <= std::max(from, to); ++row) States()[row] = kChanged;
}

void Screen::ScrollUp(int firstRow, int lastRow) {
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, height_ - 1);
  if (firstRow > lastRow) return;
  RotateRows(firstRow, lastRow);
  BlankRow(lastRow);
}

void Screen::ScrollDown(int firstRow, int lastRow) {
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, height_ - 1);
  if (firstRow > lastRow) return;
  RotateRows(lastRow, firstRow);
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
    if (States()[row] != kChanged) continue;
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
    States()[row] = kWritten;
  }
}

void Screen::MarkAllChanged() { std::memset(States(), kChanged, height_); }

std::string_view Screen::RowText(int row) const {
  return std::string_view(reinterpret_cast<const char*>(Chars(row)), width_);
}

}  // namespace vondal
