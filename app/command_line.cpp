#include "app/command_line.h"

#include "app/text/charset.h"
#include "app/text/text_helpers.h"

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
