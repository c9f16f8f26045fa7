#include "app/main_menu.h"

#include "adif/adif_time.h"
#include "app/color_editing.h"
#include "app/command_prompt.h"
#include "app/external_menu.h"
#include "app/info_screen.h"
#include "app/join_menu.h"
#include "app/memory_pool.h"
#include "app/quit.h"
#include "app/run_state.h"
#include "app/sort_menu.h"
#include "app/terminal_size.h"
#include "app/text/program_folder.h"
#include "app/text/sjis.h"
#include "app/wsjtx_lines.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/key_watch.h"
#include "console/menu_line.h"
#include "editor/editor.h"
#include "macro/edit_state.h"
#include "macro/help_pages.h"
#include "macro/macro_editor.h"
#include "macro/macro_player.h"
#include "macro/macro_starts.h"
#include "output/output_menu.h"

namespace vondal {
namespace {

// The record editor, writable or browsing (every write is refused with "書込禁止です"). Entering
// it the first time also starts the start macro the macro file names (while the macros are as
// loaded).
int RunEditor(RunState& run, bool browse) {
  run.log.options.writeProtect = browse;
  PlayStartMacroOnce(TheEditState());
  EditorContext context{.log = run.log,
                        .index = run.index,
                        .callsign = std::string(run.settings.callsign),
                        .adoptTerminalSize = [&run] { return AdoptTerminalSize(run); }};
  context.recordUse = [](std::string_view name) { RecordUse(name); };
  context.safety = &run.safety;
  context.external = &run.external;
  context.rig = run.rig.get();
  context.wsjtx = run.wsjtx.get();
  // The external file's menu works on the text being edited: here the current field.
  context.externalAccess = [&run](std::string& text, size_t maxLength) {
    TheEditState().text = text;
    RunExternalMenu(run);
    text = std::string(CutAtCharacter(TheEditState().text, maxLength));
  };
  const int result = RunEditor(context);
  return result;
}
// Join read: another log, packed log, safety file or CSV appended to the log.
int RunJoin(RunState& run) { return RunJoinMenu(run); }
// Sort: the reversal count and, on request, the log rewritten in date-time order.
int RunSort(RunState& run) { return RunSortMenu(run); }
// The colour editor; Enter in it goes on into the record editor.
int RunColorEditor(RunState& run) { return EditColors(run); }
// The macro editor on the store loaded at start-up.
int RunMacroEditor(RunState& run) {
  MacroEditorContext context{run.fs, run.external, run.macroFile, FindProgramFile(kHelpFileName)};
  return vondal::RunMacroEditor(context);
}
// Processing output: the frame and every output; the contest logs and the inspection read the settings.
int RunOutputMenu(RunState& run) {
  OutputContext context{.log = run.log,
                        .index = run.index,
                        .fs = run.fs,
                        .logName = std::string(run.settings.log),
                        .logInUtc = LogTimeOf(run.settings.logtime) == TimeZone::kUtc};
  context.recordUse = [](std::string_view name) { RecordUse(name); };
  if (ThePools().TempCapacity() > 0) context.workBytes = ThePools().TempCapacity();
  const Settings& settings = run.settings;
  context.contest.callsign = settings.callsign;
  context.contest.handle = settings.handle;
  const RunTexts* families[] = {&settings.contestJARL, &settings.contestP, &settings.contestV,
                                &settings.contestKCJ};
  for (int f = 0; f < kFamilyCount; ++f)
    context.contest.families[f].assign(families[f]->begin(), families[f]->end());
  context.contest.jarlSummary.assign(settings.JARLsummary.begin(), settings.JARLsummary.end());
  context.standardAdif = WantsStandardAdif(settings);
  return RunOutputMenu(context);
}
// The information screen.
int RunInfoScreen(RunState& run) { return InfoScreen(run); }

// Redrawn whenever a function returns to the menu: the current page of the information screen.
// The message line keeps what the function left there.
void DrawBackground(RunState& run) {
  if (!run.screen) return;
  Screen& screen = *run.screen;
  const Screen before(screen);
  DrawInfoPage(run);
  const std::string_view message = before.RowText(MessageRow());
  if (message.find_first_not_of(' ') != std::string_view::npos) {
    screen.CopyRowsFrom(before, MessageRow(), MessageRow());
  }
  Flush();
}

KeyEvent KeyFromCode(int code) {
  return code >= kExtendedKey ? ExtendedKey(code - kExtendedKey) : CharacterKey(code);
}

// Esc, then "!" toggles the developer switch and "?" the on-screen guide.
void EscapeCommand() {
  KeyEvent key = ReadKey();
  if (key.code == '!') TheConsoleSwitches().authorsuse = !TheConsoleSwitches().authorsuse;
  if (key.code == '?') TheConsoleSwitches().guide = !TheConsoleSwitches().guide;
}

}  // namespace

std::string MainMenuLine(bool readonly, bool authorsuse) {
  std::string line = " E編集 R閲覧 J結合読込 Sｿｰﾄ C色 Mﾏｸﾛ T加工 X外部ﾌｧｲﾙ I情報 P Q終了";
  auto hide = [&line](std::string_view item) { line[line.find(item) - 1] = '!'; };
  if (readonly) {
    hide("E編集");
    hide("J結合読込");
    hide("Sｿｰﾄ");
  }
  if (!authorsuse) hide("P Q");
  return line;
}

int RunMainMenu(RunState& run) {
  const bool readonly = run.settings.toggles.readonly;
  int returned = 0;  // the key code the last function handed back
  // The information screen's page, no longer the start-up screen, stands behind the menu.
  bool pageBehind = false;
  for (;;) {
    // The menu is home: what a macro left playing stops, and no key macro is recorded here.
    ThePlayer().StopAll();
    ThePlayer().SetRecordingState(kRecordingNotPossible);
    KeyEvent key;
    if (returned != 0) {
      key = KeyFromCode(returned);
      returned = 0;
    } else {
      ShowMenu(MainMenuLine(readonly, TheConsoleSwitches().authorsuse));
      {
        // Contacts announced by WSJT-X are written here between keys.
        WatchKeyScope watch(run.wsjtx != nullptr);
        key = ReadKey();
      }
      if (key.code == kWatchedKey) {
        // The start-up screen stays until a function returns; a page behind the menu shows the
        // counters of the contacts written.
        WriteWsjtxContacts(run, pageBehind ? DrawBackground : nullptr);
        continue;
      }
      TheScreen().ClearRows(MessageRow(), MessageRow());
    }
    int result = 0;
    switch (key.upper) {
      case 'E':
      case 13:
        result = RunEditor(run, readonly);
        break;
      case 'R':
        result = RunEditor(run, true);
        break;
      case 'J':
        if (readonly) continue;
        result = RunJoin(run);
        break;
      case 'S':
        if (readonly) continue;
        result = RunSort(run);
        break;
      case 'C':
      case '@':
        result = RunColorEditor(run);
        break;
      case 'M':
      case '^':
        result = RunMacroEditor(run);
        break;
      case 'T':
      case 9:
        result = RunOutputMenu(run);
        break;
      case 'X':
        result = RunExternalMenu(run);
        break;
      case 'I':
      case ':':
        result = RunInfoScreen(run);
        break;
      case 'P':
        if (!TheConsoleSwitches().authorsuse) {
          RejectKey(key.code);
          continue;
        }
        result = RunCommandPrompt(run);
        break;
      case 'Q':
        if (std::optional<int> status = Quit(run)) return *status;
        continue;
      case 27:
        EscapeCommand();
        continue;
      default:
        RejectKey(key.code);
        continue;
    }
    if (result == 0) {
      DrawBackground(run);
      pageBehind = true;
    }
    returned = result;
  }
}

}  // namespace vondal
