#include "editor/log_sort.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <system_error>

namespace vondal {
namespace {

constexpr size_t kWriteBufferSize = 1000000;
constexpr int kBufferRecords = kWriteBufferSize / kRecordSize;
constexpr int kProgressStep = 10000;

constexpr char kCannotOpenTemporary[] = "一時ﾌｧｲﾙをｵｰﾌﾟﾝできないので中断";
constexpr char kCannotWriteTemporary[] = "一時ﾌｧｲﾙに書込めないので中断";
constexpr char kCannotReadLog[] = "ﾛｸﾞﾌｧｲﾙを読込めないので中断";
constexpr char kCannotKeepBackup[] = "元ﾃﾞｰﾀを保存できないので中断";
constexpr char kCannotReplaceLog[] = "ﾛｸﾞﾌｧｲﾙを置換えられないので中断";

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Number(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", n);
  return text;
}

// Writes the records in their new order into `temporary`; "" or the reason.
// Meanwhile the index entries are gathered into `entries` in the same order, each numbered by its
// new position: the index itself is only changed once the sorted log is in place.
std::string WriteSorted(FileSystem& fs, LogFile& log, const RecordIndex& index,
                        const std::vector<int32_t>& order, IndexEntry* entries, File& temporary,
                        WorkRows& rows) {
  const int count = static_cast<int>(order.size());
  // The log mapped, where the system can: then each record is one copy in memory.
  std::unique_ptr<File> source = fs.Open(log.path(), OpenMode::kRead);
  const std::string_view mapped = source ? source->MapForReading() : std::string_view();
  const bool useMap = mapped.size() == static_cast<size_t>(log.RecordCount()) * kRecordSize;
  // With the log mapped, a full buffer is written by a second thread while the next one is
  // gathered, so that the gather and the copy into the system's cache take a core each. A log
  // read through the file system keeps its reads and writes one after the other.
  std::vector<char> buffers[2] = {std::vector<char>(kWriteBufferSize),
                                  std::vector<char>(useMap ? kWriteBufferSize : 0)};
  int current = 0;
  int64_t written = 0;
  int filled = 0;  // records in the current buffer
  const auto write = [&temporary](const char* data, int64_t at, size_t size) {
    if (temporary.WriteAt(at, data, size) != static_cast<int64_t>(size)) return false;
    temporary.StartWriteBack(at, static_cast<int64_t>(size));
    return true;
  };
  std::future<bool> pending;  // the write of the other buffer; joined before the buffers go
  auto flush = [&] {
    const size_t size = static_cast<size_t>(filled) * kRecordSize;
    const char* data = buffers[current].data();
    bool done = true;
    if (useMap) {
      if (pending.valid() && !pending.get()) return false;
      try {
        pending = std::async(std::launch::async, write, data, written, size);
        current ^= 1;
      } catch (const std::system_error&) {  // no thread to be had: written here
        done = write(data, written, size);
      }
    } else {
      done = write(data, written, size);
    }
    written += static_cast<int64_t>(size);
    filled = 0;
    return done;
  };
  for (int i = 0; i < count;) {
    // Records that follow each other in the log as well are read in one piece: a log with a
    // few late entries is read almost sequentially.
    int run = 1;
    while (i + run < count && filled + run < kBufferRecords && order[i + run] == order[i] + run) ++run;
    char* to = &buffers[current][static_cast<size_t>(filled) * kRecordSize];
    // The records and entries a few steps ahead are fetched while these are copied: in a log of
    // random order nearly every one is a miss of the caches.
    constexpr int kAhead = 8;
    if (i + kAhead < count) {
      const IndexEntry* entry = &index[order[i + kAhead]];
      __builtin_prefetch(entry);
      __builtin_prefetch(reinterpret_cast<const char*>(entry) + sizeof(IndexEntry) - 1);
    }
    for (int k = i; k < i + run; ++k) {
      entries[k] = index[order[k]];
      entries[k].recordNumber = k;
    }
    if (useMap) {
      if (i + kAhead < count) {
        const char* ahead = mapped.data() + static_cast<size_t>(order[i + kAhead]) * kRecordSize;
        for (int line = 0; line < kRecordSize; line += 64) __builtin_prefetch(ahead + line);
        __builtin_prefetch(ahead + kRecordSize - 1);
      }
      std::memcpy(to, mapped.data() + static_cast<size_t>(order[i]) * kRecordSize,
                  static_cast<size_t>(run) * kRecordSize);
    } else if (log.ReadImages(order[i], run, to) != run) {
      return kCannotReadLog;
    }
    filled += run;
    const int before = i;
    i += run;
    if (filled == kBufferRecords && !flush()) return kCannotWriteTemporary;
    if (i / kProgressStep != before / kProgressStep) {
      rows.Put(9, 18, Number(i / kProgressStep * kProgressStep));
      rows.Flush();
    }
  }
  if (filled > 0 && !flush()) return kCannotWriteTemporary;
  if (pending.valid() && !pending.get()) return kCannotWriteTemporary;
  rows.Put(9, 18, Number(count));
  return temporary.Sync() ? "" : kCannotWriteTemporary;
}

// A synced copy of the log under `to`, where the file system has no hard links.
bool CopyLog(FileSystem& fs, const std::string& from, const std::string& to) {
  std::unique_ptr<File> source = fs.Open(from, OpenMode::kRead);
  std::unique_ptr<File> target = source ? fs.Open(to, OpenMode::kWrite) : nullptr;
  if (!target) return false;
  std::vector<char> buffer(kWriteBufferSize);
  for (int64_t offset = 0;;) {
    const int64_t got = source->ReadAt(offset, buffer.data(), buffer.size());
    if (got < 0) return false;
    if (got == 0) break;
    if (target->WriteAt(offset, buffer.data(), static_cast<size_t>(got)) != got) return false;
    offset += got;
  }
  return target->Sync();
}

// The old log under `staged`, the name a backup is made under before it gets its number: a
// second name of the same file, or a synced copy.
bool StageBackup(FileSystem& fs, const std::string& logPath, const std::string& staged) {
  if (fs.Exists(staged)) fs.Remove(staged);
  if (!fs.Link(logPath, staged) && !CopyLog(fs, logPath, staged)) {
    fs.Remove(staged);
    return false;
  }
  return true;
}

// The staged backup under its number, for good.
bool PlaceBackup(FileSystem& fs, const std::string& staged, const std::string& backup) {
  return fs.Rename(staged, backup) && fs.SyncFolder(backup);
}

// The index in the new order: the entries gathered by WriteSorted, a block at a time.
void ReorderIndex(RecordIndex& index, const std::vector<int32_t>& order, const IndexEntry* entries,
                  WriteCounters& counters) {
  const int count = static_cast<int>(order.size());
  index.RetireFile();
  for (int first = 0; first < count; first += kIndexBlockEntries) {
    const int size = std::min(kIndexBlockEntries, count - first);
    std::memcpy(&index[first], &entries[first], static_cast<size_t>(size) * sizeof(IndexEntry));
  }
  for (int n = 0; n < count; ++n) {
    if (order[n] != n) ++counters[kCountIndex];
  }
}

}  // namespace

int CountReversals(const RecordIndex& index, int count) {
  int reversals = 0;
  for (int n = 1; n < count; ++n) {
    if (index[n].key < index[n - 1].key) ++reversals;
  }
  return reversals;
}

std::vector<int32_t> SortedOrder(const RecordIndex& index, int count) {
  // A stable radix sort of the positions by key, eleven bits a pass from the lowest: each pass
  // keeps the order of the one before among equal digits, so equal keys keep their log order.
  const size_t n = static_cast<size_t>(std::max(count, 0));
  std::vector<uint32_t> keys(n);
  for (size_t i = 0; i < n; ++i) keys[i] = static_cast<uint32_t>(index[static_cast<int>(i)].key);
  std::vector<int32_t> order(n);
  std::vector<int32_t> next(n);
  for (size_t i = 0; i < n; ++i) order[i] = static_cast<int32_t>(i);
  constexpr int kDigitBits = 11;
  constexpr uint32_t kDigitMask = (1u << kDigitBits) - 1;
  for (int shift = 0; shift < 32; shift += kDigitBits) {
    size_t starts[kDigitMask + 2] = {};
    for (size_t i = 0; i < n; ++i) ++starts[((keys[i] >> shift) & kDigitMask) + 1];
    if (starts[((keys.empty() ? 0 : keys[0] >> shift) & kDigitMask) + 1] == n) continue;  // one digit
    for (size_t d = 1; d < kDigitMask + 2; ++d) starts[d] += starts[d - 1];
    for (size_t i = 0; i < n; ++i) next[starts[(keys[order[i]] >> shift) & kDigitMask]++] = order[i];
    order.swap(next);
  }
  return order;
}

std::string BesideLog(const std::string& logPath, const std::string& name) {
  const size_t slash = logPath.find_last_of('/');
  return slash == std::string::npos ? name : logPath.substr(0, slash + 1) + name;
}

std::string BackupName(const std::string& logPath, int number) {
  const size_t slash = logPath.find_last_of('/');
  const size_t base = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = logPath.find_last_of('.');
  if (dot == std::string::npos || dot < base) dot = logPath.size();
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "~%02d.VD", number);
  return logPath.substr(0, dot) + suffix;
}

