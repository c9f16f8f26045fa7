// Coverage for libFuzzer from g++-built code.
//
// g++ instruments every basic block with a call to __sanitizer_cov_trace_pc. The libFuzzer
// runtime refuses that interface, so this file (linked ahead of the runtime) defines it: each
// call bumps one of 64 Ki 8-bit counters chosen by the caller's address, and the counters are
// handed to libFuzzer as an inline-8bit-counter region. Comparisons (trace-cmp) go to libFuzzer
// directly.
#include <cstddef>
#include <cstdint>

namespace {
uint8_t counters[1 << 16];
}

extern "C" void __sanitizer_cov_8bit_counters_init(uint8_t* start, uint8_t* stop);

__attribute__((constructor)) static void RegisterCounters() {
  __sanitizer_cov_8bit_counters_init(counters, counters + sizeof counters);
}

extern "C" __attribute__((no_sanitize("address", "undefined"))) void __sanitizer_cov_trace_pc() {
  auto pc = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
  counters[(pc ^ (pc >> 16)) & 0xFFFF]++;
}

// g++ also traces comparisons of floating-point values, which libFuzzer has no hook for.
extern "C" void __sanitizer_cov_trace_cmpf(float, float) {}
extern "C" void __sanitizer_cov_trace_cmpd(double, double) {}
