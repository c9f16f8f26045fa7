#include "log/log_file.h"

#include <cstring>

#include "app/text/wildcard.h"
#include "log/date_time.h"

namespace vondal {
namespace {

constexpr char kCannotWrite[] = "ﾛｸﾞﾌｧｲﾙに書込めません";
constexpr char kUnfit[] = "ﾃﾞｰﾀが不適当です";

// The content check of one stored field; "" when the text is acceptable.
std::string CheckFieldText(int field, const std::string& text, bool compatible) {
  switch (field) {
    case DATE:
      return CheckDate(text) == 0 ? "" : kUnfit;
    case START:
      if (!jstrwldc("####", text, false)) return kUnfit;
      return (text[0] - '0') * 10 + (text[1] - '0') < 24 && (text[2] - '0') * 10 + (text[3] - '0') < 60
                 ? ""
                 : kUnfit;
    case END:
      return text.size() == 4 ? "" : kUnfit;
    case CALLSIGN:
      if (text.size() < 3 && text != "CQ" && text != "EX") return "短すぎます";
      if (compatible && text.size() >= 16) return "長すぎます";
      return "";
    case FREQ:
      return jstrwldc("#*.*", text, false) ? "" : kUnfit;
    case MODE:
      return jstrwldc("@?*", text, false) ? "" : kUnfit;
    default:
      return "";
  }
}

bool HoldsSeparator(const std::string& text) {
  return text.find(kSeparator) != std::string::npos || text.find(kForbidden) != std::string::npos;
}

}  // namespace

FieldRefusal CheckStoredField(int field, const std::string& text, bool compatible) {
  if (text.empty() && ActiveFieldTable()[field].attributes[kBlankRule] == 'B') return {"未記入です", field};
  if (!text.empty()) {
    std::string refusal = CheckFieldText(field, text, compatible);
    if (!refusal.empty()) return {refusal, field};
  }
  if (HoldsSeparator(text)) return {"不適当な文字があります", field};
  return {};
}

std::string LogFile::OpenLog(const std::string& path) {
  path_ = path;
  std::string line = "ﾛｸﾞ=" + path;
  ui_.StartupLine(5, 0, line);
  const bool existed = fs_.Exists(path);
  // One program writes a log at a time: a second one reads it and never changes a byte of it,
  // not even to carry out an intent, which may belong to a write the first one is making now.
  lock_.reset();
  replacementLock_.reset();
  lockResult_ = fs_.Lock(path, !options.writeProtect, lock_);
  const bool handsOff = LockedElsewhere();
  file_ = fs_.Open(path, handsOff ? OpenMode::kRead : OpenMode::kUpdate);
  if (!file_ && !handsOff) file_ = fs_.Open(path, OpenMode::kCreate);
  if (!file_) return "ﾛｸﾞﾌｧｲﾙをｵｰﾌﾟﾝできません";
  if (!existed) fs_.SyncFolder(path);  // a new log survives a power cut
  writeAhead_.Attach(path);
  Intent repaired;
  const Recovery recovery = handsOff ? Recovery::kNothing : writeAhead_.Recover(*file_, &repaired);
  if (recovery == Recovery::kFailed) return "中断された書込を修復できません";
  if (recovery == Recovery::kCompleted) repaired_ = std::make_unique<RecordImage>(repaired.image);

  int64_t size = file_->Size();
  // A log another program writes may be in the middle of an append: its whole records are read.
  if (handsOff && size > 0) size -= size % kRecordSize;
  if (size < 0 || size % kRecordSize != 0) return "ﾛｸﾞﾌｧｲﾙのｻｲｽﾞが異常です";
  if (size / kRecordSize > RecordLimit()) return "ﾚｺｰﾄﾞ数制限超過です";
  recordCount_ = static_cast<int>(size / kRecordSize);
  if (recordCount_ > 0) {
    CopyTexts(ReadRecord(recordCount_ - 1), previous_);
  } else {
    line = "新ﾛｸﾞ=" + path;
    ui_.StartupLine(5, 0, line);
  }
  const char* note = recovery == Recovery::kCompleted      ? "中断された書込を完了しました"
                     : recovery == Recovery::kAppendUndone ? "中断された書込を取消しました"
                     : recovery == Recovery::kJoinUndone ? "中断された結合読込を取消しました"
                     : recovery == Recovery::kNotThisLog ? "他のﾛｸﾞの中断記録を破棄しました"
                                                         : nullptr;
  if (note) ui_.StartupNote(5, static_cast<int>(line.size()) + 1, note);
  return "";
}

void LogFile::JournalRepairedRecord() {
  if (repaired_ && safety_.configured()) safety_.JournalIfMissing(*repaired_);
  repaired_.reset();
}

void LogFile::LockReplacement(const std::string& replacement) {
  replacementLock_.reset();
  if (lockResult_ != LockResult::kTaken) return;  // nothing is guarded now either
  std::unique_ptr<FileLock> lock;
  if (fs_.Lock(replacement, true, lock) == LockResult::kTaken) replacementLock_ = std::move(lock);
}

std::string LogFile::ReopenLog() {
  writeAhead_.Settle();
  file_.reset();
  if (replacementLock_) lock_ = std::move(replacementLock_);
  file_ = fs_.Open(path_, OpenMode::kUpdate);
  if (!file_) return "ﾛｸﾞﾌｧｲﾙを再ｵｰﾌﾟﾝできません";
  const int64_t size = file_->Size();
  if (size >= 0) recordCount_ = static_cast<int>(size / kRecordSize);
  return "";
}

bool LogFile::BeginJoin(int records, const RecordImage& first) {
  joined_ = 0;
  if (!file_ || LockedElsewhere() || records <= 0) return false;
  const int64_t size = static_cast<int64_t>(recordCount_) * kRecordSize;
  Intent join{IntentKind::kUndoJoin, 0, size, size + static_cast<int64_t>(records) * kRecordSize, first};
  // Whatever a crash left at the end is no record of the log: the join starts behind the last one.
  return IdentifyLog(*file_, join) && writeAhead_.Begin(join) &&
         (file_->Size() == size || file_->Truncate(size));
}

bool LogFile::AppendJoined(const char* images, int count) {
  const int64_t offset = static_cast<int64_t>(recordCount_ + joined_) * kRecordSize;
  const size_t size = static_cast<size_t>(count) * kRecordSize;
  if (file_->WriteAt(offset, images, size) != static_cast<int64_t>(size)) return false;
  file_->StartWriteBack(offset, static_cast<int64_t>(size));
  joined_ += count;
  return true;
}

bool LogFile::CommitJoin() {
  if (!file_->Sync()) return false;
  writeAhead_.Clear();
  if (!writeAhead_.Settle()) return false;
  recordCount_ += joined_;
  counters_[kCountLogJoin] += joined_;
  joined_ = 0;
  return true;
}

void LogFile::CancelJoin() {
  joined_ = 0;
  // When the log cannot be cut back now, the write-ahead record still says how: the next start
  // does it.
  if (file_ && file_->Truncate(static_cast<int64_t>(recordCount_) * kRecordSize) && file_->Sync()) {
    writeAhead_.Clear();
    writeAhead_.Settle();
  }
}

const RecordTexts& LogFile::ReadRecord(int n) {
  char image[kTextArea];
  const bool read = file_ && n >= 0 && n < recordCount_ &&
                    file_->ReadAt(static_cast<int64_t>(n) * kRecordSize, image, kTextArea) == kTextArea;
  // A record that cannot be read shows as empty texts rather than stale ones.
  if (!read) std::memset(image, kSeparator, kTextArea);
  return reader_.Split(image);
}

int LogFile::ReadImages(int first, int count, char* buffer) {
  if (!file_ || first < 0 || count <= 0 || first >= recordCount_) return 0;
  count = std::min(count, recordCount_ - first);
  const int64_t got = file_->ReadAt(static_cast<int64_t>(first) * kRecordSize, buffer,
                                    static_cast<size_t>(count) * kRecordSize);
  return got < 0 ? 0 : static_cast<int>(got / kRecordSize);
}

WriteResult LogFile::BuildImage(int n, Record& working, RecordImage& image) {
  if (options.writeProtect || LockedElsewhere()) return {"書込禁止です"};
  if (n >= RecordLimit()) return {"ﾚｺｰﾄﾞ数制限超過です"};
  if (n < 0 || n > recordCount_) return {kCannotWrite};
  int used = 0;
  for (int i = 0; i < kStoredFieldCount; ++i) {
    std::string& text = working[i];
    FieldRefusal refusal = CheckStoredField(i, text, options.compatible);
    if (!refusal.message.empty()) return {refusal.message, refusal.field};
    if (i == rRST && multiplier && multiplier->Covers(n)) {
      std::string verdict = multiplier->Check(working, n);
      if (ui_.ShiftHeld()) {
        working[REMARKS] = "？" + working[REMARKS];
      } else if (!verdict.empty()) {
        const int goTo = verdict[0] >= '0' && verdict[0] <= '9' ? verdict[0] - '0' : i;
        return {verdict.substr(1), goTo};
      }
    }
    // The record budget keeps the texts within the slot; a longer record would spill into the
    // next one.
    used += static_cast<int>(text.size());
    if (used > kRecordBudget) return {"長すぎます", i};
  }
  image = EncodeRecord(working);
  return {};
}

bool LogFile::WriteDurably(int n, const RecordImage& image) {
  if (!file_) return false;
  const int64_t offset = static_cast<int64_t>(n) * kRecordSize;
  const int64_t sizeBefore = static_cast<int64_t>(recordCount_) * kRecordSize;
  const bool append = n == recordCount_;
  RecordImage old;
  if (!append && file_->ReadAt(offset, old.data(), kRecordSize) != kRecordSize) return false;
  // A kill can tear the record at a page boundary, where no code of ours runs to mend it: the
  // write-ahead record lets the next start finish it, on this log only.
  Intent put{IntentKind::kPutRecord, n, sizeBefore, append ? sizeBefore + kRecordSize : sizeBefore, image};
  if (!append) put.old = old;
  if (options.writeAhead && !(IdentifyLog(*file_, put) && writeAhead_.Begin(put))) return false;
  if (file_->WriteAt(offset, image.data(), kRecordSize) == kRecordSize && file_->Sync()) {
    if (options.writeAhead) writeAhead_.Clear();
    return true;
  }
  Restore(n, append, old, image);
  return false;
}

void LogFile::Restore(int n, bool append, const RecordImage& old, const RecordImage& failed) {
  const int64_t offset = static_cast<int64_t>(n) * kRecordSize;
  const bool restored =
      (append ? file_->Truncate(offset) : file_->WriteAt(offset, old.data(), kRecordSize) == kRecordSize) &&
      file_->Sync();
  if (!options.writeAhead) return;
  if (restored) {
    // The failed write must never be carried out later.
    writeAhead_.Clear();
    writeAhead_.Settle();
    return;
  }
  // The log is not as it was: the next start puts it back.
  const int64_t size = static_cast<int64_t>(recordCount_) * kRecordSize;
  Intent undo = append ? Intent{IntentKind::kUndoAppend, 0, offset, offset + kRecordSize, failed}
                       : Intent{IntentKind::kPutRecord, n, size, size, old, failed};
  if (IdentifyLog(*file_, undo)) writeAhead_.Begin(undo);
}

WriteResult LogFile::WriteRecord(int n, Record& working) {
  RecordImage image;
  WriteResult result = BuildImage(n, working, image);
  if (!result.message.empty()) return result;

  for (int i = 0; i < kStoredFieldCount; ++i) previous_[i] = working[i];

  if (options.limitedsave && n < recordCount_) {
    char stored[kTextArea];
    if (file_->ReadAt(static_cast<int64_t>(n) * kRecordSize, stored, kTextArea) == kTextArea &&
        std::memcmp(stored, image.data(), kTextArea) == 0) {
      result.skipped = true;
      return result;
    }
  }

  // Once the index changes, the index file no longer describes the log: it goes before the log
  // changes, so that a run that never saves it leaves no stale index behind.
  const int32_t key = DateTimeKey(working[DATE], working[START]);
  if (index_.WouldChange(n, key, working[CALLSIGN])) index_.RetireFile();
  if (!WriteDurably(n, image)) return {kCannotWrite};
  result.written = true;

  if (!index_.SetIndexEntry(n, key, working[CALLSIGN], IndexMode::kWrite)) {
    return {kIndexOutOfMemory, -1, true, true};
  }
  const bool appended = n == recordCount_;
  if (appended) {
    ++counters_[kCountLogNew];
    recordCount_ = n + 1;
  } else {
    ++counters_[kCountLogOld];
  }
  ui_.RecordWritten(n, appended);

  if (safety_.configured() && !safety_.JournalRecord(image)) {
    result.message = "ｾｰﾌﾃｨﾌｧｲﾙに書込めません";
  }
  return result;
}

}  // namespace vondal
