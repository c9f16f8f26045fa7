// The 38 output parameters every processing output is driven by: the output file, which records,
// and the options of each output. Values and choices are kept for the run, so that the next run
// of an output starts from what the user last entered.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

inline constexpr int kOutputParameterCount = 38;

// Parameter numbers the frame and the bodies refer to.
enum OutputParameterNumber : int {
  kPartialFile = 0,
  kPackedFile = 1,
  kCsvFile = 2,
  kAdifFile = 3,
  kContestFile = 5,
  kTableFile = 6,
  kTarget = 7,     // 標識ﾚｺｰﾄﾞ / 非標識ﾚｺｰﾄﾞ / 全ﾚｺｰﾄﾞ / 式で選択
  kSelection = 8,  // the selection expression
  kPacking = 9,
  kFields = 10,  // the field selection
  kHeaderLine = 11,
  kQuotes = 12,
  kDelimiter = 13,
  kOuterSeparator = 18,
  kSubfield = 19,
  kUserCharacterTypes = 22,
  kUserSort = 26,
  kUserFormat = 28,
  kContestName = 34,
  kContestFormat = 35,
  kTimeConversion = 36,
};

// Target choices of parameter 7.
enum TargetChoice : int { kMarkedRecords = 0, kUnmarkedRecords = 1, kAllRecords = 2, kSelectedRecords = 3 };

struct OutputParameter {
  int id = 0;
  std::string label;
  char kind = 'T';    // T free text, S text with the line editor's markup, N a choice from a list
  std::string value;  // T, S: the text; N: the text of the current choice
  int choice = 0;     // N: the current choice, 0 the default
  std::vector<std::string> choices;
  int maxLength = 0;  // T, S: the longest text; N: the width of the value on the form

  void Choose(int index);
};

using OutputParameters = std::array<OutputParameter, kOutputParameterCount>;

// The table with its defaults. The default file names of parameters 2-6 are the `trans` folder
// (with a "/" behind it unless it is empty or ends in one), the log's file name without its folder
// and its last extension, and the extension.
OutputParameters DefaultOutputParameters(std::string_view transFolder, std::string_view logPath);

// The log's name without its folder and cut before its last "." ("/qso/2024.VD" → "2024"): the
// outputs' default file names begin with it.
std::string LogBaseName(std::string_view logPath);

// The table of the run.
OutputParameters& TheOutputParameters();

}  // namespace vondal
