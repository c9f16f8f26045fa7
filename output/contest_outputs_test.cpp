#include "output/contest_outputs.h"

#include <gtest/gtest.h>

#include "output/contest_run.h"
#include "output/contest_test_records.h"
#include "output/table_test_support.h"

namespace vondal {
namespace {

Record Contact(const char* date, const char* start, const char* callsign, const char* freq, const char* mode,
               const char* sent, const char* received) {
  return testing::RecordOf({date, start, callsign, freq, mode, sent, received});
}

// One contest of each kind written as the contest menu writes it, against its expected file.
class ContestOutputsTest : public testing::TableTest {
 protected:
  std::string Write(char kind, int format, bool utc = false) {
    OutputJob job = Job(kind);
    job.parameters[kContestFormat].Choose(format);
    job.parameters[kTimeConversion].Choose(utc ? 1 : 0);
    WriteContestLog(job, kind, DateTime{2024, 6, 9, 10, 0});
    return Report(job);
  }

  OutputJob Job(char kind) {
    const int last = kind == 'C' ? 37 : kContestFormat;
    OutputJob job(context, {kContestFile, kTarget, kSelection, kContestName, last, kTimeConversion});
    job.parameters[kTarget].Choose(kAllRecords);
    job.parameters[kContestName].value = "TEST CONTEST";
    job.targetCount = CountTargets(job);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("T.TXT", OutputFile::Mode::kReplace));
    return job;
  }
};

TEST_F(ContestOutputsTest, AllJaStyleJarlLogInBothVersions) {
  context.contest.callsign = "JA1ZZZ";
  context.contest.jarlSummary = {"<NAME>山田太郎</NAME>"};
  UseRecords({
      Contact("240601", "2100", "JA1ABC", "7.050", "CW", "59913M", "59910M"),
      Contact("240601", "2101", "JA1ABC", "7.050", "CW", "59913M", "59910M"),
      Contact("240601", "2102", "JA1ABC", "14.050", "CW", "59913M", "59910M"),
      Contact("240601", "2103", "JA2ABC", "14.050", "CW", "59913M", "59920"),
      Contact("240601", "2104", "JA2ABC", "14.050", "CW", "59913M", "59920M"),
      Contact("240601", "2105", "JA3ABC", "21.050", "SSB", "5913M", "592M"),
      Contact("240601", "2106", "JA4ABC", "21.050", "SSB", "5913M", "591234567M"),
      Contact("240601", "2107", "JA8ABC", "50.200", "SSB", "5913M", "59104P"),
  });
  testing::ExpectReport("contest_jarl_r21.TXT", Write('J', kJarlR21));
  testing::ExpectReport("contest_jarl_r10.TXT", Write('J', kJarlR10, true));
}

TEST_F(ContestOutputsTest, CityAndGunNumbersInAPlainLog) {
  UseRecords({
      Contact("240803", "1000", "JA1ABC", "7.050", "CW", "5991001M", "5991001M"),
      Contact("240803", "1001", "JA1ABD", "7.050", "CW", "5991001M", "59910001M"),
      Contact("240803", "1002", "JA1ABE", "7.050", "CW", "5991001M", "5991001M"),
      Contact("240803", "1003", "JA8ABC", "7.050", "CW", "5991001M", "59901001L"),
  });
  testing::ExpectReport("contest_city_plain.TXT", Write('J', kPlainLog));
  testing::ExpectReport("contest_city_stars.TXT", Write('J', kPlainLogStars));
}

TEST_F(ContestOutputsTest, KcjOtherDaysAndPartyKinds) {
  UseRecords({
      Contact("241208", "0900", "JA1ABC", "3.520", "CW", "599TK", "599TK"),
      Contact("241208", "0910", "JA2ABC", "3.520", "CW", "599TK", "599AI"),
      Contact("241208", "0920", "JA3ABC", "3.520", "CW", "599TK", "599O"),
      Contact("241209", "0800", "JA3ABD", "7.020", "CW", "599TK", "599OS"),
      Contact("241209", "0930", "JA3ABD", "7.020", "CW", "599TK", "599OS"),
  });
  testing::ExpectReport("contest_kcj_csv.TXT", Write('K', kContestCsv));
  testing::ExpectReport("contest_other_print.TXT", Write('O', kPrint50));
  testing::ExpectReport("contest_days_plain.TXT", Write('D', kPlainLog, true));
  testing::ExpectReport("contest_party_r21.TXT", Write('P', kJarlR21));
}

TEST_F(ContestOutputsTest, CheckListLeavesOutSmallBands) {
  context.contest.callsign = "JA1ZZZ";
  std::vector<Record> records;
  const char* calls[] = {"JA1AAA", "JA1AAB", "JA1AAA", "JA1AAC"};
  for (int n = 0; n < 4; ++n)
    records.push_back(Contact("240601", n < 2 ? "2100" : "0800", calls[n], "7.050", "CW", "599", "599"));
  records.push_back(Contact("240601", "2200", "JA1AAD", "14.050", "CW", "599", "599"));
  UseRecords(records);
  OutputJob job = Job('C');
  job.parameters[37].value = "2";
  job.parameters[kTimeConversion].Choose(1);
  WriteCheckList(job);
  testing::ExpectReport("contest_checklist.TXT", Report(job));
}

}  // namespace
}  // namespace vondal
