// Searches of the record editor on a log of 1,000,000 records (or the count given as the first
// argument) with its index: a call-sign search in each comparison variant over every record of
// the index, a pre-search (the count with the search conditions), and searches with an imitation
// mask and a calculation mask (which read every record from the log); beside `grep -c` over the
// same log file and beside sqlite3 over a table of the same contacts (LIKE '%ABC%' and
// = 'JA1ABC', no index). Goals: a variant-0 search under 50 ms and faster than sqlite3's LIKE; the
// masked searches within 2x of grep -c.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "editor/editor_context.h"
#include "editor/search_filter.h"
#include "editor/search_request.h"
#include "log/log_file.h"
#include "log/record_index.h"

using namespace vondal;

namespace {

const char* const kQth[] = {"東京都千代田区", "横浜市鶴見区", "札幌市", "大阪府堺市", "名古屋市", "DX"};

void MakeContact(int n, Record& r) {
  bench::MakeContact(n, r);
  r[FREQ] = n % 3 == 0 ? "7.025" : "14.050";
  r[sRST] = "599";
  r[rRST] = "599";
  r[QTH] = kQth[n % 6];
}

// The CSV of the same contacts for sqlite3 (UTF-8, as sqlite3 keeps text).
void WriteCsv(const std::string& path, int records) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (!out) std::exit(2);
  const char* const qthUtf8[] = {"\xE6\x9D\xB1\xE4\xBA\xAC", "yokohama", "sapporo", "osaka", "nagoya", "DX"};
  for (int n = 0; n < records; ++n) {
    Record r;
    MakeContact(n, r);
    std::fprintf(out, "%s,%s,%s,%s,%s\n", r[DATE].c_str(), r[START].c_str(), r[CALLSIGN].c_str(),
                 r[FREQ].c_str(), qthUtf8[n % 6]);
  }
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string folder = bench::TemporaryFolder();
  const std::string logPath = folder + "/BENCH.VD";
  bench::WriteLog(logPath, records, MakeContact);
  WriteCsv(folder + "/contacts.csv", records);
  const std::string db = folder + "/contacts.db";
  bench::Run("sqlite3 '" + db +
             "' 'CREATE TABLE contacts(date TEXT, start TEXT, callsign TEXT, freq TEXT, qth TEXT);' "
             "'.mode csv' '.import " +
             folder + "/contacts.csv contacts'");

  bench::OpenedLog opened(logPath);
  LogFile& log = opened.log;
  RecordIndex& index = opened.index;
  ResetFieldTable();
  EditorContext context{.log = log, .index = index, .callsign = "JA1ZZZ"};
  const int count = log.RecordCount();

  // The scan of a search: the pattern against every CALLSIGN of the index, the conditions on hits.
  int hits = 0;
  auto scan = [&](const CallsignMatcher& matcher, SearchConditions& conditions) {
    RecordFilter filter(context, conditions, false);
    hits = 0;
    for (int n = 0; n < count; ++n) hits += matcher.Matches(index[n].callsign) && filter.Passes(n);
  };

  // Into a file: grep stops at the first match when its output is /dev/null.
  const double grep =
      bench::BestOf(3, [&] { bench::Run("grep -c ABC '" + logPath + "' > '" + folder + "/grep.out'"); });
  const double like = bench::BestOf(3, [&] {
    bench::Run("sqlite3 '" + db +
               "' \"SELECT count(*) FROM contacts WHERE callsign LIKE '%ABC%';\" > /dev/null");
  });
  const double equal = bench::BestOf(3, [&] {
    bench::Run("sqlite3 '" + db +
               "' \"SELECT count(*) FROM contacts WHERE callsign = 'JA1ABC';\" > /dev/null");
  });
  std::printf(
      "call-sign searches over the index, %d records (grep -c %.4f s, sqlite3 LIKE %.4f s, = %.4f s)\n",
      count, grep, like, equal);

  const struct {
    int key;
    const char* typed;
    const char* what;
  } variants[] = {
      {' ', "ABC", "variant 0 (blank) *ABC*"}, {'\\', "JA1ABC/2", "variant 1 (\\) JA1ABC(/*)"},
      {',', "JA1ABD", "variant 2 (,) JA1ABD"}, {'.', "JA1AB", "variant 3 (.) JA1AB"},
      {';', "JA1ABC", "variant 4 (;) JA1ABC"}, {':', "JA1ABC", "variant 5 (:) JA1ABC"},
  };
  SearchConditions none;
  double variant0 = 0;
  for (const auto& v : variants) {
    const SearchRequest request = RequestOfKey(v.key, CALLSIGN);
    const CallsignMatcher matcher(BuildPattern(request, v.typed), request.variant);
    const double seconds = bench::BestOf(3, [&] { scan(matcher, none); });
    if (v.key == ' ') variant0 = seconds;
    std::printf("  %-30s %8.4f s  %7d hits   ratio to LIKE %5.2f\n", v.what, seconds, hits, seconds / like);
  }
  std::printf("goal: variant 0 under 50 ms (%s) and faster than sqlite3's LIKE (%s)\n",
              variant0 < 0.05 ? "met" : "NOT MET", variant0 < like ? "met" : "NOT MET");

  // A pre-search counts with the conditions: JA only and unmarked records.
  SearchConditions presearch;
  presearch.jaDx = 'J';
  presearch.markCondition = ' ';
  const CallsignMatcher all("*", 0);
  const double pre = bench::BestOf(3, [&] { scan(all, presearch); });
  std::printf("  %-30s %8.4f s  %7d hits   ratio to LIKE %5.2f\n", "pre-search, JA and unmarked", pre, hits,
              pre / like);

  // Masks read every record from the log.
  SearchConditions imitation;
  imitation.maskType = 'M';
  imitation.mask[QTH] = "東京*";
  const double masked = bench::BestOf(3, [&] { scan(all, imitation); });
  SearchConditions calculation;
  calculation.maskType = 'C';
  calculation.calculation.Compile("QTH = \"東京*\" & FREQ < 10", true);
  const double calculated = bench::BestOf(3, [&] { scan(all, calculation); });
  std::printf("searches that read the records, beside grep -c over the log file\n");
  bench::Report("imitation mask on QTH", masked, "grep -c", grep, 2);
  bench::Report("calculation mask", calculated, "grep -c", grep, 2);
  bench::RemoveFolder(folder);
  return 0;
}
