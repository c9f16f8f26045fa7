// Vonfill figures: the whole program writing a dummy log of 1,000,000 records (or the count given
// as the first argument) beside dd writing the same number of bytes, both synced to the disk; and
// the strict call-sign check (-U), which is quadratic by design, at 10,000 records beside the same
// run without it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_support.h"

using namespace vondal;

namespace {

// The command of vonfill writing `records` records (fixed seed) with `options`.
std::string VonfillCommand(const std::string& vonfill, const std::string& log, int records,
                           const char* options) {
  return "rm -f '" + log + "' && '" + vonfill + "' '" + log + "' " + std::to_string(records) + " -S1 " +
         options + " >/dev/null";
}

// The command of dd writing the bytes of `records` records and syncing them.
std::string DdCommand(const std::string& file, int records) {
  return "dd if=/dev/zero of='" + file +
         "' bs=1M iflag=count_bytes count=" + std::to_string(records * 200LL) + " conv=fsync status=none";
}

// The best times of three runs each of two commands, by turns.
bench::BestPair ByTurns(const std::string& subject, const std::string& reference) {
  return bench::BestOfByTurns(
      3, [&] { bench::Run(subject); }, [&] { bench::Run(reference); });
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string bin = bench::ProgramsFolder();
  const std::string vonfill = bin + "/vonfill";
  if (access(vonfill.c_str(), X_OK) != 0 || access((bin + "/CGlist3.TXT").c_str(), R_OK) != 0) {
    std::fprintf(stderr, "vonfill and CGlist3.TXT must be built into %s\n", bin.c_str());
    return 2;
  }
  const std::string folder = bench::TemporaryFolder();
  const std::string log = folder + "/BENCH.VD";
  const std::string raw = folder + "/dd.out";

  std::printf("vonfill, %d records (%lld bytes); dd writes as many bytes with conv=fsync\n", records,
              records * 200LL);
  char what[64];
  std::snprintf(what, sizeof what, "vonfill %d records", records);
  const bench::BestPair full = ByTurns(VonfillCommand(vonfill, log, records, ""), DdCommand(raw, records));
  bench::Report(what, full.subject, "dd, same bytes", full.reference, 3);

  constexpr int kStrictRecords = 10000;
  std::snprintf(what, sizeof what, "vonfill -U %d records", kStrictRecords);
  const bench::BestPair strict = ByTurns(VonfillCommand(vonfill, log, kStrictRecords, "-U"),
                                         VonfillCommand(vonfill, log, kStrictRecords, ""));
  bench::Report(what, strict.subject, "the same without -U", strict.reference, 0);
  bench::RemoveFolder(folder);
  return 0;
}
