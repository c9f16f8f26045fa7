// The standard form of ADIF 3.1 (adif/standard_writer.h) written as an output: the body of the
// processing menu's ADIF output when the configuration asks for the standard form, and the export
// of the command line (`vondal --export-adif=OUT.ADI LOG`), both through OutputFile, so that
// neither ever leaves half a file.
#pragma once

#include <cstdint>
#include <string>

#include "adif/standard_writer.h"
#include "log/file_system.h"
#include "output/output_frame.h"

namespace vondal {

// The body of the menu's output: the header when the file starts empty (an append to a standard
// ADIF file keeps its one header), then the target records. `now`: seconds since 1970 for
// CREATED_TIMESTAMP.
StandardAdifCounts WriteStandardAdif(OutputJob& job, bool logInUtc, int64_t now);

// What an export did: "" on success, else the message that refuses it (CP932, no line end); and
// what the standard fields could not say.
struct StandardAdifExport {
  std::string message;
  StandardAdifCounts counts;
};

// Every record of the log file `logPath` in the standard form into `outPath`, which is written
// beside its name and put in place only when complete; the log is only read. Refused: a log that
// does not exist, cannot be read or is no whole number of records, a log with an interrupted
// write that its next opening in Vondal will repair, an output that is the log itself or cannot
// be written.
StandardAdifExport ExportStandardAdif(FileSystem& fs, const std::string& logPath, const std::string& outPath,
                                      bool logInUtc, int64_t now);

// The line that reports what the standard fields could not say ("" when they said everything).
std::string StandardAdifNote(const StandardAdifCounts& counts);

}  // namespace vondal
