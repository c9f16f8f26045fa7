// rigctld's answers and the `rig` key's value on any bytes. The first byte chooses: 0 the answer
// to get_freq, 1 to get_mode, 2 the value of `rig`. An answer is read as it would arrive, one
// byte more at a time: once it is whole or garbage no further byte may make it good again (the
// client stops reading there). A frequency read from it becomes a FREQ of the same kHz.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "editor/rig_fill.h"
#include "output/band_table.h"
#include "station/rig_address.h"
#include "station/rig_protocol.h"

namespace {

void Fail(int line) {
  std::fprintf(stderr, "rig_fuzz.cpp:%d: check failed\n", line);
  std::abort();
}
#define Check(ok) ((ok) ? void() : Fail(__LINE__))

void CheckAnswer(std::string_view bytes, std::string_view command) {
  vondal::RigParse before = vondal::RigParse::kMore;
  for (size_t size = 0; size <= bytes.size(); ++size) {
    const vondal::RigBlock block = vondal::ParseRigBlock(bytes.substr(0, size), command);
    if (before != vondal::RigParse::kMore) Check(block.state == vondal::RigParse::kGarbage);
    before = block.state;
    if (block.state != vondal::RigParse::kDone) continue;
    for (const auto& [key, value] : block.values) {
      Check(!key.empty());
      if (const std::optional<int64_t> hz = vondal::HertzOf(value)) {
        Check(*hz > 0);
        Check(vondal::FrequencyOf(vondal::RigFreqText(*hz, 3)) == *hz / 1000);
      }
      const vondal::RigMode mode = vondal::ModeOfRigWord(value);
      Check(mode.kind == vondal::RigModeKind::kPlain ? vondal::ModeOf(mode.mode) != vondal::kModeOther
                                                     : mode.mode.empty());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 2 * vondal::kMaxAnswerBytes) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      CheckAnswer(input, vondal::kFrequencyCommand);
      break;
    case 1:
      CheckAnswer(input, vondal::kModeCommand);
      break;
    default:
      if (const std::optional<vondal::RigAddress> address = vondal::ParseRigAddress(input)) {
        Check(address->port >= 1 && address->port <= 65535);
        Check(!address->host.empty());
        Check(!address->dataMode.empty() && address->dataMode.size() <= vondal::kMaxDataModeBytes);
      }
  }
  return 0;
}
