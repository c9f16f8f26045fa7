// A whole file in memory for reading, at once: a large text shown by the viewer is mapped rather
// than copied, so that opening it costs no more than reading through it. Files that cannot be
// mapped (pipes, devices) are read into memory instead.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vondal {

class MappedFile {
 public:
  // The file `name` (CP932); null when it cannot be opened or read (also a folder).
  static std::unique_ptr<MappedFile> Open(const std::string& name);

  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // The file's bytes, valid while this object lives.
  std::string_view bytes() const { return bytes_; }

 private:
  MappedFile() = default;

  std::string_view bytes_;
  void* mapping_ = nullptr;
  size_t mappedSize_ = 0;
  std::string copy_;  // the bytes of a file that could not be mapped
};

}  // namespace vondal
