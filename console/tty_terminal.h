// The screen side of a real terminal: CP932 runs become UTF-8 text with SGR colours and cursor
// movements, collected in a buffer and written to a file descriptor on Sync.
//
// Attributes keep the console's colour order (0 black, 1 blue, 2 green, 3 cyan, 4 red,
// 5 magenta, 6 yellow, 7 white, +8 bright), mapped to the ANSI colours 30-37/90-97 and
// 40-47/100-107. Every two-byte character takes exactly two cells: when the terminal would draw
// its Unicode form one cell wide (□ ○ ※ ← ─ ① and the like), the cell after it is blanked and
// the cursor is placed explicitly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "console/terminal.h"

namespace vondal {

class TtyTerminal : public Terminal {
 public:
  explicit TtyTerminal(int fd);

  void DrawRun(int row, int col, std::string_view cp932, uint8_t attr) override;
  void MoveCursor(int row, int col) override;
  void ShowCursor(bool visible) override;
  void SetCursorSize(int size) override;
  void SetTitle(std::string_view cp932) override;
  void Bell() override;
  void Sync() override;
  void Clear() override;

  // Raw bytes for the terminal (mode switches of the session), written on the next Sync.
  void Send(std::string_view bytes) {
    out_.append(bytes);
    atRow_ = -1;
  }
  // Brings the drawing to the terminal, then writes `bytes` after it at once, leaving the
  // cursor wherever they put it (leaving the alternate screen puts back the user's cursor).
  void SyncThenSend(std::string_view bytes);
  // The terminal's state is unknown (it was handed to another program): colours and the cursor
  // are set again before the next drawing.
  void Forget();
  // Whether the cursor is meant to be visible (the session restores it after a hand-over).
  bool CursorVisible() const { return cursorVisible_; }
  // Whether the program has given the cursor a shape of its own: only then is the terminal's
  // own shape put back when the program leaves or hands the terminal to another program, so
  // that a shape the user chose stays as it was.
  bool CursorShapeSet() const { return cursorShapeSet_; }
  // Called when the program first gives the cursor a shape (the session then restores it too).
  std::function<void()> onCursorShapeSet;

  // Bytes written to the file descriptor so far.
  size_t BytesWritten() const { return bytesWritten_; }

 private:
  // The UTF-8 form of a character, found once and kept: every two-byte character has one
  // place in a flat table, so that drawing a screen full of them looks nothing up twice.
  struct Glyph {
    char utf8[6] = {};
    uint8_t length = 0;   // 0: not converted yet
    bool narrow = false;  // a two-byte character the terminal draws one cell wide
  };
  static_assert(sizeof(Glyph) == 8);
  // Found in the table, or converted there the first time.
  const Glyph& TwoByteGlyph(unsigned char lead, unsigned char trail) {
    const Glyph& glyph = glyphs_[(lead - 0x80) * 256 + trail];
    return glyph.length != 0 ? glyph : ConvertTwoByte(lead, trail);
  }
  const Glyph& ConvertTwoByte(unsigned char lead, unsigned char trail);
  // Any other byte: ASCII as it is, a frame glyph, a half-width katakana, or "?" for a byte that
  // is no character of its own.
  const Glyph& SingleByteGlyph(unsigned char c) {
    const Glyph& glyph = singles_[c];
    return glyph.length != 0 ? glyph : ConvertSingleByte(c);
  }
  const Glyph& ConvertSingleByte(unsigned char c);
  void AppendNumber(int number);
  void SetAttr(uint8_t attr);
  void AppendCursorTo(int row, int col);
  void AppendColumn(int col);
  void WriteOut();

  int fd_;
  std::string out_;
  std::vector<Glyph> glyphs_;  // by (lead - 0x80) * 256 + trail
  Glyph singles_[256];         // by byte
  int attr_ = -1;              // attribute the terminal has now; -1 unknown
  int atRow_ = -1;             // where the terminal's cursor stands while drawing; -1 unknown
  int atCol_ = 0;
  int cursorRow_ = 0;
  int cursorCol_ = 0;
  bool cursorVisible_ = true;
  int cursorShape_ = 0;
  bool cursorShapeSet_ = false;
  size_t bytesWritten_ = 0;
};

}  // namespace vondal
