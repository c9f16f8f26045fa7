// The log file (".VD"): fixed 200-byte records without a header (doc/log_format.md). It stays
// open for the whole run; records are read by number and written one at a time, and every
// write is journalled in the safety file and kept in the record index.
#pragma once

#include <memory>
#include <string>

#include "log/file_system.h"
#include "log/log_format.h"
#include "log/log_ui.h"
#include "log/multiplier_check.h"
#include "log/record.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_ahead.h"
#include "log/write_counters.h"

namespace vondal {

struct LogOptions {
  bool writeProtect = false;  // browse mode or the `readonly` toggle
  bool compatible = false;    // record limit 500,000 and CALLSIGN of at most 15 bytes
  bool limitedsave = false;   // an unchanged record is not rewritten
  bool writeAhead = true;     // off only to measure what the write-ahead record costs
};

struct WriteResult {
  std::string message;   // "" on success; else the refusal (or, with `written`, a warning)
  int field = -1;        // the field the refusal concerns, or -1
  bool written = false;  // the record reached the log (a failed journal write still says so)
  bool fatal = false;    // `message` ends the program
  bool skipped = false;  // limited save: the record equals the stored one and was not rewritten
};

// A refusal of one field's text: the message ("" when the text passes) and the field.
struct FieldRefusal {
  std::string message;
  int field = -1;
};

// The checks WriteRecord applies to the text of stored field `field` (0-16), in its order: the
// blank rule of the active field table ("未記入です"), the content of DATE, START, END, CALLSIGN,
// FREQ and MODE, and no byte 0x1E or 0x1F. Programs that write logs without a LogFile (Vonfill)
// hold their records to the same checks through it.
FieldRefusal CheckStoredField(int field, const std::string& text, bool compatible);

class LogFile {
 public:
  LogFile(FileSystem& fs, WriteCounters& counters, RecordIndex& index, SafetyFile& safety, LogUi& ui)
      : fs_(fs), counters_(counters), index_(index), safety_(safety), ui_(ui), writeAhead_(fs) {}

  // Start-up: shows the path, opens or creates the file and takes its lock (exclusive, or
  // shared under `writeProtect`), carries out or undoes a change that a crash interrupted (the
  // write-ahead record; a note on the log's line says so), checks the size and the record limit,
  // and loads the previous data from the last record. "" or the fatal message. A log that
  // another program holds is opened for reading only and left exactly as it is: nothing is
  // carried out, and every write is refused (LockedElsewhere).
  std::string OpenLog(const std::string& path);

  // What taking the log's lock gave; kHeld: another program writes (or reads) the log, and this
  // run only reads it.
  LockResult lockResult() const { return lockResult_; }
  bool LockedElsewhere() const { return lockResult_ == LockResult::kHeld; }

  // The sort, before it renames its sorted log `replacement` over the log: locks that file, so
  // that the log is never unguarded while it is being replaced. ReopenLog then keeps this lock
  // and lets the old one go; DropReplacementLock forgets it when the log stays the old one.
  void LockReplacement(const std::string& replacement);
  void DropReplacementLock() { replacementLock_.reset(); }

  // After the safety file is checked: a record write that opening the log carried out again
  // is journalled too, unless the journal already ends with it.
  void JournalRepairedRecord();

  // Closes the log and lets its lock go, as the end of the program does (a test then opens the
  // log again as the next run would).
  void CloseLog() {
    file_.reset();
    lock_.reset();
    replacementLock_.reset();
  }

  // Closes and reopens the file in update mode (after sort and join have replaced it).
  // "" or the fatal "ﾛｸﾞﾌｧｲﾙを再ｵｰﾌﾟﾝできません".
  std::string ReopenLog();

  // Makes sure no record write of the past can be carried out again: before the log file is
  // replaced by other means (sort) and when the program ends. False when that failed.
  bool SettleWriteAhead() { return writeAhead_.Settle(); }

  // The 17 texts of record n, split out of the shared read buffer: valid until the next read,
  // so callers copy what they keep. A record that cannot be read gives 17 empty texts.
  const RecordTexts& ReadRecord(int n);

  // Raw 200-byte images of records first … first + count - 1 into `buffer`; the number read.
  int ReadImages(int first, int count, char* buffer);

  // Writes the working record as record n (n == RecordCount() appends) after checking it. On
  // success the record is on the disk (synced), the index and the journal follow. A write that
  // fails leaves the file as it was. The multiplier check may put "？" in front of REMARKS.
  // With limited save an existing record whose line would not change is not written (`skipped`).
  WriteResult WriteRecord(int n, Record& working);

  // Join: records appended at the end behind a write-ahead record that cuts the log back to its
  // size before the join, so that a failure or a kill leaves all of them or none. BeginJoin with
  // the number of records and the first of them, as the join will append them (false: the log
  // stays untouched), AppendJoined any number of times (not synced), then
  // CommitJoin (synced, the records count; false: nothing was joined) or CancelJoin.
  bool BeginJoin(int records, const RecordImage& first);
  bool AppendJoined(const char* images, int count);
  bool CommitJoin();
  void CancelJoin();

  int RecordCount() const { return recordCount_; }
  // What was written this run: records new and rewritten, joins and sorts.
  const WriteCounters& counters() const { return counters_; }
  int RecordLimit() const { return options.compatible ? kCompatibleMaxRecords : kMaxRecords; }
  const std::string& path() const { return path_; }

  // The last record read at start-up or written since: the auto-fill source "前回ﾃﾞｰﾀ".
  const Record& previousData() const { return previous_; }

  LogOptions options;
  MultiplierCheck* multiplier = nullptr;

 private:
  // Checks the working record field by field and lays it out; "" or the refusal.
  WriteResult BuildImage(int n, Record& working, RecordImage& image);
  // Writes the image at record n behind its write-ahead record and syncs; on a failure puts the
  // file back as it was.
  bool WriteDurably(int n, const RecordImage& image);
  // After a failed write: restores record n (an overwrite) or the old end (an append); when
  // that fails too, leaves the undo in the write-ahead record for the next start.
  void Restore(int n, bool append, const RecordImage& old, const RecordImage& failed);

  FileSystem& fs_;
  WriteCounters& counters_;
  RecordIndex& index_;
  SafetyFile& safety_;
  LogUi& ui_;
  std::unique_ptr<File> file_;
  std::unique_ptr<FileLock> lock_;
  std::unique_ptr<FileLock> replacementLock_;
  LockResult lockResult_ = LockResult::kTaken;
  std::string path_;
  int recordCount_ = 0;
  Record previous_;
  RecordReader reader_;
  WriteAhead writeAhead_;
  std::unique_ptr<RecordImage> repaired_;  // the record opening the log put in place
  int joined_ = 0;                         // records appended by the join under way
};

}  // namespace vondal
