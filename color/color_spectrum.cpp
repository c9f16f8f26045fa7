#include "color/color_spectrum.h"

#include <algorithm>

#include "app/text/text_helpers.h"
#include "color/color_editor_parts.h"
#include "console/console.h"
#include "console/key_source.h"

namespace vondal {
namespace {

constexpr int kMinWidth = 80;
constexpr int kHeaderRow = 14;
constexpr int kFirstRow = 15;  // colour 7; colour 0 is seven rows below
constexpr int kScaleRow = kFirstRow + 8;
constexpr char kDot[] = "･";

int Longest(const std::array<int, 8>& normal, const std::array<int, 8>& bright) {
  int longest = 0;
  for (int c = 0; c < 8; ++c) longest = std::max(longest, normal[c] + bright[c]);
  return longest;
}

// One bar of `normal` then `bright` dots from `start` on, one column at a time in `step`
// direction, within `room` columns. A bar that does not fit ends with its count at the edge.
void DrawBar(Screen& screen, int row, int start, int step, int room, int normal, int bright,
             uint8_t normalAttr, uint8_t brightAttr) {
  const int total = normal + bright;
  int shown = total;
  std::string count;
  if (total > room) {
    count = FormatNumber(static_cast<uint64_t>(total));
    shown = std::max(0, room - static_cast<int>(count.size()) - 1);
  }
  for (int i = 0; i < shown; ++i) {
    screen.PutText(kDot, row, start + step * i, start + step * i + 1, i < normal ? normalAttr : brightAttr,
                   0);
  }
  if (count.empty()) return;
  const int edge = start + step * (room - 1);  // the outermost column of the bar
  const int col = step > 0 ? edge - static_cast<int>(count.size()) + 1 : edge;
  screen.PutText(count, row, col, col + static_cast<int>(count.size()), kPlainAttr, kPlainAttr);
}

}  // namespace

ColorUsage CountColorUsage(const ColorTable& table) {
  ColorUsage usage;
  for (uint8_t attr : table) {
    const int fg = attr & 0x0F;
    const int bg = attr >> 4;
    ++(fg & kBrightBit ? usage.fgBright : usage.fg)[fg & 7];
    ++(bg & kBrightBit ? usage.bgBright : usage.bg)[bg & 7];
  }
  return usage;
}

SpectrumLayout LayOutSpectrum(const ColorUsage& usage, int screenWidth) {
  // Each side wants its longest bar and one blank column at its outer end.
  const int wantLeft = Longest(usage.bg, usage.bgBright) + 1;
  const int wantRight = Longest(usage.fg, usage.fgBright) + 1;
  SpectrumLayout layout;
  layout.width = std::clamp(wantLeft + 2 + wantRight, kMinWidth, std::max(kMinWidth, screenWidth));
  layout.left = std::max(0, (screenWidth - layout.width) / 2);
  const int sides = layout.width - 2;
  int leftRoom;
  if (wantLeft + wantRight <= sides) {
    leftRoom = wantLeft + (sides - wantLeft - wantRight) / 2;
  } else if (wantRight <= sides / 2) {
    leftRoom = sides - wantRight;
  } else if (wantLeft <= sides / 2) {
    leftRoom = wantLeft;
  } else {
    leftRoom = sides / 2;
  }
  layout.centre = layout.left + leftRoom;
  return layout;
}

void ShowSpectrum(const ColorTable& table) {
  Screen& screen = TheScreen();
  const ColorUsage usage = CountColorUsage(table);
  const SpectrumLayout layout = LayOutSpectrum(usage, screen.Width());
  const int leftRoom = layout.centre - layout.left;
  const int rightRoom = layout.left + layout.width - (layout.centre + 2);
  screen.ClearRows(kHeaderRow, std::min(kScaleRow, screen.Height() - 2));
  const uint8_t text = ColorOf(ColorElement::eText);
  screen.PutText("背景色", kHeaderRow, layout.centre - 6, layout.centre, text, text);
  screen.PutTextToEnd("前景色", kHeaderRow, layout.centre + 2, text, text);
  for (int c = 7; c >= 0; --c) {
    const int row = kFirstRow + 7 - c;
    const auto normal = static_cast<uint8_t>(c);
    const auto bright = static_cast<uint8_t>(c | kBrightBit);
    screen.PutText("｜", row, layout.centre, layout.centre + 2, normal, normal);
    DrawBar(screen, row, layout.centre - 1, -1, leftRoom, usage.bg[c], usage.bgBright[c],
            static_cast<uint8_t>(normal << 4 | kPlainAttr), static_cast<uint8_t>(bright << 4 | kPlainAttr));
    DrawBar(screen, row, layout.centre + 2, 1, rightRoom, usage.fg[c], usage.fgBright[c], normal, bright);
  }
  // A digit every ten dots on either side.
  for (int dots = 10; dots <= std::max(leftRoom, rightRoom); dots += 10) {
    const auto digit = static_cast<unsigned char>('0' + dots / 10 % 10);
    if (dots <= leftRoom) screen.PutChar(digit, kScaleRow, layout.centre - dots, text);
    if (dots <= rightRoom) screen.PutChar(digit, kScaleRow, layout.centre + 1 + dots, text);
  }
  Flush();
  ReadKey();
  // Its lower rows lie on the message line of a 25-row screen.
  screen.ClearRows(MessageRow(), MessageRow());
}

}  // namespace vondal
