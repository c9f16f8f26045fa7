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

// "Vondal INTENT 2" and 0x1A; a record of the first layout ("Vondal INTENT 1", 244 bytes, without
// the log's identity) is still read.
inline constexpr char kWriteAheadHeader[] = "Vondal INTENT 2\x1A";
inline constexpr char kWriteAheadHeaderV1[] = "Vondal INTENT 1\x1A";
inline constexpr int kWriteAheadHeaderSize = 16;
static_assert(sizeof kWriteAheadHeader == kWriteAheadHeaderSize + 1);
// Header, kind, record, two sizes, two images, the log's identity, CRC-32.
inline constexpr int kWriteAheadSize = 456;
inline constexpr int kWriteAheadSizeV1 = 244;

enum class IntentKind : uint32_t {
  kNone = 0,        // cleared: nothing is under way
  kPutRecord = 1,   // the image goes to record n, and the log ends at `sizeAfter`
  kUndoJoin = 2,    // a join's appends: the log is cut back to `sizeBefore`
  kUndoAppend = 3,  // a failed append: the log is cut back to `sizeBefore`
};

// What an intent knows of the log's bytes that the change leaves alone (CRC-32 of whole
// records), so that it is carried out only on the log it was written for and never on a log put
// in its place since (a restored backup, a copy from another machine), whatever its size.
struct LogIdentity {
  uint32_t first = 0;   // record 0, when the change leaves it alone
  uint32_t before = 0;  // the record in front of the change
  uint32_t after = 0;   // kPutRecord: the record behind the one written, when there is one
  bool operator==(const LogIdentity&) const = default;
};

struct Intent {
  IntentKind kind = IntentKind::kNone;
  int32_t record = 0;      // kPutRecord: the record written
  int64_t sizeBefore = 0;  // the log's size in bytes before the change
  int64_t sizeAfter = 0;   // the size the change leaves: the written record's or the join's end
  // kPutRecord: the record's 200 bytes as they go to the log; kUndoAppend: those of the append
  // that failed; kUndoJoin: the first record the join appends.
  RecordImage image{};
  RecordImage old{};  // kPutRecord over an existing record: that record as it was
  LogIdentity identity{};
  // False for a record of the first layout, which knows the log only by its size.
  bool identified = true;
};

// The name of the write-ahead record of the log `logPath`: in the log's folder, a dot before the
// log's own name and "W" after it ("2024.VD" → ".2024.VDW"), so that no two logs share one and
// a folder listing does not show it.
std::string WriteAheadName(const std::string& logPath);

// The file's bytes for an intent, and back; false when the bytes are no whole intent (torn,
// cleared, or another file).
std::string EncodeIntent(const Intent& intent);
bool DecodeIntent(const char* bytes, size_t size, Intent& intent);

// True when the write-ahead record of the log `logPath` holds a change that was begun and never
// finished (or is there and cannot be read): the log may hold a torn record until the program
// opens it and carries the change out or back.
bool IntentLeft(FileSystem& fs, const std::string& logPath);

// Fills the intent's identity from `log` as it is before the change; false when the log cannot
// be read there.
bool IdentifyLog(File& log, Intent& intent);

// True when `log` is the log the intent was written for, in one of the states the change passes
// through: its identity records unchanged, its size between the sizes before and after, and the
// bytes of the changed record old, new, or not yet on the disk (zero) at every place.
bool IntentFitsLog(File& log, const Intent& intent);

// What opening a log found in its write-ahead record.
enum class Recovery {
  kNothing,       // no change was under way (or the record was torn: the log was never touched)
  kCompleted,     // an interrupted record write was carried out again
  kAppendUndone,  // an append that had failed was cut back
  kJoinUndone,    // an interrupted join was cut back to the log before it
  kNotThisLog,    // the intent was written for another log, put in its place since: discarded
  kFailed,        // an intent could not be carried out: the log must not be used as it is
};

class WriteAhead {
 public:
  explicit WriteAhead(FileSystem& fs) : fs_(fs) {}

  // Belongs to the log `logPath` from now on.
  void Attach(const std::string& logPath);
  const std::string& name() const { return name_; }

  // Opening the log: carries out a whole intent on `log` (synced) and clears it; a torn one is
  // passed over, and one written for another log (IntentFitsLog) is discarded. Doing it twice
  // gives the same log. `completed` receives the record a kCompleted put in place.
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
