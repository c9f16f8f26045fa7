#include "log/write_ahead.h"

#include <algorithm>
#include <cstring>

namespace vondal {
namespace {

// Byte offsets inside the file (doc/write_ahead_format.md).
constexpr int kKindAt = 16;
constexpr int kRecordAt = 20;
constexpr int kSizeBeforeAt = 24;
constexpr int kSizeAfterAt = 32;
constexpr int kImageAt = 40;
constexpr int kOldAt = kImageAt + kRecordSize;
constexpr int kFirstAt = kOldAt + kRecordSize;
constexpr int kBeforeAt = kFirstAt + 4;
constexpr int kAfterAt = kBeforeAt + 4;
constexpr int kChecksumAt = kAfterAt + 4;
static_assert(kChecksumAt + 4 == kWriteAheadSize);
constexpr int kChecksumAtV1 = kImageAt + kRecordSize;
static_assert(kChecksumAtV1 + 4 == kWriteAheadSizeV1);

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

// Sizes and the record's place must describe a change one of our writers makes; anything else
// came from no writer of ours.
bool Plausible(const Intent& intent) {
  if (intent.sizeBefore < 0 || intent.sizeBefore % kRecordSize != 0) return false;
  switch (intent.kind) {
    case IntentKind::kPutRecord: {
      // A record is overwritten or appended, never written beyond the end.
      const int64_t end = (static_cast<int64_t>(intent.record) + 1) * kRecordSize;
      return intent.record >= 0 && intent.record < kMaxRecords && end - kRecordSize <= intent.sizeBefore &&
             intent.sizeAfter == std::max(intent.sizeBefore, end);
    }
    case IntentKind::kUndoJoin:
      return !intent.identified ||
             (intent.sizeAfter > intent.sizeBefore && intent.sizeAfter % kRecordSize == 0);
    case IntentKind::kUndoAppend:
      return !intent.identified || intent.sizeAfter == intent.sizeBefore + kRecordSize;
    default:
      return false;
  }
}

// The records an intent's identity covers, as record numbers (-1: none), in the order first,
// before, after. They are the records the change leaves alone next to it.
struct IdentityRecords {
  int64_t first = -1;
  int64_t before = -1;
  int64_t after = -1;
};

IdentityRecords IdentityRecordsOf(const Intent& intent) {
  IdentityRecords records;
  const int64_t changed =
      intent.kind == IntentKind::kPutRecord ? intent.record : intent.sizeBefore / kRecordSize;
  if (changed > 0) {
    records.first = 0;
    records.before = changed - 1;
  }
  if (intent.kind == IntentKind::kPutRecord && (changed + 2) * kRecordSize <= intent.sizeBefore) {
    records.after = changed + 1;
  }
  return records;
}

// The CRC-32 of record n of the log; false when it cannot be read whole.
bool RecordCrc(File& log, int64_t n, uint32_t& crc) {
  char bytes[kRecordSize];
  if (log.ReadAt(n * kRecordSize, bytes, kRecordSize) != kRecordSize) return false;
  crc = Crc32(bytes, kRecordSize);
  return true;
}

// Where a changed record starts in the log.
int64_t ChangedAt(const Intent& intent) {
  return intent.kind == IntentKind::kPutRecord ? static_cast<int64_t>(intent.record) * kRecordSize
                                               : intent.sizeBefore;
}

// The first layout: the log known only by its size, as that version carried its records out.
bool FitsBySize(int64_t size, const Intent& intent) {
  if (intent.kind == IntentKind::kPutRecord) return size >= intent.sizeBefore && size <= intent.sizeAfter;
  return size >= intent.sizeBefore;
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
  std::memcpy(&bytes[kImageAt], intent.image.data(), kRecordSize);
  std::memcpy(&bytes[kOldAt], intent.old.data(), kRecordSize);
  PutLittle(&bytes[kFirstAt], intent.identity.first, 4);
  PutLittle(&bytes[kBeforeAt], intent.identity.before, 4);
  PutLittle(&bytes[kAfterAt], intent.identity.after, 4);
  PutLittle(&bytes[kChecksumAt], Crc32(bytes.data(), kChecksumAt), 4);
  return bytes;
}

bool DecodeIntent(const char* bytes, size_t size, Intent& intent) {
  int checksumAt = kChecksumAt;
  if (size >= static_cast<size_t>(kWriteAheadSize) &&
      std::memcmp(bytes, kWriteAheadHeader, kWriteAheadHeaderSize) == 0) {
    intent.identified = true;
  } else if (size >= static_cast<size_t>(kWriteAheadSizeV1) &&
             std::memcmp(bytes, kWriteAheadHeaderV1, kWriteAheadHeaderSize) == 0) {
    intent.identified = false;
    checksumAt = kChecksumAtV1;
  } else {
    return false;
  }
  if (GetLittle(bytes + checksumAt, 4) != Crc32(bytes, checksumAt)) return false;
  const uint64_t kind = GetLittle(bytes + kKindAt, 4);
  if (kind < 1 || kind > 3) return false;
  intent.kind = static_cast<IntentKind>(kind);
  intent.record = static_cast<int32_t>(GetLittle(bytes + kRecordAt, 4));
  intent.sizeBefore = static_cast<int64_t>(GetLittle(bytes + kSizeBeforeAt, 8));
  intent.sizeAfter = static_cast<int64_t>(GetLittle(bytes + kSizeAfterAt, 8));
  std::memcpy(intent.image.data(), bytes + kImageAt, kRecordSize);
  intent.old = {};
  intent.identity = {};
  if (intent.identified) {
    std::memcpy(intent.old.data(), bytes + kOldAt, kRecordSize);
    intent.identity.first = static_cast<uint32_t>(GetLittle(bytes + kFirstAt, 4));
    intent.identity.before = static_cast<uint32_t>(GetLittle(bytes + kBeforeAt, 4));
    intent.identity.after = static_cast<uint32_t>(GetLittle(bytes + kAfterAt, 4));
  }
  return Plausible(intent);
}

bool IntentLeft(FileSystem& fs, const std::string& logPath) {
  const std::string name = WriteAheadName(logPath);
  if (!fs.Exists(name)) return false;
  std::unique_ptr<File> file = fs.Open(name, OpenMode::kRead);
  if (!file) return true;  // there, but it cannot tell
  char bytes[kWriteAheadSize];
  const int64_t got = file->ReadAt(0, bytes, sizeof bytes);
  Intent intent;
  return got > 0 && DecodeIntent(bytes, static_cast<size_t>(got), intent);
}

bool IdentifyLog(File& log, Intent& intent) {
  const IdentityRecords records = IdentityRecordsOf(intent);
  intent.identity = {};
  intent.identified = true;
  return (records.first < 0 || RecordCrc(log, records.first, intent.identity.first)) &&
         (records.before < 0 || RecordCrc(log, records.before, intent.identity.before)) &&
         (records.after < 0 || RecordCrc(log, records.after, intent.identity.after));
}

bool IntentFitsLog(File& log, const Intent& intent) {
  const int64_t size = log.Size();
  if (size < 0) return false;
  if (!intent.identified) return FitsBySize(size, intent);
  if (size < intent.sizeBefore || size > intent.sizeAfter) return false;
  Intent found = intent;
  if (!IdentifyLog(log, found) || !(found.identity == intent.identity)) return false;
  // The changed record, as far as the log reaches: every byte old, new, or never written.
  const int64_t at = ChangedAt(intent);
  const int64_t present = std::clamp<int64_t>(size - at, 0, kRecordSize);
  char bytes[kRecordSize];
  if (log.ReadAt(at, bytes, static_cast<size_t>(present)) != present) return false;
  const bool overwrite = intent.kind == IntentKind::kPutRecord && at < intent.sizeBefore;
  for (int64_t i = 0; i < present; ++i) {
    const char byte = bytes[i];
    if (byte != intent.image[i] && byte != '\0' && !(overwrite && byte == intent.old[i])) return false;
  }
  return true;
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

  Recovery outcome = Recovery::kNotThisLog;
  bool done = log.Size() >= 0;
  if (done && IntentFitsLog(log, intent)) {
    if (intent.kind == IntentKind::kPutRecord) {
      const int64_t offset = static_cast<int64_t>(intent.record) * kRecordSize;
      done = log.WriteAt(offset, intent.image.data(), kRecordSize) == kRecordSize &&
             (log.Size() == intent.sizeAfter || log.Truncate(intent.sizeAfter)) && log.Sync();
      outcome = Recovery::kCompleted;
      if (completed) *completed = intent;
    } else {
      done = (log.Size() == intent.sizeBefore || log.Truncate(intent.sizeBefore)) && log.Sync();
      outcome = intent.kind == IntentKind::kUndoJoin ? Recovery::kJoinUndone : Recovery::kAppendUndone;
    }
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
