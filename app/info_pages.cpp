// Pages I (version, configuration, files, CGlist3.TXT), C (system and terminal), S (settings)
// and R (write counters).
#include "app/info_pages.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/info_system.h"
#include "app/rig_lines.h"
#include "app/run_state.h"
#include "app/text/program_folder.h"
#include "app/text/version.h"
#include "app/wsjtx_lines.h"
#include "citylist/city_list.h"
#include "console/console.h"

namespace vondal {
namespace {

constexpr char kReleaseDate[] = "221102";
// The last row of a view of page S that the next view goes on from.
constexpr char kSettingsGoOn[] = "↓ S:続き";
constexpr int kValueCol = 14;

// The file keys of page I with the counter that says whether the file was updated.
bool FileUpdated(const WriteCounters& counters, int key) {
  switch (key) {
    case kColorKey:
      return counters[kCountColor] != 0;
    case kMacroKey:
      return counters[kCountMacro] != 0;
    case kLogKey:
      return counters.LogUpdated();
    case kIndexKey:
      return counters[kCountIndex] != 0;
    case kSafetyKey:
      return counters.SafetyUpdated();
    case kExternalKey:
      return counters[kCountExternal] != 0;
    default:
      return false;
  }
}

std::string_view FileValue(const Settings& settings, int key) {
  switch (key) {
    case kColorKey:
      return settings.color;
    case kMacroKey:
      return settings.macro;
    case kLogKey:
      return settings.log;
    case kIndexKey:
      return settings.index;
    case kSafetyKey:
      return settings.safety;
    default:
      return settings.external;
  }
}

std::string VersionLine() {
  std::string line = std::string("Vondal for Linux terminals ") + kProgramVersion + "H009816";
  if (TheConsoleSwitches().authorsuse) return line + " (" + LocalTimeText(ProgramFileTime()) + ")";
  const char* d = kReleaseDate;
  return line + " (20" + d[0] + d[1] + "-" + d[2] + d[3] + "-" + d[4] + d[5] + ")";
}

void DrawCityCounts(InfoWriter& out) {
  const CityCounts& counts = TheCityList().Counts();
  // Names of one place counted once (別名除く) or each (別名含む); places that ended counted
  // (消滅含む) or not (消滅除く).
  out.Put(2, "別名除く  消滅含む");
  out.Put(20, RightAligned(counts.distinct[0], 7));
  out.Put(32, "消滅除く");
  out.Line(40, RightAligned(counts.distinctOpen[0], 7));
  out.Put(2, "別名含む  消滅含む");
  out.Put(20, RightAligned(counts.all[0], 7));
  out.Put(32, "消滅除く");
  out.Line(40, RightAligned(counts.open[0], 7));
}

// The values of a key as one text: list keys' values joined by ",".
std::string Joined(const RunTexts& values) {
  std::string text;
  for (const auto& value : values) {
    if (!text.empty()) text += ",";
    text += value;
  }
  return text;
}

std::string SettingValue(const Settings& s, int key) {
  switch (key) {
    case kColorKey:
      return std::string(s.color);
    case kMacroKey:
      return std::string(s.macro);
    case kLogKey:
      return std::string(s.log);
    case kIndexKey:
      return std::string(s.index);
    case kSafetyKey:
      return std::string(s.safety);
    case kExternalKey:
      return std::string(s.external);
    case kTransKey:
      return std::string(s.trans);
    case kCaptionKey:
      return std::string(s.caption);
    case kUserKey:
      return std::string(s.user);
    case kCallsignKey:
      return std::string(s.callsign);
    case kHandleKey:
      return std::string(s.handle);
    case kMemoryKey:
      return std::to_string(s.memory);
    case kPromptKey:
      return std::string(s.prompt);
    case kCursorKey:
      return s.cursor > 0 ? std::to_string(s.cursor) : "";
    case kToggleKey:
      return Joined(s.toggle);
    case kContestJARLKey:
      return Joined(s.contestJARL);
    case kContestPKey:
      return Joined(s.contestP);
    case kContestVKey:
      return Joined(s.contestV);
    case kContestKCJKey:
      return Joined(s.contestKCJ);
    case kLogtimeKey:
      return std::string(s.logtime);
    case kRigKey:
      return std::string(s.rig);
    case kWsjtxKey:
      return std::string(s.wsjtx);
    case kAdifKey:
      return std::string(s.adif);
    default:
      return "";
  }
}

// "CID": the command line, the named set, [DEFAULT], blank where the key was not given there.
std::string OriginLetters(int origin) {
  std::string letters = "   ";
  if (origin & kOriginCommandLine) letters[0] = 'C';
  if (origin & kOriginSet) letters[1] = 'I';
  if (origin & kOriginDefault) letters[2] = 'D';
  return letters;
}

}  // namespace

void DrawBasicPage(InfoWriter& out, const RunState& run) {
  const Settings& settings = run.settings;
  out.Title("□ﾊﾞｰｼﾞｮﾝ");
  out.Next();
  out.Line(2, VersionLine());
  out.Title("□設定ﾌｧｲﾙ");
  out.Next();
  out.Line(2, settings.configFile);
  out.Put(2, "caption");
  out.Line(kValueCol, settings.caption);
  const int col = out.Title("□ﾌｧｲﾙ構成");
  if (TheConsoleSwitches().guide) out.Put(col + 1, "（*印のﾌｧｲﾙは更新）");
  out.Next();
  out.Put(3, "program");
  out.Line(kValueCol, ProgramPath());
  for (int key = kColorKey; key <= kExternalKey; ++key) {
    if (FileUpdated(run.counters, key)) out.Put(2, "*");
    out.Put(3, kSettingKeys[key].name);
    out.Line(kValueCol, FileValue(settings, key));
  }
  out.Title("□CGlist3.TXT登録数");
  out.Next();
  DrawCityCounts(out);
}

void DrawConsolePage(InfoWriter& out, const RunState& run) {
  out.Title("□ｼｽﾃﾑ ﾊﾞｰｼﾞｮﾝ");
  out.Next();
  out.Line(2, SystemNameAndRelease());
  out.Title("□ｳｨﾝﾄﾞｳｻｲｽﾞ");
  out.Next();
  const Screen& screen = TheScreen();
  out.Line(2, std::to_string(screen.Height()) + "×" + std::to_string(screen.Width()));
  out.Title("□ｶﾚﾝﾄﾌｫﾙﾀﾞ");
  out.Next();
  out.Line(2, CurrentFolder());
  out.Title("□Vondal起動日時");
  out.Next();
  out.Line(2, LocalTimeText(StartTime()));
  if (run.rig) DrawRigSection(out, *run.rig);
  if (run.wsjtx) DrawWsjtxSection(out, *run.wsjtx);
  out.Title("□ｺﾏﾝﾄﾞﾗｲﾝ");
  out.Next();
  for (const auto& argument : run.settings.arguments) out.Line(2, argument);
}

void DrawSettingsPage(InfoWriter& out, const RunState& run, int& view) {
  const Settings& settings = run.settings;
  const bool developer = TheConsoleSwitches().authorsuse;
  const int col = out.Title("□設定値");
  if (TheConsoleSwitches().guide) out.Put(col + 1, "（指定場所 Cｺﾏﾝﾄﾞﾗｲﾝ I個別設定ｾｯﾄ DDEFAULT設定ｾｯﾄ）");
  out.Next();
  // A row below the title: a key with its origin and value, or (no key) a line of JARLsummary.
  struct Row {
    int key;
    std::string_view line;
  };
  std::vector<Row> rows;
  for (int key = kColorKey; key <= kJARLsummaryKey; ++key) {
    if (!developer && (key == kUserKey || key == kMemoryKey || key == kPromptKey)) continue;
    rows.push_back({key, {}});
  }
  for (const auto& line : settings.JARLsummary) rows.push_back({-1, line});
  // The keys of the links to other programs and the radio, and the form of the ADIF output,
  // appear only in a run that gives them.
  for (int key = kLogtimeKey; key <= kAdifKey; ++key) {
    if (settings.origins[key] != 0) rows.push_back({key, {}});
  }
  // Rows beyond the page go on in further views, each but the last ending in the sign.
  const int total = static_cast<int>(rows.size());
  const int room = std::max(1, out.RowsLeft());
  const int perView = total <= room ? total : std::max(1, room - 1);
  const int views = std::max(1, (total + perView - 1) / perView);
  view %= views;
  const int last = std::min(total, (view + 1) * perView);
  for (int i = view * perView; i < last; ++i) {
    const Row& row = rows[i];
    if (row.key < 0) {
      out.Line(kValueCol + 4, row.line);
      continue;
    }
    out.Put(2, kSettingKeys[row.key].name);
    out.Put(kValueCol, OriginLetters(settings.origins[row.key]));
    out.Line(kValueCol + 4, SettingValue(settings, row.key));
  }
  if (view < views - 1) out.Line(2, kSettingsGoOn);
}

void DrawUpdatesPage(InfoWriter& out, const RunState& run) {
  static constexpr std::array<WriteCounter, kWriteCounterCount> kOrder = {
      kCountColor,   kCountMacro, kCountLogNew, kCountLogOld,     kCountLogJoin,
      kCountLogSort, kCountIndex, kCountSafety, kCountSafetyTime, kCountExternal};
  out.Title("□ﾌｧｲﾙ更新");
  out.Next();
  for (WriteCounter counter : kOrder) {
    out.Put(2, kWriteCounterNames[counter].shortName);
    out.Put(kValueCol, RightAligned(run.counters[counter], 8));
    out.Line(kValueCol + 10, kWriteCounterNames[counter].description);
  }
}

}  // namespace vondal
