#include "tools/vonrix/station_table.h"

#include "app/text/text_helpers.h"

namespace vondal {
namespace {

// FNV-1a: station texts are short, and this spreads them well enough.
uint32_t HashOf(std::string_view text) {
  uint32_t hash = 2166136261u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

}  // namespace

void StationTable::Grow() {
  std::vector<int32_t> slots(slots_.empty() ? 1024 : slots_.size() * 2, -1);
  const size_t mask = slots.size() - 1;
  for (int32_t station = 0; station < size(); ++station) {
    size_t slot = hashes_[station] & mask;
    while (slots[slot] >= 0) slot = (slot + 1) & mask;
    slots[slot] = station;
  }
  slots_.swap(slots);
}

int32_t StationTable::Add(std::string_view text) {
  if (slots_.size() < 2 * texts_.size() + 2) Grow();
  const uint32_t hash = HashOf(text);
  const size_t mask = slots_.size() - 1;
  size_t slot = hash & mask;
  for (; slots_[slot] >= 0; slot = (slot + 1) & mask) {
    const int32_t station = slots_[slot];
    if (hashes_[station] == hash && texts_[station] == text) return station;
  }
  const char* copy = allocator_.Copy(text);
  if (copy == nullptr) return -1;
  slots_[slot] = size();
  texts_.emplace_back(copy, text.size());
  hashes_.push_back(hash);
  return size() - 1;
}

bool StationTable::Before(int32_t a, int32_t b) const { return CompareText(texts_[a], texts_[b]) < 0; }

}  // namespace vondal
