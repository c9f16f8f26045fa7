#include "output/inspection.h"

#include <gtest/gtest.h>

#include "output/table_test_support.h"

namespace vondal {
namespace {

Record Contact(const char* start, const char* callsign, const char* freq, const char* rig = "") {
  Record r;
  r[DATE] = "240601";
  r[START] = start;
  r[END] = "1300";
  r[CALLSIGN] = callsign;
  r[FREQ] = freq;
  r[MODE] = "CW";
  r[sRST] = "599";
  r[rRST] = "599";
  r[RIG] = rig;
  return r;
}

// A log written through the log file, inspected through the frame's job as the form hands it over.
class InspectionTest : public testing::TableTest {
 protected:
  InspectionTest() {
    UseRecords({Contact("1200", "JA1ABC", "7.050"), Contact("1200", "JA1ABC", "7.050"),
                Contact("1100", "JA1AB1", "7", "(100W"), Contact("1210", "W1AW", "14.050"),
                Contact("1215", "W1AX", "14.050")});
  }

  std::string Inspect(int level, int target = kAllRecords) {
    OutputJob job(context, {kTableFile, kTarget, kSelection, 33});
    job.parameters[kTarget].choice = target;
    job.parameters[33].Choose(level);
    job.targetCount = CountTargets(job);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("T.TXT", OutputFile::Mode::kReplace));
    WriteInspection(job, cities);
    EXPECT_TRUE(job.file->Finish());
    return fs.Contents("T.TXT");
  }

  CityList cities;  // not loaded
};

TEST_F(InspectionTest, ReportLinesAndTally) {
  EXPECT_EQ(Inspect(2),
            "CGlist3.TXTが読めないのでQTHは検査できません\r\n"
            "record:date   time callsign\t{field}\terror\r\n"
            "     1:240601 1200 JA1ABC\t{DATE}\t重複記録です\r\n"
            "     2:240601 1100 JA1AB1\t{START}\t前レコードより時間が前です\r\n"
            "     2:240601 1100 JA1AB1\t{CALLSIGN}\t不正なJAコールサインです\r\n"
            "     2:240601 1100 JA1AB1\t{FREQ}\t小数点がありません\t7\r\n"
            "     2:240601 1100 JA1AB1\t{RIG}\t括弧が閉じていません\t(100W\r\n"
            "-------------------------- DATE STAR  END CALL FREQ MODE sRST rRST  QTH NAME  RIG CONT REMA "
            "MyQT MyRI sQSL "
            "rQSL\r\n"
            "              重複記録です    1    -    -    -    -    -    -    -    -    -    -    -    -    "
            "-    -    -    -\r\n"
            "前レコードより時間が前です    -    1    -    -    -    -    -    -    -    -    -    -    -    "
            "-    -    -    -\r\n"
            "  不正なJAコールサインです    -    -    -    1    -    -    -    -    -    -    -    -    -    "
            "-    -    -    -\r\n"
            "        小数点がありません    -    -    -    -    1    -    -    -    -    -    -    -    -    "
            "-    -    -    -\r\n"
            "      括弧が閉じていません    -    -    -    -    -    -    -    -    -    -    1    -    -    "
            "-    -    -    -\r\n");
}

TEST_F(InspectionTest, NoFindingsNoTally) {
  set.index[3].mark = 1;
  set.index[4].mark = 1;
  EXPECT_EQ(
      Inspect(3, kMarkedRecords),
      "CGlist3.TXTが読めないのでQTHは検査できません\r\nrecord:date   time callsign\t{field}\terror\r\n");
}

}  // namespace
}  // namespace vondal
