// The colour editor's file menu (Esc): restore, reload, join-read, save as, source export.
#include "color/color_editor_parts.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

constexpr char kFileMenu[] = ">ﾌｧｲﾙ> B復元 R再読込 J結合読込 A別名保存 Cｺｰﾄﾞ出力 Q終了";
constexpr size_t kFileNameBytes = 255;

bool Confirmed(std::string_view menu) {
  ShowMenu(menu);
  return ReadKey().code == 13;
}

// A file name typed after `prompt`; nothing when the user gave up or typed none.
std::optional<std::string> AskName(ColorEditorContext& context, std::string_view prompt,
                                   std::string_view initial) {
  std::optional<std::string> name = context.inputLine(prompt, initial, kFileNameBytes);
  if (name && name->empty()) return std::nullopt;
  return name;
}

void Report(ColorEditorContext& context, const std::string& refusal) {
  if (!refusal.empty()) ShowColorError(context, refusal);
}

// The source export asks again after a name that cannot be opened.
void ExportSource(ColorEditorContext& context) {
  std::string name = ".C";
  for (;;) {
    std::optional<std::string> typed = AskName(context, "ｿｰｽﾌｧｲﾙ名", name);
    if (!typed) return;
    name = *typed;
    const std::string refusal = context.sets.ExportSource(name);
    Report(context, refusal);
    if (refusal != "ｵｰﾌﾟﾝできません") return;
  }
}

}  // namespace

std::optional<int> RunColorFileMenu(ColorEditorContext& context) {
  ColorSets& sets = context.sets;
  std::string menu = kFileMenu;
  if (!TheConsoleSwitches().authorsuse) menu[menu.find(" Cｺｰﾄﾞ出力")] = '!';
  ShowMenu(menu);
  const KeyEvent key = ReadKey();
  if (std::optional<int> code = LeavingCode(key.code)) return code;
  switch (key.upper) {
    case 'B':
      if (Confirmed(">ﾌｧｲﾙ>復元> $Enter$実行")) sets.Restore();
      break;
    case 'R':
      if (Confirmed(">ﾌｧｲﾙ>再読込> $Enter$実行")) sets.Reload();
      break;
    case 'J':
      if (std::optional<std::string> name = AskName(context, "結合色ﾌｧｲﾙ名", ""))
        Report(context, sets.Join(*name));
      break;
    case 'A':
      if (std::optional<std::string> name = AskName(context, "保存色ﾌｧｲﾙ名(既存ﾌｧｲﾙは上書き)", "")) {
        Report(context, sets.SaveAs(*name));
      }
      break;
    case 'C':
      if (TheConsoleSwitches().authorsuse) ExportSource(context);
      break;
    case 'Q':
      return 0;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace vondal
