// The settings of one run of the main program: the configuration keys after [DEFAULT], the named
// set and the command line have been combined and the file names completed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory_resource>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/config_reader.h"
#include "app/memory_pool.h"
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
  // Keys of the links to other programs and the radio; a run that gives none of them looks and
  // behaves as if they did not exist (the information screen lists them only when given).
  kLogtimeKey,
  kRigKey,
  kWsjtxKey,
  kAdifKey,  // "standard": the processing menu's ADIF output writes the standard form of ADIF 3.1
  kSettingKeyCount
};

struct SettingKeyInfo {
  std::string_view name;  // as written in Vondal.ini (matched ignoring case)
  char option;            // command-line option letter, or 0
  int maxValues;          // see ConfigKey::maxValues
  int extraRoom;          // see ConfigKey::extraRoom
};

// The keys: name, option, list limit and extra room.
extern const std::array<SettingKeyInfo, kSettingKeyCount> kSettingKeys;

// Texts of the settings live as long as the run: in the local pool once the program has made it
// (RunMemory).
using RunText = std::pmr::string;
using RunTexts = std::pmr::vector<std::pmr::string>;

struct Settings {
  // Files, completed with their extensions. Empty index/safety/external: not configured.
  RunText color{RunMemory()};
  RunText macro{RunMemory()};
  RunText log{RunMemory()};
  RunText index{RunMemory()};
  RunText safety{RunMemory()};
  RunText external{RunMemory()};
  RunText trans{RunMemory()};
  RunText caption{RunMemory()};
  RunText user{RunMemory()};
  RunText callsign{"QZ0ZZQ", RunMemory()};
  RunText handle{RunMemory()};
  int memory = 2;  // megabytes of the temporary pool, 2 to 10
  RunText prompt{RunMemory()};
  int cursor = 0;                // cursor size 1-100; 0: not set
  RunTexts toggle{RunMemory()};  // the words of the `toggle` key
  RunTexts contestJARL{RunMemory()};
  RunTexts contestP{RunMemory()};
  RunTexts contestV{RunMemory()};
  RunTexts contestKCJ{RunMemory()};
  RunTexts JARLsummary{RunMemory()};
  RunTexts mode{RunMemory()};  // the `mode` lines as written
  // The frequency-to-MODE map of auto-fill: the `mode` lines that count (UserSegmentOf), in
  // file order; segmentClass is the MODE to fill in, 1 CW … 6 PSK31.
  std::pmr::vector<Segment> modeSegments{RunMemory()};
  RunTexts dictionary{RunMemory()};
  RunText logtime{RunMemory()};  // the time the log keeps: "JST" (also when empty) or "UTC"
  RunText rig{RunMemory()};      // address of rigctld ("127.0.0.1:4532"); empty: no radio
  RunText wsjtx{RunMemory()};    // UDP address WSJT-X and its kin announce contacts to; empty: none
  RunText adif{RunMemory()};     // the form of the ADIF output: "standard" (any case); else the log's own

  // Origin of each key's value (a sum of Origin values; 0: not given anywhere).
  std::array<int, kSettingKeyCount> origins{};

  RunText configFile{RunMemory()};  // the configuration file read ("+Vondal.ini" in the program folder)
  RunText setName{RunMemory()};     // the named set asked for on the command line, upper case; may be empty
  RunTexts arguments{RunMemory()};  // the command-line arguments, CP932

  // The configuration-set text of the start-up screen ("[DEFAULT]設定ｾｯﾄ使用", "非使用", ...) and
  // whether it is shown in the error colour.
  RunText setText{RunMemory()};
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
  // Nobody to ask (a run from a script): a configuration with errors ends the run, status 1.
  bool unattended = false;
};

// The `adif` key says "standard" (in any case): the ADIF output writes the standard form.
bool WantsStandardAdif(const Settings& settings);

// Start-up's one call: reads the command line (CP932, without the program name) and configFile,
// and returns the settings of the run. Everything it has to say goes to standard output before
// the screen exists: the listing (no argument or "?", status 0), a refused command line
// (status 1), or the question after a configuration with errors (status 0 unless Y is typed; with
// `unattended`, status 1 and no question).
RunConfig ConfigureRun(std::span<const std::string> arguments, const ConfigureIo& io = {},
                       std::string_view configFile = "+Vondal.ini");

}  // namespace vondal
