// The settings of one run of the main program: the configuration keys after [DEFAULT], the named
// set and the command line have been combined and the file names completed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/config_reader.h"
#include "app/switches.h"
#include "output/band_table.h"

namespace vondal {

// Where a key's value came from; the sum of the sources that gave it.
enum Origin : int { kOriginDefault = 1, kOriginSet = 2, kOriginCommandLine = 4 };

// The configuration keys of Vondal.ini in table order (the information screen lists them so).
enum SettingKey : int {
  kColorKey,
  kMacroKey,
  kLogKey,
  kIndexKey,
  kSafetyKey,
  kExternalKey,
  kTransKey,
  kCaptionKey,
  kUserKey,
  kCallsignKey,
  kHandleKey,
  kMemoryKey,
  kPromptKey,
  kCursorKey,
  kToggleKey,
  kContestJARLKey,
  kContestPKey,
  kContestVKey,
  kContestKCJKey,
  kJARLsummaryKey,
  kModeKey,
  kDictionaryKey,
  kSettingKeyCount
};

struct SettingKeyInfo {
  std::string_view name;  // as written in Vondal.ini (matched ignoring case)
  char option;            // command-line option letter, or 0
  int maxValues;          // see ConfigKey::maxValues
  int extraRoom;          // see ConfigKey::extraRoom
};

// The 22 keys: name, option, list limit and extra room.
extern const std::array<SettingKeyInfo, kSettingKeyCount> kSettingKeys;

struct Settings {
  // Files, completed with their extensions. Empty index/safety/external: not configured.
  std::string color;
  std::string macro;
  std::string log;
  std::string index;
  std::string safety;
  std::string external;
  std::string trans;
  std::string caption;
  std::string user;
  std::string callsign = "QZ0ZZQ";
  std::string handle;
  int memory = 2;  // megabytes of the temporary pool, 2 to 10
  std::string prompt;
  int cursor = 0;                   // cursor size 1-100; 0: not set
  std::vector<std::string> toggle;  // the words of the `toggle` key
  std::vector<std::string> contestJARL;
  std::vector<std::string> contestP;
  std::vector<std::string> contestV;
  std::vector<std::string> contestKCJ;
  std::vector<std::string> JARLsummary;
  std::vector<std::string> mode;  // the `mode` lines as written
  // The frequency-to-MODE map of auto-fill: the `mode` lines that count (UserSegmentOf), in
  // file order; segmentClass is the MODE to fill in, 1 CW … 6 PSK31.
  std::vector<Segment> modeSegments;
  std::vector<std::string> dictionary;

  // Origin of each key's value (a sum of Origin values; 0: not given anywhere).
  std::array<int, kSettingKeyCount> origins{};

  std::string configFile;  // the configuration file read ("+Vondal.ini" in the program folder)
  std::string setName;     // the named set asked for on the command line, upper case; may be empty
  std::vector<std::string> arguments;  // the command-line arguments, CP932

  // The configuration-set text of the start-up screen ("[DEFAULT]設定ｾｯﾄ使用", "非使用", ...) and
  // whether it is shown in the error colour.
  std::string setText;
  bool setTextIsError = false;

  Toggles toggles;
  bool authorsuse = false;  // "-!" or a `user` matching "QZ0ZZQ*"
};

// How the start-up goes on after the command line and the configuration have been read.
struct RunConfig {
  bool start = false;  // true: run with `settings`; false: end the program with exitStatus
  int exitStatus = 0;
  Settings settings;
};

// What ConfigureRun needs from the program around it: the printer and "#error exit" of the
// reader, and one key for the "設定ﾌｧｲﾙ ｴﾗｰ" question (default: one key of the terminal, no Enter).
struct ConfigureIo {
  ConfigOutput output;
  std::function<int()> readKey;
};

// Start-up's one call: reads the command line (CP932, without the program name) and configFile,
// and returns the settings of the run. Everything it has to say goes to standard output before
// the screen exists: the listing (no argument or "?", status 0), a refused command line
// (status 1), or the question after a configuration with errors (status 0 unless Y is typed).
RunConfig ConfigureRun(std::span<const std::string> arguments, const ConfigureIo& io = {},
                       std::string_view configFile = "+Vondal.ini");

}  // namespace vondal
