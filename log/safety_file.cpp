#include "log/safety_file.h"

#include <cstdio>

#include "app/text/sjis.h"
#include "app/text/version.h"

namespace vondal {
namespace {

constexpr size_t kMaxEventText = 150;  // the REMARKS limit: a marker always fits its slot

}  // namespace

std::tm LocalNow() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

std::string SafetyFile::CheckSafety(LogUi& ui) {
  if (!configured()) {
    ui.StartupLine(7, 0, "ｾｰﾌﾃｨ=未設定");
    return "";
  }
  std::string line = "ｾｰﾌﾃｨ=" + path_;
  ui.StartupLine(7, 0, line);
  if (readOnly_) return "";
  auto file = OpenSafety();
  if (!file) return "ｾｰﾌﾃｨﾌｧｲﾙをｵｰﾌﾟﾝできません";
  const int64_t size = file->Size();
  const int64_t whole = WholeRecords(*file);
  if (whole == 0) {
    line = "新ｾｰﾌﾃｨ=" + path_;
    ui.StartupLine(7, 0, line);
  }
  if (whole >= 0 && whole != size)
    ui.StartupNote(7, static_cast<int>(line.size()) + 1, "末尾の半端なﾃﾞｰﾀを削除しました");
  return "";
}

std::unique_ptr<File> SafetyFile::OpenSafety() {
  if (!configured()) return nullptr;
  const bool existed = fs_.Exists(path_);
  auto file = fs_.Open(path_, OpenMode::kAppend);
  if (file && !existed) fs_.SyncFolder(path_);  // a new journal survives a power cut
  return file;
}

int64_t SafetyFile::WholeRecords(File& file) {
  const int64_t size = file.Size();
  if (size < 0) return -1;
  // A crash can tear an append at a page boundary; every later record would then stand at an
  // offset that is not a multiple of 200, and a join of the journal would misread them all.
  const int64_t whole = size - size % kRecordSize;
  if (whole != size && !(file.Truncate(whole) && file.Sync())) return -1;
  return whole;
}

bool SafetyFile::Append(const RecordImage& image) {
  if (readOnly_) return false;
  auto file = OpenSafety();
  if (!file) return false;
  const int64_t before = WholeRecords(*file);
  if (before < 0) return false;
  if (file->WriteAt(before, image.data(), image.size()) == static_cast<int64_t>(image.size()) &&
      file->Sync()) {
    return true;
  }
  // Cut a half-written record back, so that the journal stays a sequence of whole records.
  file->Truncate(before);
  file->Sync();
  return false;
}

bool SafetyFile::JournalRecord(const RecordImage& image) {
  if (!Append(image)) return false;
  ++counters_[kCountSafety];
  return true;
}

bool SafetyFile::JournalIfMissing(const RecordImage& image) {
  if (auto file = OpenSafety()) {
    const int64_t size = WholeRecords(*file);
    RecordImage last;
    if (size >= kRecordSize && file->ReadAt(size - kRecordSize, last.data(), kRecordSize) == kRecordSize &&
        last == image) {
      return true;
    }
  }
  return JournalRecord(image);
}

RecordImage SafetyFile::BuildMarker(std::string_view eventText, const std::tm& now) {
  char date[32];
  char start[32];
  std::snprintf(date, sizeof date, "%02d%02d%02d", (now.tm_year + 1900) % 100, now.tm_mon + 1, now.tm_mday);
  std::snprintf(start, sizeof start, "%02d%02d", now.tm_hour, now.tm_min);
  Record marker;
  marker[DATE] = date;
  marker[START] = start;
  marker[END] = "----";
  marker[CALLSIGN] = "------";
  marker[FREQ] = kProgramVersion;
  marker[MODE] = "--";
  marker[QTH] = "-";
  marker[NAME] = "-";
  marker[REMARKS] = CutAtCharacter(eventText, kMaxEventText);
  return EncodeRecord(marker);
}

int SafetyFile::WriteMarker(std::string_view eventText) {
  if (!configured()) return -1;
  if (!Append(BuildMarker(eventText, clock_()))) return 1;
  ++counters_[kCountSafetyTime];
  return 0;
}

}  // namespace vondal
