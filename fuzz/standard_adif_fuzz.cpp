// Any bytes as 200-byte log records (the first byte says whether the log keeps UTC) through the
// standard ADIF writer: every record is items ending "<EOR>" CR LF, each item's length is the
// byte count of its value (control bytes in a text go along inside its _INTL or APP_ value), the
// fields ADIF keeps ASCII hold printable ASCII only, and every value is valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "adif/standard_writer.h"
#include "log/log_format.h"

using namespace vondal;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool ValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80                   ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                                                        : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

bool PrintableAscii(std::string_view text) {
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

void CheckRecord(std::string_view line) {
  size_t at = 0;
  for (;;) {
    Check(at < line.size() && line[at] == '<');
    if (line.substr(at) == "<EOR>\r\n") return;
    const size_t colon = line.find(':', at), close = line.find('>', at);
    Check(colon != std::string_view::npos && close != std::string_view::npos && colon < close);
    const std::string_view tag = line.substr(at + 1, colon - at - 1);
    const size_t length = std::stoul(std::string(line.substr(colon + 1, close - colon - 1)));
    Check(length > 0 && close + 1 + length <= line.size());
    const std::string_view value = line.substr(close + 1, length);
    Check(ValidUtf8(value));
    if (!tag.ends_with("_INTL") && !tag.starts_with("APP_")) Check(PrintableAscii(value));
    at = close + 1 + length;
    if (line.substr(at, 1) == " ") ++at;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  StandardAdifWriter writer(data[0] & 1);
  RecordReader reader;
  char image[kRecordSize];
  for (size_t at = 1; at < size; at += kRecordSize) {
    const size_t n = std::min<size_t>(kRecordSize, size - at);
    std::fill(image, image + kRecordSize, ' ');
    std::copy(data + at, data + at + n, image);
    std::string line;
    writer.AppendRecord(line, reader.Split(image));
    CheckRecord(line);
  }
  return 0;
}
