#include "log/log_format.h"

#include <cassert>
#include <cstring>

namespace vondal {

RecordImage EncodeRecord(const Record& record) {
  RecordImage image;
  EncodeRecord(record, image.data());
  return image;
}

void EncodeRecord(const Record& record, char* image) {
  std::memset(image, ' ', kRecordSize);
  size_t at = 0;
  for (int i = 0; i < kStoredFieldCount; ++i) {
    const std::string& text = record[i];
    assert(at + text.size() <= static_cast<size_t>(kRecordSize - 1));
    std::memcpy(image + at, text.data(), text.size());
    at += text.size();
    image[at++] = kSeparator;
  }
  image[kRecordSize - 2] = '\r';
  image[kRecordSize - 1] = '\n';
}

void LeadingTexts(const char* image, int count, std::string_view* texts) {
  const char* end = image + kTextArea;
  const char* p = image;
  for (int i = 0; i < count; ++i) {
    const char* stop = static_cast<const char*>(std::memchr(p, kSeparator, end - p));
    if (stop == nullptr) stop = end;
    texts[i] = std::string_view(p, stop - p);
    p = stop < end ? stop + 1 : end;
  }
}

const RecordTexts& RecordReader::Split(const char* image) {
  std::memcpy(buffer_, image, kTextArea);
  std::memset(buffer_ + kTextArea, kSeparator, kStoredFieldCount);
  size_t start = 0;
  int field = 0;
  for (size_t i = 0; i < sizeof buffer_ && field < kStoredFieldCount; ++i) {
    if (buffer_[i] != kSeparator) continue;
    buffer_[i] = '\0';
    texts_[field++] = std::string_view(buffer_ + start, i - start);
    start = i + 1;
  }
  return texts_;
}

}  // namespace vondal
