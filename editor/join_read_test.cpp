#include "editor/join_read.h"

#include <gtest/gtest.h>

#include "editor/join_test_support.h"
#include "log/date_time.h"

namespace vondal {
namespace {

using testing::Image;
using testing::KeptRows;
using testing::LogSet;
using testing::ValidRecord;

constexpr const char* kLog = testing::kJoinLog;
constexpr const char* kJournal = testing::kJoinJournal;
using testing::FixedTime;

// One line checked on its own: the reason, or "" with the kind and the image.
struct Checked {
  std::string reason;
  JoinLineKind kind{};
  std::string image;
};

std::vector<Checked> CheckLines(JoinFormat format, const std::vector<std::string>& lines) {
  JoinChecker checker(format);
  std::vector<Checked> out;
  for (const std::string& line : lines) {
    Checked c;
    char image[kRecordSize];
    c.reason = checker.Check(line, c.kind, image);
    if (c.reason.empty() && c.kind == JoinLineKind::kRecord) c.image.assign(image, kRecordSize);
    out.push_back(c);
  }
  return out;
}

// A record image's 198 bytes without the padding, as a packed or plain line would give them.
std::string Line(const Record& r) {
  std::string image = Image(r).substr(0, kTextArea);
  return image;
}

std::string Csv(const std::string& separator, const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) line += (i ? separator : "") + fields[i];
  return line;
}

TEST(JoinFormatTest, ExtensionsInEitherCaseAndNothingElse) {
  EXPECT_EQ(JoinFormatOf("a/2023.vd"), JoinFormat::kLog);
  EXPECT_EQ(JoinFormatOf("X.VDS"), JoinFormat::kSafety);
  EXPECT_EQ(JoinFormatOf("x.Vdp"), JoinFormat::kPacked);
  EXPECT_EQ(JoinFormatOf("x.VDT"), JoinFormat::kPackedSafety);
  EXPECT_EQ(JoinFormatOf("list.csv"), JoinFormat::kCsv);
  EXPECT_EQ(JoinFormatOf("x.VDI"), JoinFormat::kNone);
  EXPECT_EQ(JoinFormatOf("x.txt"), JoinFormat::kNone);
  EXPECT_EQ(JoinFormatOf("VD"), JoinFormat::kNone);
}

TEST(JoinCheckerTest, LogLinesAreExactly198BytesAndKeepTheirBytes) {
  const std::string good = Line(ValidRecord());
  auto out = CheckLines(JoinFormat::kLog, {good, good.substr(0, 197), good + " "});
  EXPECT_EQ(out[0].reason, "");
  EXPECT_EQ(out[0].image, Image(ValidRecord()));
  EXPECT_EQ(out[1].reason, kJoinBadLineLength);
  EXPECT_EQ(out[2].reason, kJoinBadLineLength);
  // A NUL byte or a ditto byte inside a log line, or a field longer than its field.
  std::string nul = good;
  nul[150] = '\0';
  std::string ditto = good;
  ditto[0] = '\x1F';
  Record wide = ValidRecord();
  wide[MODE] = std::string(17, 'M');
  out = CheckLines(JoinFormat::kSafety, {nul, ditto, Line(wide)});
  EXPECT_EQ(out[0].reason, kJoinBadLineLength);
  EXPECT_EQ(out[1].reason, kJoinBadSeparator);
  EXPECT_EQ(out[2].reason, kJoinFieldTooLong);
}

TEST(JoinCheckerTest, EveryFormatGivesTheLogsOwnImageWhereverTheSeparatorsFall) {
  // REMARKS of every length from 0 to 120 moves the separators behind it across the 64-byte
  // words the checker looks at; each form of the record must come back as the log's own image.
  for (size_t length = 0; length <= 120; ++length) {
    Record r = ValidRecord();
    r[REMARKS] = std::string(length, 'r');
    r[sQSL] = "J";
    const std::string expected = Image(r);
    std::vector<std::string> fields;
    for (int f = 0; f < kStoredFieldCount; ++f) fields.push_back(r[f]);
    auto out = CheckLines(JoinFormat::kLog, {Line(r)});
    ASSERT_EQ(out[0].reason, "") << length;
    EXPECT_EQ(out[0].image, expected) << length;
    for (const char* separator : {",", "\t"}) {  // each file has one separator
      out = CheckLines(JoinFormat::kCsv, {Csv(separator, fields)});
      ASSERT_EQ(out[0].reason, "") << length;
      EXPECT_EQ(out[0].image, expected) << length;
    }
  }
  // Bytes behind the seventeenth text of a log line are not part of the record.
  std::string trailing = Line(ValidRecord());
  trailing[kTextArea - 1] = 'z';
  auto out = CheckLines(JoinFormat::kLog, {trailing});
  ASSERT_EQ(out[0].reason, "");
  EXPECT_EQ(out[0].image, Image(ValidRecord()));
  // A ditto byte far inside a comma line still ends the text wrongly.
  std::vector<std::string> fields = {"240305", "0907", "0910", "JA1ABC", "7.050", "CW"};
  for (int f = 6; f < kStoredFieldCount; ++f) fields.push_back("");
  fields[REMARKS] = std::string(90, 'r') + "\x1F" + "r";
  out = CheckLines(JoinFormat::kCsv, {Csv(",", fields)});
  EXPECT_EQ(out[0].reason, kJoinBadSeparator);
}

TEST(JoinCheckerTest, TimeRecordsAreCountedAndTheFieldLengthRulesHold) {
  const std::string marker(SafetyFile::BuildMarker("＜結合読み込み開始＞", FixedTime()).data(), kTextArea);
  JoinChecker checker(JoinFormat::kSafety);
  JoinLineKind kind;
  char image[kRecordSize];
  EXPECT_EQ(checker.Check(marker, kind, image), "");
  EXPECT_EQ(kind, JoinLineKind::kTimeRecord);
  EXPECT_EQ(checker.timeRecords(), 1);
  EXPECT_EQ(checker.records(), 0);
  for (auto [field, text] : std::vector<std::pair<int, std::string>>{
           {DATE, "24030"}, {START, "09071"}, {END, "091"}, {CALLSIGN, "J"}, {FREQ, ""}, {MODE, ""}}) {
    SCOPED_TRACE(field);
    Record r = ValidRecord();
    r[field] = text;
    EXPECT_EQ(checker.Check(Line(r), kind, image), kJoinBadFieldLength);
  }
}

TEST(JoinCheckerTest, PackedLinesRepeatFieldsWithTheDittoByte) {
  const std::string first = Line(ValidRecord("JA1ABC"));
  // The second contact: DATE as before, its own START, then every field as before up to REMARKS.
  const std::string second = std::string("\x1F") + "1015\x1E" + std::string(10, '\x1F') + "QSL\x1E";
  auto out = CheckLines(JoinFormat::kPacked, {first.substr(0, first.find_last_not_of(' ') + 1), second});
  ASSERT_EQ(out[1].reason, "");
  Record expected = ValidRecord("JA1ABC", "240305", "1015");
  expected[REMARKS] = "QSL";
  EXPECT_EQ(out[1].image, Image(expected));
  // In the first line there is nothing to repeat; inside a text the byte is no ditto.
  out = CheckLines(JoinFormat::kPackedSafety, {second});
  EXPECT_EQ(out[0].reason, kJoinBadSeparator);
  out = CheckLines(JoinFormat::kPacked, {first,
                                         "240305\x1E"
                                         "09\x1F"});
  EXPECT_EQ(out[1].reason, kJoinBadSeparator);
  EXPECT_EQ(CheckLines(JoinFormat::kPacked, {first + " "})[0].reason, kJoinBadLineLength);
}

TEST(JoinCheckerTest, CsvHeadingTabsCommasAndExtraFields) {
  const std::vector<std::string> contact = {"240305", "0907", "0910", "JA1ABC", "7.050", "CW"};
  std::vector<std::string> many = contact;
  for (int i = 0; i < 14; ++i) many.push_back("x" + std::to_string(i));  // 20 fields: 17 are read
  JoinChecker checker(JoinFormat::kCsv);
  JoinLineKind kind;
  char image[kRecordSize];
  EXPECT_EQ(checker.Check("DATE,START,END,CALLSIGN,FREQ,MODE", kind, image), "");
  EXPECT_EQ(kind, JoinLineKind::kHeader);
  EXPECT_EQ(checker.Check(Csv(",", many), kind, image), "");
  EXPECT_EQ(kind, JoinLineKind::kRecord);
  const std::string joined(image, kTextArea);
  EXPECT_EQ(joined.substr(0, 36),
            "240305\x1E"
            "0907\x1E"
            "0910\x1EJA1ABC\x1E"
            "7.050\x1E"
            "CW\x1Ex0\x1E");
  EXPECT_NE(joined.find("x10\x1E"), std::string::npos);
  EXPECT_EQ(joined.find("x11"), std::string::npos);
  EXPECT_EQ(checker.headers(), 1);
  // A second heading is a faulty record; a line of only a date and a time is its own heading.
  EXPECT_EQ(checker.Check("DATE,START", kind, image), kJoinBadFieldLength);

  // TAB-separated, the commas are text; "2403050907" (a digit seventh) is a heading.
  auto out = CheckLines(JoinFormat::kCsv,
                        {"2403050907", Csv("\t", {"240305", "0907", "0910", "JA1,ABC", "7.050", "CW"})});
  EXPECT_EQ(out[0].kind, JoinLineKind::kHeader);
  ASSERT_EQ(out[1].reason, "");
  EXPECT_EQ(out[1].image.substr(17, 8), "JA1,ABC\x1E");
  // No quoting: a quoted field keeps its quotes (and here is too long for DATE).
  out = CheckLines(JoinFormat::kCsv, {Csv(",", {"240305", "0907", "0910", "\"JA1ABC\"", "7.050", "CW"}),
                                      Csv(",", {"240305", "0907", "0910",
                                                "JA1\x1E"
                                                "ABC",
                                                "7.050", "CW"})});
  EXPECT_EQ(out[0].image.substr(17, 9), "\"JA1ABC\"\x1E");
  EXPECT_EQ(out[1].reason, kJoinBadSeparator);
}

TEST(JoinCheckerTest, RecordLengthWithTheSeparatorAtByte199) {
  // 182 bytes of text: 199 with all separators, the last one is dropped.
  std::vector<std::string> fields = {"240305", "0907", "0910", "JA1ABC", "7.050", "CW"};
  const size_t used = 6 + 4 + 4 + 6 + 5 + 2;
  std::vector<std::string> full = fields;
  for (int i = 6; i < 16; ++i) full.push_back("");
  full.push_back(std::string(182 - used, 'q'));
  full[REMARKS] = std::string(182 - used - 50, 'r');
  full[rQSL] = std::string(50, 'q');
  auto out = CheckLines(JoinFormat::kCsv, {Csv("\t", full)});
  ASSERT_EQ(out[0].reason, "");
  EXPECT_EQ(out[0].image.substr(196), "qq\r\n");
  // Only ditto bytes make a line's record longer than the line: 177 bytes of text before, 6 more.
  Record first = ValidRecord();
  for (int f = sRST; f < kStoredFieldCount; ++f) first[f] = "";
  first[REMARKS] = std::string(150, 'r');
  const std::string dittos = std::string(13, '\x1F') + "\x1E\x1E\x1E";
  out = CheckLines(JoinFormat::kPacked, {Line(first), dittos + "qqqqq", dittos + "qqqqqq"});
  EXPECT_EQ(out[1].reason, "");
  EXPECT_EQ(out[1].image.substr(193), "qqqqq\r\n");
  EXPECT_EQ(out[2].reason, kJoinRecordTooLong);
}

TEST(JoinLinesTest, LineEndsPiecesAndTheLastLine) {
  MemoryFileSystem fs;
  fs.SetContents("in.csv", "a\r\nb\n\nc\r" + std::string(2500, 'x') + "\nend");
  std::unique_ptr<File> file = fs.Open("in.csv", OpenMode::kRead);
  JoinLines lines(*file);
  std::vector<std::string> got;
  for (std::string_view line; lines.Next(line);) got.emplace_back(line);
  EXPECT_FALSE(lines.failed());
  ASSERT_EQ(got.size(), 7u);
  EXPECT_EQ(got[0], "a");
  EXPECT_EQ(got[1], "b");
  EXPECT_EQ(got[2], "");
  EXPECT_EQ(got[3], "c\r" + std::string(998, 'x'));
  EXPECT_EQ(got[4].size(), 1000u);
  EXPECT_EQ(got[5], std::string(502, 'x'));
  EXPECT_EQ(got[6], "end");
}

class JoinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.SetContents(kLog, Image(ValidRecord("JA1OLD")));
    ASSERT_EQ(set.log.OpenLog(kLog), "");
    std::vector<char> buffer(4096);
    ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
    set.safety.Configure(kJournal);
  }
  JoinResult Join(const std::string& name, const std::string& bytes) {
    memory.SetContents(name, bytes);
    std::unique_ptr<File> file = faulty.Open(name, OpenMode::kRead);
    JoinContext context{.log = set.log, .index = set.index, .safety = &set.safety, .counters = set.counters};
    return JoinRead(context, *file, JoinFormatOf(name), rows);
  }

  MemoryFileSystem memory;
  FaultyFileSystem faulty{memory};
  LogSet set{faulty, FixedTime};
  KeptRows rows;
};

