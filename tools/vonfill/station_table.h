// The stations a dummy log has contacted, so that later contacts can repeat them: up to 200,000
// entries of call sign, portable suffix and contact count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vonfill/call_signs.h"
#include "tools/vonfill/mersenne_twister.h"

namespace vondal::vonfill {

// The station of the record being built, with what the record may show about it.
struct Contact {
  std::string callsign;  // without the portable suffix
  std::string suffix;    // up to 3 characters, "" when none; "MM" is maritime mobile
  bool nameKnown = true;
  bool qthKnown = true;
  bool isAuthor = false;
  StationKind kind = StationKind::kJapanese;
  uint32_t count = 0;  // contacts with this station so far, this one included
};

class StationTable {
 public:
  static constexpr int kCapacity = 200000;

  // Takes the whole table at once (3.2 MB); std::bad_alloc when that fails. With `strict`, Put
  // makes sure that a new call sign is not in the table yet (a search of the whole table).
  explicit StationTable(bool strict);

  // A new station: counted as contacted and stored, usually in the next free slot; once the table
  // holds more than 100 stations, now and then over a random older one (never the author's).
  // With `strict`, a call sign already in the table turns the contact into a repeat of that
  // station with a new three-character suffix, as a foreign station whose name is not known.
  void Put(MersenneTwister& rng, Contact& contact);

  // A repeat contact with a random station of the table, preferring slots that are multiples of
  // 45 and 15. Name and QTH are not known, except that a Japanese station in a slot that is a
  // multiple of 10 may move to another call area (a new suffix digit) and then tells its QTH.
  // The table must not be empty.
  void Take(MersenneTwister& rng, Contact& contact);

  // True when a station with this call sign is in the table.
  bool Contains(const std::string& callsign) const;

  int stationsContacted() const { return stationsContacted_; }
  int entriesUsed() const { return static_cast<int>(entries_.size()); }

 private:
  // 16 bytes a station, NUL-terminated texts.
  struct Entry {
    char callsign[8];
    char suffix[4];
    uint32_t count;
  };

  static void Store(const std::string& text, char* to, size_t size);
  static bool Holds(const Entry& entry, const char* callsign);

  bool strict_;
  int stationsContacted_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace vondal::vonfill
