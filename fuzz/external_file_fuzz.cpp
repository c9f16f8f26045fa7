// Any bytes as the external file, read line by line as plain text or hex digits (the first byte
// says which): every access moves on, every piece fits the text being edited without a NUL, and
// the file always comes to its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "log/external_file.h"

using namespace vondal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool hex = data[0] & 1;
  MemoryFileSystem fs;
  fs.SetContents("F.TXT", std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  WriteCounters counters;
  ExternalFile external(fs, counters);
  if (!external.Open('R', "F.TXT").empty()) std::abort();
  for (size_t access = 0;; ++access) {
    if (access > size) std::abort();  // every access takes at least one byte
    std::string text;
    const ExternalResult result = external.Access(text, hex);
    if (result.message == "外部ﾌｧｲﾙの終端です") break;
    if (!result.message.empty()) std::abort();
    const size_t limit = hex ? kExternalHexDigits / 2 + 1 : kExternalPlainBytes;
    if (text.size() > limit || text.find('\0') != std::string::npos) std::abort();
  }
  if (external.isOpen()) std::abort();
  return 0;
}
