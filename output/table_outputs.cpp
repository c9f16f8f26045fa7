#include "output/table_outputs.h"

#include "console/menu_line.h"

namespace vondal {

// The tables work (count, word, continuity, data-volume, character and city/gun tables) and the
// inspection work fill this.
std::optional<std::string> RunTable(const OutputContext&, char, char) {
  ShowMessage("未実装です");
  return std::nullopt;
}

}  // namespace vondal
