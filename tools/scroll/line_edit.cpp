#include "tools/scroll/line_edit.h"

#include "app/text/sjis.h"

namespace vondal::scroll {

LineEdit::LineEdit(std::string_view initial, size_t maxBytes)
    : text_(CutAtCharacter(initial, maxBytes)), maxBytes_(maxBytes), cursor_(text_.size()) {}

size_t LineEdit::Previous(size_t pos) const { return pos == 0 ? 0 : PrevCharStart(text_, pos); }
size_t LineEdit::Next(size_t pos) const { return pos >= text_.size() ? pos : pos + CharLength(text_, pos); }

void LineEdit::Insert(int code) {
  char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  std::string_view character = code > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
  if (text_.size() + character.size() > maxBytes_) return;
  text_.insert(cursor_, character);
  cursor_ += character.size();
}

bool LineEdit::Apply(const KeyEvent& key) {
  const int code = key.code;
  if (code >= kExtendedKey) {
    switch (code - kExtendedKey) {
      case scan::kLeft:
        cursor_ = key.shift ? 0 : Previous(cursor_);
        return true;
      case scan::kRight:
        cursor_ = key.shift ? text_.size() : Next(cursor_);
        return true;
      case scan::kHome:
        cursor_ = 0;
        return true;
      case scan::kEnd:
        cursor_ = text_.size();
        return true;
      case scan::kDel:
        text_.erase(cursor_, key.shift ? text_.size() - cursor_ : Next(cursor_) - cursor_);
        return true;
      default:
        return false;
    }
  }
  if (code == 8) {
    const size_t from = key.shift ? 0 : Previous(cursor_);
    text_.erase(from, cursor_ - from);
    cursor_ = from;
    return true;
  }
  const bool twoByte = code > 0xFF && IsLeadByte(static_cast<unsigned char>(code >> 8));
  const bool printable = (code >= 0x20 && code < 0x7F) || IsHalfWidthKana(static_cast<unsigned char>(code));
  if (!twoByte && !(code <= 0xFF && printable)) return false;
  Insert(code);
  return true;
}

std::string_view LineEdit::Shown(int cells) {
  if (first_ > cursor_) first_ = cursor_;
  // One cell stays for the cursor after the last character.
  while (static_cast<int>(cursor_ - first_) >= cells && first_ < cursor_) first_ = Next(first_);
  return CutAtCharacter(std::string_view(text_).substr(first_), cells);
}

}  // namespace vondal::scroll
