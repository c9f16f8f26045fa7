#include "console/tty_terminal.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstring>
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

const TtyTerminal::Glyph& TtyTerminal::ConvertTwoByte(unsigned char lead, unsigned char trail) {
  Glyph& glyph = glyphs_[(lead - 0x80) * 256 + trail];
  char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  std::string utf8 = Cp932ToUtf8(std::string_view(bytes, 2));
  if (utf8.empty() || utf8.size() > sizeof glyph.utf8) utf8 = "?";
  utf8.copy(glyph.utf8, utf8.size());
  glyph.length = static_cast<uint8_t>(utf8.size());
  glyph.narrow = UnicodeWidth(FirstCodePoint(utf8)) != 2;
  return glyph;
}

const TtyTerminal::Glyph& TtyTerminal::ConvertSingleByte(unsigned char c) {
  Glyph& glyph = singles_[c];
  std::string utf8 = "?";  // no character of its own: a stray byte drawn by PutChar
  if (c >= 0x20 && c < 0x7F) {
    utf8 = std::string(1, static_cast<char>(c));
  } else if (c >= 0x01 && c <= 0x06) {
    utf8 = kFrameGlyphs[c];
  } else if (IsHalfWidthKana(c)) {
    const char byte = static_cast<char>(c);
    utf8 = Cp932ToUtf8(std::string_view(&byte, 1));
    if (utf8.empty() || utf8.size() > sizeof glyph.utf8) utf8 = "?";
  }
  utf8.copy(glyph.utf8, utf8.size());
  glyph.length = static_cast<uint8_t>(utf8.size());
  return glyph;
}

void TtyTerminal::AppendNumber(int number) {
  char digits[12];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, number);
  out_.append(digits, end.ptr);
}

void TtyTerminal::SetAttr(uint8_t attr) {
  if (attr_ == attr) return;
  int fg = attr & 0x0F;
  int bg = attr >> 4;
  out_.append("\x1b[");
  AppendNumber((fg >= 8 ? 90 : 30) + kAnsiColor[fg & 7]);
  out_.push_back(';');
  AppendNumber((bg >= 8 ? 100 : 40) + kAnsiColor[bg & 7]);
  out_.push_back('m');
  attr_ = attr;
}

void TtyTerminal::AppendCursorTo(int row, int col) {
  out_.append("\x1b[");
  AppendNumber(row + 1);
  out_.push_back(';');
  AppendNumber(col + 1);
  out_.push_back('H');
}

void TtyTerminal::AppendColumn(int col) {
  out_.append("\x1b[");
  AppendNumber(col + 1);
  out_.push_back('G');
}

void TtyTerminal::DrawRun(int row, int col, std::string_view cp932, uint8_t attr) {
  if (row != atRow_ || col != atCol_) AppendCursorTo(row, col);
  SetAttr(attr);
  if (glyphs_.empty()) glyphs_.resize(128 * 256);
  // The UTF-8 is gathered in a buffer on the stack and goes to the output in few pieces: a glyph
  // is copied as one word (Glyph is 8 bytes) and the buffer advanced by its length.
  constexpr size_t kGather = 512;
  char gathered[kGather + sizeof(Glyph)];
  size_t used = 0;
  auto put = [&](const Glyph& glyph) {
    std::memcpy(gathered + used, &glyph, sizeof glyph);
    used += glyph.length;
  };
  const auto* bytes = reinterpret_cast<const unsigned char*>(cp932.data());
  size_t i = 0;
  while (i < cp932.size()) {
    if (used >= kGather) {
      out_.append(gathered, used);
      used = 0;
    }
    const unsigned char c = bytes[i];
    if (c >= 0x20 && c < 0x7F) {
      // A run of plain ASCII goes out as it is.
      const size_t length = PrintableAsciiRun(cp932.substr(i));
      const size_t end = i + length;
      if (used + length <= kGather) {
        std::memcpy(gathered + used, bytes + i, length);
        used += length;
      } else {
        out_.append(gathered, used);
        out_.append(cp932.substr(i, length));
        used = 0;
      }
      col += static_cast<int>(length);
      i = end;
    } else if (IsLeadByte(c) && i + 1 < cp932.size()) {
      const Glyph& glyph = TwoByteGlyph(c, bytes[i + 1]);
      if (glyph.narrow) {
        // Blank the second cell, draw the character in the first, step past both.
        out_.append(gathered, used);
        used = 0;
        AppendColumn(col + 1);
        out_.push_back(' ');
        AppendColumn(col);
        out_.append(glyph.utf8, glyph.length);
        AppendColumn(col + 2);
      } else {
        put(glyph);
      }
      col += 2;
      i += 2;
    } else {
      put(SingleByteGlyph(c));
      ++col;
      ++i;
    }
  }
  out_.append(gathered, used);
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
  if (size == 0 && !cursorShapeSet_) return;  // never changed: nothing to put back
  out_.append(size == 0 ? "\x1b[0 q" : size >= 50 ? "\x1b[2 q" : "\x1b[4 q");
  if (size != 0 && !cursorShapeSet_) {
    cursorShapeSet_ = true;
    if (onCursorShapeSet) onCursorShapeSet();
  }
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
