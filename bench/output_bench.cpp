// The log outputs on a log of 1,000,000 records (or the count given as the first argument): CSV
// and ADIF export of every record and the packed log (each written, synced and put in place as
// the menu does it), beside `cp` of the log; the standard ADIF 3.1 export beside the log's own
// ADIF export; the count of target records with a selection expression, beside `grep -c` over
// the log file. Goals: the exports and the packed log within 3x of cp, the standard ADIF export
// within 1.5x of the log's own, the count within 2x of grep -c.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "log/field_table.h"
#include "log/log_file.h"
#include "log/record_index.h"
#include "output/log_outputs.h"
#include "output/standard_adif.h"

using namespace vondal;

namespace {

const char* const kQth[] = {"東京都千代田区", "横浜市鶴見区", "札幌市", "大阪府堺市", "名古屋市", "DX"};
const char* const kFreq[] = {"7.025", "14.050", "21.200", "3.525", "50.100", "144.500", "7.150"};

void MakeContact(int n, Record& r) {
  bench::MakeContact(n, r);
  if (n % 6 == 5) r[CALLSIGN][0] = 'W';  // a DX station
  r[END][3] = static_cast<char>('0' + (n + 3) % 10);
  r[FREQ] = kFreq[n % 7];
  r[MODE] = n % 5 == 0 ? "SSB" : "CW";
  r[sRST] = n % 5 == 0 ? "59" : "599";
  r[rRST] = n % 5 == 0 ? "57" : "579";
  r[QTH] = kQth[n % 6];
  r[NAME] = "Taro";
  r[RIG] = "IC-7300";
  r[REMARKS] = n % 3 == 0 ? "QSL[JARL];ﾒﾓ" : "";
  r[MyQTH] = "千葉市";
  r[sQSL] = "J";
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string folder = bench::TemporaryFolder();
  const std::string logPath = folder + "/BENCH.VD";
  bench::WriteLog(logPath, records, MakeContact);

  bench::OpenedLog opened(logPath);
  LogFile& log = opened.log;
  RecordIndex& index = opened.index;
  ResetFieldTable();
  TheOutputParameters() = DefaultOutputParameters(folder, logPath);
  OutputParameters& p = TheOutputParameters();
  p[kTarget].choice = kAllRecords;
  // The packed log's default name has no folder: it would land in the working one.
  p[kPackedFile].value = folder + "/BENCH.VDP";
  OutputContext context{log, index, RealFileSystem(), logPath};

  // One output as the menu runs it, from the confirmed form to the file in place.
  auto output = [&](std::vector<int> list, auto&& body) {
    OutputJob job(context, list);
    job.fields = ParseFieldSelection(p[kFields].value);
    job.targetCount = CountTargets(job);
    job.file = std::make_unique<OutputFile>(RealFileSystem());
    if (!job.file->Open(p[list.front()].value, OutputFile::Mode::kReplace)) std::exit(2);
    body(job);
    if (!job.file->Finish()) std::exit(2);
    return job.file->bytesWritten();
  };
  int64_t csvBytes = 0, adifBytes = 0, packedBytes = 0;
  const std::string copy = folder + "/copy.VD";
  const auto cp = [&] { bench::Run("cp '" + logPath + "' '" + copy + "'"); };
  const bench::BestPair csv = bench::BestOfByTurns(
      3,
      [&] {
        csvBytes = output({kCsvFile, kTarget, kSelection, kFields}, [](OutputJob& j) { WriteCsv(j); });
      },
      cp);
  const bench::BestPair adif = bench::BestOfByTurns(
      3,
      [&] {
        adifBytes = output({kAdifFile, kTarget, kSelection, kFields}, [](OutputJob& j) { WriteAdif(j); });
      },
      cp);
  int64_t standardBytes = 0;
  const bench::BestPair standard = bench::BestOfByTurns(
      3,
      [&] {
        standardBytes = output({kAdifFile, kTarget, kSelection},
                               [](OutputJob& j) { WriteStandardAdif(j, false, 1710471845); });
      },
      [&] {
        adifBytes = output({kAdifFile, kTarget, kSelection, kFields}, [](OutputJob& j) { WriteAdif(j); });
      });
  p[kPacking].choice = 1;
  const bench::BestPair packed = bench::BestOfByTurns(
      3,
      [&] {
        packedBytes =
            output({kPackedFile, kTarget, kSelection, kPacking}, [](OutputJob& j) { WritePackedLog(j); });
      },
      cp);
  std::printf(
      "outputs of %d records (the log %lld bytes; CSV %lld, ADIF %lld, standard ADIF %lld, high-packed %lld "
      "bytes)\n",
      records, static_cast<long long>(log.RecordCount()) * kRecordSize, static_cast<long long>(csvBytes),
      static_cast<long long>(adifBytes), static_cast<long long>(standardBytes),
      static_cast<long long>(packedBytes));
  bench::Report("CSV export, all records", csv.subject, "cp of the log", csv.reference, 3);
  bench::Report("ADIF export, all records", adif.subject, "cp of the log", adif.reference, 3);
  bench::Report("standard ADIF export, all records", standard.subject, "the log's own ADIF export",
                standard.reference, 1.5);
  bench::Report("packed log (high)", packed.subject, "cp of the log", packed.reference, 3);

  // The count with a selection expression reads and evaluates every record.
  p[kTarget].choice = kSelectedRecords;
  int selected = 0;
  const bench::BestPair count = bench::BestOfByTurns(
      3,
      [&] {
        OutputJob job(context, {kCsvFile, kTarget, kSelection});
        if (job.selection.Compile("FREQ >= 7 & FREQ < 7.3 & !ja", true) != kConditionOk) std::exit(2);
        selected = CountTargets(job);
      },
      [&] { bench::Run("grep -c ABC '" + logPath + "' > '" + folder + "/grep.out'"); });
  std::printf("target count with FREQ >= 7 & FREQ < 7.3 & !ja: %d records\n", selected);
  bench::Report("target count, expression", count.subject, "grep -c over the log", count.reference, 2);
  bench::RemoveFolder(folder);
  return 0;
}
