// The walk shared by the three wildcard matchers (wildcard.cpp, extended_match.cpp). A matcher
// supplies one element step; this file handles "*".
//
// At a "*" the stars that follow merge, and a "?" right after a star takes one text unit and stays
// in star mode ("*?" is a run of at least one unit). If the pattern ends there, the match
// succeeds. Otherwise the rest of the pattern is tried at the text position reached, then one unit
// further on, and so on until the text runs out.
//
// Only the most recent star needs to be retried when the elements carry nothing from one to the
// next: starting an earlier piece of the pattern later can only make it end later, and whatever
// follows a star can start anywhere after it. That keeps a match linear in pattern times text
// even for "*a*a*a*a*a*b", and the walk never recurses, so a pattern of any length is safe. The
// call-sign matcher with a recall element ("%&" "%=" "%!") carries its remembered byte across
// stars; then every star stays open, and a state (pattern, text, remembered byte) that has failed
// once is not tried again. The first star of a pattern reaches each of its states only once, so
// they need no record.
#pragma once

#include <cstddef>
#include <set>
#include <string_view>
#include <vector>

namespace vondal::star_search {

enum class Step { kMatched, kFailed, kBadPattern };

// What a matcher provides:
//   int state                              carried from element to element (start: kNoState)
//   size_t TextUnit(size_t t) const        bytes of the text unit at t (t < text size)
//   Step Match(size_t& p, size_t& t, int& state) const
//                                          one element at pattern[p] (never "*"); on kMatched p
//                                          and t are past what it took
//   bool KeepsEveryStar() const            state read across stars (see above)
inline constexpr int kNoState = -1;

template <class Matcher>
bool Search(const Matcher& matcher, std::string_view pattern, size_t textSize) {
  struct Choice {
    size_t p, t;
    int state;
    auto operator<=>(const Choice&) const = default;
  };
  const bool keepEveryStar = matcher.KeepsEveryStar();
  Choice top{};  // the most recent star: where its rest is tried now
  bool haveTop = false;
  std::vector<Choice> below;  // the stars before it, kept only when keepEveryStar
  std::set<Choice> failed;    // likewise

  size_t p = 0, t = 0;
  int state = kNoState;
  for (;;) {
    bool stuck = false;
    while (!stuck) {
      if (p == pattern.size()) {
        if (t == textSize) return true;
        stuck = true;
      } else if (pattern[p] == '*') {
        for (++p; p < pattern.size() && (pattern[p] == '*' || pattern[p] == '?'); ++p) {
          if (pattern[p] == '*') continue;
          if (t == textSize) break;
          t += matcher.TextUnit(t);
        }
        if (p < pattern.size() && pattern[p] == '?') {
          stuck = true;  // "*?" with no text left
        } else if (p == pattern.size()) {
          return true;
        } else if (keepEveryStar && haveTop && !failed.insert(Choice{p, t, state}).second) {
          stuck = true;  // tried from here before
        } else {
          if (haveTop && keepEveryStar) below.push_back(top);
          top = Choice{p, t, state};
          haveTop = true;
        }
      } else {
        Step step = matcher.Match(p, t, state);
        if (step == Step::kBadPattern) return false;
        stuck = step == Step::kFailed;
      }
    }
    // Move the most recent star one unit further on.
    for (;;) {
      if (!haveTop) return false;
      if (top.t == textSize) {
        haveTop = !below.empty();
        if (haveTop) {
          top = below.back();
          below.pop_back();
        }
        continue;
      }
      top.t += matcher.TextUnit(top.t);
      if (!keepEveryStar || below.empty() || failed.insert(top).second) break;
    }
    p = top.p;
    t = top.t;
    state = top.state;
  }
}

}  // namespace vondal::star_search
