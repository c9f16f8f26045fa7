#include "log/log_format.h"

#include <cassert>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Where the text that starts at `p` ends: at the next separator, or at `end` (the end of the
// text area) when none follows. Most texts are short, so the first 16 bytes are looked at in one
// step where the text area holds them.
const char* TextEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  if (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int separators = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(kSeparator)));
    if (separators != 0) return p + __builtin_ctz(separators);
    p += 16;
  }
#endif
  const char* stop = static_cast<const char*>(std::memchr(p, kSeparator, end - p));
  return stop == nullptr ? end : stop;
}

// Whether the record starts with a DATE, START and END of 6, 4 and 4 bytes, as the editor writes
// them: separators at bytes 6, 11 and 16 and nowhere before.
bool HasUsualHead(const char* image) {
  if (image[16] != kSeparator) return false;
#if defined(__SSE2__)
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(image));
  return _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(kSeparator))) == (1 << 6 | 1 << 11);
#else
  for (int i = 0; i < 16; ++i) {
    if ((image[i] == kSeparator) != (i == 6 || i == 11)) return false;
  }
  return true;
#endif
}

}  // namespace

void LeadingTexts(const char* image, int count, std::string_view* texts) {
  const char* const end = image + kTextArea;
  const char* p = image;
  int i = 0;
  if (count >= 3 && HasUsualHead(image)) {
    // Nearly every record: three searches spared.
    texts[0] = std::string_view(image, 6);
    texts[1] = std::string_view(image + 7, 4);
    texts[2] = std::string_view(image + 12, 4);
    p = image + 17;
    i = 3;
  }
  for (; i < count; ++i) {
    const char* stop = TextEnd(p, end);
    texts[i] = std::string_view(p, stop - p);
    p = stop < end ? stop + 1 : end;
  }
}

const RecordTexts& RecordReader::Split(const char* image) {
  std::memcpy(buffer_, image, kTextArea);
  std::memset(buffer_ + kTextArea, kSeparator, kStoredFieldCount);
  size_t start = 0;
  int field = 0;
  const auto endText = [&](size_t i) {
    buffer_[i] = '\0';
    texts_[field++] = std::string_view(buffer_ + start, i - start);
    start = i + 1;
  };
#if defined(__SSE2__)
  // The separators of 16 bytes at a time, as a mask; the 17 put behind the text area end the
  // search within the buffer.
  for (size_t at = 0; field < kStoredFieldCount; at += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer_ + at));
    unsigned mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(kSeparator))));
    for (; mask != 0 && field < kStoredFieldCount; mask &= mask - 1) endText(at + __builtin_ctz(mask));
  }
#else
  for (size_t i = 0; field < kStoredFieldCount; ++i) {
    if (buffer_[i] == kSeparator) endText(i);
  }
#endif
  return texts_;
}

}  // namespace vondal
