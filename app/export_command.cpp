#include "app/export_command.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "adif/adif_time.h"
#include "app/memory_pool.h"
#include "app/settings.h"
#include "app/text/charset.h"
#include "app/text/file_name.h"
#include "log/file_system.h"
#include "output/standard_adif.h"

namespace vondal {
namespace {

void PrintError(std::string_view cp932) {
  PrintLocal(stderr, cp932);
  std::fflush(stderr);
}

}  // namespace

int RunAdifExportCommand(const CommandLine& commandLine, std::span<const std::string> arguments,
                         std::string_view configFile) {
  CreateLocalPool(kLocalPoolSize);
  TempPoolReset();
  ConfigureIo io;
  io.output.print = PrintError;
  io.output.exitProgram = [] { std::exit(1); };  // "#error exit"
  io.unattended = true;
  RunConfig config = ConfigureRun(arguments, io, configFile);
  if (!config.start) return 1;
  const Settings& settings = config.settings;
  const std::optional<TimeZone> logTime = LogTimeOf(settings.logtime);
  if (!logTime) {
    PrintError("(!) " + std::string(kBadLogtime) + std::string(settings.logtime) + "\n");
    return 1;
  }
  const std::string output = CompleteFileName(*commandLine.exportAdif, "ADI");
  const StandardAdifExport result =
      ExportStandardAdif(RealFileSystem(), std::string(settings.log), output, *logTime == TimeZone::kUtc,
                         std::time(nullptr));
  if (!result.message.empty()) {
    PrintError("(!) " + result.message + "\n");
    return 1;
  }
  // What the standard fields could not say is worth a line, also to a script's mail.
  if (const std::string note = StandardAdifNote(result.counts); !note.empty()) PrintError(note + "\n");
  return 0;
}

}  // namespace vondal
