#include "console/tty_terminal.h"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cwchar>

#include "app/text/charset.h"
#include "app/text/sjis.h"

namespace vondal {
namespace {

// ANSI colour number of each console colour index.
constexpr int kAnsiColor[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// The frame glyphs 0x01-0x06 in UTF-8: ┌ ┐ └ ┘ │ ─ (escapes, since literals become CP932).
const char* const kFrameGlyphs[7] = {
    "", "\xE2\x94\x8C", "\xE2\x94\x90", "\xE2\x94\x94", "\xE2\x94\x98", "\xE2\x94\x82", "\xE2\x94\x80"};

// The first code point of a UTF-8 text.
wchar_t FirstCodePoint(const std::string& utf8) {
  if (utf8.empty()) return 0;
  auto c = static_cast<unsigned char>(utf8[0]);
  int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  wchar_t cp = length == 1 ? c : c & (0x3F >> (length - 1));
  for (int i = 1; i < length && i < static_cast<int>(utf8.size()); ++i) {
    cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
  }
  return cp;
}

// The width glibc gives a character in a UTF-8 locale, whatever the program's locale is.
int UnicodeWidth(wchar_t cp) {
  static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (utf8 == static_cast<locale_t>(0)) return 1;
  locale_t previous = uselocale(utf8);
  int width = wcwidth(cp);
  uselocale(previous);
  return width;
}

}  // namespace

TtyTerminal::TtyTerminal(int fd) : fd_(fd) {}

const TtyTerminal::Glyph& TtyTerminal::TwoByteGlyph(unsigned char lead, unsigned char trail) {
  if (glyphs_.empty()) glyphs_.resize(128 * 256);
  Glyph& glyph = glyphs_[(lead - 0x80) * 256 + trail];
  if (glyph.length != 0) return glyph;
  char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  std::string utf8 = Cp932ToUtf8(std::string_view(bytes, 2));
  if (utf8.empty() || utf8.size() > sizeof glyph.utf8) utf8 = "?";
  utf8.copy(glyph.utf8, utf8.size());
  glyph.length = static_cast<uint8_t>(utf8.size());
  glyph.narrow = UnicodeWidth(FirstCodePoint(utf8)) != 2;
  return glyph;
}

void TtyTerminal::AppendSingleByte(unsigned char c) {
  if (c >= 0x20 && c < 0x7F) {
    out_.push_back(static_cast<char>(c));
  } else if (c >= 0x01 && c <= 0x06) {
    out_.append(kFrameGlyphs[c]);
  } else if (IsHalfWidthKana(c)) {
    Glyph& kana = kana_[c - 0xA0];
    if (kana.length == 0) {
      char byte = static_cast<char>(c);
      std::string utf8 = Cp932ToUtf8(std::string_view(&byte, 1));
      if (utf8.empty() || utf8.size() > sizeof kana.utf8) utf8 = "?";
      utf8.copy(kana.utf8, utf8.size());
      kana.length = static_cast<uint8_t>(utf8.size());
    }
    out_.append(kana.utf8, kana.length);
  } else {
    out_.push_back('?');  // no character of its own: a stray byte drawn by PutChar
  }
}

void TtyTerminal::SetAttr(uint8_t attr) {
  if (attr_ == attr) return;
  int fg = attr & 0x0F;
  int bg = attr >> 4;
  out_.append("\x1b[");
  out_.append(std::to_string((fg >= 8 ? 90 : 30) + kAnsiColor[fg & 7]));
  out_.push_back(';');
  out_.append(std::to_string((bg >= 8 ? 100 : 40) + kAnsiColor[bg & 7]));
  out_.push_back('m');
  attr_ = attr;
}

void TtyTerminal::AppendCursorTo(int row, int col) {
  out_.append("\x1b[");
  out_.append(std::to_string(row + 1));
  out_.push_back(';');
  out_.append(std::to_string(col + 1));
  out_.push_back('H');
}

void TtyTerminal::AppendColumn(int col) {
  out_.append("\x1b[");
  out_.append(std::to_string(col + 1));
  out_.push_back('G');
}

void TtyTerminal::DrawRun(int row, int col, std::string_view cp932, uint8_t attr) {
  if (row != atRow_ || col != atCol_) AppendCursorTo(row, col);
  SetAttr(attr);
  size_t i = 0;
  while (i < cp932.size()) {
    auto c = static_cast<unsigned char>(cp932[i]);
    if (c >= 0x20 && c < 0x7F) {
      // A run of plain ASCII goes out as it is.
      size_t end = i + 1;
      while (end < cp932.size() && cp932[end] >= 0x20 && cp932[end] < 0x7F) ++end;
      out_.append(cp932.substr(i, end - i));
      col += static_cast<int>(end - i);
      i = end;
    } else if (IsLeadByte(c) && i + 1 < cp932.size()) {
      const Glyph& glyph = TwoByteGlyph(c, static_cast<unsigned char>(cp932[i + 1]));
      if (glyph.narrow) {
        // Blank the second cell, draw the character in the first, step past both.
        AppendColumn(col + 1);
        out_.push_back(' ');
        AppendColumn(col);
        out_.append(glyph.utf8, glyph.length);
        AppendColumn(col + 2);
      } else {
        out_.append(glyph.utf8, glyph.length);
      }
      col += 2;
      i += 2;
    } else {
      AppendSingleByte(c);
      ++col;
      ++i;
    }
  }
  // Without automatic wrapping the cursor stops at the last column instead of passing it.
  atRow_ = row;
  atCol_ = col;
}

void TtyTerminal::MoveCursor(int row, int col) {
  cursorRow_ = row;
  cursorCol_ = col;
}

void TtyTerminal::ShowCursor(bool visible) {
  cursorVisible_ = visible;
  out_.append(visible ? "\x1b[?25h" : "\x1b[?25l");
}

void TtyTerminal::SetCursorSize(int size) {
  // 0: the terminal's own shape; a large share of the cell is a block, a small one an underline.
  cursorShape_ = size;
  out_.append(size == 0 ? "\x1b[0 q" : size >= 50 ? "\x1b[2 q" : "\x1b[4 q");
}

void TtyTerminal::SetTitle(std::string_view cp932) {
  std::string title = Cp932ToUtf8(cp932);
  for (char& c : title) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  out_.append("\x1b]0;");
  out_.append(title);
  out_.push_back('\x07');
}

void TtyTerminal::Bell() { out_.push_back('\x07'); }

void TtyTerminal::Sync() {
  AppendCursorTo(cursorRow_, cursorCol_);
  atRow_ = cursorRow_;
  atCol_ = cursorCol_;
  WriteOut();
}

void TtyTerminal::SyncThenSend(std::string_view bytes) {
  Sync();
  out_.append(bytes);
  atRow_ = -1;
  WriteOut();
}

void TtyTerminal::WriteOut() {
  size_t done = 0;
  while (done < out_.size()) {
    ssize_t n = write(fd_, out_.data() + done, out_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the terminal is gone; nothing more can be shown
    done += n;
  }
  bytesWritten_ += done;
  out_.clear();
}

void TtyTerminal::Clear() {
  out_.append("\x1b[0m\x1b[2J");
  attr_ = -1;
  atRow_ = -1;
}

void TtyTerminal::Forget() {
  attr_ = -1;
  atRow_ = -1;
  ShowCursor(cursorVisible_);
  SetCursorSize(cursorShape_);
}

}  // namespace vondal
