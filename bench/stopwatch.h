// Wall-clock timing for the benchmarks. <chrono> of g++ 12 does not compile with
// -fexec-charset=CP932 (its "µs" literal has no CP932 form), so this reads the monotonic clock
// directly.
#pragma once

#include <time.h>

namespace vondal::bench {

class Stopwatch {
 public:
  Stopwatch() { clock_gettime(CLOCK_MONOTONIC, &start_); }

  // Seconds since construction.
  double Seconds() const {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start_.tv_sec) +
           static_cast<double>(now.tv_nsec - start_.tv_nsec) * 1e-9;
  }

 private:
  timespec start_;
};

}  // namespace vondal::bench
