#include "tools/vonrix/station_table.h"

#include <algorithm>
#include <cstring>

#include "app/text/text_helpers.h"

namespace vondal {
// FNV-1a folded to 24 bits (a slot keeps the length beside them): station texts are short, and
// this spreads them well enough.
uint32_t StationTable::Hash(std::string_view text) {
  uint32_t hash = 2166136261u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return (hash ^ hash >> 24) & 0xFFFFFF;
}

uint32_t StationTable::CheckOf(std::string_view text, uint32_t hash) {
  return hash << 8 | static_cast<uint32_t>(std::min<size_t>(text.size(), 255));
}

uint64_t StationTable::HeadOf(std::string_view text) {
  uint64_t head = 0;
  std::memcpy(&head, text.data(), std::min(text.size(), kHeadBytes));
  return head;
}

void StationTable::Grow() {
  std::vector<Slot> slots(slots_.empty() ? 1024 : slots_.size() * 2);
  mask_ = slots.size() - 1;
  for (const Slot& old : slots_) {
    if (old.station < 0) continue;
    size_t place = (old.check >> 8) & mask_;
    while (slots[place].station >= 0) place = (place + 1) & mask_;
    slots[place] = old;
  }
  slots_.swap(slots);
}

int32_t StationTable::Add(std::string_view text, uint32_t hash) {
  if (slots_.size() < 2 * texts_.size() + 2) Grow();
  const uint32_t check = CheckOf(text, hash);
  const uint64_t head = HeadOf(text);
  size_t place = hash & mask_;
  for (; slots_[place].station >= 0; place = (place + 1) & mask_) {
    const Slot& slot = slots_[place];
    if (slot.check == check && slot.head == head &&
        (text.size() <= kHeadBytes || texts_[slot.station] == text)) {
      return slot.station;
    }
  }
  const char* copy = allocator_.Copy(text);
  if (copy == nullptr) return -1;
  Slot& slot = slots_[place];
  slot.station = size();
  slot.check = check;
  slot.head = head;
  texts_.emplace_back(copy, text.size());
  return slot.station;
}

bool StationTable::Before(int32_t a, int32_t b) const { return CompareText(texts_[a], texts_[b]) < 0; }

}  // namespace vondal
