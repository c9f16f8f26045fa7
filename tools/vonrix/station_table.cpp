#include "tools/vonrix/station_table.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

#include "app/text/text_helpers.h"

namespace vondal {

StationTable::Key StationTable::KeyOfHead(std::string_view text, uint64_t head) {
  // The head mixed by one multiplication; the bytes after it, rare in a call sign, by FNV-1a.
  uint64_t hash = (head ^ text.size()) * 0x9E3779B97F4A7C15u;
  for (size_t i = kHeadBytes; i < text.size(); ++i)
    hash = (hash ^ static_cast<unsigned char>(text[i])) * 0x100000001B3u;
  const uint32_t check =
      static_cast<uint32_t>(hash >> 40) << 8 | static_cast<uint32_t>(std::min<size_t>(text.size(), 255));
  return Key{head, check};
}

StationTable::Key StationTable::KeyOf(std::string_view text) {
  // The head is gathered in a register: copying the bytes to memory and reading them back as one
  // word would wait for every byte to land.
  uint64_t head = 0;
  const size_t headBytes = std::min(text.size(), kHeadBytes);
  for (size_t i = 0; i < headBytes; ++i) head |= uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
  return KeyOfHead(text, head);
}

StationTable::Key StationTable::KeyOfReadable(std::string_view text) {
  // The bytes are in the head in text order from the lowest: one load on a little-endian
  // machine, with the bytes past the text cut off. That spares the loop above, whose length
  // changes from one call sign to the next and keeps the processor guessing.
  if constexpr (std::endian::native != std::endian::little) return KeyOf(text);
  uint64_t head;
  std::memcpy(&head, text.data(), sizeof head);
  if (text.size() < kHeadBytes) head &= (uint64_t{1} << (8 * text.size())) - 1;
  return KeyOfHead(text, head);
}

void StationTable::Reserve(size_t stations) {
  assert(texts_.empty());
  size_t size = slots_.size();
  while (3 * size < 4 * stations + 4) size *= 2;
  if (size != slots_.size()) {
    slots_ = LargeArray<Slot>(size);
    mask_ = size - 1;
  }
  texts_.reserve(size * 3 / 4);  // as many as the table takes before it grows
}

void StationTable::Grow() {
  LargeArray<Slot> slots(slots_.empty() ? 1024 : slots_.size() * 2);
  mask_ = slots.size() - 1;
  for (const Slot& old : slots_) {
    if (old.station < 0) continue;
    size_t place = (old.check >> 8) & mask_;
    while (slots[place].station >= 0) place = (place + 1) & mask_;
    slots[place] = old;
  }
  slots_.swap(slots);
}

int32_t StationTable::Add(std::string_view text, const Key& key) {
  if (3 * slots_.size() < 4 * texts_.size() + 4) Grow();
  size_t place = (key.check >> 8) & mask_;
  for (; slots_[place].station >= 0; place = (place + 1) & mask_) {
    const Slot& slot = slots_[place];
    if (slot.check == key.check && slot.head == key.head &&
        (text.size() <= kHeadBytes || texts_[slot.station] == text)) {
      return slot.station;
    }
  }
  const char* copy = allocator_.Copy(text);
  if (copy == nullptr) return -1;
  Slot& slot = slots_[place];
  slot.station = size();
  slot.check = key.check;
  slot.head = key.head;
  texts_.emplace_back(copy, text.size());
  return slot.station;
}

bool StationTable::Before(int32_t a, int32_t b) const { return CompareText(texts_[a], texts_[b]) < 0; }

}  // namespace vondal
