#include "app/command_line.h"

#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "app/text/standard_options.h"
#include "app/text/text_helpers.h"
#include "app/text/version.h"

namespace vondal {
namespace {

constexpr size_t kMaxSetNameBytes = 32;

// "/" is also the folder separator here: an argument that holds a second "/" is a path
// ("/home/jr1abc/mylog"), not an option.
bool IsOption(std::string_view argument) {
  if (argument.empty()) return false;
  if (argument.front() == '-') return true;
  return argument.front() == '/' && argument.find('/', 1) == std::string_view::npos;
}

// The file or address that option letter (either case) sets, or null for no such option.
std::optional<std::string>* FileOption(CommandLine& commandLine, char letter) {
  switch (letter & ~0x20) {  // an ASCII letter in upper case
    case 'C':
      return &commandLine.color;
    case 'M':
      return &commandLine.macro;
    case 'I':
      return &commandLine.index;
    case 'S':
      return &commandLine.safety;
    case 'X':
      return &commandLine.external;
    case 'R':
      return &commandLine.rig;
    case 'W':
      return &commandLine.wsjtx;
    default:
      return nullptr;
  }
}

std::string BadArgument(std::string_view argument) {
  return "(!) ｺﾏﾝﾄﾞﾗｲﾝが不正です \"" + std::string(argument) + "\"\n";
}

// The long options: "--name=value", the value going to a member of the command line.
struct LongOption {
  std::string_view name;
  std::optional<std::string> CommandLine::*value;
};

constexpr LongOption kLongOptions[] = {
    {"export-adif", &CommandLine::exportAdif},
};

// Takes a "--" argument; false when it names no long option or lacks its value.
bool TakeLongOption(std::string_view argument, CommandLine& commandLine) {
  const std::string_view spelled = argument.substr(2);
  const size_t equals = spelled.find('=');
  for (const LongOption& option : kLongOptions) {
    if (spelled.substr(0, equals) != option.name) continue;
    if (equals == std::string_view::npos || equals + 1 == spelled.size()) return false;
    commandLine.*option.value = std::string(spelled.substr(equals + 1));
    return true;
  }
  return false;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
  CommandLine result;
  result.arguments.assign(arguments.begin(), arguments.end());
  result.listMode = arguments.empty();
  for (const std::string& argument : arguments) {
    if (argument == "?") result.listMode = true;
    if (argument == "--help" || argument == "--version") {
      (argument == "--help" ? result.help : result.version) = true;
      continue;
    }
    if (!result.error.empty()) continue;
    if (argument.starts_with("--")) {
      if (!TakeLongOption(argument, result)) result.error = BadArgument(argument);
      continue;
    }
    if (!IsOption(argument)) {
      if (result.word) {
        result.error = BadArgument(argument);
      } else {
        result.word = argument;
      }
      continue;
    }
    char letter = argument.size() > 1 ? argument[1] : '\0';
    std::string value = argument.size() > 2 ? argument.substr(2) : std::string();
    if (letter == '!' && value.empty()) {
      result.authorsuse = true;
    } else if (auto file = FileOption(result, letter)) {
      *file = value;
    } else {
      result.error = BadArgument(argument);
    }
  }
  if (result.listMode) result.error.clear();
  return result;
}

std::string HelpText() {
  return "使い方: vondal [設定ｾｯﾄ名|ﾛｸﾞﾌｧｲﾙ] [-Cﾌｧｲﾙ] [-Mﾌｧｲﾙ] [-Iﾌｧｲﾙ] [-Sﾌｧｲﾙ] [-Xﾌｧｲﾙ]\n"
         "              [-Rｱﾄﾞﾚｽ] [-Wｱﾄﾞﾚｽ] [-!]\n"
         "       vondal ?\n"
         "       vondal --export-adif=OUT.ADI [設定ｾｯﾄ名|ﾛｸﾞﾌｧｲﾙ]\n"
         "端末の画面いっぱいに開く、ｱﾏﾁｭｱ無線の交信記録（ﾛｸﾞ）です。\n"
         "  設定ｾｯﾄ名   Vondal.ini の [名前] の設定を使う（名前の大文字小文字は問わない）\n"
         "  ﾛｸﾞﾌｧｲﾙ     設定ｾｯﾄが log を決めないときに開くﾛｸﾞ（.VD、無ければ作る）\n"
         "  -Cﾌｧｲﾙ      配色ﾌｧｲﾙ（.VDC、#番号 または #名前 で配色ｾｯﾄを選ぶ）\n"
         "  -Mﾌｧｲﾙ      ﾏｸﾛﾌｧｲﾙ（.VDM）\n"
         "  -Iﾌｧｲﾙ      ｲﾝﾃﾞｯｸｽﾌｧｲﾙ（.VDI、-I だけならﾛｸﾞと同じ名前）\n"
         "  -Sﾌｧｲﾙ      ｾｰﾌﾃｨﾌｧｲﾙ（.VDS）\n"
         "  -Xﾌｧｲﾙ      外部ﾌｧｲﾙ\n"
         "  -Rｱﾄﾞﾚｽ     rigctld のｱﾄﾞﾚｽ（rig ｷｰ）\n"
         "  -Wｱﾄﾞﾚｽ     WSJT-X が交信を知らせるUDPのｱﾄﾞﾚｽ（wsjtx ｷｰ）\n"
         "  -!          開発者ﾓｰﾄﾞ\n"
         "  ?           設定ﾌｧｲﾙの一覧（ﾌｧｲﾙ・ｾｸｼｮﾝ・caption）を表示して終わる\n"
         "  --export-adif=OUT.ADI  ﾛｸﾞを標準形式の ADIF で OUT.ADI に書いて終わる（端末は不要）\n" +
         std::string(StandardOptionLines()) +
         "ｵﾌﾟｼｮﾝは / でも始められ、値は文字の直後に続けて書く（-Smylog）。\n"
         "設定ﾌｧｲﾙ: " +
         InProgramFolder("Vondal.ini") +
         "\n"
         "詳しくは man vondal\n";
}

std::string VersionText() { return std::string("Vondal ") + kProgramVersion + "H009816\n"; }

std::vector<std::string> ArgumentsFromSystem(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(LocaleToCp932(argv[i]));
  return arguments;
}

std::string SetName(const CommandLine& commandLine) {
  if (!commandLine.word || commandLine.word->size() > kMaxSetNameBytes) return std::string();
  return ToUpperAscii(*commandLine.word);
}

}  // namespace vondal
