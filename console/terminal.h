// The output side of a terminal as the screen buffer and the menus see it. The real backend
// (console/tty_terminal.h) turns these calls into escape sequences; tests use a fake one
// (console/fake_terminal.h) that keeps a grid of cells.
#pragma once

#include <cstdint>
#include <string_view>

namespace vondal {

class Terminal {
 public:
  virtual ~Terminal() = default;

  // Draws whole characters of CP932 text from (row, col) in one attribute (low nibble
  // foreground, high nibble background). A two-byte character takes two cells, any other byte
  // one; the bytes 0x01-0x06 are the frame glyphs ─ │ ┌ ┐ └ ┘.
  virtual void DrawRun(int row, int col, std::string_view cp932, uint8_t attr) = 0;

  virtual void MoveCursor(int row, int col) = 0;
  virtual void ShowCursor(bool visible) = 0;
  // 1-100: the share of the cell the cursor fills; 0: the terminal's own cursor.
  virtual void SetCursorSize(int size) = 0;
  virtual void SetTitle(std::string_view cp932) = 0;
  virtual void Bell() = 0;

  // Everything drawn so far reaches the terminal; the cursor stands where it was last put.
  virtual void Sync() = 0;

  // Forget what the terminal shows (after a resize, a suspend or a child program): the next
  // drawing starts from a cleared terminal.
  virtual void Clear() = 0;
};

}  // namespace vondal
