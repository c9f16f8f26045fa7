// Milliseconds of the system's monotonic clock: for waits and rests, which a change of the wall
// clock must not stretch or cut short.
#pragma once

#include <time.h>

#include <cstdint>

namespace vondal {

inline int64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace vondal
