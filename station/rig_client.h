// The Rig that asks rigctld over TCP. Single-threaded and never blocking beyond its limit: the
// connection is made without waiting and every step (connecting, each question with its answer)
// is given at most the time limit through poll(). The connection stays open between asks; any
// failure closes it, and the next ask after the rest connects anew.
#pragma once

#include <cstdint>
#include <string_view>

#include "station/rig.h"
#include "station/rig_address.h"

namespace vondal {

struct RigBlock;

struct RigTiming {
  int limitMs = 150;  // each step of an ask
  int restMs = 5000;  // no asking after a failure
};

class RigClient final : public Rig {
 public:
  // `setting`: the value of the `rig` key. An unusable one makes every ask fail with kAddress.
  explicit RigClient(std::string_view setting, RigTiming timing = {});
  ~RigClient() override;
  RigClient(const RigClient&) = delete;
  RigClient& operator=(const RigClient&) = delete;

  RigAnswer Ask() override;
  const RigStatus& Status() const override { return status_; }

 private:
  // One reading over the connection, opened first when there is none.
  RigFailure Exchange(RigReading& reading);
  RigFailure Connect();
  // Sends `question` and reads the answer to `command` into `block`.
  RigFailure Question(std::string_view question, std::string_view command, RigBlock& block);
  void Close();

  std::optional<RigAddress> address_;
  RigTiming timing_;
  RigStatus status_;
  int fd_ = -1;
  int64_t restUntilMs_ = 0;                  // monotonic
  RigFailure reported_ = RigFailure::kNone;  // the failure last told, until the radio answers
};

}  // namespace vondal
