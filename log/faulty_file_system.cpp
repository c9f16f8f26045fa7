#include "log/faulty_file_system.h"

#include <algorithm>

namespace vondal {

bool FaultyFileSystem::Change() {
  crashingNow_ = false;
  if (crashed_) return false;
  ++changeCount;
  if (faults.crashAt != 0 && changeCount == faults.crashAt) {
    crashed_ = true;
    crashingNow_ = true;
    return false;
  }
  return true;
}

class FaultyFile : public File {
 public:
  FaultyFile(FaultyFileSystem& fs, std::unique_ptr<File> base, bool append, std::string name)
      : fs_(fs), base_(std::move(base)), append_(append), name_(std::move(name)) {}

  int64_t ReadAt(int64_t offset, void* data, size_t size) override {
    return base_->ReadAt(offset, data, size);
  }

  int64_t WriteAt(int64_t offset, const void* data, size_t size) override {
    FaultyFileSystem::Faults& faults = fs_.faults;
    const int64_t sizeBefore = base_->Size();
    const int64_t at = append_ ? sizeBefore : offset;
    if (!fs_.Change()) {
      // Killed during this write: the pages before the first boundary inside it got there.
      if (!fs_.crashingNow_) return 0;
      const int64_t torn = std::min<int64_t>(size, (at / kPageSize + 1) * kPageSize - at);
      if (torn < static_cast<int64_t>(size)) base_->WriteAt(offset, data, torn);
      return 0;
    }
    if (!Targeted()) return base_->WriteAt(offset, data, size);
    const int n = ++fs_.writeCount;
    if (faults.failWrite != 0 && n == faults.failWrite) return 0;
    size_t allowed = size;
    if (faults.shortWrite != 0 && n == faults.shortWrite) allowed = size / 2;
    // Only bytes that make the file longer need free space.
    if (faults.spaceLeft >= 0) {
      const int64_t room = std::max<int64_t>(0, sizeBefore - at) + faults.spaceLeft;
      allowed = std::min<size_t>(allowed, static_cast<size_t>(room));
    }
    int64_t written = allowed == 0 ? 0 : base_->WriteAt(offset, data, allowed);
    if (faults.spaceLeft >= 0 && written > 0) {
      faults.spaceLeft -= std::max<int64_t>(0, at + written - std::max(sizeBefore, at));
    }
    return written;
  }

  int64_t Size() override { return base_->Size(); }

  bool Truncate(int64_t size) override {
    return fs_.Change() && !(Targeted() && fs_.faults.failTruncate) && base_->Truncate(size);
  }

  bool Sync() override {
    if (!fs_.Change()) return false;
    if (!Targeted()) return base_->Sync();
    const int n = ++fs_.syncCount;
    if (fs_.faults.failSync || (fs_.faults.failSyncAt != 0 && n == fs_.faults.failSyncAt)) return false;
    return base_->Sync();
  }

  void StartWriteBack(int64_t offset, int64_t size) override { base_->StartWriteBack(offset, size); }
  std::string_view MapForReading() override { return base_->MapForReading(); }

 private:
  bool Targeted() const { return fs_.faults.target.empty() || fs_.faults.target == name_; }

  FaultyFileSystem& fs_;
  std::unique_ptr<File> base_;
  bool append_;
  std::string name_;
};

std::unique_ptr<File> FaultyFileSystem::Open(const std::string& name, OpenMode mode) {
  if (faults.failOpen.count(name) != 0) return nullptr;
  // Creating or emptying a file is a change too.
  const bool changes = mode == OpenMode::kCreate || mode == OpenMode::kWrite ||
                       (mode == OpenMode::kAppend && !base_.Exists(name));
  if (changes && !Change()) return nullptr;
  if (crashed_ && mode != OpenMode::kRead) return nullptr;
  auto file = base_.Open(name, mode);
  if (!file) return nullptr;
  return std::make_unique<FaultyFile>(*this, std::move(file), mode == OpenMode::kAppend, name);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  return Change() && !faults.failRename && to != faults.failRenameTo && base_.Rename(from, to);
}

bool FaultyFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return Change() && !faults.failRename && to != faults.failRenameTo &&
         base_.RenameNoReplace(from, to);
}

}  // namespace vondal
