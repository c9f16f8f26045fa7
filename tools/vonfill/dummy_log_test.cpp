#include "tools/vonfill/dummy_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/text/sjis.h"
#include "app/text/wildcard.h"
#include "log/date_time.h"
#include "log/log_file.h"
#include "log/log_test_support.h"
#include "tools/vonfill/remarks.h"
#include "tools/vonfill/vonfill.h"
#include "tools/vonfill/vonfill_test_support.h"

namespace vondal::vonfill {
namespace {

using testing::kFixtureCityList;
using testing::TemporaryFolder;

CityLists FixtureCities() {
  CityLists lists;
  std::istringstream in(kFixtureCityList);
  for (std::string line; std::getline(in, line);) lists.AddLine(line.substr(0, line.size() - 1));
  return lists;
}

// A command for `records` records with a fixed seed.
VonfillCommand Command(int records, const std::string& options = "") {
  std::vector<std::string> args = {"DUMMY.VD", std::to_string(records), "-S1"};
  std::istringstream words(options);
  for (std::string word; words >> word;) args.push_back(word);
  return ParseCommandLine(args);
}

// The records of a log built in memory.
std::vector<Record> Build(const VonfillCommand& command) {
  const CityLists cities = FixtureCities();
  DummyLogSettings settings = command.settings;
  settings.year = 2025;
  settings.month = 1;
  DummyLog log(settings, cities);
  std::vector<Record> records(settings.records);
  for (int i = 0; i < settings.records; ++i) log.BuildRecord(i, records[i]);
  return records;
}

TEST(DummyLogTest, TheAuthorsOwnContactIsRecordOneTwelfthOrTheFirst) {
  for (int records : {1, 11, 12, 120, 1300}) {
    const std::vector<Record> log = Build(Command(records));
    const Record& author = log[records < 12 ? 0 : records / 12];
    EXPECT_EQ(author[CALLSIGN], kAuthorCallsign) << records;
    EXPECT_EQ(author[REMARKS], "Vondal作者") << records;
    EXPECT_EQ(author[QTH], "長野市");
    EXPECT_EQ(author[NAME], "Kazu");
  }
}

TEST(DummyLogTest, MemoryStatisticsGoIntoRemarks) {
  const std::vector<Record> log = Build(Command(350, "-!"));
  auto has = [&](int i, const char* item) { return log[i][REMARKS].find(item) != std::string::npos; };
  EXPECT_TRUE(has(0, "記憶領域確保量[200000]"));
  EXPECT_FALSE(has(1, "記憶領域確保量"));
  for (int i : {100, 200, 300, 349}) EXPECT_TRUE(has(i, "交信局数[")) << i;
  for (int i : {1, 99, 101, 150}) EXPECT_FALSE(has(i, "交信局数[")) << i;
  for (int i : {101, 201, 301, 349}) EXPECT_TRUE(has(i, "記憶領域使用量[")) << i;
  for (int i : {1, 100, 200}) EXPECT_FALSE(has(i, "記憶領域使用量[")) << i;
}

TEST(DummyLogTest, AuthorLikenessAndRemarksThatKeepWithinTheirRoom) {
  std::string_view items[2];
  auto likeness = [&](std::string_view call) {
    std::string text;
    for (int k = 0, n = AuthorLikeness(call, items); k < n; ++k) text += std::string(items[k]) + ";";
    return text;
  };
  EXPECT_EQ(likeness("QZ0ZZQ"), "Vondal作者;");
  EXPECT_EQ(likeness("QZ1ZZQ"), "作者と酷似ｺｰﾙｻｲﾝ;");  // one character off, in order
  EXPECT_EQ(likeness("ZQ0ZZQ"), "作者と類似ｺｰﾙｻｲﾝ;");  // the same characters, out of order
  EXPECT_EQ(likeness("QZ0ABC"), "作者と同ﾌﾟﾘﾌｨｯｸｽ;");
  EXPECT_EQ(likeness("JA1ZZQ"), "作者と同ｻﾌｨｯｸｽ;");
  EXPECT_EQ(likeness("JA1ABC"), "");

  std::string text = "old";
  RemarksText remarks(text, 12);
  remarks.Add("回数[2]");      // 7 bytes
  remarks.Add("交信局数[5]");  // would make 7 + 1 + 11: left out whole
  remarks.Add("ab");
  remarks.Add("abc");
  EXPECT_EQ(text, "回数[2];ab");
}

// Which row of the band table a FREQ belongs to, or -1.
int BandOf(const std::string& freq) {
  for (int b = 0; b < kBandCount; ++b) {
    const std::string base = kBands[b].text;
    if (freq.size() != base.size() + 2 || !freq.starts_with(base)) continue;
    const int digits = std::stoi(freq.substr(base.size()));
    if (digits >= kBands[b].offset && digits < kBands[b].offset + kBands[b].range) return b;
  }
  return -1;
}

// The call area whose names a Japanese station's QTH comes from.
int AreaOf(const std::string& call, const std::string& suffix) {
  const char area = !suffix.empty() ? suffix[0] : call[0] == '7' && call[1] != 'J' ? '1' : call[2];
  return IsAsciiDigit(area) ? area - '0' : -1;
}

// A dummy log written into memory and opened as Vondal opens it.
class WrittenLog {
 public:
  WrittenLog(int records, const std::string& options)
      : result_(WriteDummyLog(Command(records, options), fs_, folder_.Write("CGlist3.TXT", kFixtureCityList),
                              [](int) {})) {
    ResetFieldTable();
    opened_ = logFile_.OpenLog("DUMMY.VD");
  }

