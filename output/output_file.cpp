#include "output/output_file.h"

namespace vondal {

OutputFile::~OutputFile() {
  if (open_) Abandon();
}

bool OutputFile::Open(const std::string& name, Mode mode) {
  name_ = name;
  mode_ = mode;
  failed_ = false;
  total_ = 0;
  buffer_.clear();
  buffer_.reserve(kOutputBufferBytes);
  if (mode == Mode::kReplace) {
    FileReplacement::RemoveLeftover(fs_, name);
    replacement_ = std::make_unique<FileReplacement>(fs_, name);
    open_ = replacement_->Open();
    if (!open_) replacement_.reset();
    return open_;
  }
  appended_ = fs_.Open(name, OpenMode::kAppend);
  sizeBefore_ = appended_ ? appended_->Size() : -1;
  open_ = appended_ != nullptr && sizeBefore_ >= 0;
  if (!open_) appended_.reset();
  return open_;
}

bool OutputFile::WriteBuffer() {
  if (failed_ || buffer_.empty()) return !failed_;
  bool written;
  if (replacement_) {
    written = replacement_->Write(buffer_.data(), buffer_.size());
  } else {
    written = appended_->WriteAt(sizeBefore_ + total_, buffer_.data(), buffer_.size()) ==
              static_cast<int64_t>(buffer_.size());
  }
  if (written) total_ += static_cast<int64_t>(buffer_.size());
  buffer_.clear();
  failed_ = !written;
  return written;
}

bool OutputFile::Append(std::string_view text) {
  if (failed_ || !open_) return false;
  if (buffer_.size() + text.size() > kOutputBufferBytes && !WriteBuffer()) return false;
  if (text.size() > kOutputBufferBytes) {
    buffer_.assign(text);
    return WriteBuffer();
  }
  buffer_.append(text);
  return true;
}

bool OutputFile::Finish() {
  if (!open_) return false;
  const bool written = WriteBuffer();
  open_ = false;
  if (replacement_) {
    const bool committed = written && replacement_->Commit();
    replacement_.reset();  // without a commit the temporary file goes
    failed_ = !committed;
    return committed;
  }
  const bool synced = written && appended_->Sync();
  if (!synced) {
    appended_->Truncate(sizeBefore_);  // no half output stays behind
    appended_->Sync();
  }
  appended_.reset();
  failed_ = !synced;
  return synced;
}

void OutputFile::Abandon() {
  if (!open_) return;
  open_ = false;
  buffer_.clear();
  replacement_.reset();
  if (appended_) {
    appended_->Truncate(sizeBefore_);
    appended_->Sync();
    appended_.reset();
  }
}

}  // namespace vondal