TEST_F(JoinTest, CsvWithAHeadingIsAppendedToLogIndexAndJournal) {
  const std::string csv =
      "DATE,START,END,CALLSIGN,FREQ,MODE\r\n"
      "240101,1200,1205,JA2XYZ,14.050,CW,599,599\r\n"
      "240102,0800,0805,JA3XYZ,7.050,SSB\r\n";
  const std::string old = memory.Contents(kLog);
  const JoinResult result = Join("/in/list.CSV", csv);
  ASSERT_TRUE(result.joined) << result.reason;
  EXPECT_EQ(result.records, 2);
  EXPECT_EQ(result.headers, 1);
  EXPECT_EQ(rows.rows[11], "1:結合レコード数 15:2 ");  // CSV counts stand at column 15
  EXPECT_EQ(rows.rows[12], "1:ヘッダ数 15:1 ");
  Record second = ValidRecord("JA2XYZ", "240101", "1200");
  for (int f = sRST; f < kStoredFieldCount; ++f) second[f] = "";
  second[END] = "1205", second[FREQ] = "14.050", second[sRST] = "599", second[rRST] = "599";
  Record third = second;
  third[DATE] = "240102", third[START] = "0800", third[END] = "0805", third[CALLSIGN] = "JA3XYZ";
  third[FREQ] = "7.050", third[MODE] = "SSB", third[sRST] = "", third[rRST] = "";
  EXPECT_EQ(memory.Contents(kLog), old + Image(second) + Image(third));
  EXPECT_EQ(set.log.RecordCount(), 3);
  EXPECT_EQ(set.log.ReadRecord(2)[CALLSIGN], "JA3XYZ");
  EXPECT_EQ(set.index.size(), 3);
  EXPECT_EQ(std::string(set.index[1].callsign), "JA2XYZ");
  EXPECT_EQ(set.index[2].key, DateTimeKey("240102", "0800"));
  EXPECT_EQ(set.counters[kCountLogJoin], 2);
  const std::string journal = memory.Contents(kJournal);
  ASSERT_EQ(journal.size(), 4u * kRecordSize);
  EXPECT_NE(journal.substr(0, 200).find("＜結合読み込み開始＞"), std::string::npos);
  EXPECT_EQ(journal.substr(200, 400), Image(second) + Image(third));
  EXPECT_NE(journal.substr(600).find("＜結合読み込み終了＞"), std::string::npos);
}

