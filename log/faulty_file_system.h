// A file system that fails on purpose, wrapped around another one: the Nth write writes nothing
// or only half, the disk runs out of space, syncs, renames, truncations or opens fail, or the
// program dies at its Nth change of a file. Tests use it to prove that a failed write is
// reported and loses nothing, and that a crash at any step leaves files that open again.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "log/file_system.h"

namespace vondal {

// Linux copies a write into the page cache page by page and stops between two pages when the
// process is killed: the torn write of a crash ends at such a boundary.
inline constexpr int64_t kPageSize = 4096;

class FaultyFileSystem : public FileSystem {
 public:
  struct Faults {
    int failWrite = 0;       // the Nth write from now (1-based) writes nothing; 0: never
    int shortWrite = 0;      // the Nth write from now writes only half its bytes; 0: never
    int64_t spaceLeft = -1;  // bytes all writes together may still add; -1: no limit
    bool failSync = false;   // every sync fails (EIO)
    int failSyncAt = 0;      // the Nth sync from now fails; 0: never
    bool failRename = false;
    std::string failRenameTo;  // renames onto this name fail
    bool failFolderSync = false;
    bool failLink = false;  // hard links are refused (as on a file system without them)
    bool failTruncate = false;
    std::set<std::string> failOpen;  // names that cannot be opened
    // When set, the faults of writes, syncs and truncations above hit only this file (and
    // count only its writes and syncs).
    std::string target;
    // The program is killed during its Nth change (write, truncation, sync, rename, removal;
    // 1-based): a write then reaches the file only up to the first page boundary inside it, and
    // nothing after it happens. 0: never.
    int crashAt = 0;
  };

  explicit FaultyFileSystem(FileSystem& base) : base_(base) {}

  std::unique_ptr<File> Open(const std::string& name, OpenMode mode) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool RenameNoReplace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& name) override { return Change() && base_.Remove(name); }
  bool Link(const std::string& from, const std::string& to) override {
    return !faults.failLink && Change() && base_.Link(from, to);
  }
  bool Exists(const std::string& name) override { return base_.Exists(name); }
  bool SameFile(const std::string& a, const std::string& b) override { return base_.SameFile(a, b); }
  std::string RewriteTarget(const std::string& name) override { return base_.RewriteTarget(name); }
  // The permissions of a temporary file are no change the crash points count.
  bool CopyOwnership(const std::string& from, const std::string& to) override {
    return !crashed_ && base_.CopyOwnership(from, to);
  }
  bool SyncFolder(const std::string& name) override {
    return Change() && !faults.failFolderSync && base_.SyncFolder(name);
  }
  LockResult Lock(const std::string& name, bool exclusive, std::unique_ptr<FileLock>& lock) override {
    // Making the missing file is a change, as opening it for appending is.
    if (faults.failOpen.count(name) != 0 || (!base_.Exists(name) && (crashed_ || !Change())))
      return LockResult::kCannotOpen;
    return base_.Lock(name, exclusive, lock);
  }

  // Whether the program has "died": after the crash nothing reaches the files any more.
  bool crashed() const { return crashed_; }

  Faults faults;
  int writeCount = 0;   // writes seen so far
  int syncCount = 0;    // syncs seen so far
  int changeCount = 0;  // changes of any kind seen so far (the count crashAt refers to)

 private:
  friend class FaultyFile;
  // Counts one change; false when it must not happen (the crash is now or was before).
  bool Change();

  FileSystem& base_;
  bool crashed_ = false;
  bool crashingNow_ = false;  // the change being counted is the one the program dies in
};

}  // namespace vondal
