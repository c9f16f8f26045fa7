// The file an output writes, through one buffer of 1,000,000 bytes. A new or overwritten file is
// written beside its name and put in place only when it is complete; an append that fails is cut
// back to the file's size before it. So a full disk or a failing write never leaves half an output.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "log/file_system.h"

namespace vondal {

inline constexpr size_t kOutputBufferBytes = 1000000;

class OutputFile {
 public:
  enum class Mode { kReplace, kAppend };

  explicit OutputFile(FileSystem& fs) : fs_(fs) {}
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // False when the file cannot be opened.
  bool Open(const std::string& name, Mode mode);
  // Appends text (the buffer is written out first when it would overflow). False once any write
  // failed; nothing after that reaches the file.
  bool Append(std::string_view text);
  // Writes what is buffered and syncs; a replacement then takes the old file's place. False when
  // anything failed: the old file is then as it was.
  bool Finish();
  // Drops everything written (the file stays as it was before Open).
  void Abandon();

  // Whether the file held nothing before this output: always for a replacement, for an append
  // when the file was empty or new.
  bool startedEmpty() const { return mode_ == Mode::kReplace || sizeBefore_ == 0; }
  bool failed() const { return failed_; }
  int64_t bytesWritten() const { return total_; }
  const std::string& name() const { return name_; }

 private:
  bool WriteBuffer();

  FileSystem& fs_;
  std::string name_;
  Mode mode_ = Mode::kReplace;
  std::unique_ptr<FileReplacement> replacement_;
  std::unique_ptr<File> appended_;
  int64_t sizeBefore_ = 0;
  std::string buffer_;
  int64_t total_ = 0;
  bool failed_ = false;
  bool open_ = false;
};

}  // namespace vondal
