#include "output/contest_outputs.h"

#include "console/menu_line.h"

namespace vondal {

// The contest-log work fills this.
std::optional<std::string> RunContestOutput(const OutputContext&, char) {
  ShowMessage("未実装です");
  return std::nullopt;
}

}  // namespace vondal
