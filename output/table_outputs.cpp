#include "output/table_outputs.h"

#include "console/menu_line.h"
#include "output/inspection.h"

namespace vondal {

// The tables work (count, word, continuity, data-volume, character and city/gun tables) fills this.
std::optional<std::string> RunTable(const OutputContext& context, char group, char kind) {
  if (group == 'I' && kind == 'E') return RunInspection(context);
  ShowMessage("未実装です");
  return std::nullopt;
}

}  // namespace vondal
