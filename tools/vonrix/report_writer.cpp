#include "tools/vonrix/report_writer.h"

#include <cstdarg>
#include <cstdio>

namespace vondal {
namespace {

constexpr size_t kFlushSize = 1 << 16;

}  // namespace

void ReportWriter::Printf(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::string longLine;
  const char* text = line;
  if (length >= static_cast<int>(sizeof line)) {  // a long station name or keyword
    longLine.resize(length + 1);
    va_start(args, format);
    std::vsnprintf(longLine.data(), longLine.size(), format, args);
    va_end(args);
    text = longLine.data();
  }
  // No second byte of a two-byte character is LF (they start at 0x40).
  for (int i = 0; i < length; ++i) {
    if (text[i] == '\n') buffer_ += '\r';
    buffer_ += text[i];
  }
  if (buffer_.size() >= kFlushSize) Flush();
}

void ReportWriter::Flush() {
  if (!failed_ && !file_.Write(buffer_.data(), buffer_.size())) failed_ = true;
  buffer_.clear();
}

bool ReportWriter::Finish() {
  Flush();
  return !failed_ && file_.Commit();
}

}  // namespace vondal
