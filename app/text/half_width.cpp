#include "app/text/half_width.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "app/text/sjis.h"

namespace vondal {
namespace {

struct FullWidth {
  uint16_t code;
  char ascii;
};

// Sorted by code. The letters and digits are ranges and are handled apart.
constexpr std::array<FullWidth, 38> kSymbols{{
    {0x8140, ' '},  {0x8143, ','}, {0x8144, '.'},  {0x8146, ':'},  {0x8147, ';'},  {0x8148, '?'},
    {0x8149, '!'},  {0x814D, '`'}, {0x814F, '^'},  {0x8151, '_'},  {0x815E, '/'},  {0x815F, '\\'},
    {0x8160, '~'},  {0x8162, '|'}, {0x8166, '\''}, {0x8168, '"'},  {0x8169, '('},  {0x816A, ')'},
    {0x816D, '['},  {0x816E, ']'}, {0x816F, '{'},  {0x8170, '}'},  {0x817B, '+'},  {0x817C, '-'},
    {0x8181, '='},  {0x8183, '<'}, {0x8184, '>'},  {0x818F, '\\'}, {0x8190, '$'},  {0x8193, '%'},
    {0x8194, '#'},  {0x8195, '&'}, {0x8196, '*'},  {0x8197, '@'},  {0xEEFB, '\''}, {0xEEFC, '"'},
    {0xFA56, '\''}, {0xFA57, '"'},
}};
static_assert(std::is_sorted(kSymbols.begin(), kSymbols.end(),
                             [](const FullWidth& a, const FullWidth& b) { return a.code < b.code; }));

// The single-byte form of a two-byte code, or 0 when it has none.
char HalfWidthOf(unsigned code) {
  if (code >= 0x824F && code <= 0x8258) return static_cast<char>('0' + code - 0x824F);
  if (code >= 0x8260 && code <= 0x8279) return static_cast<char>('A' + code - 0x8260);
  if (code >= 0x8281 && code <= 0x829A) return static_cast<char>('a' + code - 0x8281);
  auto it = std::lower_bound(kSymbols.begin(), kSymbols.end(), code,
                             [](const FullWidth& entry, unsigned c) { return entry.code < c; });
  return it != kSymbols.end() && it->code == code ? it->ascii : 0;
}

}  // namespace

std::string ToHalfWidth(std::string_view text, size_t& pos) {
  std::string out;
  out.reserve(text.size());
  size_t newPos = std::string_view::npos;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    size_t len = CharLength(text, i);
    if (pos >= i && pos < i + len) newPos = out.size();
    char half = 0;
    if (len == 2)
      half =
          HalfWidthOf(static_cast<unsigned char>(text[i]) * 256u + static_cast<unsigned char>(text[i + 1]));
    if (half != 0) {
      out += half;
    } else {
      out.append(text.substr(i, len));
    }
  }
  pos = newPos == std::string_view::npos ? out.size() : newPos;
  return out;
}

std::string ToHalfWidth(std::string_view text) {
  size_t pos = text.size();
  return ToHalfWidth(text, pos);
}

}  // namespace vondal
