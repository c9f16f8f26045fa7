// Shared pieces of the table tests: a fixture log of a few hundred contacts built for the tables,
// a job over it as a confirmed form hands it over, and the comparison of a report with its
// expected file under output/testdata/ (VONDAL_UPDATE_EXPECTED=1 writes the files anew; read the
// change before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/text/charset.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "log/field_table.h"
#include "log/log_test_support.h"
#include "output/output_frame.h"

namespace vondal::testing {

// A contact of the fields the count tables read.
inline Record CountedContact(std::string date, std::string start, std::string end, std::string call,
                             std::string freq, std::string mode) {
  Record r;
  r[DATE] = date;
  r[START] = start;
  r[END] = end;
  r[CALLSIGN] = call;
  r[FREQ] = freq;
  r[MODE] = mode;
  return r;
}

// 300 contacts from 2009 to 2013 with none in 2012, on bands from 1.9 MHz to 430 MHz and outside
// every band, in every mode and in one no mode knows; then the contacts the tables single out.
inline std::vector<Record> TableFixtureRecords() {
  unsigned seed = 20091203;
  auto next = [&seed](unsigned range) {
    seed = seed * 1103515245 + 12345;
    return (seed >> 8) % range;
  };
  const char* calls[] = {"JA1ABC", "JH2XYZ/3", "JR3QQQ", "JE4AAA",  "JA5BB",  "JF6CCC/6", "JA7DDD",
                         "JA8EEE", "JA9FFF",   "JA0GGG", "JD1BCD",  "7K1XYZ", "7M4MON",   "W1AW",
                         "DL1ABC", "JA1ABC/0", "8J1RL",  "JA1ZZ/P", "VK2ABC", "JA3ABC/1"};
  const char* freqs[] = {"1.9",     "3.525",  "7.010",  "7.012",  "7.014",  "7.100",  "10.120",
                         "14.0255", "14.050", "21.200", "28.500", "144.50", "430.00", "9.000"};
  const char* modes[] = {"CW", "CW", "SSB", "SSB", "FM", "AM", "RTTY", "PSK31", "DV"};
  const char* qths[] = {"", "", "札幌市", "横浜市鶴見区", "千代田区", "伊達市", "北海道阿寒郡", "大阪市"};
  const char* remarks[] = {"", "a;b;a", "QSL[J];PWR(5)", "abc QSL[x]", "ﾃｽﾄ;QSL[J]", "Ｊ　ＡＲＬ", "a;;b"};
  std::vector<Record> records;
  int day = 0;
  for (int n = 0; n < 300; ++n) {
    day += next(6);
    int year = 2009 + day / 200;
    if (year == 2012) {
      day += 200;
      year = 2013;
    }
    Record r;
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02d", year % 100, 1 + day / 16 % 12, 1 + day % 16 * 2 % 28);
    r[DATE] = text;
    const int start = static_cast<int>(next(1440));
    const int end = (start + static_cast<int>(next(40))) % 1440;
    std::snprintf(text, sizeof text, "%02d%02d", start / 60, start % 60);
    r[START] = text;
    std::snprintf(text, sizeof text, "%02d%02d", end / 60, end % 60);
    r[END] = text;
    r[CALLSIGN] = calls[next(20)];
    r[FREQ] = freqs[next(14)];
    r[MODE] = modes[next(9)];
    r[sRST] = "599";
    r[rRST] = "579";
    r[QTH] = qths[next(8)];
    r[REMARKS] = remarks[next(7)];
    records.push_back(r);
  }
  auto add = [&](auto... texts) { records.push_back(CountedContact(texts...)); };
  add("130501", "2350", "0010", "JA1ABC", "7.010", "CW");    // across midnight
  add("130502", "2460", "2470", "JA1ABC", "7.010", "CW");    // a bad start
  add("130502", "2500", "2510", "JA1ABC", "7.010", "CW");    // minute 1500
  add("130503", "1200", "12:5", "JA1ABC", "7.010", "CW");    // a bad end
  add("130504", "0900", "0905", "JA2AAA", "50.200", "SSB");  // 50 MHz: 2 SSB, 1 FM
  add("130504", "0910", "0915", "JA2AAB", "50.200", "SSB");
  add("130504", "0920", "0925", "JA2AAC", "50.200", "FM");
  add("130505", "1000", "1002", "JA3AAA", "1200.", "CW");  // 1200 MHz: 3 CW
  add("130505", "1010", "1012", "JA3AAB", "1200.", "CW");
  add("130506", "1020", "1022", "JA3AAC", "1200.", "CW");
  return records;
}

class TableTest : public ::testing::Test {
 protected:
  TableTest() : set(fs) {
    AttachConsole(&screen, &terminal);  // the tables show their progress and notices on line 13
    ResetFieldTable();
    UseRecords(TableFixtureRecords());
  }

