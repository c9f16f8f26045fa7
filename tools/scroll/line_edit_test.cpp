#include "tools/scroll/line_edit.h"

#include <gtest/gtest.h>

namespace vondal::scroll {
namespace {

TEST(LineEdit, TwoByteCharactersAreInsertedMovedOverAndDeletedWhole) {
  LineEdit edit("a漢", 10);
  EXPECT_EQ(edit.cursor(), 3u);
  EXPECT_TRUE(edit.Apply(ExtendedKey(scan::kLeft)));
  EXPECT_EQ(edit.cursor(), 1u);
  EXPECT_TRUE(edit.Apply(CharacterKey(0x8E9A)));  // 字
  EXPECT_EQ(edit.text(), "a字漢");
  EXPECT_TRUE(edit.Apply(ExtendedKey(scan::kDel)));
  EXPECT_EQ(edit.text(), "a字");
  EXPECT_TRUE(edit.Apply(CharacterKey(8)));
  EXPECT_EQ(edit.text(), "a");
  EXPECT_TRUE(edit.Apply(CharacterKey(0xB1)));  // ｱ, half-width
  EXPECT_EQ(edit.text(), "aｱ");
}

TEST(LineEdit, ShiftTakesMovesAndDeletionsToTheEnds) {
  LineEdit edit("abcdef", 10);
  edit.Apply(ExtendedKey(scan::kLeft));
  edit.Apply(ExtendedKey(scan::kLeft));
  edit.Apply(CharacterKey(8, true));  // Shift+Backspace: everything before the cursor
  EXPECT_EQ(edit.text(), "ef");
  EXPECT_EQ(edit.cursor(), 0u);
  edit.Apply(ExtendedKey(scan::kRight));
  edit.Apply(ExtendedKey(scan::kDel, true));  // Shift+Del: everything after it
  EXPECT_EQ(edit.text(), "e");
  edit.Apply(ExtendedKey(scan::kHome));
  EXPECT_EQ(edit.cursor(), 0u);
  edit.Apply(ExtendedKey(scan::kRight, true));
  EXPECT_EQ(edit.cursor(), 1u);
}

TEST(LineEdit, InsertsOnlyWhileThereIsRoomAndLeavesOtherKeysToThePrompt) {
  LineEdit edit("abc", 4);
  EXPECT_TRUE(edit.Apply(CharacterKey('d')));
  EXPECT_TRUE(edit.Apply(CharacterKey('e')));
  EXPECT_EQ(edit.text(), "abcd");
  edit.Apply(CharacterKey(8));
  EXPECT_TRUE(edit.Apply(CharacterKey(0x8ABF)));  // 漢 needs two bytes: no room
  EXPECT_EQ(edit.text(), "abc");
  for (int code : {13, 27, 9, 14, 16, 18}) EXPECT_FALSE(edit.Apply(CharacterKey(code)));
  EXPECT_FALSE(edit.Apply(ExtendedKey(scan::kUp)));
  EXPECT_EQ(edit.text(), "abc");
}

TEST(LineEdit, TheShownPartFollowsTheCursor) {
  LineEdit edit("0123456789", 20);
  EXPECT_EQ(edit.Shown(5), "6789");
  edit.Apply(ExtendedKey(scan::kHome));
  EXPECT_EQ(edit.Shown(5), "01234");
}

}  // namespace
}  // namespace vondal::scroll
