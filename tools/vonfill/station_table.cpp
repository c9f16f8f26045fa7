#include "tools/vonfill/station_table.h"

#include <algorithm>
#include <cstring>

namespace vondal::vonfill {
namespace {

// The characters of the first place of a strict-check suffix.
constexpr char kSuffixCharacters[] = "1234569ABCDEFGHIKLMNOPQRSTUVWXYZ";

}  // namespace

StationTable::StationTable(bool strict) : strict_(strict) { entries_.reserve(kCapacity); }

void StationTable::Store(const std::string& text, char* to, size_t size) {
  std::memset(to, 0, size);
  std::memcpy(to, text.data(), std::min(text.size(), size - 1));
}

bool StationTable::Holds(const Entry& entry, const char* callsign) {
  return std::strncmp(entry.callsign, callsign, sizeof entry.callsign) == 0;
}

bool StationTable::Contains(const std::string& callsign) const {
  for (const Entry& entry : entries_) {
    if (Holds(entry, callsign.c_str())) return true;
  }
  return false;
}

void StationTable::Put(MersenneTwister& rng, Contact& contact) {
  ++stationsContacted_;
  if (strict_) {
    // Entries hold their call signs NUL-padded to 8 bytes: one comparison of 8 bytes each.
    char key[sizeof(Entry::callsign)];
    Store(contact.callsign, key, sizeof key);
    for (Entry& entry : entries_) {
      if (std::memcmp(entry.callsign, key, sizeof key) != 0) continue;
      const char suffix[] = {kSuffixCharacters[rng.Random(32)], static_cast<char>('A' + rng.Random(26)),
                             static_cast<char>('0' + rng.Random(10)), '\0'};
      contact.suffix = suffix;
      std::memcpy(entry.suffix, suffix, sizeof entry.suffix);
      contact.nameKnown = false;
      contact.kind = StationKind::kForeign;
      contact.count = ++entry.count;
      return;
    }
  }
  contact.count = 1;
  Entry entry;
  Store(contact.callsign, entry.callsign, sizeof entry.callsign);
  Store(contact.suffix, entry.suffix, sizeof entry.suffix);
  entry.count = 1;

  const int used = entriesUsed();
  const bool reuse = rng.Draw() < (used - 100) / static_cast<double>(kCapacity);
  if (reuse || used == kCapacity) {
    int slot = rng.Random(used);
    // The author's own entry stays, so that the author can be contacted again. (The next slot
    // wraps round, so the new station always lands inside the table.)
    if (Holds(entries_[slot], kAuthorCallsign)) slot = (slot + 1) % used;
    entries_[slot] = entry;
  } else {
    entries_.push_back(entry);
  }
}

void StationTable::Take(MersenneTwister& rng, Contact& contact) {
  contact.nameKnown = false;
  contact.qthKnown = false;
  int slot = rng.Random(entriesUsed());
  const double r = rng.Draw();
  if (r < 0.25) {
    slot -= slot % 45;
  } else if (r < 0.5) {
    slot -= slot % 15;
  }
  Entry& entry = entries_[slot];
  contact.callsign.assign(entry.callsign, strnlen(entry.callsign, sizeof entry.callsign));
  contact.suffix.assign(entry.suffix, strnlen(entry.suffix, sizeof entry.suffix));
  contact.count = ++entry.count;
  contact.kind = KindOfCallsign(contact.callsign);
  if (contact.kind == StationKind::kJapanese && slot % 10 == 0 && rng.Draw() < 0.5) {
    const int digit = rng.Random(11);
    contact.suffix = digit == 10 ? std::string() : std::string(1, static_cast<char>('0' + digit));
    Store(contact.suffix, entry.suffix, sizeof entry.suffix);
    contact.qthKnown = true;
  }
}

}  // namespace vondal::vonfill
