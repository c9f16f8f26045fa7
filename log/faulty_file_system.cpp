#include "log/faulty_file_system.h"

#include <algorithm>

namespace vondal {

class FaultyFile : public File {
 public:
  FaultyFile(FaultyFileSystem& fs, std::unique_ptr<File> base, bool append)
      : fs_(fs), base_(std::move(base)), append_(append) {}

  int64_t ReadAt(int64_t offset, void* data, size_t size) override { return base_->ReadAt(offset, data, size); }

  int64_t WriteAt(int64_t offset, const void* data, size_t size) override {
    FaultyFileSystem::Faults& faults = fs_.faults;
    const int n = ++fs_.writeCount;
    if (faults.failWrite != 0 && n == faults.failWrite) return 0;
    size_t allowed = size;
    if (faults.shortWrite != 0 && n == faults.shortWrite) allowed = size / 2;
    // Only bytes that make the file longer need free space.
    const int64_t sizeBefore = base_->Size();
    const int64_t at = append_ ? sizeBefore : offset;
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

  bool Truncate(int64_t size) override { return !fs_.faults.failTruncate && base_->Truncate(size); }

  bool Sync() override { return !fs_.faults.failSync && base_->Sync(); }

  void StartWriteBack(int64_t offset, int64_t size) override { base_->StartWriteBack(offset, size); }

 private:
  FaultyFileSystem& fs_;
  std::unique_ptr<File> base_;
  bool append_;
};

std::unique_ptr<File> FaultyFileSystem::Open(const std::string& name, OpenMode mode) {
  if (faults.failOpen.count(name) != 0) return nullptr;
  auto file = base_.Open(name, mode);
  if (!file) return nullptr;
  return std::make_unique<FaultyFile>(*this, std::move(file), mode == OpenMode::kAppend);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  return !faults.failRename && base_.Rename(from, to);
}

}  // namespace vondal

namespace vondal {

bool FaultyFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return !faults.failRename && base_.RenameNoReplace(from, to);
}

}  // namespace vondal
