// Shared pieces of the Vonrix tests: logs built from short contact descriptions, and a run of the
// program over an in-memory file system that keeps what it printed.
#pragma once

#include <string>
#include <vector>

#include "log/file_system.h"
#include "log/log_format.h"
#include "log/record.h"
#include "tools/vonrix/vonrix.h"

namespace vondal::testing {

struct Contact {
  std::string date;   // YYMMDD
  std::string start;  // HHMM
  std::string callsign;
  std::string freq = "7.050";
};

inline std::string LogOf(const std::vector<Contact>& contacts) {
  std::string log;
  for (const Contact& contact : contacts) {
    Record record;
    record[DATE] = contact.date;
    record[START] = contact.start;
    record[END] = contact.start;
    record[CALLSIGN] = contact.callsign;
    record[FREQ] = contact.freq;
    record[MODE] = "CW";
    record[sRST] = "599";
    record[rRST] = "599";
    const RecordImage image = EncodeRecord(record);
    log.append(image.begin(), image.end());
  }
  return log;
}

struct VonrixResult {
  int status = -1;
  std::string console;  // CP932, LF line ends
  std::string report;   // CP932, CR LF line ends, "" when none was written
};

// Runs Vonrix with args over fs; the report is read back from the second argument.
inline VonrixResult RunOver(FileSystem& fs, const std::vector<std::string>& args,
                            size_t memoryLimit = SIZE_MAX) {
  VonrixResult result;
  VonrixContext context;
  context.fs = &fs;
  context.print = [&result](std::string_view text) { result.console += text; };
  context.configFile = "/nonexistent/Vondal.ini";
  context.memoryLimit = memoryLimit;
  result.status = RunVonrix(args, context);
  if (args.size() > 1) {
    if (std::unique_ptr<File> report = fs.Open(args[1], OpenMode::kRead)) {
      result.report.resize(report->Size());
      report->ReadAt(0, result.report.data(), result.report.size());
    }
  }
  return result;
}

// The report with LF line ends, for comparing lines.
inline std::string WithoutCr(const std::string& text) {
  std::string lines;
  for (char c : text) {
    if (c != '\r') lines += c;
  }
  return lines;
}

}  // namespace vondal::testing
