// Records read from the log a block at a time, for scans that test every record in order (in
// either direction): one read serves the next thousand records.
#pragma once

#include <vector>

#include "log/log_file.h"

namespace vondal {

class RecordBlocks {
 public:
  explicit RecordBlocks(LogFile& log) : log_(log) {}

  // The 17 texts of record n, valid until the next call.
  const RecordTexts& Texts(int n);
  // The 200 bytes of record n as stored, valid until the next call; null when it cannot be read.
  const char* Image(int n);

 private:
  static constexpr int kBlockRecords = 1024;
  LogFile& log_;
  std::vector<char> block_;
  int first_ = 0;
  int count_ = 0;
  int last_ = -1;
  RecordReader reader_;
};

}  // namespace vondal
