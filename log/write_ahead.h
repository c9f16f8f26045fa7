// The write-ahead record of a log (doc/write_ahead_format.md): a small hidden file beside the log
// that holds the change about to be made to the log in place, with a checksum. It is synced
// before the log is touched and cleared once the log is synced, so a kill or a power cut in the
// middle of a record write (which can tear the record at a page boundary) or of a join's appends
// is carried out again, or undone, the next time the log is opened.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "log/file_system.h"
#include "log/log_format.h"

namespace vondal {

// "Vondal INTENT 1" and 0x1A.
inline constexpr char kWriteAheadHeader[] = "Vondal INTENT 1\x1A";
inline constexpr int kWriteAheadHeaderSize = 16;
static_assert(sizeof kWriteAheadHeader == kWriteAheadHeaderSize + 1);
inline constexpr int kWriteAheadSize = 244;  // header, kind, record, two sizes, image, CRC-32

enum class IntentKind : uint32_t {
  kNone = 0,        // cleared: nothing is under way
  kPutRecord = 1,   // the image goes to record n, and the log ends at `sizeAfter`
  kUndoJoin = 2,    // a join's appends: the log is cut back to `sizeBefore`
  kUndoAppend = 3,  // a failed append: the log is cut back to `sizeBefore`
};

struct Intent {
  IntentKind kind = IntentKind::kNone;
  int32_t record = 0;      // kPutRecord: the record written
  int64_t sizeBefore = 0;  // the log's size in bytes before the change
  int64_t sizeAfter = 0;   // kPutRecord: the size the write leaves
  RecordImage image{};     // kPutRecord: the record's 200 bytes
};

// The name of the write-ahead record of the log `logPath`: in the log's folder, a dot before the
// log's own name and "W" after it ("2024.VD" → ".2024.VDW"), so that no two logs share one and
// a folder listing does not show it.
std::string WriteAheadName(const std::string& logPath);

// The file's 244 bytes for an intent, and back; false when the bytes are no whole intent (torn,
// cleared, or another file).
std::string EncodeIntent(const Intent& intent);
bool DecodeIntent(const char* bytes, size_t size, Intent& intent);

// What opening a log found in its write-ahead record.
enum class Recovery {
  kNothing,       // no change was under way (or the record was torn: the log was never touched)
  kCompleted,     // an interrupted record write was carried out again
  kAppendUndone,  // an append that had failed was cut back
  kJoinUndone,    // an interrupted join was cut back to the log before it
  kFailed,        // an intent could not be carried out: the log must not be used as it is
};

class WriteAhead {
 public:
  explicit WriteAhead(FileSystem& fs) : fs_(fs) {}

  // Belongs to the log `logPath` from now on.
  void Attach(const std::string& logPath);
  const std::string& name() const { return name_; }

  // Opening the log: carries out a whole intent on `log` (synced) and clears it; a torn one, or
  // one that does not fit the log's size (the log was replaced since), is discarded. Doing it
  // twice gives the same log. `completed` receives the record a kCompleted put in place.
  Recovery Recover(File& log, Intent* completed = nullptr);

  // Writes the intent and syncs it: only then may the log be changed. False when it is not
  // durable (the log must then stay untouched).
  bool Begin(const Intent& intent);

  // The change reached the log and was synced: the intent is cleared, without a sync of its own
  // (carrying out a finished intent again changes nothing, and the next Begin overwrites it).
  void Clear();

  // Makes the cleared state durable: before the log is replaced or extended by other means than
  // an intent (sort), and when the program ends. False when the sync failed.
  bool Settle();

 private:
  bool OpenFile();

  FileSystem& fs_;
  std::string name_;
  std::unique_ptr<File> file_;
  bool clearPending_ = false;  // cleared since the last sync
};

}  // namespace vondal
