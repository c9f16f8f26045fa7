// The developer's source export: every set as a C initializer, one element a line, for building
// a set into the program.
#include <cstdio>

#include "app/text/text_helpers.h"
#include "color/color_sets.h"

namespace vondal {
namespace {

// Columns of the line of one element; the blanks before them become tabs of width 4.
constexpr size_t kForegroundCol = 8;
constexpr size_t kBackgroundCol = 28;
constexpr size_t kCommentCol = 68;
constexpr size_t kTabWidth = 4;

void PadTo(std::string& line, size_t col) {
  if (line.size() < col) line.resize(col, ' ');
}

std::string ElementLine(int k, uint8_t attr) {
  const int fg = attr & 0x0F;
  const int bg = attr >> 4;
  std::string line(kForegroundCol, ' ');
  line += "COLf" + std::string(kColorNames[fg & 7]);
  if (fg & kBrightBit) line += "|COLfHI";
  if (bg != 0) {
    PadTo(line, kBackgroundCol);
    line += "|COLb" + std::string(kColorNames[bg & 7]);
    if (bg & kBrightBit) line += "|COLbHI";
  }
  if (k < kColorElementCount - 1) line += ",";
  PadTo(line, kCommentCol);
  line += "//" + std::string(ColorElementName(static_cast<ColorElement>(k)));
  return SpacesToTabs(line, kTabWidth) + "\n";
}

std::string Printed(const char* format, int a, int b = 0, int c = 0) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

}  // namespace

std::string ColorSourceText(const ColorSets& sets) {
  std::string text;
  for (int n = 0; n < sets.count(); ++n) {
    const ColorSet& set = sets.Set(n);
    text += "{\t//" + sets.fileName() + Printed("#%02d", n) + "\n\t{\n";
    for (int k = 0; k < kColorElementCount; ++k) text += ElementLine(k, set.table[k]);
    text += "\t},\n\t\"" + set.name + "\",\n\t\"" + set.author + "\",\n";
    text += Printed("\t{%d,%d,%d}\n", set.date[0], set.date[1], set.date[2]);
    text += n + 1 < sets.count() ? "},\n" : "};\n";
  }
  return text;
}

std::string ColorSets::ExportSource(std::string_view name) const {
  // A text file: its lines end in CR LF, as everywhere the system writes text.
  std::string bytes;
  for (char c : ColorSourceText(*this)) {  // a line feed is never half of a character
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  FileReplacement out(fs_, std::string(name));
  if (!out.Open()) return "ｵｰﾌﾟﾝできません";
  if (!out.Write(bytes.data(), bytes.size()) || !out.Commit()) return "ｿｰｽﾌｧｲﾙに書込めません";
  return "";
}

}  // namespace vondal
