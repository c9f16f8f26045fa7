// The safety file (".VDS"): an append-only journal of every record written to the log, with
// marker records for notable events. It is opened and closed around every append.
#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "log/file_system.h"
#include "log/log_format.h"
#include "log/log_ui.h"
#include "log/write_counters.h"

namespace vondal {

// The local date and time of a marker record.
using Clock = std::function<std::tm()>;
std::tm LocalNow();

class SafetyFile {
 public:
  SafetyFile(FileSystem& fs, WriteCounters& counters, Clock clock = LocalNow)
      : fs_(fs), counters_(counters), clock_(std::move(clock)) {}

  // The journal's file name; empty: no safety file.
  void Configure(std::string path) { path_ = std::move(path); }
  const std::string& path() const { return path_; }
  bool configured() const { return !path_.empty(); }

  // The journal of a log that another program writes: shown, never changed (not even a torn
  // tail is cut, which may be that program's append under way); every append fails.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  // Start-up: shows the safety line and makes sure the file can be opened for appending. A
  // tail that is not a whole record (an append a crash tore) is cut off, and a note behind the
  // line says so. "" or the fatal "ｾｰﾌﾃｨﾌｧｲﾙをｵｰﾌﾟﾝできません".
  std::string CheckSafety(LogUi& ui);

  // The journal opened for appending; null when none is configured or it cannot be opened.
  std::unique_ptr<File> OpenSafety();

  // Appends the image of a log write and syncs; counts Safety. False when it could not be
  // written (the journal is then as it was).
  bool JournalRecord(const RecordImage& image);

  // JournalRecord, unless the journal's last record is this image already (a record write
  // that a crash interrupted after journalling it, and that opening the log completed).
  bool JournalIfMissing(const RecordImage& image);

  // Appends a marker record for an event (the event text becomes REMARKS, cut to 150 bytes);
  // counts Safety(Time). -1 when no safety file is configured, 1 when it could not be written,
  // else 0.
  int WriteMarker(std::string_view eventText);

  // The marker record for an event at a given local time.
  static RecordImage BuildMarker(std::string_view eventText, const std::tm& now);

 private:
  // The journal's size after cutting off a tail that is not a whole record; -1 on an error.
  static int64_t WholeRecords(File& file);
  bool Append(const RecordImage& image);

  FileSystem& fs_;
  WriteCounters& counters_;
  Clock clock_;
  std::string path_;
  bool readOnly_ = false;
};

}  // namespace vondal
