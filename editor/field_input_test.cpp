#include "editor/field_input.h"

#include <gtest/gtest.h>

#include <ctime>

namespace vondal {
namespace {

std::string Now(const char* format) {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

TEST(AutoFillTest, DefaultDataByField) {
  ResetFieldTable();
  EditorState editor;
  Record previous;
  previous[QTH] = "横浜市";
  previous[MODE] = "FM";
  EXPECT_EQ(AutoFillValue(editor, previous, DATE), Now("%y%m%d"));
  EXPECT_EQ(AutoFillValue(editor, previous, START), Now("%H%M"));
  EXPECT_EQ(AutoFillValue(editor, previous, END), Now("%H%M"));
  EXPECT_EQ(AutoFillValue(editor, previous, MODE), "CW") << "no FREQ yet";
  EXPECT_EQ(AutoFillValue(editor, previous, sRST), "599") << "no MODE yet";
  for (const char* mode : {"SSB", "FM", "AM"}) {
    editor.working[MODE] = mode;
    EXPECT_EQ(AutoFillValue(editor, previous, rRST), "59") << mode;
  }
  for (const char* mode : {"CW", "RTTY", "FT8", "ssb"}) {
    editor.working[MODE] = mode;
    EXPECT_EQ(AutoFillValue(editor, previous, sRST), "599") << mode;
  }
  // Every other field takes the previous record's text.
  EXPECT_EQ(AutoFillValue(editor, previous, QTH), "横浜市");
  // Source P: the previous data, for any field.
  ActiveFieldTable()[MODE].attributes[kAutoFillSource] = 'P';
  EXPECT_EQ(AutoFillValue(editor, previous, MODE), "FM");
  ResetFieldTable();
}

TEST(AutoFillTest, ModeFollowsTheSegmentOfFreq) {
  ResetFieldTable();
  EditorState editor;
  editor.working[FREQ] = "0.001";  // below every band: no segment
  EXPECT_EQ(AutoFillValue(editor, Record{}, MODE), "");
  editor.working[FREQ] = "7.010";
  EXPECT_EQ(AutoFillValue(editor, Record{}, MODE), "CW");
}

}  // namespace
}  // namespace vondal
