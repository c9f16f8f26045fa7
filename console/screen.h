// The off-screen copy of the terminal. Drawing changes the buffer and marks rows as changed;
// Flush sends the changed rows to a Terminal. The buffer knows which cells hold the first and
// second byte of a two-byte character, and no operation leaves half of one: a broken half is
// shown as "~".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "console/terminal.h"

namespace vondal {

inline constexpr int kMaxScreenWidth = 200;
inline constexpr int kMaxScreenHeight = 80;
inline constexpr uint8_t kPlainAttr = 0x07;  // light grey on black

// What a cell holds.
enum CellKind : uint8_t { kSingleByte = 0, kFirstHalf = 1, kSecondHalf = 2 };

// Frame glyph sets, in the order horizontal, vertical, top-left, top-right, bottom-left,
// bottom-right.
enum class FrameGlyphSet { kAscii, kNone, kLine };

class Screen {
 public:
  // The bytes of the buffer of a screen of width × height cells (cut to 200 × 80): (3 × W + 13)
  // × H, holding three tables of H row offsets (characters, attributes, cell kinds; 4 bytes
  // each), the three planes of W × H cells and the H row states.
  static size_t BlockBytes(int width, int height);

  // A screen of width × height cells (cut to 200 × 80), blank in the plain attribute, every row
  // changed. With `block` (BlockBytes bytes, not owned, outliving the screen: the program takes
  // it from its local pool) the buffer lives there; without, the screen owns its buffer.
  Screen(int width, int height, unsigned char* block = nullptr);
  // A copy owns its buffer.
  Screen(const Screen& other);
  Screen& operator=(const Screen& other);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Bytes the buffer occupies (BlockBytes).
  size_t BufferBytes() const { return BlockBytes(width_, height_); }

  // Drawing. Each takes a row 0 ... H-1 and returns the column after what it drew.

  // Draws the bytes of `text` from `col` up to `limit` (exclusive, at most W). A byte below 32
  // shows as that byte + 64 in `ctrlAttr`; a two-byte character that does not fit before the
  // limit shows as "~". A character broken by the drawing on either side becomes "~". Nothing
  // is drawn for an empty text or a column at or beyond W.
  int PutText(std::string_view text, int row, int col, int limit, uint8_t attr, uint8_t ctrlAttr);
  int PutTextToEnd(std::string_view text, int row, int col, uint8_t attr, uint8_t ctrlAttr);
  // One byte (a frame glyph 0x01-0x06 is drawn as such).
  int PutChar(unsigned char c, int row, int col, uint8_t attr);

  void ClearRows(int firstRow, int lastRow);
  void ClearCells(int row, int firstCol, int lastCol);
  // Swaps foreground and background of the cells.
  void ReverseCells(int row, int firstCol, int lastCol);
  void ReverseRow(int row);
  // Rows first+1 ... last move up one row; `last` becomes blank. The rows' offsets move, not
  // their cells.
  void ScrollUp(int firstRow, int lastRow);
  // Rows first ... last-1 move down one row; `first` becomes blank.
  void ScrollDown(int firstRow, int lastRow);

  void SetFrameGlyphs(FrameGlyphSet set) { frameSet_ = set; }
  FrameGlyphSet FrameGlyphs() const { return frameSet_; }
  // Glyph i (0 horizontal ... 5 bottom-right) of the current set.
  unsigned char FrameGlyph(int i) const;
  void DrawBox(int top, int left, int bottom, int right, uint8_t attr);

  // Writes every changed row among 0 ... H-2 as runs of equal attribute and marks it written.
  // Row H-1 is never written and on row H-2 the last cell is left alone, so that the terminal
  // never scrolls.
  void Flush(Terminal& terminal);
  // Rows first ... last of a screen of the same size take the content of `other`'s rows.
  void CopyRowsFrom(const Screen& other, int firstRow, int lastRow);
  // Every row counts as changed again (the terminal lost what it showed).
  void MarkAllChanged();

  unsigned char CharAt(int row, int col) const { return Chars(row)[col]; }
  uint8_t AttrAt(int row, int col) const { return Attrs(row)[col]; }
  CellKind KindAt(int row, int col) const { return static_cast<CellKind>(Kinds(row)[col]); }
  bool RowChanged(int row) const { return States()[row] == kChanged; }
  // The bytes of a row as they stand (for tests and the information screen).
  std::string_view RowText(int row) const;

 private:
  enum RowState : uint8_t { kChanged = 0, kWritten = 1 };
  enum Plane { kCharPlane = 0, kAttrPlane = 1, kKindPlane = 2 };
  static constexpr size_t kOffsetBytes = 4;

  // Where the cells of `row` of a plane start in the block: the plane's row table says.
  uint32_t RowOffset(Plane plane, int row) const;
  void SetRowOffset(Plane plane, int row, uint32_t offset);
  unsigned char* Cells(Plane plane, int row) { return block_ + RowOffset(plane, row); }
  const unsigned char* Cells(Plane plane, int row) const { return block_ + RowOffset(plane, row); }
  unsigned char* Chars(int row) { return Cells(kCharPlane, row); }
  const unsigned char* Chars(int row) const { return Cells(kCharPlane, row); }
  uint8_t* Attrs(int row) { return Cells(kAttrPlane, row); }
  const uint8_t* Attrs(int row) const { return Cells(kAttrPlane, row); }
  uint8_t* Kinds(int row) { return Cells(kKindPlane, row); }
  const uint8_t* Kinds(int row) const { return Cells(kKindPlane, row); }
  uint8_t* States() { return block_ + 3 * kOffsetBytes * height_ + 3 * plane_; }
  const uint8_t* States() const { return block_ + 3 * kOffsetBytes * height_ + 3 * plane_; }

  // Lays out the block: row tables in row order, every cell blank, every row changed.
  void Initialize();
  // Row `from`'s offsets go to `to` and the rows between move one place towards `from`.
  void RotateRows(int from, int to);

  void Set(int row, int col, unsigned char c, uint8_t attr, CellKind kind);
  // Turns the half of a two-byte character that lies outside [firstCol, lastCol] into "~".
  void RepairEdges(int row, int firstCol, int lastCol);
  void CopyRow(const Screen& source, int from, int to);
  void BlankRow(int row);

  int width_;
  int height_;
  size_t plane_;  // W × H
  std::unique_ptr<unsigned char[]> owned_;
  unsigned char* block_;  // BlockBytes: the row tables, the three planes, the row states
  FrameGlyphSet frameSet_ = FrameGlyphSet::kLine;
};

}  // namespace vondal