TEST_F(JoinTest, SafetyFileTimeRecordsAreSkippedAndCounted) {
  auto marker = [](const char* text) {
    RecordImage m = SafetyFile::BuildMarker(text, FixedTime());
    return std::string(m.begin(), m.end());
  };
  const std::string file =
      marker("A") + Image(ValidRecord("JA4AAA")) + marker("B") + Image(ValidRecord("JA5BBB"));
  const JoinResult result = Join("/in/old.vds", file);
  ASSERT_TRUE(result.joined);
  EXPECT_EQ(result.records, 2);
  EXPECT_EQ(result.timeRecords, 2);
  EXPECT_EQ(rows.rows[12], "1:時刻記録レコード数 19:2 ");
  // A file of nothing else is empty.
  EXPECT_EQ(Join("/in/m.VDS", marker("A") + marker("B")).reason, kJoinEmpty);
  EXPECT_EQ(Join("/in/n.VD", "").reason, kJoinEmpty);
}

TEST_F(JoinTest, AFaultyLineAnywhereWritesNothing) {
  const std::string old = memory.Contents(kLog);
  const std::string lines = Image(ValidRecord("JA4AAA")) + Image(ValidRecord("JA5BBB")).substr(1);
  const JoinResult result = Join("/in/short.VD", lines);
  EXPECT_EQ(result.reason, kJoinBadLineLength);
  EXPECT_TRUE(rows.Has(7, "17:行長が不正なので中断します"));
  EXPECT_EQ(memory.Contents(kLog), old);
  EXPECT_FALSE(memory.Exists(kJournal));
  EXPECT_EQ(set.index.size(), 1);
  EXPECT_EQ(set.counters[kCountLogJoin], 0);
}

