#include "tools/scroll/line_search.h"

#include <cstring>

#include "app/text/sjis.h"
#include "app/text/wildcard.h"

namespace vondal::scroll {
namespace {

bool IsWildcard(char c) { return c == '?' || c == '*' || c == '#' || c == '@'; }

// The longest run of characters of `pattern` that match only themselves.
std::string_view LongestLiteral(std::string_view pattern) {
  std::string_view longest;
  size_t runStart = 0;
  for (size_t i = 0; i <= pattern.size();) {
    const bool ends = i == pattern.size() || (CharLength(pattern, i) == 1 && IsWildcard(pattern[i]));
    if (ends) {
      if (i - runStart > longest.size()) longest = pattern.substr(runStart, i - runStart);
      runStart = ++i;
    } else {
      i += CharLength(pattern, i);
    }
  }
  return longest;
}

// Case folding of single bytes. It folds the second byte of a two-byte character too when that
// is a letter: the text and the run are folded alike, so nothing that matches is passed over.
bool SameFolded(const char* text, std::string_view folded) {
  for (size_t i = 0; i < folded.size(); ++i) {
    if (AsciiLower(text[i]) != folded[i]) return false;
  }
  return true;
}

}  // namespace

LineSearch::LineSearch(std::string_view pattern, bool ignoreCase)
    : pattern_(pattern),
      ignoreCase_(ignoreCase),
      literal_(LongestLiteral(pattern)),
      anchor_(std::string::npos) {
  if (!ignoreCase_) return;
  for (char& c : literal_) c = AsciiLower(c);
  for (size_t i = 0; i < literal_.size() && anchor_ == std::string::npos; ++i) {
    if (!IsAsciiLetter(static_cast<unsigned char>(literal_[i]))) anchor_ = i;
  }
}

bool LineSearch::HoldsLiteral(std::string_view line) const {
  const size_t m = literal_.size();
  if (m == 0) return true;
  if (line.size() < m) return false;
  if (!ignoreCase_) return memmem(line.data(), line.size(), literal_.data(), m) != nullptr;
  const char* const data = line.data();
  const size_t last = line.size() - m;  // the last place the run can start
  if (anchor_ != std::string::npos) {
    const char byte = literal_[anchor_];
    for (size_t at = anchor_; at <= last + anchor_;) {
      const void* found = std::memchr(data + at, byte, last + anchor_ + 1 - at);
      if (found == nullptr) return false;
      at = static_cast<const char*>(found) - data;
      if (SameFolded(data + at - anchor_, literal_)) return true;
      ++at;
    }
    return false;
  }
  for (size_t start = 0; start <= last; ++start) {
    if (AsciiLower(data[start]) == literal_[0] && SameFolded(data + start, literal_)) return true;
  }
  return false;
}

bool LineSearch::Matches(std::string_view line) const {
  return HoldsLiteral(line) && jstrwldc(pattern_, line, ignoreCase_);
}

}  // namespace vondal::scroll
