// The call signs searched for: a ring of 200, newest first, each with the hour and minute it was
// stored; and the browser (">検索>履歴>") that picks one again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/search_request.h"

namespace vondal {

struct HistoryEntry {
  std::string callsign;  // at most 24 bytes
  int hour = 0;
  int minute = 0;
};

class SearchHistory {
 public:
  static constexpr int kCapacity = 200;

  // Stores a call sign of 3 characters or more as the newest entry, unless it is the newest
  // already; either way the newest entry gets the time.
  void Store(std::string_view callsign, int hour, int minute);
  // The same at the local time now.
  void Store(std::string_view callsign);

  int size() const { return static_cast<int>(entries_.size()); }
  // Entry i, 0 the newest.
  const HistoryEntry& operator[](int i) const { return entries_[i]; }

 private:
  std::vector<HistoryEntry> entries_;  // newest first
};

SearchHistory& TheSearchHistory();

// What the browser ended with.
struct HistoryChoice {
  enum Kind { kClosed, kPut, kSearch } kind = kClosed;
  std::string callsign;   // kPut, kSearch: the entry chosen
  SearchRequest request;  // kSearch: the search key's request
};

// The browser on the menu line: Left/Right (with Shift to the ends) move, Enter puts the entry
// into the current field, a search key searches for it, another character moves to the next older
// entry holding it, Esc closes. `field` is the current field (its search keys give the request).
HistoryChoice BrowseHistory(const SearchHistory& history, int field, bool showCount);

}  // namespace vondal
