// The standard ADIF export read back by three readers nobody here wrote: the strict npm reader
// tcadif, the npm reader adif-parser-ts and the ADIF reader of Debian's pyqso, over a log with
// Japanese texts in every field that takes them. No reader may refuse a record, and every value a
// reader reads must be the one we wrote (the _INTL fields where the reader reads them).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "log/log_format.h"
#include "log/log_test_support.h"
#include "output/standard_adif.h"
#include "tests/adif/reader_support.h"

namespace vondal {
namespace {

constexpr int64_t kNow = 1710471845;

using Item = std::pair<std::string, std::string>;  // tag, value (the file's bytes)

// What a reader read: a verdict line ("header ok", "record 3 ok", …) and its items in order.
struct Block {
  std::string verdict;
  std::vector<Item> items;
};

// One contact of the fixture: every field, Japanese where the log keeps it.
Record Contact(const char* date, const char* start, const char* end, const char* freq, const char* mode) {
  Record r;
  r[DATE] = date;
  r[START] = start;
  r[END] = end;
  r[CALLSIGN] = "JA1ABC";
  r[FREQ] = freq;
  r[MODE] = mode;
  r[sRST] = "599";
  r[rRST] = "579";
  r[QTH] = "東京都千代田区";
  r[NAME] = "ﾀﾛｳ";
  r[RIG] = "IC-7300";
  r[REMARKS] = "表示ソフト<5el> QSL済";  // 0x5C trail bytes, and "<" inside a value
  r[MyQTH] = "千葉市";
  r[MyRIG] = "ＦＴ－９９１";
  r[sQSL] = "J";
  r[rQSL] = "N";
  return r;
}

std::vector<Record> Fixture() {
  std::vector<Record> log;
  const struct {
    const char *freq, *mode;
  } contacts[] = {
      {"7.025", "CW"},   {"3.8", "SSB"},   {"1.9", "CW"},   {"10.", "RTTY"}, {"14.070", "PSK31"},
      {"14.074", "FT8"}, {"7.047", "FT4"}, {"21.2", "LSB"}, {"50.1", "AM"},  {"145.0", "FM"},
      {"430.1", "C4FM"}, {"1200.", "CW"},  {"0.136", "CW"}, {"24.", "USB"},  {"8.0", "CW"},
  };
  for (const auto& c : contacts) log.push_back(Contact("240315", "1200", "1210", c.freq, c.mode));
  // JST to UTC across midnight, month ends, 29 February, New Year and the century.
  const char* const times[][3] = {{"240301", "0500", "0530"},
                                  {"250101", "0300", "0310"},
                                  {"000101", "0100", "0110"},
                                  {"991231", "2359", "0001"}};
  for (const auto& t : times) log.push_back(Contact(t[0], t[1], t[2], "7.025", "CW"));
  // Contest exchanges behind the reports, FT8's decibels, ASCII texts and marks ADIF knows.
  Record contest = Contact("240315", "1200", "1210", "7.025", "SSB");
  contest[sRST] = "5913M";
  contest[rRST] = "5907H";
  contest[CONTEST] = "ALLJA1";
  log.push_back(contest);
  Record ft8 = Contact("240315", "1200", "1210", "14.074", "FT8");
  ft8[sRST] = "-10";
  ft8[rRST] = "+03";
  ft8[QTH] = "Chiba";
  ft8[NAME] = "Taro";
  ft8[sQSL] = "Y";
  ft8[rQSL] = "V";
  log.push_back(ft8);
  return log;
}

std::string LogFileOf(const std::vector<Record>& records) {
  std::string log;
  for (const Record& r : records) {
    const RecordImage image = EncodeRecord(r);
    log.append(image.begin(), image.end());
  }
  return log;
}

// The export of the command line, through the real files.
std::string Export(const testing::TemporaryFolder& folder, const std::vector<Record>& records) {
  const std::string log = folder.path() + "/T.VD", out = folder.path() + "/T.ADI";
  std::ofstream(log, std::ios::binary) << LogFileOf(records);
  const StandardAdifExport result = ExportStandardAdif(RealFileSystem(), log, out, false, kNow);
  EXPECT_EQ(result.message, "");
  return out;
}

std::string Upper(std::string text) {
  for (char& c : text) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return text;
}

// The file as we wrote it, each value taken by its byte count: the header, then the records.
std::vector<Block> OurBlocks(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<Block> blocks(1, Block{"header ok", {}});
  for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at)) {
    const size_t close = text.find('>', at), colon = text.find(':', at);
    const std::string tag = Upper(text.substr(at + 1, std::min(close, colon) - at - 1));
    if (tag == "EOH" || tag == "EOR") {
      blocks.push_back(Block{"record " + std::to_string(blocks.size()) + " ok", {}});
      at = close;
      continue;
    }
    const size_t length = std::stoul(text.substr(colon + 1, close - colon - 1));
    blocks.back().items.emplace_back(tag, text.substr(close + 1, length));
    at = close + 1 + length;
  }
  blocks.pop_back();  // nothing behind the last <EOR>
  return blocks;
}

// A reader's printout: verdict lines and "  TAG=value" lines.
std::vector<Block> Parse(const std::string& printout) {
  std::vector<Block> blocks;
  std::istringstream lines(printout);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  ", 0) != 0) {
      blocks.push_back(Block{line, {}});
    } else if (!blocks.empty()) {
      const size_t equals = line.find('=');
      blocks.back().items.emplace_back(line.substr(2, equals - 2), line.substr(equals + 1));
    }
  }
  return blocks;
}

