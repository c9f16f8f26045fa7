#include "app/startup.h"

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/export_command.h"
#include "app/main_menu.h"
#include "app/memory_pool.h"
#include "app/quit.h"
#include "app/rig_lines.h"
#include "app/run_state.h"
#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "app/text/version.h"
#include "app/user_folder.h"
#include "app/wsjtx_lines.h"
#include "citylist/city_list.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "console/tty_session.h"
#include "editor/dictionary.h"
#include "log/field_table.h"
#include "macro/macro_file.h"
#include "macro/macro_player.h"
#include "macro/player_key_source.h"
#include "output/band_table.h"
#include "output/output_parameters.h"

namespace vondal {
namespace {

constexpr int kMinWidth = 80;
constexpr int kMinHeight = 25;

// Prints a line of the checks made before the screen exists, in the locale's charset.
void PrintCheck(std::string_view cp932) {
  PrintLocal(stdout, cp932);
  std::fflush(stdout);
}

// Step 6: the frame and the banner of the start-up screen.
// The right edge of the start-up frame.
int FrameRight(const RunState& run) { return std::min(TheScreen().Width() - 2, run.c0 + 66); }

int DictionaryCount(const RunState& run) {
  return std::min<int>(static_cast<int>(run.settings.dictionary.size()), kMaxDictionaries);
}

// The lines of the links to other programs stand below the dictionaries' lines: the radio's, when
// `rig` is set, then live logging's, when `wsjtx` is set.
int RigRows(const RunState& run) { return run.settings.rig.empty() ? 0 : 1; }
int WsjtxRows(const RunState& run) { return run.settings.wsjtx.empty() ? 0 : 1; }
int StationRows(const RunState& run) { return RigRows(run) + WsjtxRows(run); }

// Whether each dictionary gets a line of its own (from row R0+12 on): only while the frame, which
// grows to hold them and the links' lines, still ends above the message line.
bool DictionaryLineEach(const RunState& run) {
  return run.r0 + 12 + DictionaryCount(run) + StationRows(run) < MessageRow();
}

// The rows the dictionaries take: one each, or one with their number.
int DictionaryRows(const RunState& run) {
  const int count = DictionaryCount(run);
  return count == 0 || DictionaryLineEach(run) ? count : 1;
}

int RigRow(const RunState& run) { return 12 + DictionaryRows(run); }
int WsjtxRow(const RunState& run) { return RigRow(run) + RigRows(run); }

// The bottom edge of the start-up frame: below the last line.
int FrameBottom(const RunState& run) {
  return run.r0 + 12 + std::max(1, DictionaryRows(run) + StationRows(run));
}

void DrawStartupFrame(const RunState& run) {
  Screen& screen = TheScreen();
  screen.DrawBox(run.r0, run.c0 - 1, FrameBottom(run), FrameRight(run), ColorOf(ColorElement::Opening));
  if (run.settings.toggles.logo) {
    int col = screen.PutTextToEnd(" Ｖｏｎｄａｌ ", 2, 3, ColorOf(ColorElement::Title), 0);
    screen.PutTextToEnd(std::string(" ") + kProgramVersion + "H009816", 2, col + 1,
                        ColorOf(ColorElement::Version), 0);
    screen.PutTextToEnd("Station log for Linux terminals", 4, 3, ColorOf(ColorElement::Version), 0);
  } else {
    int col = screen.PutTextToEnd(" Vondal ", run.r0, run.c0 + 1, ColorOf(ColorElement::Title), 0);
    screen.PutTextToEnd(std::string(" ") + kProgramVersion + " ", run.r0, col + 1,
                        ColorOf(ColorElement::Version), 0);
  }
  Flush();
}

// Steps whose Parts other work builds: each shows its line on the start-up screen.

// Loads the colour sets from the file named by `color` (rows R0+2, R0+3); every screen from here
// on is drawn in the current set.
void LoadColorSets(RunState& run) {
  const ColorLoadReport report = run.colors.Load(run.settings.color);
  if (!report.note.empty()) run.ui.StartupLine(2, 0, report.note);
  run.ui.StartupLine(3, 0, report.fileLine);
}

// Loads the macros named by `macro` (row R0+4); the key macro is recorded into the store's macro 0.
void LoadMacros(RunState& run) {
  MacroStore& store = TheMacroStore();
  store.UseCounters(run.counters);
  MacroLoad load = LoadMacrosAtStart(run.fs, run.settings.macro, store, run.ui);
  if (!load.fatal.empty()) FatalMessage(load.fatal);
  run.macroFile = std::move(load.fileName);
  ThePlayer().SetKeyMacroArea(store.KeyMacroArea());
}

// Loads the conversion dictionaries of `dictionary` (rows R0+12 on): a line a dictionary when
// the frame can hold them above the message line, else one line with their number.
void LoadDictionaries(RunState& run) {
  std::vector<Dictionary>& dictionaries = TheDictionaries();
  dictionaries.clear();
  const int count = DictionaryCount(run);
  const bool lineEach = DictionaryLineEach(run);
  int failed = 0;
  for (int i = 0; i < count; ++i) {
    Dictionary d = LoadDictionary(run.settings.dictionary[i], run.fs, FindProgramFile);
    if (lineEach) {
      run.ui.StartupLine(12 + i, 0, "辞書=");
      run.ui.StartupLine(12 + i, 5, d.fileName.empty() ? d.specification : d.fileName, !d.usable());
    }
    failed += !d.usable();
    dictionaries.push_back(std::move(d));
  }
  if (count > 0 && !lineEach) {
    run.ui.StartupLine(12, 0, "辞書=" + std::to_string(count) + "ﾌｧｲﾙ");
    if (failed > 0) run.ui.StartupLine(12, 12, "(ｴﾗｰ" + std::to_string(failed) + "ﾌｧｲﾙ)", true);
  }
}

// Opens the `external` file (row R0+10).
void OpenExternalFile(RunState& run) {
  if (!run.settings.external.empty()) run.external.OpenExternalAtStart(run.settings.external, run.ui);
}

// Loads CGlist3.TXT from the program folder (row R0+11); the program runs on without it.
void LoadCityList(RunState& run) {
  if (TheCityList().Load()) {
    run.ui.StartupLine(11, 0, "CGlist3.TXT読込完了");
  } else {
    run.ui.StartupLine(11, 0, "CGlist3.TXTが読めません", true);
  }
}

// The write-state line (row R0+6), with why the log cannot be written when another program holds
// it, and a warning where its lock could not be taken at all.
void ShowWriteState(RunState& run) {
  if (run.settings.toggles.readonly) {
    run.ui.StartupLine(6, 0, "ﾛｸﾞ書込禁止", true);
  } else {
    run.ui.StartupLine(6, 0, "ﾛｸﾞ書込可");
  }
  if (run.log.LockedElsewhere()) {
    run.ui.StartupLine(6, 13, "(他のﾌﾟﾛｸﾞﾗﾑが使用中のため閲覧のみ)", true);
  } else if (run.log.lockResult() == LockResult::kNotSupported) {
    run.ui.StartupLine(6, 13, "(ﾛｯｸできない場所のため同時使用に注意)", true);
  }
}

// The processing outputs' parameters with their default file names, from `trans` and the log.
void PrepareOutputDefaults(RunState& run) {
  TheOutputParameters() =
      DefaultOutputParameters(std::string(run.settings.trans), std::string(run.settings.log));
}

// Step 9: the log, the safety file and the index. Failures end the program.
void OpenLogFiles(RunState& run) {
  run.log.options.writeProtect = run.settings.toggles.readonly;
  run.log.options.compatible = run.settings.toggles.compatible;
  run.safety.Configure(std::string(run.settings.safety));
  if (std::string fatal = run.log.OpenLog(std::string(run.settings.log)); !fatal.empty()) FatalMessage(fatal);
  if (run.log.LockedElsewhere()) {
    // Another program writes this log: this run reads it, as under the `readonly` toggle.
    run.settings.toggles.readonly = true;
    run.log.options.writeProtect = true;
    run.safety.SetReadOnly(true);
  }
  if (std::string fatal = run.safety.CheckSafety(run.ui); !fatal.empty()) FatalMessage(fatal);
  run.log.JournalRepairedRecord();
  TempPoolReset();
  auto* buffer = static_cast<char*>(TempPoolAlloc(kIndexBufferSize));
  if (buffer == nullptr) FatalMessage(kIndexOutOfMemory);
  std::string fatal = run.index.LoadIndex(std::string(run.settings.index), run.fs, run.log, run.ui,
                                          {buffer, kIndexBufferSize});
  if (!fatal.empty()) FatalMessage(fatal);
  RecordUse("index");
}

}  // namespace

std::unique_ptr<RunState> PrepareRun(int cols, int rows, std::span<const std::string> arguments,
                                     int& exitStatus, const ConfigureIo& io, std::string_view configFile) {
  // 4. The local pool with the quota of the temporary pool inside it, the screen buffer and the
  // field table. Everything of the run is made after the pool, so that it lives there.
  CreateLocalPool(kLocalPoolSize);
  TempPoolReset();
  auto run = std::make_unique<RunState>();
  run->screen = std::make_unique<Screen>(
      cols, rows, static_cast<unsigned char*>(LocalPoolAlloc(Screen::BlockBytes(cols, rows))));
  ResetFieldTable();

  // 5 (first part). The command line and Vondal.ini: the listing, a refused command line and
  // the question after a configuration with errors end the program here, before the screen.
  RunConfig config = ConfigureRun(arguments, io, configFile);
  if (!config.start) {
    exitStatus = config.exitStatus;
    return nullptr;
  }
  RecordUse("itable");
  run->settings = std::move(config.settings);
  InstallUserSegments(run->settings.modeSegments);  // the band plan of the error inspection and the band map
  ThePools().SetTempMegabytes(run->settings.memory);  // the next reset makes the final pool
  return run;
}

int RunVondal(int argc, char** argv) {
  const std::vector<std::string> arguments = ArgumentsFromSystem(argc, argv);
  const CommandLine line = ParseCommandLine(arguments);
  // The usage and the version are answered on standard output, whatever it is, before a run.
  if (line.help || line.version) {
    PrintCheck(line.help ? HelpText() : VersionText());
    return 0;
  }
  // The export for scripts runs without a terminal, a banner or a screen.
  if (line.exportAdif && !line.listMode) {
    return RunAdifExportCommand(line, arguments);
  }

  // 1. Banner.
  PrintCheck("\n Ｖｏｎｄａｌ " + std::string(kProgramVersion) + "H009816\n");

  // 2. Console checks, before anything else happens.
  if (!TtySession::StandardStreamsAreTerminals()) {
    PrintCheck("(!) ﾘﾀﾞｲﾚｸﾄはできません\n");
    return 1;
  }
  int rows = 0, cols = 0;
  if (!TtySession::TerminalSize(&rows, &cols) || rows < kMinHeight || cols < kMinWidth) {
    PrintCheck("(!) ｳｨﾝﾄﾞｳの大きさが不足です\n");
    return 1;
  }

  // The first start of an installed program makes the user's folder with a configuration in it.
  const char* home = std::getenv("HOME");
  const UserFolderNote firstStart =
      PrepareUserFolder(TheProgramFolders(), RealFileSystem(), LocaleToCp932(home != nullptr ? home : ""));

  // 4 and the first part of 5.
  int exitStatus = 0;
  std::unique_ptr<RunState> prepared = PrepareRun(cols, rows, arguments, exitStatus);
  if (!prepared) return exitStatus;
  RunState& run = *prepared;

  // The terminal.
  TtySession session;
  session.Enter();
  AttachConsole(run.screen.get(), &session.terminal());
  SetKeySource(&session);
  InstallMacroPlayer();  // every key of every menu and editor comes through the macro player

  // 5. Settings in force: the cursor hidden, the toggles applied.
  ShowCursor(false);
  TheConsoleSwitches().authorsuse = run.settings.authorsuse;
  if (run.settings.toggles.box || session.FrameGlyphsWide())
    run.screen->SetFrameGlyphs(FrameGlyphSet::kAscii);

  // 6. The start-up screen.
  run.r0 = run.settings.toggles.logo ? 7 : 1;
  run.c0 = run.settings.toggles.logo ? 1 : 11;
  run.ui.SetOrigin(run.r0, run.c0, FrameRight(run));
  // What start-up took from the quota, then the final temporary pool ("malloc") for the loaders.
  RecordUse("+total");
  TempPoolReset();
  LoadColorSets(run);
  DrawStartupFrame(run);
  run.ui.StartupLine(1, 0, "設定ﾌｧｲﾙ");
  run.ui.StartupLine(1, 9, run.settings.setText, run.settings.setTextIsError);
  if (!firstStart.text.empty()) {
    const int col = 9 + static_cast<int>(run.settings.setText.size()) + 1;
    run.ui.StartupLine(1, col, firstStart.text, firstStart.error);
  }

  // 7. The title.
  TheTerminal().SetTitle(run.settings.log);

  // 8. Macros and dictionary.
  LoadMacros(run);
  LoadDictionaries(run);

  // 9. The log and its companion files.
  OpenLogFiles(run);
  OpenExternalFile(run);

  // 10. CGlist3.TXT and the processing-output defaults.
  LoadCityList(run);
  PrepareOutputDefaults(run);
  // The radio, when the `rig` key names one.
  if (!run.settings.rig.empty()) StartRig(run, RigRow(run));
  // Live logging, when the `wsjtx` key names an address (after the log: a log this run cannot
  // write is not listened for).
  if (!run.settings.wsjtx.empty()) StartWsjtx(run, WsjtxRow(run));

  // 11. The cursor size.
  if (run.settings.cursor > 0) SetCursorSize(run.settings.cursor);

  // 12. The write state and the guide.
  ShowWriteState(run);
  TheConsoleSwitches().guide =
      run.settings.authorsuse ? run.settings.toggles.verbose : !run.settings.toggles.silent;

  int status = RunMainMenu(run);
  // The last word of the screen ("正常終了", or the save that failed) is said once more on the
  // terminal given back, where it stays readable.
  EndProgram(status, status != 0 ? run.ui.lastReport() : kNormalEnd);
}

}  // namespace vondal
