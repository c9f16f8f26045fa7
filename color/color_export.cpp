// The developer's source export: every set as a C initializer, one element a line, for building
// a set into the program.
#include <cstdio>

#include "color/color_sets.h"

namespace vondal {
namespace {

// Columns of the line of one element, all tab stops: what stands before them is filled with tabs
// of width 4 (a single blank before a stop is a tab too).
constexpr size_t kForegroundCol = 8;
constexpr size_t kBackgroundCol = 28;
constexpr size_t kCommentCol = 68;
constexpr size_t kTabWidth = 4;

// The line of an element is ASCII: a byte is a column.
class ElementLine {
 public:
  void TabTo(size_t col) {
    while (col_ < col) {
      text_ += '\t';
      col_ = (col_ / kTabWidth + 1) * kTabWidth;
    }
  }
  void Add(std::string_view text) {
    text_ += text;
    col_ += text.size();
  }
  std::string Take() { return std::move(text_) + "\n"; }

 private:
  std::string text_;
  size_t col_ = 0;
};

std::string ElementText(int k, uint8_t attr) {
  const int fg = attr & 0x0F;
  const int bg = attr >> 4;
  ElementLine line;
  line.TabTo(kForegroundCol);
  line.Add("COLf");
  line.Add(kColorNames[fg & 7]);
  if (fg & kBrightBit) line.Add("|COLfHI");
  if (bg != 0) {
    line.TabTo(kBackgroundCol);
    line.Add("|COLb");
    line.Add(kColorNames[bg & 7]);
    if (bg & kBrightBit) line.Add("|COLbHI");
  }
  if (k < kColorElementCount - 1) line.Add(",");
  line.TabTo(kCommentCol);
  line.Add("//");
  line.Add(ColorElementName(static_cast<ColorElement>(k)));
  return line.Take();
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
    for (int k = 0; k < kColorElementCount; ++k) text += ElementText(k, set.table[k]);
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
