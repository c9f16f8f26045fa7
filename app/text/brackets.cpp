#include "app/text/brackets.h"

#include <vector>

#include "app/text/sjis.h"

namespace vondal {
namespace {

// The character starts of a text, so that it can be walked backward as safely as forward.
std::vector<size_t> CharStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) starts.push_back(i);
  return starts;
}

// A character as a code: the byte, or lead byte * 256 + second byte.
unsigned CodeAt(std::string_view text, size_t pos) {
  auto lead = static_cast<unsigned char>(text[pos]);
  return CharLength(text, pos) == 2 ? lead * 256u + static_cast<unsigned char>(text[pos + 1]) : lead;
}

// From the character with index `from` in `starts`, walks in `step` (+1 or -1) direction for the
// partner `partner` of `self`: each `self` met nests one deeper, each `partner` one shallower;
// characters between double quotes are passed over.
ptrdiff_t WalkToPartner(std::string_view text, const std::vector<size_t>& starts, size_t from, int step,
                        unsigned self, unsigned partner) {
  int depth = 1;
  bool quoted = false;
  for (size_t i = from + step; i < starts.size(); i += step) {  // wraps past 0 to a huge index
    unsigned code = CodeAt(text, starts[i]);
    if (code == '"') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (code == self) {
      ++depth;
    } else if (code == partner && --depth == 0) {
      return static_cast<ptrdiff_t>(starts[i]);
    }
  }
  return kNoPartner;
}

// The index of pos among the character starts, or npos when pos is no character start.
size_t IndexOf(const std::vector<size_t>& starts, size_t pos) {
  for (size_t i = 0; i < starts.size(); ++i) {
    if (starts[i] == pos) return i;
    if (starts[i] > pos) break;
  }
  return std::string_view::npos;
}

constexpr std::string_view kOpening = "([{<\xA2";
constexpr std::string_view kClosing = ")]}>\xA3";

}  // namespace

ptrdiff_t FindMatchingBracket(std::string_view text, size_t pos) {
  if (pos >= text.size()) return kNotABracket;
  std::vector<size_t> starts = CharStarts(text);
  size_t index = IndexOf(starts, pos);
  if (index == std::string_view::npos || CharLength(text, pos) != 1) return kNotABracket;
  char c = text[pos];
  auto self = static_cast<unsigned char>(c);

  if (c == '"' || c == '\'' || c == '\x1C') {
    size_t seen = 0;
    for (size_t i = 0; i <= index; ++i) seen += text[starts[i]] == c && CharLength(text, starts[i]) == 1;
    int step = seen % 2 == 1 ? 1 : -1;
    for (size_t i = index + step; i < starts.size(); i += step) {
      if (text[starts[i]] == c && CharLength(text, starts[i]) == 1) return static_cast<ptrdiff_t>(starts[i]);
    }
    return kNoPartner;
  }
  if (size_t k = kOpening.find(c); k != std::string_view::npos) {
    return WalkToPartner(text, starts, index, 1, self, static_cast<unsigned char>(kClosing[k]));
  }
  if (size_t k = kClosing.find(c); k != std::string_view::npos) {
    return WalkToPartner(text, starts, index, -1, self, static_cast<unsigned char>(kOpening[k]));
  }
  return kNotABracket;
}

ptrdiff_t FindMatchingFullWidthBracket(std::string_view text, size_t pos) {
  if (pos >= text.size()) return kNotABracket;
  std::vector<size_t> starts = CharStarts(text);
  size_t index = IndexOf(starts, pos);
  if (index == std::string_view::npos) return kNotABracket;
  unsigned code = CodeAt(text, pos);
  if (code < 0x8165 || code > 0x817A) return kNotABracket;
  bool opens = code % 2 == 1;
  return WalkToPartner(text, starts, index, opens ? 1 : -1, code, opens ? code + 1 : code - 1);
}

}  // namespace vondal
