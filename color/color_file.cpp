#include "color/color_file.h"

#include <cassert>

#include "app/text/sjis.h"

namespace vondal {
namespace {

// A zero-terminated text of a field of `size` bytes, cut to leave room for the terminator and
// to whole characters.
std::string FieldText(std::string_view record, size_t offset, size_t size) {
  std::string_view field = record.substr(offset, size);
  field = field.substr(0, field.find('\0'));
  field = CutAtCharacter(field, size - 1);
  // A lead byte left alone at the end is half of a character.
  if (!field.empty() && ByteKind(field, field.size() - 1) == 0 &&
      IsLeadByte(static_cast<unsigned char>(field.back()))) {
    field.remove_suffix(1);
  }
  return std::string(field);
}

// The text and its zero padding; the field always keeps its terminator.
void PutField(std::string& record, size_t offset, size_t size, std::string_view text) {
  text = CutAtCharacter(text, size - 1);
  record.replace(offset, text.size(), text);
}

}  // namespace

ColorSet DefaultColorSet() { return {DefaultColorTable(), kDefaultSetName, kDefaultSetAuthor, {16, 3, 3}}; }

ColorFileKind ColorFileKindOf(std::string_view header) {
  if (header.size() < kColorMagicSize) return ColorFileKind::kNone;
  std::string_view magic = header.substr(0, kColorMagicSize);
  if (magic == kColorMagic) return ColorFileKind::kCurrent;
  if (magic == kColorMagic16) return ColorFileKind::kSixteenBit;
  return ColorFileKind::kNone;
}

std::string EncodeColorHeader(int standard) {
  std::string header(kColorRecordSize, '\0');
  header.replace(0, kColorMagicSize, kColorMagic);
  header[kColorStandardOffset] = static_cast<char>(standard);
  return header;
}

ColorSet DecodeColorSet(std::string_view record, ColorFileKind kind) {
  assert(record.size() == kColorRecordSize);
  ColorSet set;
  for (int k = 0; k < kColorElementCount; ++k) {
    const auto low = static_cast<uint8_t>(record[2 * k]);
    const auto high = static_cast<uint8_t>(record[2 * k + 1]);
    set.table[k] = kind == ColorFileKind::kSixteenBit ? high : low;
  }
  set.name = FieldText(record, kColorNameOffset, kColorNameSize);
  set.author = FieldText(record, kColorAuthorOffset, kColorAuthorSize);
  for (size_t i = 0; i < set.date.size(); ++i)
    set.date[i] = static_cast<uint8_t>(record[kColorDateOffset + i]);
  return set;
}

std::string EncodeColorSet(const ColorSet& set) {
  std::string record(kColorRecordSize, '\0');
  for (int k = 0; k < kColorElementCount; ++k) record[2 * k] = static_cast<char>(set.table[k]);
  PutField(record, kColorNameOffset, kColorNameSize, set.name);
  PutField(record, kColorAuthorOffset, kColorAuthorSize, set.author);
  for (size_t i = 0; i < set.date.size(); ++i) record[kColorDateOffset + i] = static_cast<char>(set.date[i]);
  return record;
}

}  // namespace vondal
