// A full disk for the tests: while a FileSizeLimit lives, files may grow to `bytes`; a write
// beyond is refused by the kernel (a short write, then EFBIG) instead of killing the process,
// because SIGXFSZ is ignored meanwhile.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace vondal::reliability {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_;
};

}  // namespace vondal::reliability
