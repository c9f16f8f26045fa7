// The reader of Vondal.ini and the files it includes: sections, keys and the small preprocessor
// ("#include", "#define", "#error"). The caller hands it a table of (section, key) entries and
// gets the values found; every program of the system reads its settings through it. The key
// words and their meanings belong to the callers (app/settings.h for Vondal).
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

// Results of ReadConfig. A positive result counts the errors passed over under "#error continue".
inline constexpr int kConfigOk = 0;
inline constexpr int kConfigInvalidDirective = -1;  // "無効な命令です" / "#errorが不適切です" (strict)
inline constexpr int kConfigNestingTooDeep = -2;     // "ﾈｽﾃｨﾝｸﾞが深すぎます"
inline constexpr int kConfigCannotOpen = -3;         // the main file: "設定ﾌｧｲﾙが開けません"
inline constexpr int kConfigIncludeCannotOpen = -4;  // "挿入読み込みできません"
inline constexpr int kConfigBadDefine = -5;          // "#defineの文法が違います"
inline constexpr int kConfigSectionTooLong = -6;     // "ｾｸｼｮﾝ名が長すぎます"

// A list entry with this many values at most has no limit.
inline constexpr int kUnlimitedValues = 255;

// One entry of the caller's key table.
struct ConfigKey {
  std::string section;  // matched ignoring case
  std::string key;      // matched ignoring case
  // 0: a single value, the first occurrence wins; 1-254: a list of at most that many values;
  // kUnlimitedValues: a list without limit.
  int maxValues = 0;
  // Bytes the caller will append in place (a path's extension); the stored text keeps that
  // much room so that the append does not move it.
  int extraRoom = 0;
  // Where the value came from; the reader leaves it alone, the caller fills it after reading.
  int origin = 0;
  // The values in file order; a single-value entry holds at most one. Empty: not given.
  std::vector<std::string> values;

  bool IsGiven() const { return !values.empty(); }
};

// Where the reader's printed lines go and what "#error exit" does. The defaults print to standard
// output in the locale's charset and end the program with status 255; tests and a program that
// has taken over the terminal supply their own.
struct ConfigOutput {
  std::function<void(std::string_view cp932)> print;
  std::function<void()> exitProgram;
};

// Reads fileName (CP932; a leading "+" names a file in the program's own folder) into table.
// An empty table selects list mode: nothing is stored, and every file, section and caption is
// printed as it is read (the caller ends the listing with a line end). Returns kConfigOk, the
// number of errors passed over, or one of the negative results above.
int ReadConfig(std::string_view fileName, std::span<ConfigKey> table, const ConfigOutput& output = {});

}  // namespace vondal
