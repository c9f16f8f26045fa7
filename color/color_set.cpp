#include "color/color_set.h"

#include "console/console.h"

namespace vondal {
namespace {

constexpr ColorTable kDefaultTable = {
    0xf1, 0x07, 0x0f, 0x0f, 0x08, 0xf0, 0x0f, 0xf9, 0x70,              // Title ... MenuLabel
    0x0f, 0x70, 0x03, 0x07, 0x08, 0x0f, 0x07, 0x0e, 0x07, 0x16, 0x07,  // Date ... RST
    0x06, 0x0e, 0x07, 0x06, 0x02, 0x0f, 0x0f, 0x0d, 0x70, 0x08,        // QTH ... Border
    0x0f, 0x8f, 0x08,                                                  // RecNumber ... FieldName
    0x0f, 0x0a, 0x08, 0x08, 0xf2, 0x70, 0x0c, 0x07, 0x02, 0x01, 0x00,  // e family
    0x0f, 0x0a, 0x08, 0x08, 0xf2, 0x70, 0x0c, 0x07, 0x02, 0x00, 0x00,  // r family
    0x0f, 0x0a, 0x08, 0x08, 0xf2, 0x70, 0x0c, 0x07, 0x02, 0x01, 0x01,  // m family
};

ColorTable current = kDefaultTable;

int Index(ColorElement element) { return static_cast<int>(element); }

}  // namespace

const ColorTable& DefaultColorTable() { return kDefaultTable; }

uint8_t ColorOf(ColorElement element) { return current[Index(element)]; }

const ColorTable& CurrentColorTable() { return current; }

void SetCurrentColorTable(const ColorTable& table) {
  current = table;
  ConsoleColors& colors = TheConsoleColors();
  colors.menuKey = ColorOf(ColorElement::MenuKey);
  colors.menuLabel = ColorOf(ColorElement::MenuLabel);
  colors.message = ColorOf(ColorElement::eError);
  colors.error = ColorOf(ColorElement::eError);
  colors.report = ColorOf(ColorElement::Opening);
}

std::string ViewerColorLetters() {
  uint8_t border = ColorOf(ColorElement::Border);
  return {kColorLetters[border >> 4], kColorLetters[border & 0x0F]};
}

}  // namespace vondal
