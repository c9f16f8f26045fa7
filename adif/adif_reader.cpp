#include "adif/adif_reader.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vondal {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsMarker(std::string_view name, const char (&upper)[4]) {
  return name.size() == 3 && Upper(name[0]) == upper[0] && Upper(name[1]) == upper[1] &&
         Upper(name[2]) == upper[2];
}

// One tag at text[at] == '<'.
struct Tag {
  enum Kind { kNone, kMarker, kField, kPastEnd } kind = kNone;
  std::string_view name;
  std::string_view value;
  size_t next = 0;  // where the text goes on behind the tag (and its value)
};

// Reads the tag that begins at text[at] ('<'). kNone when the bytes there are no tag: the caller
// goes on after the '<'. kPastEnd when its value would run past the end of the text.
Tag ReadTag(std::string_view text, size_t at) {
  Tag tag;
  const size_t size = text.size();
  size_t p = at + 1;
  const size_t nameStart = p;
#if defined(__SSE2__)
  // A name is short: its end is found among the next 16 bytes in one step when they are there.
  if (p + 16 <= size) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + p));
    const __m128i stops = _mm_or_si128(
        _mm_cmpeq_epi8(bytes, _mm_set1_epi8(':')),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('>')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('<'))));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(stops));
    p += mask != 0 ? static_cast<size_t>(__builtin_ctz(mask)) : 16;
  }
#endif
  while (p < size && text[p] != ':' && text[p] != '>' && text[p] != '<') ++p;
  if (p == size || text[p] == '<' || p == nameStart) return tag;
  tag.name = text.substr(nameStart, p - nameStart);
  if (text[p] == '>') {
    tag.kind = Tag::kMarker;
    tag.next = p + 1;
    return tag;
  }
  // ":length", then ":type" or nothing, then '>'.
  ++p;
  size_t length = 0;
  const size_t digits = p;
  while (p < size && text[p] >= '0' && text[p] <= '9') {
    if (length <= size) length = length * 10 + static_cast<size_t>(text[p] - '0');
    ++p;
  }
  if (p == digits || p == size) return tag;
  if (text[p] == ':') {
    ++p;
    while (p < size && text[p] != '>' && text[p] != '<') ++p;
    if (p == size || text[p] == '<') return tag;
  }
  if (text[p] != '>') return tag;
  ++p;
  if (length > size - p) {
    tag.kind = Tag::kPastEnd;
    return tag;
  }
  tag.kind = Tag::kField;
  tag.value = text.substr(p, length);
  tag.next = p + length;
  return tag;
}

}  // namespace

AdifReader::AdifReader(std::string_view text) : text_(text) {
  size_t start = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  // A text that does not begin with '<' has a header, ended by <EOH>; without one, what comes
  // before the first field is passed over like any text between fields.
  if (start < text.size() && text[start] != '<') {
    const std::string_view firstLine = text.substr(start, text.find_first_of("\r\n<", start) - start);
    ownExport_ = firstLine.starts_with(kOwnExportLine);
    if (ownExport_)
      clock_ = firstLine.find("(UTC)") != std::string_view::npos ? TimeZone::kUtc : TimeZone::kJst;
    for (size_t p = start; p < text.size();) {
      const void* found = std::memchr(text.data() + p, '<', text.size() - p);
      if (!found) break;
      const size_t at = static_cast<size_t>(static_cast<const char*>(found) - text.data());
      const Tag tag = ReadTag(text, at);
      if (tag.kind == Tag::kMarker && IsMarker(tag.name, "EOH")) {
        start = tag.next;
        break;
      }
      if (tag.kind == Tag::kPastEnd) break;
      p = tag.kind == Tag::kNone ? at + 1 : tag.next;
    }
  }
  recordsStart_ = pos_ = start;
  const TextCharset guessed = GuessCharset(text);
  charset_ = ownExport_ && guessed != TextCharset::kAscii ? TextCharset::kCp932 : guessed;
}

void AdifReader::Rewind() {
  pos_ = recordsStart_;
  count_ = 0;
  leftOver_ = 0;
}

bool AdifReader::Next(std::vector<AdifField>& fields) {
  fields.clear();
  size_t recordStart = std::string_view::npos;
  const std::string_view text = text_;
  while (pos_ < text.size()) {
    // Fields mostly stand one blank apart: the next '<' is looked for only beyond that.
    size_t at = pos_;
    if (text[at] != '<' && (++at == text.size() || text[at] != '<')) {
      const void* found = std::memchr(text.data() + at, '<', text.size() - at);
      if (!found) break;
      at = static_cast<size_t>(static_cast<const char*>(found) - text.data());
    }
    const Tag tag = ReadTag(text, at);
    if (tag.kind == Tag::kNone) {
      pos_ = at + 1;
      continue;
    }
    if (tag.kind == Tag::kPastEnd) {
      if (recordStart == std::string_view::npos) recordStart = at;
      break;
    }
    pos_ = tag.next;
    if (tag.kind == Tag::kField) {
      if (fields.empty()) recordStart = at;
      fields.push_back({tag.name, tag.value});
    } else if (IsMarker(tag.name, "EOR") && !fields.empty()) {
      ++count_;
      return true;
    }
  }
  pos_ = text.size();
  leftOver_ = recordStart == std::string_view::npos ? 0 : text.size() - recordStart;
  fields.clear();
  return false;
}

}  // namespace vondal