std::string ReadWith(const char* script, const std::string& package, const std::string& file) {
  return ReaderOutput(std::string("'" VONDAL_NODE "' '" VONDAL_SOURCE_DIR "/tests/adif/") + script + "' '" +
                      package + "' '" + file + "'");
}

// Block by block and item by item, so that a difference names its record.
void ExpectSame(const std::vector<Block>& read, const std::vector<Block>& ours, const char* reader) {
  ASSERT_EQ(read.size(), ours.size()) << reader;
  for (size_t b = 0; b < ours.size(); ++b) {
    EXPECT_EQ(read[b].verdict, ours[b].verdict) << reader;
    EXPECT_EQ(read[b].items, ours[b].items) << reader << " in " << ours[b].verdict;
  }
}

class StandardReadersTest : public ::testing::Test {
 protected:
  testing::TemporaryFolder folder;
};

TEST_F(StandardReadersTest, TcadifReadsEveryRecordAndValueWeWrote) {
  ASSERT_TRUE(PackageInstalled(VONDAL_TCADIF_DIR, VONDAL_TCADIF_VERSION));
  const std::string file = Export(folder, Fixture());
  ExpectSame(Parse(ReadWith("read_adif.js", VONDAL_TCADIF_DIR, file)), OurBlocks(file), "tcadif");
}

TEST_F(StandardReadersTest, AdifParserTsReadsEveryRecordAndValueWeWrote) {
  ASSERT_TRUE(PackageInstalled(VONDAL_ADIF_PARSER_TS_DIR, VONDAL_ADIF_PARSER_TS_VERSION));
  const std::string file = Export(folder, Fixture());
  ExpectSame(Parse(ReadWith("read_adif_parser_ts.js", VONDAL_ADIF_PARSER_TS_DIR, file)), OurBlocks(file),
             "adif-parser-ts");
}

// pyqso keeps the fields it knows, ASCII ones only, and drops a value it finds invalid: every
// such field we wrote must come back as we wrote it. Its list of submodes is ADIF 3.0.4's, which
// has no FT4 and no C4FM yet; those two it leaves out.
TEST_F(StandardReadersTest, PyqsoReadsEveryFieldItKnowsAsWeWroteIt) {
  const std::string file = Export(folder, Fixture());
  const std::vector<Block> read = Parse(ReaderOutput(
      "'" VONDAL_DEBIAN_PYTHON "' -X utf8 '" VONDAL_SOURCE_DIR "/tests/adif/read_pyqso.py' '" + file + "'"));
  const std::set<std::string> known = {"CALL",    "QSO_DATE", "TIME_ON",  "FREQ",     "BAND",     "MODE",
                                       "SUBMODE", "RST_SENT", "RST_RCVD", "QSL_SENT", "QSL_RCVD", "NAME"};
  const std::set<Item> newer = {{"SUBMODE", "FT4"}, {"SUBMODE", "C4FM"}};
  std::vector<Block> ours = OurBlocks(file);
  ours.erase(ours.begin());  // pyqso passes over the header
  for (Block& block : ours) {
    std::vector<Item> kept;
    for (const Item& item : block.items) {
      if (known.count(item.first) && !newer.count(item)) kept.push_back(item);
    }
    std::sort(kept.begin(), kept.end());
    block.items = kept;
  }
  ExpectSame(read, ours, "pyqso");
}

// An append to a standard ADIF file writes no second header: every reader sees one header and
// the records of both runs.
TEST_F(StandardReadersTest, AnAppendedFileReadsAsOneFile) {
  const std::string file = Export(folder, Fixture());
  const std::vector<Record> more = {Contact("240316", "0800", "0805", "7.025", "CW")};
  const std::string log = folder.path() + "/M.VD";
  std::ofstream(log, std::ios::binary) << LogFileOf(more);
  testing::LogSet set(RealFileSystem());
  ASSERT_EQ(set.log.OpenLog(log), "");
  OutputContext context{set.log, set.index, RealFileSystem(), log};
  TheOutputParameters() = DefaultOutputParameters("", log);
  OutputJob job(context, {kAdifFile, kTarget, kSelection});
  job.parameters[kTarget].choice = kAllRecords;
  job.file = std::make_unique<OutputFile>(RealFileSystem());
  ASSERT_TRUE(job.file->Open(file, OutputFile::Mode::kAppend));
  WriteStandardAdif(job, false, kNow);
  ASSERT_TRUE(job.file->Finish());

  const std::vector<Block> ours = OurBlocks(file);
  ASSERT_EQ(ours.size(), Fixture().size() + 2);
  ExpectSame(Parse(ReadWith("read_adif.js", VONDAL_TCADIF_DIR, file)), ours, "tcadif");
  ExpectSame(Parse(ReadWith("read_adif_parser_ts.js", VONDAL_ADIF_PARSER_TS_DIR, file)), ours,
             "adif-parser-ts");
}

// A mode ADIF does not know has no MODE item: the strict reader refuses such a record, which is
// why the export counts these modes and names them to the user.
TEST_F(StandardReadersTest, AModeAdifDoesNotKnowIsRefusedByTheStrictReader) {
  const std::string file = Export(folder, {Contact("240315", "1200", "1210", "7.025", "DV")});
  const std::vector<Block> read = Parse(ReadWith("read_adif.js", VONDAL_TCADIF_DIR, file));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].verdict,
            "record 1 rejected : QSO missing one or more required fields: QSO_DATE, TIME_ON, CALL, BAND or "
            "FREQ, MODE");
}

}  // namespace
}  // namespace vondal
