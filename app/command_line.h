// Vondal's command line: an optional set-or-log word and the options -C -M -I -S -X (each with
// its file name attached, "-Imylog.VDI"), -R and -W (an address attached) and -!. Options start
// with "-" or "/" and their letter is matched in either case. No argument at all, or an argument "?", asks
// for the listing of the configuration instead of a run. Long options start with "--" and are
// spelt out whole ("--export-adif=OUT.ADI"); no set name, log name or one-letter option begins so.
// "--help" and "--version" ask for the usage or the version on standard output instead of a run,
// terminal or not.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

struct CommandLine {
  bool listMode = false;            // no argument, or "?"
  std::optional<std::string> word;  // the first argument that is no option: set name or log path
  // File names from -C -M -I -S -X; an option given without a name holds an empty text.
  std::optional<std::string> color;
  std::optional<std::string> macro;
  std::optional<std::string> index;
  std::optional<std::string> safety;
  std::optional<std::string> external;
  // Addresses from -R (the `rig` key) and -W (the `wsjtx` key).
  std::optional<std::string> rig;
  std::optional<std::string> wsjtx;
  bool authorsuse = false;  // "-!"
  bool help = false;        // "--help"
  bool version = false;     // "--version"
  // "--export-adif=OUT": the log's standard ADIF into OUT, written without a terminal.
  std::optional<std::string> exportAdif;
  std::vector<std::string> arguments;  // every argument as given (the information screen lists them)
  std::string error;                   // not empty: the "(!)" line that refuses this command line
};

// Reads the arguments (CP932, without the program name). An unknown option or a second word is
// refused through CommandLine::error, unless "?" asks for the listing anyway.
CommandLine ParseCommandLine(std::span<const std::string> arguments);

// What "--help" prints: the command line, each option and where the configuration is read from.
std::string HelpText();

// What "--version" prints.
std::string VersionText();

// The arguments of main, converted from the locale's charset to CP932.
std::vector<std::string> ArgumentsFromSystem(int argc, char** argv);

// The configuration set the word names: the word in upper case, or empty when there is no word
// or it is longer than 32 bytes (a set name never is).
std::string SetName(const CommandLine& commandLine);

}  // namespace vondal
