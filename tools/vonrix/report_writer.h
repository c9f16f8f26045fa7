// The report file of Vonrix: CP932 text with CR LF line ends, written as a whole-file replacement
// (a temporary file beside it, renamed over the old report at the end), so that a run that fails
// leaves the previous report as it was.
#pragma once

#include <string>

#include "log/file_system.h"

namespace vondal {

class ReportWriter {
 public:
  ReportWriter(FileSystem& fs, std::string name) : file_(fs, std::move(name)) {}

  // Creates the temporary file; false when the report cannot be written there.
  bool Open() { return file_.Open(); }

  // Appends printf-formatted text; every LF becomes CR LF.
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Writes what is left and puts the report in place; false when anything failed to reach it.
  bool Finish();

 private:
  void Flush();

  FileReplacement file_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace vondal
