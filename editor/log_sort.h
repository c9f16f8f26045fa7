// Sort: the log rewritten in date-time order, the old file kept as a numbered backup beside it.
// The order is found on the record index in memory; the new log is written to "$ortTemp.VD$" in
// the log's folder, synced, and only then takes the log's name, so that at every moment the
// folder holds a whole log (old or new) and, once the new one is in place, a whole backup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/editor_state.h"
#include "editor/work_rows.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_counters.h"

namespace vondal {

inline constexpr char kSortTemporaryName[] = "$ortTemp.VD$";
// The backup is made under this name first and then renamed to its number, so that an existing
// "~99" gives way only to a whole new backup, and only once the sorted log is in place.
inline constexpr char kSortBackupTemporaryName[] = "$ortBack.VD$";

// Records 1 … count - 1 whose key is smaller than their predecessor's.
int CountReversals(const RecordIndex& index, int count);

// The sorted order: the pre-sort positions of the records, smallest key first; records with
// equal keys keep their order in the log.
std::vector<int32_t> SortedOrder(const RecordIndex& index, int count);

// The backup name with number `number` (1-99) of the log `logPath`: its extension from the last
// "." replaced by "~##.VD" ("2024.VD" → "2024~08.VD").
std::string BackupName(const std::string& logPath, int number);

// The number of the next backup: the highest existing one plus one (1 when there is none), 99
// when that passes 99 (the existing ~99 is then replaced).
int NextBackupNumber(FileSystem& fs, const std::string& logPath);

// A file beside the log, in its folder.
std::string BesideLog(const std::string& logPath, const std::string& name);

struct SortContext {
  FileSystem& fs;
  LogFile& log;
  RecordIndex& index;
  SafetyFile* safety = nullptr;  // the journal of the sort's time record; may be null
  WriteCounters& counters;
  // Called after the new log is in place with the new position of every pre-sort record
  // number: the editor's faces and lists follow their records.
  std::function<void(const std::vector<int32_t>& newPosition)> follow{};
};

struct SortResult {
  bool sorted = false;  // the new log is in place
  std::string fatal;    // the log could not be opened again: the program ends with this
  std::string backup;   // the backup's path
};

// The sort after the user chose S: shows its steps on `rows` (rows 5-14) and leaves either the
// sorted log with its backup, the index in the new order (marks and mark memories moved with
// their records) and the time record in the journal; or, after any failure, the log, the index
// and the backups as they were, with the reason on its row.
SortResult SortLog(SortContext& context, WorkRows& rows);

// The editor follows a sort: every face's record, every line of the select list and of the
// remembered list, the range starts of Ins and Del and the date/time-from record move to the
// record's new position.
void FollowSortedRecords(EditorState& editor, const std::vector<int32_t>& newPosition);

}  // namespace vondal
