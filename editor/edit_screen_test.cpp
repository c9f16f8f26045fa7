#include "editor/edit_screen.h"

#include <gtest/gtest.h>

#include "editor/faces.h"
#include "editor/select_area.h"

namespace vondal {
namespace {

TEST(EditLayoutTest, RowsForEveryLayoutAndSize) {
  DisplaySettings display;
  EditLayout layout = ComputeLayout(80, 25, display);
  EXPECT_EQ(layout.menuRow, 23);
  EXPECT_EQ(layout.editRow, 15);
  EXPECT_EQ(layout.headerRow, 14);
  EXPECT_EQ(layout.selectLines, 13);
  EXPECT_EQ(layout.LabelRow(0), 16);
  EXPECT_EQ(layout.TextRow(2), 21);  // the last row above the message line

  display.oneLine = true;
  layout = ComputeLayout(80, 25, display);
  EXPECT_EQ(layout.editRow, 18);
  EXPECT_EQ(layout.TextRow(0), 19);
  EXPECT_EQ(layout.TextRow(2), 21);
  EXPECT_EQ(layout.selectLines, 16);

  display.oneLine = false;
  display.functionKeys = true;
  display.multiplierTable = true;
  layout = ComputeLayout(80, 25, display);
  EXPECT_EQ(layout.editRow, 13);   // two rows for the function-key table below
  EXPECT_EQ(layout.headerRow, 9);  // three rows of the multiplier table above
  EXPECT_EQ(layout.selectLines, 8);

  layout = ComputeLayout(200, 80, DisplaySettings{});
  EXPECT_EQ(layout.selectLines, 68);
}

TEST(EditLayoutTest, FieldMaximumFollowsTheRecordBudget) {
  ResetFieldTable();
  EditorState editor;
  editor.working[DATE] = "240305";
  editor.working[START] = "0907";
  editor.working[CALLSIGN] = "JA1";
  // DATE … MODE count 6+4+4+3+5+2 = 24: the other stored fields share 158 bytes.
  const EditLayout layout = ComputeLayout(80, 25, DisplaySettings{});
  EXPECT_EQ(FieldEditState(editor, layout, REMARKS).maxLength, 150);
  editor.working[QTH] = std::string(50, 'q');
  editor.working[NAME] = std::string(40, 'n');
  EXPECT_EQ(FieldEditState(editor, layout, REMARKS).maxLength, 68);
  EXPECT_EQ(FieldEditState(editor, layout, AUX1).maxLength, 250);  // outside the budget
  const EditState callsign = FieldEditState(editor, layout, CALLSIGN);
  EXPECT_EQ(callsign.row, 17);
  EXPECT_EQ(callsign.col, 21);
  EXPECT_EQ(callsign.width, 14);
  EXPECT_EQ(callsign.maxLength, 24);
  editor.working[REMARKS] = std::string(68, 'r');
  // No room is left: the window is one column, the maximum the text itself.
  EditState rig = FieldEditState(editor, layout, RIG);
  EXPECT_EQ(rig.maxLength, 0);
  EXPECT_EQ(rig.width, 1);
}

TEST(EditLayoutTest, RecordNumbersAndFaceNames) {
  EXPECT_EQ(RecordNumberText(0, 0), "#    0");
  EXPECT_EQ(RecordNumberText(41, 1), "#   42");
  EXPECT_EQ(RecordNumberText(999999, 1), "1000000");
  EXPECT_EQ(RecordNumberText(123456, 0), "123456");
  EXPECT_EQ(FaceName(0), "φ面");
  EXPECT_EQ(FaceName(7), "７面");
}

TEST(FacesTest, MenuCutsTheCallSignsToOneWidthThatFits) {
  EditorState editor;
  for (int f = 0; f < kFaceCount; ++f) editor.faces[f].slot[CALLSIGN] = "JA" + std::to_string(f) + "ABC/QRP";
  editor.face = 2;
  editor.markedFace = 5;
  const std::string wide = FaceMenuLine(editor, 200);
  EXPECT_EQ(wide.substr(0, 17), ">面> [ﾏｰｸ ]5面 0J");
  EXPECT_NE(wide.find(" 1JA1ABC/QRP -+ 3JA3ABC/QRP"), std::string::npos) << wide;
  const std::string narrow = FaceMenuLine(editor, 80);
  EXPECT_LE(static_cast<int>(narrow.size()), 80 - 21);
  // 45 columns after the prompt: nine call signs of two columns and their keys fit, of three not.
  EXPECT_NE(narrow.find(" 1JA -+ 3JA 4JA"), std::string::npos) << narrow;
}

TEST(FacesTest, ANewRecordLeftInAFaceStaysNewWhileOthersAreAppended) {
  ResetFieldTable();
  EditorState editor;
  editor.current = 10;  // the new record of a 10-record log
  editor.working[CALLSIGN] = "JA1NEW";
  ChangeFace(editor, 3, 10);
  EXPECT_EQ(editor.previousFace, 0);
  EXPECT_EQ(editor.working[CALLSIGN], "");
  editor.current = 4;  // face 3 looks at record 4
  editor.working[CALLSIGN] = "JA1OLD";
  ChangeFace(editor, 0, 12);  // two records were written meanwhile
  EXPECT_EQ(editor.current, 12);
  EXPECT_EQ(editor.working[CALLSIGN], "JA1NEW");
  EXPECT_EQ(editor.faces[3].record, 4);
  ChangeFace(editor, 3, 12);
  EXPECT_EQ(editor.current, 4);
  EXPECT_EQ(editor.working[CALLSIGN], "JA1OLD");
}

TEST(SelectListTest, PositionFitAndAppend) {
  SelectList list;
  PositionList(list, 5, 2);
  EXPECT_EQ(list.records, (std::vector<int>{-2, -1, 0, 1, 2}));
  AppendToList(list, 3);
  EXPECT_EQ(list.records, (std::vector<int>{-1, 0, 1, 2, 3}));
  FitList(list, 3, 10);  // fewer lines: the bottom ones stay
  EXPECT_EQ(list.records, (std::vector<int>{1, 2, 3}));
  FitList(list, 3, 10);  // the same number: the last record again
  EXPECT_EQ(list.records, (std::vector<int>{7, 8, 9}));
  SelectList fresh;
  FitList(fresh, 4, 10);
  EXPECT_EQ(fresh.records, (std::vector<int>{6, 7, 8, 9}));
  EXPECT_EQ(fresh.cursor, 3);
}

}  // namespace
}  // namespace vondal
