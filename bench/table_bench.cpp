// The tables of the processing menu on a log of 1,000,000 records (or the count given as the
// first argument), each over every record and written, synced and put in place as the menu does
// it, beside `cat` of the log. Goals: every table within 5x of cat; the word tables that sort many
// distinct words (the call-sign bodies, some 350,000 of them) within 10x.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "citylist/city_list.h"
#include "log/field_table.h"
#include "log/log_file.h"
#include "log/record_index.h"
#include "output/table_cities.h"
#include "output/table_count_reports.h"
#include "output/table_field_reports.h"
#include "output/table_word_specs.h"
#include "output/table_words.h"

using namespace vondal;

namespace {

// A place in each call area, by the area's digit: a log's QTH is nearly always in the call's own
// area (a contact in six gives none and is counted by its exchange).
const char* const kQth[] = {"長野市", "東京都千代田区", "名古屋市", "大阪府堺市", "広島市",
                            "松山市", "福岡市",         "仙台市",   "札幌市",     "金沢市"};
const char* const kFreq[] = {"7.025", "14.050", "21.200", "3.525", "50.100", "144.500", "7.150"};
const char* const kRemarks[] = {"QSL[JARL];ﾒﾓ", "", "a;b;a", "FB QSO;PWR(5)"};

void MakeContact(int n, Record& r) {
  bench::MakeContact(n, r);
  r[END][3] = static_cast<char>('0' + (n + 3) % 10);
  r[FREQ] = kFreq[n % 7];
  r[MODE] = n % 5 == 0 ? "SSB" : "CW";
  r[sRST] = n % 5 == 0 ? "59" : "599";
  // The exchange of a contest of these years: the report, the prefecture (10) and three digits.
  r[rRST] = n % 5 == 0 ? "5710001" : "57910001";
  // The call's area digit is n % 10; one contact in 64 names a place of the next area, which
  // the table reports as a problem line.
  r[QTH] = n % 6 == 5 ? "" : kQth[(n + (n % 64 == 0)) % 10];
  r[CONTEST] = n % 6 == 5 ? "ALLJA" : "";
  r[REMARKS] = kRemarks[n % 4];
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string folder = bench::TemporaryFolder();
  const std::string logPath = folder + "/BENCH.VD";
  bench::WriteLog(logPath, records, MakeContact);
  bench::OpenedLog opened(logPath);
  ResetFieldTable();
  TheCityList().LoadFile(bench::ProgramsFolder() + "/CGlist3.TXT");
  TheOutputParameters() = DefaultOutputParameters(folder, logPath);
  OutputParameters& p = TheOutputParameters();
  p[kTarget].Choose(kAllRecords);
  p[kWordField].Choose(REMARKS);
  OutputContext context{opened.log, opened.index, RealFileSystem(), logPath};
  context.contest.families[kFamilyJarl] = {"ALLJA"};

  const auto cat = [&] { bench::Run("cat '" + logPath + "' > /dev/null"); };
  std::printf("tables of %d records (the log %lld bytes)\n", records,
              static_cast<long long>(opened.log.RecordCount()) * kRecordSize);
  int64_t reportBytes = 0;
  auto table = [&](const char* what, std::vector<int> list, std::function<void(OutputJob&)> body,
                   double goal) {
    const bench::BestPair best = bench::BestOfByTurns(
        2,
        [&] {
          OutputJob job(context, list);
          job.file = std::make_unique<OutputFile>(RealFileSystem());
          if (!job.file->Open(p[kTableFile].value, OutputFile::Mode::kReplace)) std::exit(2);
          job.file->Append(ReportHeader(job, what));
          body(job);
          if (!job.file->Finish()) std::exit(2);
          reportBytes = job.file->bytesWritten();
        },
        cat);
    bench::Report(what, best.subject, "cat of the log", best.reference, goal);
  };
  // Every table walks the target records through the frame's iterator: that walk alone is the
  // floor of all of them.
  table(
      "the target records alone", {6, 7, 8},
      [](OutputJob& j) {
        int targets = 0;
        for (int n = 0; n < j.context.log.RecordCount(); ++n) targets += j.Target(n) != nullptr;
        if (targets == 0) std::exit(2);
      },
      0);
  table("year/month (month)", {6, 7, 8, 14, 15}, WriteYearMonthTable, 5);
  table("day of week", {6, 7, 8}, WriteDayOfWeekTable, 5);
  table("call area", {6, 7, 8}, WriteCallAreaTable, 5);
  table("band/mode", {6, 7, 8}, WriteBandModeTable, 5);
  table(
      "start time", {6, 7, 8, 16}, [](OutputJob& j) { WriteTimeTable(j, 'S'); }, 5);
  table(
      "time on the air", {6, 7, 8, 16}, [](OutputJob& j) { WriteTimeTable(j, 'T'); }, 5);
  table(
      "contact length", {6, 7, 8, 16}, [](OutputJob& j) { WriteTimeTable(j, 'L'); }, 5);
  table("operating days", {6, 7, 8, 14, 15}, WriteOperatingDaysTable, 5);
  table(
      "words of REMARKS", {6, 7, 8, 17, 18, 19, 20, 25, 26, 27, 28},
      [](OutputJob& j) { WriteWordTable(j, 'W'); }, 5);
  table(
      "character runs of REMARKS", {6, 7, 8, 17, 18, 19, 21, 22, 25, 26, 27, 28},
      [](OutputJob& j) { WriteWordTable(j, 'E'); }, 5);
  table(
      "subfield names of REMARKS", {6, 7, 8, 17, 18, 19, 20, 23, 25, 26, 27, 28},
      [](OutputJob& j) { WriteWordTable(j, 'S'); }, 5);
  table(
      "frequencies", {6, 7, 8, 24, 27, 28}, [](OutputJob& j) { WriteWordTable(j, 'F'); }, 5);
  table(
      "call-sign prefixes", {6, 7, 8, 25, 26, 27, 28}, [](OutputJob& j) { WriteWordTable(j, 'P'); }, 5);
  // The bodies are nearly all distinct: the working memory of the largest `memory` setting.
  table(
      "call-sign bodies, sorted", {6, 7, 8, 25, 26, 27, 28},
      [](OutputJob& j) { WriteWordTable(j, 'B', 10000000); }, 10);
  p[kSortChoice].Choose(3);  // by frequency, descending
  table(
      "call-sign bodies, by frequency", {6, 7, 8, 25, 26, 27, 28},
      [](OutputJob& j) { WriteWordTable(j, 'B', 10000000); }, 10);
  table("continuity of REMARKS", {6, 7, 8, 17, 18, 19, 29, 30}, WriteContinuityTable, 5);
  table("data volume", {6, 7, 8}, WriteDataVolumeTable, 5);
  table("characters of REMARKS", {6, 7, 8, 17, 18, 19}, WriteCharacterTable, 5);
  table(
      "city/gun", {6, 7, 8, 31, 32}, [](OutputJob& j) { WriteCityTable(j); }, 5);
  std::printf("  (the city/gun report %lld bytes)\n", static_cast<long long>(reportBytes));
  bench::RemoveFolder(folder);
  return 0;
}
