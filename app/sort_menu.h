// Sort from the main menu: the reversal count, the menu ">ｿｰﾄ> S実行 Q中止" and the sort itself.
#pragma once

namespace vondal {

struct RunState;

// Returns 0 (back to the main menu).
int RunSortMenu(RunState& run);

}  // namespace vondal
