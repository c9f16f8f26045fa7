// A file system that fails on purpose, wrapped around another one: the Nth write writes nothing
// or only half, the disk runs out of space, syncs, renames, truncations or opens fail. Tests use
// it to prove that a failed write is reported and loses nothing.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "log/file_system.h"

namespace vondal {

class FaultyFileSystem : public FileSystem {
 public:
  struct Faults {
    int failWrite = 0;        // the Nth write from now (1-based) writes nothing; 0: never
    int shortWrite = 0;       // the Nth write from now writes only half its bytes; 0: never
    int64_t spaceLeft = -1;   // bytes all writes together may still add; -1: no limit
    bool failSync = false;
    bool failRename = false;
    bool failTruncate = false;
    std::set<std::string> failOpen;  // names that cannot be opened
  };

  explicit FaultyFileSystem(FileSystem& base) : base_(base) {}

  std::unique_ptr<File> Open(const std::string& name, OpenMode mode) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool RenameNoReplace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& name) override { return base_.Remove(name); }
  bool Exists(const std::string& name) override { return base_.Exists(name); }
  bool SameFile(const std::string& a, const std::string& b) override { return base_.SameFile(a, b); }

  Faults faults;
  int writeCount = 0;  // writes seen so far

 private:
  friend class FaultyFile;
  FileSystem& base_;
};

}  // namespace vondal
