#include "output/inspection.h"

#include "console/menu_line.h"

namespace vondal {

// The inspection and contest-log work fills this.
std::optional<std::string> RunInspection(const OutputContext&) {
  ShowMessage("未実装です");
  return std::nullopt;
}

}  // namespace vondal
