#include "log/record_index.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/text/sjis.h"
#include "log/date_time.h"
#include "log/index_format.h"
#include "log/log_file.h"
#include "log/log_format.h"

namespace vondal {
namespace {

uint32_t ReadWord(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void PutWord(char* p, uint32_t word) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((word >> (8 * i)) & 0xFF);
}

}  // namespace

bool RecordIndex::SetIndexEntry(int n, int32_t key, std::string_view callsign, IndexMode mode) {
  const int block = n / kIndexBlockEntries;
  if (n < 0 || block >= kIndexBlocks) return false;
  if (!blocks_[block]) {
    blocks_[block].reset(new (std::nothrow) IndexEntry[kIndexBlockEntries]);
    if (!blocks_[block]) return false;
    std::memset(blocks_[block].get(), 0, sizeof(IndexEntry) * kIndexBlockEntries);
  }
  IndexEntry& entry = (*this)[n];
  callsign = CutAtCharacter(callsign, kIndexMaxCallsign);
  // A rebuild counts every entry; a write only one it changes (compared only then: a rebuild
  // need not read what it overwrites).
  if (mode == IndexMode::kBuild ||
      (mode == IndexMode::kWrite && (n >= size_ || entry.key != key || callsign != entry.callsign))) {
    ++counters_[kCountIndex];
  }
  entry.recordNumber = n;
  entry.key = key;
  std::memcpy(entry.callsign, callsign.data(), callsign.size());
  entry.callsign[callsign.size()] = '\0';
  size_ = std::max(size_, n + 1);
  return true;
}

bool RecordIndex::WouldChange(int n, int32_t key, std::string_view callsign) const {
  if (n < 0 || n >= size_) return true;
  const IndexEntry& entry = (*this)[n];
  return entry.key != key || CutAtCharacter(callsign, kIndexMaxCallsign) != entry.callsign;
}

void RecordIndex::RetireFile() {
  if (!fileCurrent_ || fs_ == nullptr) return;
  fileCurrent_ = false;
  if (fs_->Remove(path_)) fs_->SyncFolder(path_);
  retired_ = true;
}

void RecordIndex::Shrink(int size) {
  for (int n = std::max(size, 0); n < size_; ++n) (*this)[n] = IndexEntry{};
  size_ = std::min(size_, std::max(size, 0));
}

void RecordIndex::Clear() {
  for (auto& block : blocks_) {
    if (block) std::memset(block.get(), 0, sizeof(IndexEntry) * kIndexBlockEntries);
  }
  size_ = 0;
}

int RecordIndex::ReadIndexFile(File& file, int recordCount, std::span<char> buffer, bool& outOfMemory) {
  char header[kIndexHeaderSize];
  if (file.ReadAt(0, header, kIndexHeaderSize) != kIndexHeaderSize) return -1;
  if (std::memcmp(header, kIndexHeader, kIndexHeaderSize) != 0) return -1;

  int64_t fileOffset = kIndexHeaderSize;  // next byte to read from the file
  size_t begin = 0;                       // unread bytes are buffer[begin, end)
  size_t end = 0;
  int loaded = 0;
  // Makes the buffer hold at least `need` unread bytes; false when the file has no more.
  auto fill = [&](size_t need) {
    while (end - begin < need) {
      std::memmove(buffer.data(), buffer.data() + begin, end - begin);
      end -= begin;
      begin = 0;
      int64_t got = file.ReadAt(fileOffset, buffer.data() + end, buffer.size() - end);
      if (got <= 0) return false;
      fileOffset += got;
      end += got;
    }
    return true;
  };
  while (loaded < recordCount) {
    if (!fill(4)) break;
    const uint32_t word = ReadWord(buffer.data() + begin);
    const int length = static_cast<int>(word >> kIndexKeyBits);
    if (length > kIndexMaxCallsign) return -1;
    if (!fill(4 + length)) break;
    const int32_t key = static_cast<int32_t>(word & kIndexKeyMask);
    // No record has a key past the window: such a word was written from other keys than the
    // log's records give (by an older program, or for another log).
    if (key > kMaxDateTimeKey) return -1;
    if (!SetIndexEntry(loaded, key, std::string_view(buffer.data() + begin + 4, length), IndexMode::kLoad)) {
      outOfMemory = true;
      return -1;
    }
    begin += 4 + length;
    ++loaded;
  }
  if (loaded < recordCount) return loaded;
  // The file must end right after the last entry: anything more means it belongs to another log.
  char extra;
  if (begin != end || file.ReadAt(fileOffset, &extra, 1) != 0) return -1;
  return loaded;
}

std::string RecordIndex::LoadIndex(const std::string& path, FileSystem& fs, LogFile& log, LogUi& ui,
                                   std::span<char> buffer) {
  const int recordCount = log.RecordCount();
  int loaded = -1;
  fs_ = &fs;
  path_ = path;
  fileCurrent_ = false;
  if (path.empty()) {
    ui.StartupLine(8, 0, "ｲﾝﾃﾞｯｸｽ=未設定");
  } else {
    ui.StartupLine(8, 0, "ｲﾝﾃﾞｯｸｽ=" + path);
    // Of a save that a crash interrupted; a log that another program writes leaves it alone,
    // since the file may be that program's save under way.
    if (!log.LockedElsewhere()) FileReplacement::RemoveLeftover(fs, path);
    if (auto file = fs.Open(path, OpenMode::kRead)) {
      bool outOfMemory = false;
      loaded = ReadIndexFile(*file, recordCount, buffer, outOfMemory);
      if (outOfMemory) return kIndexOutOfMemory;
      ui.RecordUse("index");
    }
  }
  if (loaded < 0 || loaded < recordCount) {
    Clear();
    return Rebuild(log, &ui, buffer);
  }
  fileCurrent_ = true;
  if (recordCount > 0) ui.StartupLine(9, 0, "ｲﾝﾃﾞｯｸｽ読込完了");
  return "";
}

std::string RecordIndex::Rebuild(LogFile& log, LogUi* ui, std::span<char> buffer) {
  const int recordCount = log.RecordCount();
  RecordImage single;  // reads one record at a time when the buffer cannot hold one
  if (buffer.size() < static_cast<size_t>(kRecordSize))
    buffer = std::span<char>(single.data(), single.size());
  const int perRead = static_cast<int>(buffer.size() / kRecordSize);
  std::string progress;
  if (ui) ui->StartupLine(9, 0, "ｲﾝﾃﾞｯｸｽ構築中..");
  for (int first = 0; first < recordCount; first += perRead) {
    const int count = log.ReadImages(first, std::min(perRead, recordCount - first), buffer.data());
    for (int i = 0; i < count; ++i) {
      const int n = first + i;
      if (ui && n % kIndexBlockEntries == 0) {
        progress = std::to_string(n) + "/" + std::to_string(recordCount);
        ui->StartupLine(9, 15, progress);
        ui->Flush();
      }
      std::string_view texts[CALLSIGN + 1];
      LeadingTexts(buffer.data() + static_cast<size_t>(i) * kRecordSize, CALLSIGN + 1, texts);
      if (!SetIndexEntry(n, DateTimeKey(texts[DATE], texts[START]), texts[CALLSIGN], IndexMode::kBuild)) {
        return kIndexOutOfMemory;
      }
    }
    if (count <= 0) break;
  }
  if (ui) {
    std::string done = "ｲﾝﾃﾞｯｸｽ構築完了 " + std::to_string(size_);
    // Blank out what is left of the progress figures.
    const size_t shown = progress.empty() ? 15 : 15 + progress.size();
    if (done.size() < shown) done.append(shown - done.size(), ' ');
    ui->StartupLine(9, 0, done);
  }
  return "";
}

int RecordIndex::SaveIndex(const std::string& path, FileSystem& fs, LogUi& ui, std::span<char> buffer) {
  if (path.empty() || (counters_[kCountIndex] == 0 && !retired_)) return 0;
  ui.ReportLine("ｲﾝﾃﾞｯｸｽ保存");
  FileReplacement file(fs, path);
  if (!file.Open()) {
    ui.ReportLine("ｲﾝﾃﾞｯｸｽﾌｧｲﾙをｵｰﾌﾟﾝできません");
    return 1;
  }
  const size_t limit = buffer.size() - 3;  // the next word and text must fit
  std::memcpy(buffer.data(), kIndexHeader, kIndexHeaderSize);
  size_t fill = kIndexHeaderSize;
  for (int n = 0; n < size_; ++n) {
    const IndexEntry& entry = (*this)[n];
    const size_t length = std::strlen(entry.callsign);
    if (fill + length >= limit) {
      if (!file.Write(buffer.data(), fill)) {
        ui.ReportLine("ｲﾝﾃﾞｯｸｽﾌｧｲﾙに書込めません#0");
        return 1;
      }
      fill = 0;
    }
    PutWord(buffer.data() + fill, IndexWord(entry.key, static_cast<int>(length)));
    std::memcpy(buffer.data() + fill + 4, entry.callsign, length);
    fill += 4 + length;
  }
  if (!file.Write(buffer.data(), fill) || !file.Commit()) {
    ui.ReportLine("ｲﾝﾃﾞｯｸｽﾌｧｲﾙに書込めません#1");
    return 1;
  }
  if (path == path_) {
    fileCurrent_ = true;
    retired_ = false;
  }
  return 0;
}

}  // namespace vondal
