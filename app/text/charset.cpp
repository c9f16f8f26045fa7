#include "app/text/charset.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/text/sjis.h"

namespace vondal {
namespace {

bool IsAscii(std::string_view text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

// How many input bytes make up the character at the front of a sequence iconv refused, so that
// one "?" stands for one character.
size_t SequenceLength(const char* charset, const char* in, size_t left) {
  auto lead = static_cast<unsigned char>(in[0]);
  size_t length = 1;
  if (std::strcmp(charset, "CP932") == 0) {
    if (IsLeadByte(lead)) length = 2;
  } else if (std::strcmp(charset, "UTF-8") == 0) {
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (size_t i = 1; i < length; ++i) {
      if (i >= left || (static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) return i;
    }
  }
  return length <= left ? length : left;
}

// Converts with iconv, putting "?" for every input sequence the target cannot take and
// skipping one input byte (or one two-byte CP932 character) past it; counts those in `replaced`.
std::string Convert(const char* to, const char* from, std::string_view text, int* replaced = nullptr) {
  if (IsAscii(text)) return std::string(text);
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  out.reserve(text.size() * 3 / 2 + 8);
  char buffer[1024];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: an unconvertible or broken sequence.
    out.push_back('?');
    if (replaced) ++*replaced;
    size_t skip = SequenceLength(from, in, inLeft);
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* outPtr = buffer;
  size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, outPtr - buffer);
  iconv_close(cd);
  return out;
}

std::string FindLocaleCharset() {
  const char* previous = std::setlocale(LC_CTYPE, nullptr);
  std::string saved = previous ? previous : "C";
  std::setlocale(LC_CTYPE, "");
  std::string codeset = nl_langinfo(CODESET);
  std::setlocale(LC_CTYPE, saved.c_str());
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII" || codeset == "US-ASCII") {
    return "UTF-8";
  }
  return codeset;
}

// The UTF-8 form of every CP932 character: one-byte characters by their byte, two-byte ones by
// lead byte and trail byte. Each entry holds its length and up to three bytes (every CP932
// character lies in the Basic Multilingual Plane).
class Utf8Table {
 public:
  struct Entry {
    uint8_t size;
    char bytes[3];
  };

  Utf8Table() : pairs_(kLeadCount * 256) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    for (int b = 0; b < 256; ++b) {
      const char one[1] = {static_cast<char>(b)};
      single_[b] = IsLeadByte(b) ? Entry{1, {'?'}} : Make(cd, one, 1);
    }
    for (int lead = 0; lead < 256; ++lead) {
      if (!IsLeadByte(lead)) continue;
      for (int trail = 0; trail < 256; ++trail) {
        const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        pairs_[LeadIndex(lead) * 256 + trail] = Make(cd, two, 2);
      }
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }

  const Entry& Single(unsigned char b) const { return single_[b]; }
  const Entry& Pair(unsigned char lead, unsigned char trail) const {
    return pairs_[LeadIndex(lead) * 256 + trail];
  }

 private:
  static constexpr int kLeadCount = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);
  static int LeadIndex(int lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1); }

  // One character through Convert's rules: what iconv makes of it, or "?".
  static Entry Make(iconv_t cd, const char* in, size_t size) {
    Entry entry{1, {'?'}};
    if (cd == reinterpret_cast<iconv_t>(-1)) return entry;
    char out[8];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t inLeft = size, outLeft = sizeof out;
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const size_t made = static_cast<size_t>(outPtr - out);
    if (result == static_cast<size_t>(-1) || inLeft != 0 || made == 0 || made > 3) return entry;
    entry.size = static_cast<uint8_t>(made);
    std::memcpy(entry.bytes, out, made);
    return entry;
  }

  Entry single_[256];
  std::vector<Entry> pairs_;
};

}  // namespace

char* Cp932ToUtf8At(char* to, std::string_view cp932) {
  static const Utf8Table table;
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const size_t n = cp932.size();
  for (size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      *to++ = static_cast<char>(p[i++]);
      continue;
    }
    const bool pair = IsLeadByte(p[i]) && i + 1 < n;
    const Utf8Table::Entry& entry = pair ? table.Pair(p[i], p[i + 1]) : table.Single(p[i]);
    std::memcpy(to, entry.bytes, 3);  // within the room of the byte or two it stands for
    to += entry.size;
    i += pair ? 2 : 1;
  }
  return to;
}

const std::string& LocaleCharset() {
  static const std::string charset = FindLocaleCharset();
  return charset;
}

std::string Cp932ToLocale(std::string_view cp932) { return Convert(LocaleCharset().c_str(), "CP932", cp932); }
std::string LocaleToCp932(std::string_view local) { return Convert("CP932", LocaleCharset().c_str(), local); }
std::string Cp932ToUtf8(std::string_view cp932) { return Convert("UTF-8", "CP932", cp932); }
std::string Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }
std::string Utf8ToCp932(std::string_view utf8, int& replaced) {
  return Convert("CP932", "UTF-8", utf8, &replaced);
}

TextCharset GuessCharset(std::string_view text) {
  if (text.starts_with(kUtf8Bom)) return TextCharset::kUtf8;
  constexpr int kDecidingSequences = 4096;
  int sequences = 0;
  size_t i = 0;
  const size_t size = text.size();
  while (i < size && sequences < kDecidingSequences) {
    uint64_t eight;
    if (i + 8 <= size && (std::memcpy(&eight, text.data() + i, 8), (eight & 0x8080808080808080u) == 0)) {
      i += 8;  // ASCII, eight bytes at a time
      continue;
    }
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The lead byte says how many continuation bytes follow; overlong forms and surrogates are no
    // UTF-8 (the lead ranges below leave out C0, C1 and F5-FF, the second byte the rest).
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return TextCharset::kCp932;
    }
    for (size_t k = 1; k < length; ++k) {
      if (i + k >= size) return TextCharset::kUtf8;  // cut off by the end of what was read
      const auto c = static_cast<unsigned char>(text[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return TextCharset::kCp932;
    }
    i += length;
    ++sequences;
  }
  return sequences > 0 ? TextCharset::kUtf8 : TextCharset::kAscii;
}

void PrintLocal(std::FILE* stream, std::string_view cp932) {
  std::string text = Cp932ToLocale(cp932);
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace vondal
