#include "log/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/text/charset.h"

namespace vondal {
namespace {

// Reads everything the file gives until its end; false on an error.
bool ReadToEnd(int fd, std::string* bytes) {
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes->append(buffer, n);
  }
}

}  // namespace

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& name) {
  if (name.empty()) return nullptr;
  const int fd = open(FileNameForSystem(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::unique_ptr<MappedFile> file(new MappedFile);
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  if (ok && S_ISREG(st.st_mode) && st.st_size > 0) {
    // Populated at once: one pass over the page cache instead of a fault for every few pages.
    void* mapping = mmap(nullptr, st.st_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (mapping != MAP_FAILED) {
      file->mapping_ = mapping;
      file->mappedSize_ = st.st_size;
      file->bytes_ = std::string_view(static_cast<const char*>(mapping), st.st_size);
    }
  }
  if (ok && file->mapping_ == nullptr) {
    ok = ReadToEnd(fd, &file->copy_);
    file->bytes_ = file->copy_;
  }
  close(fd);
  return ok ? std::move(file) : nullptr;
}

MappedFile::~MappedFile() {
  if (mapping_ != nullptr) munmap(mapping_, mappedSize_);
}

}  // namespace vondal
