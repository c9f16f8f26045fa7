// Arbitrary terminal input through the key decoder, as the terminal backend feeds it: every
// result consumes at least one byte and never more than it was given, and "need more" is only
// answered while more may come.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "console/key_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  while (!input.empty()) {
    vondal::DecodeResult result = vondal::DecodeKey(input);
    if (result.status == vondal::DecodeStatus::kNeedMore) result = vondal::DecodeKey(input, true);
    if (result.status == vondal::DecodeStatus::kNeedMore || result.length == 0 ||
        result.length > input.size()) {
      std::abort();
    }
    input.remove_prefix(result.length);
  }
  return 0;
}
