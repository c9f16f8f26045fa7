// The viewer's search: the plain wildcard matcher (jstrwldc) on each line. Every line it matches
// holds the longest run of plain characters of the pattern, so lines without that run are
// passed over with a quick byte search before the matcher is asked.
#pragma once

#include <string>
#include <string_view>

namespace vondal::scroll {

class LineSearch {
 public:
  LineSearch(std::string_view pattern, bool ignoreCase);

  // Whether the whole line matches the pattern.
  bool Matches(std::string_view line) const;

 private:
  bool HoldsLiteral(std::string_view line) const;

  std::string pattern_;
  bool ignoreCase_;
  std::string literal_;  // the longest run without "?", "*", "#", "@"; lower case when ignoring case
  size_t anchor_;        // a byte of it that has no case (found with memchr), or npos
};

}  // namespace vondal::scroll
