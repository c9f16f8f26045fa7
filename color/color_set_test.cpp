#include "color/color_set.h"

#include <gtest/gtest.h>

#include "console/console.h"

namespace vondal {
namespace {

TEST(ColorSet, DefaultSetHoldsTheBuiltInValuesInElementOrder) {
  const ColorTable& table = DefaultColorTable();
  EXPECT_EQ(table[static_cast<int>(ColorElement::Title)], 0xF1);
  EXPECT_EQ(table[static_cast<int>(ColorElement::MenuKey)], 0xF9);
  EXPECT_EQ(table[static_cast<int>(ColorElement::Contest)], 0x16);
  EXPECT_EQ(table[static_cast<int>(ColorElement::NewNumber)], 0x8F);
  EXPECT_EQ(table[static_cast<int>(ColorElement::eError)], 0x0C);
  EXPECT_EQ(table[static_cast<int>(ColorElement::eEdgeEnd)], 0x00);
  // The three families differ only in their last two elements.
  EXPECT_EQ(table[static_cast<int>(ColorElement::eBlankEnd)], 0x01);
  EXPECT_EQ(table[static_cast<int>(ColorElement::rBlankEnd)], 0x00);
  EXPECT_EQ(table[static_cast<int>(ColorElement::mEdgeEnd)], 0x01);
  EXPECT_EQ(ColorElementName(ColorElement::mEdgeEnd), "mEdgeEnd");
  EXPECT_EQ(ColorElementName(ColorElement::eText), "eText");
}

TEST(ColorSet, CurrentSetFeedsTheConsoleAndTheViewerLetters) {
  ColorTable table = DefaultColorTable();
  table[static_cast<int>(ColorElement::MenuKey)] = 0x4E;
  table[static_cast<int>(ColorElement::Border)] = 0x1E;
  SetCurrentColorTable(table);
  EXPECT_EQ(TheConsoleColors().menuKey, 0x4E);
  EXPECT_EQ(TheConsoleColors().menuLabel, 0x70);
  EXPECT_EQ(ViewerColorLetters(), "cY");
  SetCurrentColorTable(DefaultColorTable());
  EXPECT_EQ(ViewerColorLetters(), "kK");
}

}  // namespace
}  // namespace vondal
