#include "app/info_screen.h"

#include <algorithm>

#include "app/info_pages.h"
#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

constexpr int kAutoFillViews = 3;
constexpr int kKeyMacroViews = 2;

bool DeveloperPage(char page) { return page == 'M' || page == 'T'; }

// The page's contents from row 2 on; the row after the last one written.
int DrawPage(Screen& screen, const RunState& run, InfoPageState& state) {
  InfoWriter out(screen, MessageRow() - 1);
  switch (state.page) {
    case 'C':
      DrawConsolePage(out, run);
      break;
    case 'S':
      DrawSettingsPage(out, run, state.settingsView);
      break;
    case 'D':
      DrawDictionaryPage(out, run);
      break;
    case 'A':
      DrawAutoFillPage(out, run, state.autoFillView);
      break;
    case 'F':
      DrawFieldPage(out, run);
      break;
    case 'K':
      DrawKeyMacroPage(out, run, state.keyMacroView);
      break;
    case 'R':
      DrawUpdatesPage(out, run);
      break;
    case 'M':
      DrawMemoryPage(out, run);
      break;
    case 'T':
      DrawSwitchPage(out, run);
      break;
    default:
      DrawBasicPage(out, run);
      break;
  }
  return out.row();
}

}  // namespace

InfoPageState& TheInfoPage() {
  static InfoPageState state;
  return state;
}

std::string InfoMenuLine(bool authorsuse) {
  return std::string(">情報> I基本 Cｺﾝｿｰﾙ S設定値 D辞書 A自動記入 Fﾌｨｰﾙﾄﾞ Kｷｰﾏｸﾛ R更新") +
         (authorsuse ? " M T" : "!M!T") + " Q終了";
}

void DrawInfoPage(RunState& run) {
  Screen& screen = TheScreen();
  InfoPageState& state = TheInfoPage();
  // A developer page chosen before the developer mode went off is not shown any more.
  if (DeveloperPage(state.page) && !TheConsoleSwitches().authorsuse) state.page = 'I';
  const int message = MessageRow();
  // A frame that reached the message line on a longer page goes with that page.
  const bool frameOnMessageRow = screen.CharAt(message, 0) == screen.FrameGlyph(4);
  screen.ClearRows(0, frameOnMessageRow ? message : message - 1);
  // Inside the frame the page's own colour reaches the frame, however long each text is.
  const uint8_t attr = ColorOf(ColorElement::Opening);
  const std::string blanks(screen.Width() - 2, ' ');
  for (int row = 2; row < message; ++row) screen.PutText(blanks, row, 1, screen.Width() - 1, attr, attr);
  const int bottom = std::min(DrawPage(screen, run, state), message);
  if (bottom + 1 < message) screen.ClearRows(bottom + 1, message - 1);
  if (bottom == message) screen.ClearCells(message, 0, screen.Width() - 1);
  screen.DrawBox(1, 0, bottom, screen.Width() - 1, attr);
  Flush();
}

int InfoScreen(RunState& run) {
  InfoPageState& state = TheInfoPage();
  for (;;) {
    TheScreen().ClearRows(MessageRow(), MessageRow());
    DrawInfoPage(run);
    const bool developer = TheConsoleSwitches().authorsuse;
    ShowMenu(InfoMenuLine(developer));
    const KeyEvent key = ReadKey();
    switch (key.upper) {
      case 'S':
        // Again on page S: its next part, when its lines go on.
        state.settingsView = state.page == 'S' ? state.settingsView + 1 : 0;
        state.page = 'S';
        break;
      case 'I':
      case 'C':
      case 'D':
      case 'F':
      case 'R':
        state.page = static_cast<char>(key.upper);
        break;
      case 'A':
        // Again on page A: the next of its three views.
        state.autoFillView =
            state.page == 'A' ? (state.autoFillView + 1) % kAutoFillViews : state.autoFillView;
        state.page = 'A';
        break;
      case 'K':
        state.keyMacroView =
            state.page == 'K' ? (state.keyMacroView + 1) % kKeyMacroViews : state.keyMacroView;
        state.page = 'K';
        break;
      case 'M':
      case 'T':
        if (developer) state.page = static_cast<char>(key.upper);
        break;
      case 13:
        return 'e';
      case 9:
      case '@':
      case '^':
        return key.upper;
      case 27:
      case 'Q':
        return 0;
      default:  // drawn again
        break;
    }
  }
}

}  // namespace vondal
