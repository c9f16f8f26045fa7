#include "macro/macro_notation.h"

#include "app/text/sjis.h"

namespace vondal {
namespace {

// Every backslash is the comment byte 28: the comments name the key each label is written for.
constexpr std::string_view kStandardLabelNotation =
    "LU\\<@Page@Up>\\M[@SS_LN\\<@Page@Down>\\M[ "
    "S_LA\\<@Ctrl>↑\\M[@F@HS_LZ\\<@Ctrl>↓\\M[@D@E@KS_LX\\<@F11>\\M["
    "@O@A3M[@G@DRMMD@D]M[MI@ND@D]M[@G@CMI RD@D]MMMMS_LY\\<@F12>\\M[@O@A3M[@G@CRMMD@D]M[MI@ND@D]M[@G@DMI RD@D]"
    "MMMMS_LC\\<@Back@Space>\\CyAS";

constexpr bool StandsForControl(char c) { return c >= 'A' && c <= '_'; }

}  // namespace

std::string FromMacroNotation(std::string_view notation) {
  std::string bytes;
  for (size_t i = 0; i < notation.size();) {
    const size_t length = CharLength(notation, i);
    const char c = notation[i];
    if (length == 1 && c == '@' && i + 1 < notation.size()) {
      const size_t next = CharLength(notation, i + 1);
      bytes.append(notation.substr(i + 1, next));
      i += 1 + next;
      continue;
    }
    if (length == 1 && StandsForControl(c)) {
      bytes.push_back(static_cast<char>(c - 64));
    } else {
      bytes.append(notation.substr(i, length));
    }
    i += length;
  }
  return bytes;
}

const std::string& StandardLabelMacro() {
  static const std::string bytes = FromMacroNotation(kStandardLabelNotation);
  return bytes;
}

}  // namespace vondal
