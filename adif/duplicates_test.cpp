#include "adif/duplicates.h"

#include <gtest/gtest.h>

#include "log/log_test_support.h"

namespace vondal {
namespace {

using testing::Image;
using testing::LogSet;
using testing::ValidRecord;

Record Contact(const std::string& call, const std::string& date, const std::string& start,
               const std::string& freq) {
  Record r = ValidRecord(call, date, start);
  r[FREQ] = freq;
  return r;
}

TEST(DuplicateFinderTest, SameCallSameMinuteSameBand) {
  MemoryFileSystem fs;
  std::string log;
  for (const Record& r :
       {Contact("JA1ABC", "240101", "0810", "14.074"), Contact("K1ABC", "240101", "0810", "7.074"),
        Contact("JA2XYZ", "240102", "2359", "3.79"), Contact("JA3AAA", "240103", "1200", "10.")}) {
    log += Image(r);
  }
  fs.SetContents("L.VD", log);
  LogSet set(fs);
  ASSERT_EQ(set.log.OpenLog("L.VD"), "");
  std::vector<char> buffer(4096);
  ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
  for (bool readAhead : {false, true}) {
    SCOPED_TRACE(readAhead);
    DuplicateFinder finder(set.index, set.log, readAhead);

    EXPECT_EQ(finder.Find(Contact("JA1ABC", "240101", "0810", "14.07412")), 0);
    EXPECT_EQ(finder.Find(Contact("ja1abc", "240101", "0810", "14.2")), 0);     // the call in either case
    EXPECT_EQ(finder.Find(Contact("K1ABC", "240101", "0810", "7.0")), 1);       // two calls in one minute
    EXPECT_EQ(finder.Find(Contact("JA2XYZ", "240102", "2359", "3.5")), 2);      // 3.8 and 3.5 MHz: ADIF's 80m
    EXPECT_EQ(finder.Find(Contact("JA3AAA", "240103", "1200", "10.136")), 3);   // the log's short form
    EXPECT_EQ(finder.Find(Contact("JA1ABC", "240101", "0811", "14.074")), -1);  // another minute
    EXPECT_EQ(finder.Find(Contact("JA1ABC", "240101", "0810", "21.074")), -1);  // another band
    EXPECT_EQ(finder.Find(Contact("JA1ABCD", "240101", "0810", "14.074")), -1);  // another call
    EXPECT_EQ(finder.Find(Contact("JA1ABC", "230101", "0810", "14.074")), -1);   // another day

    // A record written later is found once added.
    Record later = Contact(readAhead ? "JA5NEW" : "JA4NEW", "240105", "0000", "50.313");
    const int n = set.log.RecordCount();
    ASSERT_TRUE(set.log.WriteRecord(n, later).written);
    EXPECT_EQ(finder.Find(later), -1);
    finder.Add(n);
    EXPECT_EQ(finder.Find(later), n);
  }
}

}  // namespace
}  // namespace vondal
