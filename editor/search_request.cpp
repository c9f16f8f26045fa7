#include "editor/search_request.h"

#include "app/text/wildcard.h"
#include "log/field_table.h"

namespace vondal {
namespace {

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether pattern character p stands for call-sign character c (variants 2 and 3).
bool SameClass(char p, char c) {
  if (p == '?') return true;
  if (p == '@') return IsLetter(c);
  if (p == '#') return IsDigit(c);
  return p == c;
}

// The call sign without its portable suffix: up to the last "/" that is not after "%".
std::string_view WithoutSuffix(std::string_view callsign) {
  for (size_t i = callsign.size(); i-- > 0;) {
    if (callsign[i] == '/' && (i == 0 || callsign[i - 1] != '%')) return callsign.substr(0, i);
  }
  return callsign;
}

}  // namespace

SearchRequest RequestOfKey(int key, int field) {
  const bool dateField = field == DATE || field == START || field == END;
  const int dateOf = field == DATE ? DATE : START;
  switch (key) {
    case '\\':
      return {key, CALLSIGN, 1, 0};
    case ' ':
      return {key, CALLSIGN, 0, 0};
    case ',':
      return {key, CALLSIGN, 2, 0};
    case '.':
      return {key, CALLSIGN, 3, 0};
    case ';':
      return {key, CALLSIGN, 4, 0};
    case ':':
      return {key, CALLSIGN, 5, 0};
    case '=':
    case '-':
      return dateField ? SearchRequest{'=', dateOf, 0, '='} : SearchRequest{'=', CALLSIGN, 0, '='};
    case '[':
      return dateField ? SearchRequest{key, DATE, 0, 'F'} : SearchRequest{key, CALLSIGN, 0, 'F'};
    case ']':
      return dateField ? SearchRequest{key, DATE, 0, 'L'} : SearchRequest{key, CALLSIGN, 0, 'L'};
    case 'D':
      return {key, DATE, 0, '='};
    case 'T':
      return {key, START, 0, '='};
    case 'F':
      return {key, DATE, 0, 'F'};
    case 'L':
      return {key, DATE, 0, 'L'};
    case 'A':
      return {key, CALLSIGN, 0, 0};
    default:
      return {};
  }
}

std::string BuildPattern(const SearchRequest& request, std::string_view callsign) {
  if (request.key == 'A') return "*";
  std::string pattern;
  const int key = request.key;
  if (key == ' ' || key == '[') pattern = "*";
  pattern += key == ']' || key == '\\' ? WithoutSuffix(callsign) : callsign;
  if (key == ']' || key == ' ') pattern += '*';
  return pattern;
}

CallsignMatcher::CallsignMatcher(std::string pattern, int variant)
    : pattern_(std::move(pattern)), variant_(variant) {
  if (variant_ == 0 && pattern_.find_first_of("?#@%") == std::string::npos) {
    // "X", "X*" and "*X*" with a plain X: an equality, a prefix, a substring.
    const bool lead = !pattern_.empty() && pattern_.front() == '*';
    const bool trail = pattern_.size() > (lead ? 1u : 0u) && pattern_.back() == '*';
    plain_ = pattern_.substr(lead ? 1 : 0, pattern_.size() - (lead ? 1 : 0) - (trail ? 1 : 0));
    if (plain_.find('*') == std::string::npos) {
      shape_ = !lead && !trail ? Shape::kExact
               : !lead         ? Shape::kPrefix
               : trail         ? Shape::kContains
                               : Shape::kGeneral;
    }
  }
  if (pattern_ == "*" && variant_ == 0) shape_ = Shape::kContains;  // every call sign
  if (variant_ == 1) withSuffix_ = pattern_ + "/*";
  if (variant_ == 4 || variant_ == 5) {
    // "@" and "#" go to the end, keeping their order, so that the plain characters are found first.
    std::string plain, classes;
    for (char c : pattern_) (c == '@' || c == '#' ? classes : plain) += c;
    pattern_ = plain + classes;
  }
  if (variant_ == 4) {
    std::string characters;
    for (char c : pattern_) {
      if (c != '*') characters += c;
    }
    for (size_t skip = 0; skip < characters.size(); ++skip) {
      std::string ordered = "*";
      for (size_t i = 0; i < characters.size(); ++i) {
        if (i != skip) ordered += characters[i];
        ordered += '*';
      }
      orderings_.push_back(ordered);
    }
    if (characters.empty()) orderings_.push_back("*");
  }
}

bool CallsignMatcher::Unordered(std::string_view callsign) const {
  std::string copy(callsign);
  int remaining = static_cast<int>(copy.size());
  int misses = 0;
  for (char p : pattern_) {
    if (p == '*') continue;
    if (p == '?') {
      if (--remaining < 0) ++misses;
    } else {
      size_t found = std::string::npos;
      for (size_t i = 0; i < copy.size() && found == std::string::npos; ++i) {
        const char c = copy[i];
        if (p == '@' ? IsLetter(c) : p == '#' ? IsDigit(c) : c == p) found = i;
      }
      if (found != std::string::npos) {
        copy[found] = ' ';
        --remaining;
      } else {
        ++misses;
      }
    }
    if (misses >= 2) return false;
  }
  return true;
}

bool CallsignMatcher::Matches(std::string_view callsign) const {
  switch (variant_) {
    case 0:
      switch (shape_) {
        case Shape::kExact:
          return callsign == plain_;
        case Shape::kPrefix:
          return callsign.starts_with(plain_);
        case Shape::kContains:
          return callsign.find(plain_) != std::string_view::npos;
        default:
          return MatchCallsign(pattern_, callsign);
      }
    case 1:
      return MatchCallsign(pattern_, callsign) || MatchCallsign(withSuffix_, callsign);
    case 2: {
      if (callsign.size() != pattern_.size()) return false;
      int differ = 0;
      for (size_t i = 0; i < callsign.size() && differ < 2; ++i)
        differ += !SameClass(pattern_[i], callsign[i]);
      return differ < 2;
    }
    case 3: {
      if (pattern_.size() > callsign.size()) return false;
      int differ = 0;
      for (size_t i = 0; i < pattern_.size() && differ < 2; ++i)
        differ += !SameClass(pattern_[i], callsign[i]);
      return differ < 2;
    }
    case 4: {
      if (callsign.empty()) return true;
      if (!Unordered(callsign)) return false;
      for (const std::string& ordered : orderings_) {
        if (MatchCallsign(ordered, callsign)) return true;
      }
      return false;
    }
    default:
      return Unordered(callsign);
  }
}

}  // namespace vondal