TEST_F(JoinTest, FailuresInTheSecondPassLeaveLogIndexAndJournalAsTheyWere) {
  std::string many;
  for (int i = 0; i < 12000; ++i) many += Image(ValidRecord("JA" + std::to_string(i)));
  set.safety.WriteMarker("before");
  const std::string oldJournal = memory.Contents(kJournal);
  const std::string old = memory.Contents(kLog);
  const WriteCounters counters = set.counters;
  struct Case {
    const char* name;
    std::function<void(FaultyFileSystem::Faults&)> fault;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"second buffer", [](auto& f) { f.target = kLog, f.failWrite = 2; }, kJoinCannotWriteLog},
      {"full disk", [](auto& f) { f.target = kLog, f.spaceLeft = 1500000; }, kJoinCannotWriteLog},
      {"log sync", [](auto& f) { f.target = kLog, f.failSync = true; }, kJoinCannotWriteLog},
      {"journal", [](auto& f) { f.target = kJournal, f.failWrite = 3; }, kJoinCannotWriteSafety},
      {"journal sync", [](auto& f) { f.target = kJournal, f.failSyncAt = 2; }, kJoinCannotWriteSafety},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    faulty.faults = {};
    faulty.writeCount = faulty.syncCount = 0;
    rows.rows.clear();
    c.fault(faulty.faults);
    const JoinResult result = Join("/in/many.VD", many);
    faulty.faults = {};
    EXPECT_FALSE(result.joined);
    EXPECT_EQ(result.reason, c.reason);
    EXPECT_TRUE(rows.Has(9, "17:" + std::string(c.reason) + "ので中断します"));
    EXPECT_EQ(rows.rows[11], "1:ﾛｸﾞは結合前のままです ");
    EXPECT_EQ(memory.Contents(kLog), old);
    EXPECT_EQ(memory.Contents(kJournal), oldJournal);
    EXPECT_EQ(set.log.RecordCount(), 1);
    EXPECT_EQ(set.index.size(), 1);
    EXPECT_EQ(set.counters.count, counters.count);
    // Nothing is left for the next start to undo (unless the log's sync fails: then the next
    // start cuts the log back once more).
    const bool logSync = std::string(c.name) == "log sync";
    EXPECT_EQ(memory.Contents(WriteAheadName(kLog)).substr(16, 4),
              std::string(logSync ? "\x02" : "", logSync) + std::string(logSync ? 3 : 4, '\0'));
  }
  Record r = ValidRecord("JA9NEW");
  EXPECT_TRUE(set.log.WriteRecord(1, r).written);
  EXPECT_EQ(memory.Contents(kLog), old + Image(r));
}

}  // namespace
}  // namespace vondal
