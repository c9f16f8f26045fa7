#include "macro/macro_store.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "app/text/sjis.h"
#include "macro/macro_notation.h"
#include "macro/macro_player.h"

namespace vondal {

using namespace macro_format;

namespace {

constexpr char kNewFileComment[] = "新規マクロファイル";
constexpr int kNewCount = 20;
constexpr int kStandardLabelMacroNumber = 19;

// The bytes of a zero-terminated area of `size` bytes up to its zero.
std::string_view Terminated(const char* area, int size) { return {area, strnlen(area, size)}; }

// Writes `text` into an area of `size` bytes, zero-filled behind it.
void Fill(char* area, int size, std::string_view text) {
  const std::string_view cut = CutAtCharacter(text, size - 1);
  std::memset(area, 0, size);
  std::memcpy(area, cut.data(), cut.size());
}

}  // namespace

std::string SlotName(int slot) {
  if (slot == kInitializationSlot) return "初期化";
  const int key = slot - kFirstFunctionKeySlot;
  const char digit = static_cast<char>('1' + key % 8);
  return key < 8 ? std::string("  F") + digit + "  " : std::string(" S･F") + digit + " ";
}

MacroStore::MacroStore() = default;

void MacroStore::Clear() {
  buffer_.fill(0);
  count_ = 0;
  asLoaded_ = {};
  onEntry_ = {};
  ownCounters_ = {};
  counters_ = &ownCounters_;
  startMacro_ = 0;
}

std::string_view MacroStore::TextView(int n) const { return Terminated(Record(n), kTextBytes); }

void MacroStore::SetText(int n, std::string_view text) {
  assert(n >= 0 && n < kMaxRecords);
  Fill(Record(n), kTextBytes, text);
}

std::string_view MacroStore::Comment(int n) const {
  return Terminated(Record(n) + kCommentOffset, MaxCommentBytes(n) + 1);
}

void MacroStore::SetComment(int n, std::string_view text) {
  assert(n >= 0 && n < kMaxRecords);
  Fill(Record(n) + kCommentOffset, MaxCommentBytes(n) + 1, text);
}

int MacroStore::SlotMacro(int slot) const {
  assert(slot >= 0 && slot < kSlotCount);
  return static_cast<unsigned char>(Record(0)[kSlotsOffset + slot]);
}

int MacroStore::SlotOf(int n) const {
  if (n <= 0) return -1;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (SlotMacro(slot) == n) return slot;
  }
  return -1;
}

bool MacroStore::PairedOrder() const { return Record(0)[kDisplayOrderOffset] != 0; }

void MacroStore::ToggleDisplayOrder() {
  Record(0)[kDisplayOrderOffset] = PairedOrder() ? 0 : 1;
  Changed();
}

std::string MacroStore::Resize(int records) {
  assert(records % kRecordsPerUnit == 0 && records >= kRecordsPerUnit && records <= kMaxRecords);
  if (records == count_) return "";
  for (int n = records; n < count_; ++n) {
    if (Text(n)[0] != 0) return kShrinkRefused;
  }
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (SlotMacro(slot) >= records) Record(0)[kSlotsOffset + slot] = 0;
  }
  for (int n = count_; n < records; ++n) Record(n)[0] = 0;
  count_ = records;
  Changed();
  return "";
}

void MacroStore::Assign(int n, int slot) {
  assert(slot == kClearSlot || (slot >= 0 && slot < kSlotCount));
  for (int s = 0; s < kSlotCount; ++s) {
    if (SlotMacro(s) == n) Record(0)[kSlotsOffset + s] = 0;
  }
  if (slot != kClearSlot) Record(0)[kSlotsOffset + slot] = static_cast<char>(n);
  Changed();
}

void MacroStore::MakeNew() {
  buffer_.fill(0);
  count_ = kNewCount;
  SetComment(0, kNewFileComment);
  Record(0)[kNewStoreOffset] = 1;
  SetText(kStandardLabelMacroNumber, StandardLabelMacro());
  SetComment(kStandardLabelMacroNumber, kStandardLabelComment);
  Changed();
}

void MacroStore::CopyFrom(const Image& image) {
  std::copy(image.bytes.begin(), image.bytes.end(), buffer_.begin());
  count_ = image.count;
}

void MacroStore::CopyTo(Image& image) const {
  std::copy(buffer_.begin(), buffer_.begin() + kStoreBytes, image.bytes.begin());
  image.count = count_;
}

void MacroStore::TakeAsLoaded() { CopyTo(asLoaded_); }

void MacroStore::Reload() {
  CopyFrom(asLoaded_);
  (*counters_)[kCountMacro] = 0;
  ThePlayer().ClearMacroUsed();
}

void MacroStore::TakeOnEntry() { CopyTo(onEntry_); }

void MacroStore::Restore() {
  CopyFrom(onEntry_);
  Changed();
}

void MacroStore::Terminate(int n) {
  Record(n)[kMaxTextBytes] = 0;
  Record(n)[kCommentOffset + MaxCommentBytes(n)] = 0;
}

bool MacroStore::Append(std::string_view bytes) {
  assert(bytes.size() % kRecordBytes == 0);
  const int records = static_cast<int>(bytes.size() / kRecordBytes);
  if (records > kMaxRecords - count_) return false;
  std::memcpy(Record(count_), bytes.data(), bytes.size());
  for (int n = count_; n < count_ + records; ++n) Terminate(n);
  count_ += records;
  return true;
}

std::string MacroStore::FileImage() const {
  std::string image(static_cast<size_t>(count_) * kRecordBytes, '\0');
  for (int n = 0; n < count_; ++n) {
    char* record = image.data() + n * kRecordBytes;
    const std::string_view text = TextView(n);
    const std::string_view comment = Comment(n);
    std::memcpy(record, text.data(), text.size());
    std::memcpy(record + kCommentOffset, comment.data(), comment.size());
    // Record 0 keeps its header behind the 32 bytes of the file comment as it stands.
    if (n == 0)
      std::memcpy(record + kDisplayOrderOffset, Record(0) + kDisplayOrderOffset,
                  kRecordBytes - kDisplayOrderOffset);
  }
  return image;
}

void MacroStore::Changed() { ++(*counters_)[kCountMacro]; }

bool MacroStore::Modified() {
  if (ThePlayer().MacroUsed()) {
    ThePlayer().ClearMacroUsed();
    Changed();
  }
  return (*counters_)[kCountMacro] != 0;
}

MacroStore& TheMacroStore() {
  static MacroStore store;
  return store;
}

}  // namespace vondal