int NextBackupNumber(FileSystem& fs, const std::string& logPath) {
  for (int number = 99; number >= 1; --number) {
    if (fs.Exists(BackupName(logPath, number))) return std::min(number + 1, 99);
  }
  return 1;
}

SortResult SortLog(SortContext& context, WorkRows& rows) {
  FileSystem& fs = context.fs;
  LogFile& log = context.log;
  const std::string& logPath = log.path();
  const std::string temporaryName = BesideLog(logPath, kSortTemporaryName);
  SortResult result;
  std::unique_ptr<File> temporary = fs.Open(temporaryName, OpenMode::kWrite);
  if (!temporary) {
    rows.Put(5, 1, kCannotOpenTemporary);
    return result;
  }
  rows.Put(5, 1, "ｿｰﾄ中..");
  rows.Flush();
  const int count = std::min(log.RecordCount(), context.index.size());
  const std::vector<int32_t> order = SortedOrder(context.index, count);
  rows.Put(5, 8, Number(count));
  rows.Put(7, 1, "編集中のﾚｺｰﾄﾞ番号を調整中..");
  rows.Put(9, 1, "ｿｰﾄ後ﾃﾞｰﾀ構築中..");
  rows.Flush();

  auto fail = [&](int row, const char* reason) {
    log.DropReplacementLock();  // the log stays the old one, under its own lock
    temporary.reset();
    fs.Remove(temporaryName);
    rows.Put(row, 1, reason);
    // The index was never changed: it still describes the log as it is.
    rows.Put(row + 2, 1, "ｲﾝﾃﾞｯｸｽを再構築中..");
    rows.Put(row + 4, 1, "完了");
    return result;
  };
  // Left uninitialized: WriteSorted fills every entry.
  const std::unique_ptr<IndexEntry[]> entries(new IndexEntry[order.size()]);
  if (std::string failure = WriteSorted(fs, log, context.index, order, entries.get(), *temporary, rows);
      !failure.empty()) {
    return fail(10, failure.c_str());
  }
  temporary.reset();

  // No record write of the past may be carried out again on the new log.
  if (!log.SettleWriteAhead()) return fail(10, kCannotReplaceLog);
  const int number = NextBackupNumber(fs, logPath);
  const std::string backup = BackupName(logPath, number);
  const std::string staged = BesideLog(logPath, kSortBackupTemporaryName);
  if (!StageBackup(fs, logPath, staged)) return fail(10, kCannotKeepBackup);
  // A new number is taken before the log is replaced, so that a sorted log always has its
  // backup. An existing "~99" gives way only after the log is replaced: until then it is whole,
  // and a sort that fails loses no backup.
  const bool replacesBackup = fs.Exists(backup);
  if (!replacesBackup && !PlaceBackup(fs, staged, backup)) {
    fs.Remove(staged);
    return fail(10, kCannotKeepBackup);
  }
  const std::string& oldLog = replacesBackup ? staged : backup;
  // The sorted log is locked before it takes the log's name: no other program finds the log
  // unguarded in between.
  log.LockReplacement(temporaryName);
  if (!fs.Rename(temporaryName, logPath)) {
    // A backup made for nothing goes again; the log is the old one.
    fs.Remove(oldLog);
    return fail(10, kCannotReplaceLog);
  }
  // When the folder cannot be synced, the sorted log might not outlast a power cut: the old one
  // is put back under its name, where the index still describes it. Where even that fails, the
  // sorted log stands and the index follows it, as after a sort that worked.
  if (!fs.SyncFolder(logPath) && fs.Rename(oldLog, logPath)) return fail(10, kCannotReplaceLog);
  // Kept under the staged name when "~99" cannot be replaced: the old log is never dropped.
  const std::string kept = !replacesBackup || PlaceBackup(fs, staged, backup) ? backup : staged;
  result.sorted = true;
  result.backup = kept;
  result.fatal = log.ReopenLog();
  ReorderIndex(context.index, order, entries.get(), context.counters);
  ++context.counters[kCountLogSort];
  if (context.follow) {
    std::vector<int32_t> newPosition(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n) newPosition[order[n]] = n;
    context.follow(newPosition);
  }
  rows.Put(11, 1, "元ﾃﾞｰﾀ保存名=");
  rows.Put(11, 14, kept);
  if (context.safety && context.safety->configured()) {
    context.safety->WriteMarker("＜日時順ソート＞元データ=" + FileNameOf(kept));
  }
  rows.Put(13, 1, "完了");
  rows.Flush();
  return result;
}

void FollowSortedRecords(EditorState& editor, const std::vector<int32_t>& newPosition) {
  const int count = static_cast<int>(newPosition.size());
  auto follow = [&](int& record) {
    if (record >= 0 && record < count) record = newPosition[record];
  };
  for (Face& face : editor.faces) follow(face.record);
  for (int& record : editor.list.records) follow(record);
  for (int& record : editor.remembered.records) follow(record);
  follow(editor.current);
  follow(editor.lastIns);
  follow(editor.lastDel);
  follow(editor.conditions.dateFromRecord);
}

}  // namespace vondal