  // "" when the log was written and opens.
  std::string Problem() const { return result_.empty() ? opened_ : result_; }
  int RecordCount() const { return logFile_.RecordCount(); }

  // Record i as Vondal reads it; a failure when it would not pass the checks of WriteRecord (in
  // the `compatible` mode too) or the record budget.
  Record Read(int i) {
    Record r;
    CopyTexts(logFile_.ReadRecord(i), r);
    size_t used = 0;
    for (int f = 0; f < kStoredFieldCount; ++f) {
      EXPECT_EQ(CheckStoredField(f, r[f], true).message, "") << "record " << i << " field " << f;
      used += r[f].size();
    }
    EXPECT_LE(used, static_cast<size_t>(kRecordBudget)) << "record " << i;
    return r;
  }

 private:
  TemporaryFolder folder_;
  MemoryFileSystem fs_;
  WriteCounters counters_;
  RecordIndex index_{counters_};
  SafetyFile safety_{fs_, counters_};
  vondal::testing::RecordingUi ui_;
  LogFile logFile_{fs_, counters_, index_, safety_, ui_};
  std::string result_;
  std::string opened_;
};

TEST(DummyLogTest, StrictCheckAndMemoryStatisticsKeepRecordsWritable) {
  WrittenLog log(5000, "-U -!");
  ASSERT_EQ(log.Problem(), "");
  ASSERT_EQ(log.RecordCount(), 5000);
  for (int i = 0; i < 5000 && !::testing::Test::HasFailure(); ++i) log.Read(i);
}

// 100,001 records (the last with a 6-digit index) written as a log, opened and checked as Vondal
// would, and every record compared with the rules it was built by.
TEST(DummyLogTest, HundredThousandRecordsOpenInVondalAndFollowTheirRules) {
  constexpr int kRecords = 100001;
  WrittenLog log(kRecords, "-D20");
  ASSERT_EQ(log.Problem(), "");
  ASSERT_EQ(log.RecordCount(), kRecords);

  const CityLists cities = FixtureCities();
  std::vector<int> bandUse(kBandCount);
  int newStations = 0, newForeign = 0, newYearParty = 0, cardsFromJapan = 0, japanEarly = 0;
  int32_t previousKey = -1;
  Record r, next = log.Read(0);
  for (int i = 0; i < kRecords && !::testing::Test::HasFailure(); ++i) {
    r = next;
    if (i + 1 < kRecords) next = log.Read(i + 1);
    SCOPED_TRACE("record " + std::to_string(i) + " " + r[CALLSIGN]);

    // Dates only go forward; a contact ends before the next one starts, on its own date.
    const int32_t key = DateTimeKey(r[DATE], r[START]);
    ASSERT_GE(key, previousKey);
    previousKey = key;
    const int start = std::stoi(r[START].substr(0, 2)) * 60 + std::stoi(r[START].substr(2));
    const int length =
        (std::stoi(r[END].substr(0, 2)) * 60 + std::stoi(r[END].substr(2)) - start + 1440) % 1440;
    ASSERT_LT(length, 15);
    if (i + 1 < kRecords) {
      ASSERT_LE(key + length, DateTimeKey(next[DATE], next[START]));
    }

    const int band = BandOf(r[FREQ]);
    ASSERT_GE(band, 0) << r[FREQ];
    ++bandUse[band];
    ASSERT_EQ(r[MODE], "CW");
    ASSERT_TRUE(jstrwldc("5#9", r[sRST], false) && jstrwldc("5#9", r[rRST], false));
    ASSERT_EQ(r[MyQTH], "Vonfill w01.020");
    const std::string n = std::to_string(i);
    ASSERT_EQ(r[sQSL], n.size() < 6 ? "#" + std::string(5 - n.size(), '.') + n : n);

    const size_t slash = r[CALLSIGN].find('/');
    const std::string call = r[CALLSIGN].substr(0, slash);
    const std::string suffix = slash == std::string::npos ? "" : r[CALLSIGN].substr(slash + 1);
    const bool author = call == kAuthorCallsign && i == kRecords / 12;
    const StationKind kind = author ? StationKind::kJapanese : KindOfCallsign(call);
    const bool repeat = r[REMARKS].find("回数[") != std::string::npos;

    // QTH: at sea, abroad, Ogasawara, or a name of the station's call area.
    if (suffix == "MM") {
      ASSERT_TRUE(jstrwldc("##@ ###@", r[QTH], false)) << r[QTH];
    } else if (r[QTH] == "DX") {
      ASSERT_EQ(kind, StationKind::kForeign);
    } else if (!r[QTH].empty() && !author && !r[QTH].starts_with("小笠原郡(")) {
      ASSERT_EQ(kind, StationKind::kJapanese);
      const std::vector<std::string>& names = cities.names(AreaOf(call, suffix));
      ASSERT_NE(std::find(names.begin(), names.end(), r[QTH]), names.end()) << r[QTH];
    }
    if (!repeat) {
      ASSERT_TRUE(r[QTH].empty() == false || suffix == "MM");
    }
    ASSERT_TRUE(r[NAME].empty() || (IsAsciiUpper(r[NAME][0]) && r[NAME].size() >= 2 && r[NAME].size() <= 7));

    const std::string_view monthDay = std::string_view(r[DATE]).substr(2, 4);
    const bool party = kind == StationKind::kJapanese && ((monthDay == "0102" && r[START] >= "0900") ||
                                                          (monthDay == "0103" && r[START] < "2100"));
    ASSERT_EQ(r[CONTEST], party ? "NYP" : "");
    newYearParty += party;

    // No card has come back yet for the last contacts.
    if (i > kRecords - 2000 || (kind == StationKind::kForeign && i > kRecords - 3000)) {
      ASSERT_EQ(r[rQSL], "");
    }
    if (kind == StationKind::kJapanese && i <= kRecords - 4000) {
      ++japanEarly;
      cardsFromJapan += r[rQSL] == "+";
    }
    if (!repeat && !author) {
      ++newStations;
      newForeign += kind == StationKind::kForeign;
    }
  }
  for (int b = 0; b < kBandCount; ++b) EXPECT_GT(bandUse[b], 100) << kBands[b].text;
  EXPECT_NEAR(static_cast<double>(newForeign) / newStations, 0.2, 0.01);
  EXPECT_NEAR(static_cast<double>(cardsFromJapan) / japanEarly, 0.5, 0.02);
  EXPECT_GT(newYearParty, 0);
}

TEST(DummyLogTest, AFixedSeedGivesTheSameLogEverywhere) {
  TemporaryFolder folder;
  MemoryFileSystem fs;
  ASSERT_EQ(WriteDummyLog(Command(50), fs, folder.Write("CGlist3.TXT", kFixtureCityList), [](int) {}), "");
  const std::string golden = VONDAL_SOURCE_DIR "/tools/vonfill/testdata/seed1_50.VD";
  if (std::getenv("VONDAL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(golden, std::ios::binary) << fs.Contents("DUMMY.VD");
  }
  std::ifstream in(golden, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(fs.Contents("DUMMY.VD"), expected.str());
}

}  // namespace
}  // namespace vondal::vonfill
