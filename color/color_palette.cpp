// The palette (Space): the element's name in all 64 combinations of foreground and background
// with the current bright bits; the element takes the combination under the cursor at once.
#include "color/color_editor_parts.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

constexpr char kPaletteMenu[] = ">ﾊﾟﾚｯﾄ> $Enter$決定 F前景輝度 B背景輝度";

constexpr int kTop = 14;
constexpr int kBottom = 23;
constexpr int kLeft = 45;
constexpr int kRight = 79;
constexpr int kFirstRow = 15;  // background 0
constexpr int kFirstCol = 48;  // foreground 0
constexpr int kCellStep = 4;
constexpr int kCellWidth = 3;

struct Choice {
  int fg = 0;
  int bg = 0;
  bool fgBright = false;
  bool bgBright = false;

  explicit Choice(uint8_t attr)
      : fg(attr & 7), bg((attr >> 4) & 7), fgBright(attr & kBrightBit), bgBright(attr & (kBrightBit << 4)) {}
  uint8_t Attr(int f, int b) const {
    return static_cast<uint8_t>(f | (fgBright ? kBrightBit : 0) | b << 4 | (bgBright ? kBrightBit << 4 : 0));
  }
  uint8_t Attr() const { return Attr(fg, bg); }
};

void DrawPalette(int element, const Choice& choice) {
  Screen& screen = TheScreen();
  for (int row = kTop; row <= kBottom; ++row) screen.ClearCells(row, kLeft, kRight);
  screen.DrawBox(kTop, kLeft, kBottom, kRight, ColorOf(ColorElement::Border));
  // The cells are three columns wide: the start of the name, padded with blanks so that the
  // background shows.
  std::string cell(ColorElementName(static_cast<ColorElement>(element)).substr(0, kCellWidth));
  cell.resize(kCellWidth, ' ');
  for (int b = 0; b < 8; ++b) {
    for (int f = 0; f < 8; ++f) {
      const uint8_t attr = choice.Attr(f, b);
      screen.PutText(cell, kFirstRow + b, kFirstCol + kCellStep * f, kFirstCol + kCellStep * f + kCellWidth,
                     attr, attr);
    }
  }
  screen.PutChar('>', kFirstRow + choice.bg, kFirstCol + kCellStep * choice.fg - 1,
                 ColorOf(ColorElement::eText));
  Flush();
}

}  // namespace

void RunPalette(ColorEditorContext& context, int element) {
  ColorSets& sets = context.sets;
  uint8_t& attr = sets.CurrentSet().table[element];
  const uint8_t old = attr;
  Choice choice(old);
  // The palette's last rows lie on the message line of a 25-row screen.
  struct ClearOnLeaving {
    ~ClearOnLeaving() { TheScreen().ClearRows(MessageRow(), MessageRow()); }
  } clear;
  for (;;) {
    // The element shows the choice live on every screen; only Enter keeps it.
    attr = choice.Attr();
    sets.ApplyCurrent();
    DrawColorEditor(sets, element);
    ShowMenu(kPaletteMenu);
    DrawPalette(element, choice);
    const KeyEvent key = ReadKey();
    switch (key.upper) {
      case kExtendedKey + scan::kLeft:
        choice.fg = (choice.fg + 7) % 8;
        break;
      case kExtendedKey + scan::kRight:
        choice.fg = (choice.fg + 1) % 8;
        break;
      case kExtendedKey + scan::kUp:
        choice.bg = (choice.bg + 7) % 8;
        break;
      case kExtendedKey + scan::kDown:
        choice.bg = (choice.bg + 1) % 8;
        break;
      case 'F':
        choice.fgBright = !choice.fgBright;
        break;
      case 'B':
        choice.bgBright = !choice.bgBright;
        break;
      case 13:
        attr = old;
        ChangeAttribute(context, element, choice.Attr());
        return;
      case 27:
        attr = old;
        sets.ApplyCurrent();
        return;
      default:
        RejectKey(key.code);
        break;
    }
  }
}

}  // namespace vondal
