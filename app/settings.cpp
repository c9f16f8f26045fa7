#include "app/settings.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/text/charset.h"
#include "app/text/file_name.h"
#include "app/text/program_folder.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"
#include "console/ask_key.h"

namespace vondal {

// Path keys keep 4 bytes of room for the extension they may get.
const std::array<SettingKeyInfo, kSettingKeyCount> kSettingKeys = {{
    {"color", 'C', 0, 4},     {"macro", 'M', 0, 4},      {"log", 0, 0, 4},
    {"index", 'I', 0, 4},     {"safety", 'S', 0, 4},     {"external", 'X', 0, 4},
    {"trans", 0, 0, 0},       {"caption", 0, 0, 0},      {"user", 0, 0, 0},
    {"callsign", 0, 0, 0},    {"handle", 0, 0, 0},       {"memory", 0, 0, 0},
    {"prompt", 0, 0, 0},      {"cursor", 0, 0, 0},       {"toggle", 0, 0, 0},
    {"contestJARL", 0, 0, 0}, {"contestP", 0, 0, 0},     {"contestV", 0, 0, 0},
    {"contestKCJ", 0, 0, 0},  {"JARLsummary", 0, 20, 0}, {"mode", 0, kUnlimitedValues, 0},
    {"dictionary", 0, 10, 0}, {"logtime", 0, 0, 0},      {"rig", 'R', 0, 0},
    {"wsjtx", 'W', 0, 0},     {"adif", 0, 0, 0},
}};

namespace {

constexpr char kConfigErrorQuestion[] = "設定ﾌｧｲﾙ ｴﾗｰ\n続行しますか (Y/N)\n";
constexpr char kNoLog[] = "(!) ﾛｸﾞﾌｧｲﾙが指定されていません\n";
constexpr char kToggleSeparators[] = "\t ,;";
constexpr char kContestSeparators[] = "\t,;";

// Appends the keys of `section` to the key table.
void AddKeyTable(std::pmr::vector<ConfigKey>& table, std::string_view section) {
  for (const SettingKeyInfo& info : kSettingKeys) {
    ConfigKey& entry = table.emplace_back();
    entry.section = section;
    entry.key = std::string(info.name);
    entry.maxValues = info.maxValues;
    entry.extraRoom = info.extraRoom;
  }
}

// The texts, kept for the run.
template <class Texts>
void Keep(RunTexts& kept, const Texts& texts) {
  kept.assign(texts.begin(), texts.end());
}

// A key's values after [DEFAULT], the named set and the command line.
struct Chosen {
  std::vector<std::string> values;
  int origin = 0;
  bool IsGiven() const { return origin != 0; }
  std::string Text() const { return values.empty() ? std::string() : values.front(); }
};

// The name without what follows the last "." of its last part (the "." stays).
std::string WithoutExtension(std::string_view path) {
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return std::string(path);
  }
  return std::string(path.substr(0, dot + 1));
}

// Colour and macro files: a "#" part (which set inside the file) is kept aside while the name is
// completed; an empty name is the program folder's own file.
std::string CompleteProgramFile(std::string name, std::string_view extension) {
  std::string setPart;
  if (size_t hash = name.find('#'); hash != std::string::npos) {
    setPart = name.substr(hash);
    name.resize(hash);
  }
  if (name.empty()) name = InProgramFolder("Vondal");
  return CompleteFileName(name, extension) + setPart;
}

// A decimal number as the configuration writes it: leading blanks, digits, anything after them
// ignored. Text that is no number gives 0.
long Number(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }

// The words of a list value, split at the first of the separators that occurs, each without the
// blanks and tabs around it ("7.0, 7.1, CW" has the words "7.0", "7.1" and "CW").
std::vector<std::string> Words(const std::string& text, std::string_view separators) {
  std::vector<std::string> words;
  for (std::string_view word : Split(text, separators)) {
    if (!Trim(word).empty()) words.emplace_back(Trim(word));
  }
  return words;
}

void ApplyToggles(const RunTexts& words, Toggles& toggles) {
  struct Word {
    std::string_view name;
    bool Toggles::*flag;
  };
  static constexpr Word kWords[] = {
      {"logo", &Toggles::logo},       {"readonly", &Toggles::readonly}, {"compatible", &Toggles::compatible},
      {"verbose", &Toggles::verbose}, {"silent", &Toggles::silent},     {"box", &Toggles::box},
      {"diehard", &Toggles::diehard},
  };
  for (std::string_view word : words) {
    for (const Word& known : kWords) {
      if (CompareText(word, known.name, CaseMode::kIgnore) == 0) toggles.*known.flag = true;
    }
  }
}

void KeepModeSegments(const RunTexts& lines, std::pmr::vector<Segment>& segments) {
  for (std::string_view line : lines) {
    if (std::optional<Segment> segment = UserSegmentOf(line)) segments.push_back(*segment);
  }
}

// Combines [DEFAULT], the named set and the command line for every key.
std::array<Chosen, kSettingKeyCount> Choose(std::span<const ConfigKey> defaults,
                                            std::span<const ConfigKey> set, const CommandLine& commandLine) {
  std::array<Chosen, kSettingKeyCount> chosen;
  for (int i = 0; i < kSettingKeyCount; ++i) {
    if (defaults[i].IsGiven()) chosen[i] = {defaults[i].values, kOriginDefault};
    if (!set.empty() && set[i].IsGiven()) chosen[i] = {set[i].values, chosen[i].origin + kOriginSet};
  }
  const std::pair<SettingKey, const std::optional<std::string>*> options[] = {
      {kColorKey, &commandLine.color},       {kMacroKey, &commandLine.macro},
      {kIndexKey, &commandLine.index},       {kSafetyKey, &commandLine.safety},
      {kExternalKey, &commandLine.external}, {kRigKey, &commandLine.rig},
      {kWsjtxKey, &commandLine.wsjtx},
  };
  for (const auto& [key, value] : options) {
    if (*value) chosen[key] = {{**value}, chosen[key].origin + kOriginCommandLine};
  }
  if (!chosen[kLogKey].IsGiven() && commandLine.word) {
    chosen[kLogKey] = {{*commandLine.word}, kOriginCommandLine};  // the word is the log itself
  }
  return chosen;
}

// Fills the settings from the chosen values, completing the file names.
void Fill(const std::array<Chosen, kSettingKeyCount>& chosen, Settings& settings) {
  for (int i = 0; i < kSettingKeyCount; ++i) settings.origins[i] = chosen[i].origin;

  settings.color = CompleteProgramFile(chosen[kColorKey].Text(), "VDC");
  settings.macro = CompleteProgramFile(chosen[kMacroKey].Text(), "VDM");
  std::string log = chosen[kLogKey].Text();
  if (chosen[kIndexKey].IsGiven()) {
    std::string index = chosen[kIndexKey].Text();
    settings.index = CompleteFileName(index.empty() ? WithoutExtension(log) : index, "VDI");
  }
  settings.log = CompleteFileName(log, "VD");
  if (chosen[kSafetyKey].IsGiven()) settings.safety = CompleteFileName(chosen[kSafetyKey].Text(), "VDS");
  settings.external = chosen[kExternalKey].Text();

  settings.trans = chosen[kTransKey].Text();
  settings.caption = chosen[kCaptionKey].Text();
  settings.user = chosen[kUserKey].Text();
  if (chosen[kCallsignKey].IsGiven()) settings.callsign = chosen[kCallsignKey].Text();
  settings.handle = chosen[kHandleKey].Text();
  long memory = Number(chosen[kMemoryKey].Text());
  settings.memory = memory >= 2 && memory <= 10 ? static_cast<int>(memory) : 2;
  settings.prompt = chosen[kPromptKey].Text();
  long cursor = Number(chosen[kCursorKey].Text());
  settings.cursor = cursor >= 1 && cursor <= 100 ? static_cast<int>(cursor) : 0;

  Keep(settings.toggle, Words(chosen[kToggleKey].Text(), kToggleSeparators));
  Keep(settings.contestJARL, Words(chosen[kContestJARLKey].Text(), kContestSeparators));
  Keep(settings.contestP, Words(chosen[kContestPKey].Text(), kContestSeparators));
  Keep(settings.contestV, Words(chosen[kContestVKey].Text(), kContestSeparators));
  Keep(settings.contestKCJ, Words(chosen[kContestKCJKey].Text(), kContestSeparators));
  Keep(settings.JARLsummary, chosen[kJARLsummaryKey].values);
  Keep(settings.mode, chosen[kModeKey].values);
  KeepModeSegments(settings.mode, settings.modeSegments);
  Keep(settings.dictionary, chosen[kDictionaryKey].values);
  settings.logtime = Trim(chosen[kLogtimeKey].Text());
  settings.rig = Trim(chosen[kRigKey].Text());
  settings.wsjtx = Trim(chosen[kWsjtxKey].Text());
  settings.adif = Trim(chosen[kAdifKey].Text());

  if (jstrwldc("QZ0ZZQ*", settings.user, true)) settings.authorsuse = true;
  ApplyToggles(settings.toggle, settings.toggles);
}

void Print(const ConfigureIo& io, std::string_view text) {
  if (io.output.print) {
    io.output.print(text);
  } else {
    PrintLocal(stdout, text);
    std::fflush(stdout);
  }
}

// The question asked on standard output and the one key that answers it, read before the
// screen exists.
int Ask(const ConfigureIo& io, std::string_view question) {
  if (io.readKey) {
    Print(io, question);
    return io.readKey();
  }
  return AskKey(STDIN_FILENO, [&io, question] { Print(io, question); });
}

}  // namespace