  void UseRecords(const std::vector<Record>& records) {
    std::string log;
    for (const Record& r : records) {
      const RecordImage image = EncodeRecord(r);
      log.append(image.begin(), image.end());
    }
    fs.SetContents("T.VD", log);
    EXPECT_EQ(set.log.OpenLog("T.VD"), "");
    std::vector<char> buffer(kIndexBufferSize);
    EXPECT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
    TheOutputParameters() = DefaultOutputParameters("", "T.VD");
  }

  // A job over every record with its file open and the report header written.
  OutputJob Job(const std::vector<int>& list, const std::string& title) {
    OutputJob job(context, list);
    job.parameters[kTarget].Choose(kAllRecords);
    job.targetCount = CountTargets(job);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open(job.parameters[list.front()].value, OutputFile::Mode::kReplace));
    job.file->Append(ReportHeader(job, title));
    return job;
  }

  // The job's file once finished.
  std::string Report(OutputJob& job) {
    EXPECT_TRUE(job.file->Finish());
    return fs.Contents(job.file->name());
  }

  ~TableTest() override { AttachConsole(nullptr, nullptr); }

  Screen screen{80, 25};
  FakeTerminal terminal{80, 25};
  MemoryFileSystem fs;
  LogSet set;
  OutputContext context{set.log, set.index, fs, "T.VD"};
};

inline std::string ExpectedPath(const std::string& name) {
  return std::string(VONDAL_SOURCE_DIR) + "/output/testdata/" + name;
}

// The lines where two reports part, in UTF-8, for the failure message.
inline std::string LineDiff(const std::string& expected, const std::string& actual) {
  std::istringstream e(expected);
  std::istringstream a(actual);
  std::string out;
  std::string el;
  std::string al;
  int line = 1;
  int shown = 0;
  for (;; ++line) {
    const bool he = static_cast<bool>(std::getline(e, el));
    const bool ha = static_cast<bool>(std::getline(a, al));
    if (!he && !ha) break;
    if (he && ha && el == al) continue;
    out += "line " + std::to_string(line) + "\n  - " + (he ? Cp932ToUtf8(el) : "(none)") + "\n  + " +
           (ha ? Cp932ToUtf8(al) : "(none)") + "\n";
    if (++shown == 10) break;
  }
  return out;
}

// The report byte for byte against output/testdata/<name>.
inline void ExpectReport(const std::string& name, const std::string& report) {
  if (std::getenv("VONDAL_UPDATE_EXPECTED") != nullptr) {
    std::ofstream(ExpectedPath(name), std::ios::binary) << report;
    return;
  }
  std::ifstream file(ExpectedPath(name), std::ios::binary);
  ASSERT_TRUE(file) << "missing " << ExpectedPath(name);
  std::stringstream expected;
  expected << file.rdbuf();
  EXPECT_TRUE(report == expected.str()) << name << " differs:\n" << LineDiff(expected.str(), report);
}

}  // namespace vondal::testing
