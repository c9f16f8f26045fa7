// The join of an ADIF file of 1,000,000 contacts (or the count given as the first argument), as
// the processing menu exports them (CP932, times in JST, every field), into an empty log: beside
// the join of the same contacts as a CSV (every field, TAB-separated) and beside `cp` of the log
// the join makes. Also the join of the same file into the log it made, where every contact is
// found again and skipped. Goal: the ADIF join within 2x of the CSV join.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "editor/join_read.h"
#include "log/field_table.h"
#include "output/export_format.h"
#include "output/field_selection.h"

using namespace vondal;

namespace {

// A contact with the texts an operator fills in.
void FullContact(int n, Record& r) {
  bench::MakeContact(n, r);
  r[sRST] = "599";
  r[rRST] = n % 3 ? "579" : "599";
  r[QTH] = n % 2 ? "東京都千代田区" : "横浜市鶴見区";
  r[NAME] = n % 5 ? "ｽｽﾞｷ" : "Taro";
  r[RIG] = "IC-7300";
  r[REMARKS] = n % 4 ? "QSL[JARL]" : "";
  r[MyQTH] = "110101";
  r[MyRIG] = "FT-991A";
  r[sQSL] = "J";
}

// Writes a file through chunks of about 1 MB made by `line(n, chunk)` for every contact.
template <typename Line>
void WriteFile(const std::string& path, const std::string& head, int records, Line line) {
  FileReplacement out(RealFileSystem(), path);
  if (!out.Open()) std::exit(2);
  std::string chunk = head;
  Record r;
  for (int n = 0; n < records; ++n) {
    FullContact(n, r);
    RecordTexts texts;
    for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
    line(texts, chunk);
    if (chunk.size() >= 1 << 20) {
      out.Write(chunk.data(), chunk.size());
      chunk.clear();
    }
  }
  out.Write(chunk.data(), chunk.size());
  if (!out.Commit()) std::exit(2);
}

// Joins `input` into the log at `log` (emptied first unless `keep`); best of three, by turns with
// cp of `made`. Exits when the join fails or takes another number of records.
struct Figures {
  double join = 1e30;
  double cp = 1e30;
};

Figures TimeJoin(const std::string& folder, const std::string& log, const std::string& input, int expected,
                 bool keep) {
  Figures best;
  for (int run = 0; run < 3; ++run) {
    if (!keep) bench::Run("rm -f '" + log + "' && touch '" + log + "'");
    bench::Run("sync");
    auto opened = std::make_unique<bench::OpenedLog>(log);
    std::unique_ptr<File> file = RealFileSystem().Open(input, OpenMode::kRead);
    JoinContext context{
        .log = opened->log, .index = opened->index, .safety = &opened->safety, .counters = opened->counters};
    WorkRows rows;
    bench::Stopwatch stopwatch;
    const JoinResult result = JoinRead(context, *file, JoinFormatOf(input), rows);
    const double took = stopwatch.Seconds();
    if (!result.joined || result.records != expected) {
      std::fprintf(stderr, "join of %s: %s (%d records)\n", input.c_str(), result.reason.c_str(),
                   result.records);
      std::exit(2);
    }
    best.join = std::min(best.join, took);
    best.cp =
        std::min(best.cp, bench::BestOf(1, [&] { bench::Run("cp '" + log + "' '" + folder + "/copy'"); }));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  ResetFieldTable();
  const std::string folder = bench::TemporaryFolder();
  const std::string adif = folder + "/IN.ADI";
  const std::string csv = folder + "/IN.CSV";
  const FieldSelection all = ParseFieldSelection("DATE-rQSL");
  WriteFile(adif, AdifHeader(false), records, [&](const RecordTexts& texts, std::string& out) {
    AppendAdifRecord(out, texts, all, ";", false);
  });
  WriteFile(csv, "", records, [&](const RecordTexts& texts, std::string& out) {
    AppendCsvLine(out, texts, all, CsvOptions{});
  });

  const std::string log = folder + "/JOIN.VD";
  std::printf("ADIF join, %d records (%.0f MB of ADIF, %.0f MB of CSV)\n", records,
              static_cast<double>(RealFileSystem().Open(adif, OpenMode::kRead)->Size()) / 1e6,
              static_cast<double>(RealFileSystem().Open(csv, OpenMode::kRead)->Size()) / 1e6);
  const Figures ofCsv = TimeJoin(folder, log, csv, records, false);
  const Figures ofAdif = TimeJoin(folder, log, adif, records, false);
  bench::Report("join .ADI into an empty log", ofAdif.join, "join of the same .CSV", ofCsv.join, 2);
  bench::Report("join .ADI into an empty log", ofAdif.join, "cp of the log made",
                std::min(ofAdif.cp, ofCsv.cp), 0);
  // The log now holds every contact of the file: each is found again and skipped.
  const Figures again = TimeJoin(folder, log, adif, 0, true);
  bench::Report("join .ADI, every contact known", again.join, "join of the same .CSV", ofCsv.join, 0);
  bench::RemoveFolder(folder);
  return 0;
}