bool WantsStandardAdif(const Settings& settings) {
  return CompareText(settings.adif, "standard", CaseMode::kIgnore) == 0;
}

RunConfig ConfigureRun(std::span<const std::string> arguments, const ConfigureIo& io,
                       std::string_view configFile) {
  RunConfig run;
  CommandLine commandLine = ParseCommandLine(arguments);
  if (commandLine.listMode) {
    ReadConfig(configFile, {}, io.output);
    Print(io, "\n");
    return run;
  }
  if (!commandLine.error.empty()) {
    Print(io, commandLine.error);
    run.exitStatus = 1;
    return run;
  }

  Settings& settings = run.settings;
  Keep(settings.arguments, commandLine.arguments);
  settings.configFile = configFile.starts_with('+') ? InProgramFolder(std::string(configFile.substr(1)))
                                                    : std::string(configFile);
  settings.setName = SetName(commandLine);
  settings.authorsuse = commandLine.authorsuse;

  // The key tables of [DEFAULT] and the named set are working memory of the read: at start-up
  // they take their room in the temporary pool's quota (the "itable" of the memory history),
  // while the values chosen from them are kept for the run.
  std::pmr::vector<ConfigKey> table(TempMemory());
  table.reserve(2 * kSettingKeyCount);
  AddKeyTable(table, "DEFAULT");
  if (!settings.setName.empty()) AddKeyTable(table, settings.setName);
  int result = ReadConfig(configFile, table, io.output);
  std::span<const ConfigKey> defaults = std::span<const ConfigKey>(table).first(kSettingKeyCount);
  std::span<const ConfigKey> set = std::span<const ConfigKey>(table).subspan(kSettingKeyCount);

  settings.setText = "[DEFAULT]設定ｾｯﾄ使用";
  if (result == kConfigCannotOpen) {
    settings.setText = "非使用";
    settings.setTextIsError = true;
  } else if (result != kConfigOk) {
    if (io.unattended) {
      Print(io, "(!) 設定ﾌｧｲﾙ ｴﾗｰ\n");
      run.exitStatus = 1;
      return run;
    }
    int key = Ask(io, kConfigErrorQuestion);
    Print(io, "\n");
    if (key != 'Y' && key != 'y') return run;
    settings.setText = "ｴﾗｰ";
    settings.setTextIsError = true;
  }
  for (const ConfigKey& entry : set) {
    if (entry.IsGiven()) {
      settings.setText = "[" + settings.setName + "]設定ｾｯﾄ使用";
      settings.setTextIsError = false;
      break;
    }
  }

  std::array<Chosen, kSettingKeyCount> chosen = Choose(defaults, set, commandLine);
  if (!chosen[kLogKey].IsGiven()) {
    Print(io, kNoLog);
    run.exitStatus = 1;
    return run;
  }
  Fill(chosen, settings);
  run.start = true;
  return run;
}

}  // namespace vondal
