// Pages D (dictionaries), A (the auto-fill map of MODE), F (the field table) and K (key macros).
#include "app/info_pages.h"
#include "app/run_state.h"

namespace vondal {
namespace {

// Pages whose work has not landed yet.
void NotBuiltPage(InfoWriter& out, std::string_view title) {
  out.Title(title);
  out.Next();
  out.Line(2, "未実装です");
}

}  // namespace

void DrawDictionaryPage(InfoWriter& out, const RunState&) { NotBuiltPage(out, "□変換辞書"); }
void DrawAutoFillPage(InfoWriter& out, const RunState&, int) { NotBuiltPage(out, "□自動記入(MODE)"); }
void DrawFieldPage(InfoWriter& out, const RunState&) { NotBuiltPage(out, "□ﾌｨｰﾙﾄﾞ"); }
void DrawKeyMacroPage(InfoWriter& out, const RunState&, int) { NotBuiltPage(out, "□ｷｰﾏｸﾛ"); }
void DrawMemoryPage(InfoWriter& out, const RunState&) { NotBuiltPage(out, "□Local"); }
void DrawSwitchPage(InfoWriter& out, const RunState&) { NotBuiltPage(out, "□ini.toggle"); }

}  // namespace vondal
