// What a search asks for, and how a call sign becomes the pattern a search compares with every
// record's CALLSIGN in one of six ways (contained, with or without a portable suffix, one
// character different, begins alike, characters in order or in any order with one missing).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vondal {

struct SearchRequest {
  int key = 0;        // the key that asked; 0: no search
  int field = 0;      // CALLSIGN, DATE or START (a key in a field carries that field)
  int variant = 0;    // 0-5, call-sign searches only
  char position = 0;  // 0 list all, '=' nearest, 'F' first, 'L' last, 'E' search and edit

  bool empty() const { return key == 0; }
};

// The request of a search key ("\" blank "," "." ";" ":" "=" "-" "[" "]" and the menu's D T F L A)
// typed in field `field`; an empty request for any other key. In DATE, START and END the keys
// "=" "-" "[" "]" search by date (END as START).
SearchRequest RequestOfKey(int key, int field);

// The pattern of a call-sign request for call sign `callsign`: "*" in front for blank and "[",
// the portable suffix (from the last "/" not after "%") cut for "]" and "\", "*" behind for "]"
// and blank; "*" for A.
std::string BuildPattern(const SearchRequest& request, std::string_view callsign);

// Compares CALLSIGNs with a pattern in one comparison variant; the pattern is prepared once.
class CallsignMatcher {
 public:
  CallsignMatcher(std::string pattern, int variant);

  bool Matches(std::string_view callsign) const;

 private:
  bool Unordered(std::string_view callsign) const;  // variant 5's test

  // Patterns without wildcards or escapes in the usual shapes are compared directly.
  enum class Shape { kGeneral, kExact, kPrefix, kContains };

  std::string pattern_;
  int variant_;
  Shape shape_ = Shape::kGeneral;
  std::string plain_;                   // the pattern's text without the stars of its shape
  std::string withSuffix_;              // variant 1: the pattern and "/*"
  std::vector<std::string> orderings_;  // variant 4: "*a*b*c*" with one character made "*"
};

}  // namespace vondal
