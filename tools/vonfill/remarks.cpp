#include "tools/vonfill/remarks.h"

#include <algorithm>

#include "app/text/wildcard.h"
#include "tools/vonfill/call_signs.h"

namespace vondal::vonfill {
namespace {

// True when every character of the author's call sign occurs in `callsign` but at most one, each
// occurrence used once.
bool HoldsAuthorsCharacters(std::string_view callsign) {
  char left[16];
  const size_t lenBytes = std::min(callsign.size(), sizeof left);
  callsign.copy(left, lenBytes);
  int missing = 0;
  for (const char* p = kAuthorCallsign; *p != '\0'; ++p) {
    char* found = nullptr;
    for (size_t i = 0; i < lenBytes && found == nullptr; ++i) {
      if (left[i] == *p) found = &left[i];
    }
    if (found != nullptr) {
      *found = '\0';  // used
    } else if (++missing > 1) {
      return false;
    }
  }
  return true;
}

// True when the author's call sign with one character replaced by "?" matches inside `callsign`
// with anything between its characters ("*Q*Z*?*Z*Z*Q*" and the like).
bool HoldsAuthorsCallInOrder(std::string_view callsign) {
  constexpr std::string_view author = kAuthorCallsign;
  for (size_t open = 0; open < author.size(); ++open) {
    std::string pattern = "*";
    for (size_t i = 0; i < author.size(); ++i) {
      pattern += i == open ? '?' : author[i];
      pattern += '*';
    }
    if (jstrwldc(pattern, callsign, false)) return true;
  }
  return false;
}

}  // namespace

void RemarksText::Add(std::string_view item) {
  const size_t separator = text_.empty() ? 0 : 1;
  if (text_.size() + separator + item.size() > limit_) return;
  if (separator) text_ += ';';
  text_ += item;
}

int AuthorLikeness(std::string_view callsign, std::string_view items[2]) {
  if (HoldsAuthorsCharacters(callsign)) {
    if (!HoldsAuthorsCallInOrder(callsign)) {
      items[0] = "作者と類似ｺｰﾙｻｲﾝ";
    } else {
      items[0] = callsign == kAuthorCallsign ? "Vondal作者" : "作者と酷似ｺｰﾙｻｲﾝ";
    }
    return 1;
  }
  int count = 0;
  // "QZ0*" and "*ZZQ*"
  if (callsign.starts_with("QZ0")) items[count++] = "作者と同ﾌﾟﾘﾌｨｯｸｽ";
  if (callsign.find("ZZQ") != std::string_view::npos) items[count++] = "作者と同ｻﾌｨｯｸｽ";
  return count;
}

}  // namespace vondal::vonfill
