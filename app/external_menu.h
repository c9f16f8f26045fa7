// The external-file menu (main-menu key X): open a file for reading or writing, access it with
// the text being edited (the editing state the program's menus share: the file-name prompts
// leave the name typed there, and X and H read into it or write it out), view it in scroll
// (developer mode), close it.
#pragma once

#include <string>

namespace vondal {

struct RunState;

inline constexpr char kExternalMenu[] = ">外部ﾌｧｲﾙ> R読込ｵｰﾌﾟﾝ W書出ｵｰﾌﾟﾝ Xｱｸｾｽ S閲覧 Cｸﾛｰｽﾞ";
inline constexpr size_t kExternalNameBytes = 47;

// Shows the current file and the menu and acts on one key. Returns "e" (Enter, or the viewer
// left with Enter) or 0.
int RunExternalMenu(RunState& run);

}  // namespace vondal
