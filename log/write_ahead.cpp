#include "log/write_ahead.h"

#include <cstring>

namespace vondal {
namespace {

// Byte offsets inside the file (doc/write_ahead_format.md).
constexpr int kKindAt = 16;
constexpr int kRecordAt = 20;
constexpr int kSizeBeforeAt = 24;
constexpr int kSizeAfterAt = 32;
constexpr int kImageAt = 40;
constexpr int kChecksumAt = kImageAt + kRecordSize;
static_assert(kChecksumAt + 4 == kWriteAheadSize);

// CRC-32 (the polynomial of zip and PNG, reflected): a torn or half-cleared record never passes.
uint32_t Crc32(const char* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= static_cast<unsigned char>(data[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutLittle(char* p, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint64_t GetLittle(const char* p, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
  return value;
}

}  // namespace

std::string WriteAheadName(const std::string& logPath) {
  const size_t slash = logPath.find_last_of('/');
  const size_t base = slash == std::string::npos ? 0 : slash + 1;
  return logPath.substr(0, base) + "." + logPath.substr(base) + "W";
}

std::string EncodeIntent(const Intent& intent) {
  std::string bytes(kWriteAheadSize, '\0');
  std::memcpy(bytes.data(), kWriteAheadHeader, kWriteAheadHeaderSize);
  PutLittle(&bytes[kKindAt], static_cast<uint32_t>(intent.kind), 4);
  PutLittle(&bytes[kRecordAt], static_cast<uint32_t>(intent.record), 4);
  PutLittle(&bytes[kSizeBeforeAt], static_cast<uint64_t>(intent.sizeBefore), 8);
  PutLittle(&bytes[kSizeAfterAt], static_cast<uint64_t>(intent.sizeAfter), 8);
  if (intent.kind == IntentKind::kPutRecord) std::memcpy(&bytes[kImageAt], intent.image.data(), kRecordSize);
  PutLittle(&bytes[kChecksumAt], Crc32(bytes.data(), kChecksumAt), 4);
  return bytes;
}

bool DecodeIntent(const char* bytes, size_t size, Intent& intent) {
  if (size < static_cast<size_t>(kWriteAheadSize)) return false;
  if (std::memcmp(bytes, kWriteAheadHeader, kWriteAheadHeaderSize) != 0) return false;
  if (GetLittle(bytes + kChecksumAt, 4) != Crc32(bytes, kChecksumAt)) return false;
  const uint64_t kind = GetLittle(bytes + kKindAt, 4);
  if (kind < 1 || kind > 3) return false;
  intent.kind = static_cast<IntentKind>(kind);
  intent.record = static_cast<int32_t>(GetLittle(bytes + kRecordAt, 4));
  intent.sizeBefore = static_cast<int64_t>(GetLittle(bytes + kSizeBeforeAt, 8));
  intent.sizeAfter = static_cast<int64_t>(GetLittle(bytes + kSizeAfterAt, 8));
  std::memcpy(intent.image.data(), bytes + kImageAt, kRecordSize);
  // Sizes and the record's place must describe a log; anything else came from no writer of ours.
  if (intent.sizeBefore < 0 || intent.sizeBefore % kRecordSize != 0) return false;
  if (intent.kind != IntentKind::kPutRecord) return true;
  const int64_t end = (static_cast<int64_t>(intent.record) + 1) * kRecordSize;
  // A record is overwritten or appended, never written beyond the end.
  return intent.record >= 0 && intent.record < kMaxRecords && end - kRecordSize <= intent.sizeBefore &&
         intent.sizeAfter == std::max(intent.sizeBefore, end);
}

void WriteAhead::Attach(const std::string& logPath) {
  name_ = WriteAheadName(logPath);
  file_.reset();
  clearPending_ = false;
}

bool WriteAhead::OpenFile() {
  if (file_) return true;
  file_ = fs_.Open(name_, OpenMode::kUpdate);
  if (file_) return true;
  // The first write beside this log: the file is made once and its folder entry made durable.
  file_ = fs_.Open(name_, OpenMode::kCreate);
  if (!file_) return false;
  if (!fs_.SyncFolder(name_)) {
    file_.reset();
    return false;
  }
  return true;
}

Recovery WriteAhead::Recover(File& log, Intent* completed) {
  if (!fs_.Exists(name_)) return Recovery::kNothing;
  char bytes[kWriteAheadSize];
  int64_t got = -1;
  if (OpenFile()) {
    got = file_->ReadAt(0, bytes, sizeof bytes);
  } else if (auto readOnly = fs_.Open(name_, OpenMode::kRead)) {
    got = readOnly->ReadAt(0, bytes, sizeof bytes);
  }
  Intent intent;
  if (got < 0 || !DecodeIntent(bytes, static_cast<size_t>(got), intent)) return Recovery::kNothing;
  if (!file_) return Recovery::kFailed;  // a change is under way and cannot be settled

  const int64_t size = log.Size();
  Recovery outcome = Recovery::kNothing;
  bool done = size >= 0;
  if (intent.kind == IntentKind::kPutRecord) {
    // While the record was being written the log held between its old and its new size; any
    // other size means the log was replaced since, and the intent is not for it.
    if (size >= intent.sizeBefore && size <= intent.sizeAfter) {
      const int64_t offset = static_cast<int64_t>(intent.record) * kRecordSize;
      done = log.WriteAt(offset, intent.image.data(), kRecordSize) == kRecordSize &&
             (log.Size() == intent.sizeAfter || log.Truncate(intent.sizeAfter)) && log.Sync();
      outcome = Recovery::kCompleted;
      if (completed) *completed = intent;
    }
  } else if (size >= intent.sizeBefore) {
    done = (size == intent.sizeBefore || log.Truncate(intent.sizeBefore)) && log.Sync();
    outcome = intent.kind == IntentKind::kUndoJoin ? Recovery::kJoinUndone : Recovery::kAppendUndone;
  }
  if (!done) return Recovery::kFailed;
  Clear();
  return Settle() ? outcome : Recovery::kFailed;
}

bool WriteAhead::Begin(const Intent& intent) {
  if (!OpenFile()) return false;
  const std::string bytes = EncodeIntent(intent);
  if (file_->WriteAt(0, bytes.data(), bytes.size()) == static_cast<int64_t>(bytes.size()) && file_->Sync()) {
    clearPending_ = false;
    return true;
  }
  Clear();
  return false;
}

void WriteAhead::Clear() {
  if (!file_) return;
  const char none[4] = {};
  file_->WriteAt(kKindAt, none, sizeof none);
  clearPending_ = true;
}

bool WriteAhead::Settle() {
  if (!clearPending_) return true;
  if (!file_ || !file_->Sync()) return false;
  clearPending_ = false;
  return true;
}

}  // namespace vondal
