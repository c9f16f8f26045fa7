// The radio as the log sees it: its frequency and mode, read from hamlib's rigctld (the `rig`
// key names its address). The record editor fills FREQ and MODE from a reading, start-up and the
// information screen show the last one. A run without the `rig` key has no Rig at all.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace vondal {

// One answer of the radio.
struct RigReading {
  int64_t hz = 0;          // the frequency, above 0
  std::string mode;        // hamlib's mode word ("USB", "PKTUSB"); empty when the radio named none
  int64_t passbandHz = 0;  // as the radio gave it with the mode; 0 when it gave none
  std::time_t when = 0;    // the wall-clock time of the reading
};

// Why an ask brought no reading.
enum class RigFailure {
  kNone,
  kAddress,  // the `rig` key names no address this program can use
  kConnect,  // nobody listens there, or the connection was closed
  kTimeout,  // no whole answer within the time limit, or the radio itself did not answer
  kGarbage,  // an answer that is not rigctld's
  kRadio,    // rigctld answered with one of hamlib's error codes
};

// What the `rig` key says and how the radio has answered so far.
struct RigStatus {
  std::string address;   // "127.0.0.1:4532", as the key gives it
  std::string dataMode;  // MODE for a data mode the `mode` map has no line for ("FT8")
  std::optional<RigReading> last;
  RigFailure failure = RigFailure::kNone;  // of the last ask; kNone once the radio answered
  int report = 0;                          // hamlib's error code with kRadio (negative)
  std::time_t failedAt = 0;
};

struct RigAnswer {
  std::optional<RigReading> reading;
  // Not empty: the failure to tell the operator about. A failure is told once: again only after
  // the radio answered in between, or when the next failure is of another kind.
  std::string message;
};

class Rig {
 public:
  virtual ~Rig() = default;
  // Asks the radio for its frequency and its mode. Never waits longer than the time limit on any
  // one step; after a failure the radio rests and asks within the rest bring no reading at once.
  virtual RigAnswer Ask() = 0;
  virtual const RigStatus& Status() const = 0;
};

// The operator's words for a failure: "ﾘｸﾞ応答なし" and its kin; empty for kNone.
std::string RigFailureText(RigFailure failure, int report);

}  // namespace vondal
