#include "macro/edit_text.h"

#include <algorithm>

#include "app/text/brackets.h"
#include "app/text/sjis.h"

namespace vondal {
namespace {

bool IsSecondByte(std::string_view text, int pos) {
  return pos < static_cast<int>(text.size()) && ByteKind(text, pos) == 2;
}

bool IsFirstOfPair(std::string_view text, int pos) {
  return pos < static_cast<int>(text.size()) && ByteKind(text, pos) == 1;
}

// The last visible column: the text end when the rest from the offset fits, else the last byte
// of the window, stepped back so that no pair cut by the edge is entered.
int LastVisible(std::string_view text, int offset, int width) {
  const int length = static_cast<int>(text.size());
  if (length - offset < width) return length;
  int pos = offset + width - 1;
  if (IsSecondByte(text, pos)) return pos - 1;
  if (IsFirstOfPair(text, pos) && pos > 0) return static_cast<int>(PrevCharStart(text, pos));
  return pos;
}

}  // namespace

int MovedCursor(std::string_view text, int cursor, int offset, int width, char move) {
  const int length = static_cast<int>(text.size());
  const int half = (width + 1) / 2;
  switch (move) {
    case '+':
      return cursor < length ? cursor + static_cast<int>(CharLength(text, cursor)) : cursor;
    case '-':
      return cursor > 0 ? static_cast<int>(PrevCharStart(text, cursor)) : cursor;
    case '<':
      return 0;
    case '>':
      return length;
    case 'L': {
      int pos = std::min(offset, length);
      return IsSecondByte(text, pos) ? pos + 1 : pos;
    }
    case 'R':
      return LastVisible(text, offset, width);
    case 'l': {
      int pos = std::max(cursor - half, 0);
      return IsSecondByte(text, pos) ? pos - 1 : pos;
    }
    case 'r': {
      if (cursor >= length) return cursor;
      int pos = std::min(cursor + half, length);
      return IsSecondByte(text, pos) ? pos + 1 : pos;
    }
    default:
      return cursor;
  }
}

int OffsetShowingCursor(std::string_view text, int cursor, int offset, int width) {
  if (cursor < offset) return cursor;
  const int last = offset + width - 1;
  const bool pair = IsFirstOfPair(text, cursor);
  if (cursor > last || (pair && width >= 2 && cursor == last)) return cursor - width + 1 + (pair ? 1 : 0);
  return offset;
}

int OffsetAfterDeletion(int length, int offset, int width) {
  if (offset + width - 1 - length > 1) return std::max(length - width + 1, 0);
  return offset;
}

int FindTarget(std::string_view text, int from, std::string_view target) {
  if (target.empty()) return -1;
  for (size_t pos = from; pos < text.size(); pos += CharLength(text, pos)) {
    if (text.substr(pos, target.size()) == target) return static_cast<int>(pos);
  }
  return -1;
}

ptrdiff_t PartnerBracket(std::string_view text, int pos) {
  if (pos >= static_cast<int>(text.size())) return kNotABracket;
  if (CharLength(text, pos) == 2) return FindMatchingFullWidthBracket(text, pos);
  return FindMatchingBracket(text, pos);
}

std::string ReplaceEvery(std::string_view text, std::string_view before, std::string_view after) {
  if (before.empty()) return std::string(text);
  std::string result;
  size_t pos = 0;
  while (pos < text.size()) {
    if (text.substr(pos, before.size()) == before) {
      result.append(after);
      pos += before.size();
    } else {
      size_t length = CharLength(text, pos);
      result.append(text.substr(pos, length));
      pos += length;
    }
  }
  return result;
}

char CaseConverted(char c, char caseMode, bool afterLetter) {
  if (!IsAsciiLetter(static_cast<unsigned char>(c))) return c;
  switch (caseMode) {
    case 'U':
      return AsciiUpper(c);
    case 'L':
      return AsciiLower(c);
    case 'R':
      return IsAsciiUpper(static_cast<unsigned char>(c)) ? AsciiLower(c) : AsciiUpper(c);
    case 'I':
      return afterLetter ? AsciiLower(c) : AsciiUpper(c);
    default:
      return c;
  }
}

}  // namespace vondal
