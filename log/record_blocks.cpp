#include "log/record_blocks.h"

#include <algorithm>

namespace vondal {

const char* RecordBlocks::Image(int n) {
  if (n < first_ || n >= first_ + count_) {
    // The block runs on in the direction the scan goes.
    const bool downward = last_ >= 0 && n < last_;
    first_ = std::max(0, downward ? n - kBlockRecords + 1 : n);
    block_.resize(static_cast<size_t>(kBlockRecords) * kRecordSize);
    count_ = log_.ReadImages(first_, kBlockRecords, block_.data());
    if (n < first_ || n >= first_ + count_) return nullptr;
  }
  last_ = n;
  return block_.data() + static_cast<size_t>(n - first_) * kRecordSize;
}

const RecordTexts& RecordBlocks::Texts(int n) {
  const char* image = Image(n);
  return image ? reader_.Split(image) : log_.ReadRecord(n);
}

}  // namespace vondal
