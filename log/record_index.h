// The record index: for every record of the log its number, date-time key and CALLSIGN, with two
// mark bytes, so that searches never read the log file. Entries live in blocks of 10,000 fixed
// 36-byte slots, so entry n is found by division. The index file (doc/index_format.md) keeps the
// entries between runs.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "log/file_system.h"
#include "log/log_ui.h"
#include "log/write_counters.h"

namespace vondal {

class LogFile;

struct IndexEntry {
  int32_t recordNumber;  // the record described (equal to the position except while sorting)
  int32_t key;           // minutes since 1950-01-01 00:00 of DATE and START
  char callsign[25];     // NUL-terminated, at most 24 bytes
  uint8_t mark;          // 1 when the record is marked
  uint8_t memories;      // one bit per mark memory channel 0-7
};
static_assert(sizeof(IndexEntry) == 36);

enum class IndexMode {
  kWrite,  // a record write: counts Index when the entry is new or its key or CALLSIGN changed
  kBuild,  // a rebuild from the log: always counts Index
  kLoad,   // read from the index file: never counts
};

inline constexpr int kIndexBlockEntries = 10000;
inline constexpr int kIndexBlocks = 101;
inline constexpr size_t kIndexBufferSize = 1000000;  // the index file is read and written through it
inline constexpr char kIndexOutOfMemory[] = "ｲﾝﾃﾞｯｸｽ用ﾒﾓﾘ不足です";

class RecordIndex {
 public:
  explicit RecordIndex(WriteCounters& counters) : counters_(counters) {}

  // Stores the entry of record n, allocating its block on first use (new blocks start unmarked).
  // A CALLSIGN longer than 24 bytes is cut at a character boundary. False when a block cannot be
  // allocated: the caller ends the program with kIndexOutOfMemory.
  [[nodiscard]] bool SetIndexEntry(int n, int32_t key, std::string_view callsign, IndexMode mode);

  IndexEntry& operator[](int n) { return blocks_[n / kIndexBlockEntries][n % kIndexBlockEntries]; }
  const IndexEntry& operator[](int n) const {
    return blocks_[n / kIndexBlockEntries][n % kIndexBlockEntries];
  }

  // Entries 0 … size() - 1 exist.
  int size() const { return size_; }
  // Blocks allocated so far (each holds kIndexBlockEntries entries).
  int BlockCount() const {
    int count = 0;
    for (const auto& block : blocks_) count += block != nullptr;
    return count;
  }

  // Forgets every entry (blocks stay allocated, marks are cleared).
  void Clear();

  // Forgets the entries from `size` on, marks included (a join that was taken back).
  void Shrink(int size);

  // Whether storing this key and CALLSIGN as entry n in mode kWrite would change the index.
  bool WouldChange(int n, int32_t key, std::string_view callsign) const;

  // The index is about to change, so the index file loaded at start-up (or saved since) no
  // longer describes the log: it is removed, once, so that a run ending without a save (a crash)
  // makes the next start rebuild instead of trusting stale entries. The next SaveIndex writes it
  // again.
  void RetireFile();

  // Start-up, after the log is open: loads `path` (empty: no index file configured) or, when it
  // is missing, damaged or out of step with the log, rebuilds the entries from the log. Shows
  // its lines on the start-up screen. `buffer` is the work area (kIndexBufferSize bytes; any size
  // of at least 64 bytes works). "" or a fatal message.
  std::string LoadIndex(const std::string& path, FileSystem& fs, LogFile& log, LogUi& ui,
                        std::span<char> buffer);

  // Rebuilds every entry from the log (mode kBuild), showing progress on the start-up screen
  // when `ui` is given. "" or a fatal message.
  std::string Rebuild(LogFile& log, LogUi* ui, std::span<char> buffer);

  // Quit: writes the index file when one is configured and an entry changed (counter Index).
  // The new file replaces the old one only once it is completely written. 0 on success or when
  // nothing needed saving, 1 on a failure (reported on the report line).
  int SaveIndex(const std::string& path, FileSystem& fs, LogUi& ui, std::span<char> buffer);

 private:
  // Reads the index file; the number of entries loaded, or -1 when the file is unusable.
  int ReadIndexFile(File& file, int recordCount, std::span<char> buffer, bool& outOfMemory);

  WriteCounters& counters_;
  std::unique_ptr<IndexEntry[]> blocks_[kIndexBlocks];
  int size_ = 0;
  FileSystem* fs_ = nullptr;  // the index file, as LoadIndex found it
  std::string path_;
  bool fileCurrent_ = false;  // the file on the disk describes the entries
  bool retired_ = false;      // the file was removed: it must be saved again
};

}  // namespace vondal
