// The city list: loading CGlist3.TXT (once per start of Vondal or Vonfill) beside reading the same
// file and cutting it into lines; looking QTHs up by name and numbers up by text (once per record
// in the inspection and the city count table) beside FindText of "市" over the same texts.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/text/program_folder.h"
#include "app/text/text_helpers.h"
#include "bench/stopwatch.h"
#include "citylist/city_list.h"

namespace {

constexpr int kLoads = 200;
constexpr size_t kLookups = 1'000'000;
constexpr int kRuns = 3;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Fastest of kRuns passes of f, in seconds per call (f runs `calls` calls per pass).
template <class F>
double PerCall(size_t calls, F f) {
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    vondal::bench::Stopwatch stopwatch;
    f();
    best = std::min(best, stopwatch.Seconds() / static_cast<double>(calls));
  }
  return best;
}

void Row(const char* what, double seconds, double reference, const char* unit, double scale) {
  std::printf("%-24s %10.3f %s   reference %10.3f %s   ratio %7.1f\n", what, seconds * scale, unit,
              reference * scale, unit, seconds / reference);
}

}  // namespace

int main() {
  // The build copies data/ beside the programs in build/bin; the benchmarks live in build/bench.
  const std::string path = vondal::ProgramFolder() + "../bin/" + vondal::kCityListFileName;
  vondal::CityList list;
  if (!list.LoadFile(path)) {
    std::fprintf(stderr, "%s: cannot load\n", path.c_str());
    return 2;
  }

  size_t lines = 0;
  double readLines = PerCall(kLoads, [&] {
    for (int i = 0; i < kLoads; ++i) {
      std::string contents = ReadFile(path);
      for (const char* p = contents.data();
           (p = static_cast<const char*>(std::memchr(p, '\n', contents.data() + contents.size() - p))) !=
           nullptr;
           ++p)
        ++lines;
    }
  });
  double load = PerCall(kLoads, [&] {
    for (int i = 0; i < kLoads; ++i) list.LoadFile(path);
  });
  std::printf("%s: %d entries, %zu bytes of memory, %zu lines\n", path.c_str(), list.EntryCount(),
              list.MemoryUsed(), lines / kLoads / kRuns);
  Row("load", load, readLines, "ms", 1e3);

  // QTHs as logs hold them: a city, gun or ward name with its suffix, half of them with the
  // prefecture in front, followed by a town; the same every run.
  std::vector<std::string> qths, numbers;
  std::vector<int> areas;
  std::mt19937 random(1950);
  std::vector<const vondal::CityEntry*> entries;
  for (int k = 2; k <= 4; ++k)
    for (int p = 1; p <= vondal::kPrefectureCount; ++p)
      for (const vondal::CityEntry& entry : list.Entries(static_cast<vondal::CityKind>(k), p))
        entries.push_back(&entry);
  for (size_t i = 0; i < kLookups; ++i) {
    const vondal::CityEntry& entry = *entries[random() % entries.size()];
    std::string name, number;
    (void)list.NameOfNumber(entry.Number(), random() % 2 == 0, name);
    (void)vondal::NumberText(entry.Number(), number);
    qths.push_back(name + "本町");
    numbers.push_back(number);
    areas.push_back(list.PrefectureOf(entry.prefecture).area);
  }

  size_t hits = 0;
  double findText = PerCall(kLookups, [&] {
    for (const std::string& qth : qths) hits += vondal::FindText(qth, "市") != std::string_view::npos;
  });
  double byName = PerCall(kLookups, [&] {
    vondal::NameMatch match;
    for (size_t i = 0; i < kLookups; ++i)
      hits += list.NumberOfName(qths[i], areas[i], match) == vondal::CityResult::kFound;
  });
  double byNumber = PerCall(kLookups, [&] {
    vondal::Validity validity;
    for (const std::string& number : numbers)
      hits += list.ValidityByNumber(number, validity) == vondal::CityResult::kFound;
  });
  double nameOf = PerCall(kLookups, [&] {
    std::string name;
    for (const std::string& number : numbers)
      hits += list.NameOfNumber(number, false, name) == vondal::CityResult::kFound;
  });
  std::printf("%zu lookups, fastest of %d runs (%zu hits)\n", kLookups, kRuns, hits);
  Row("number of a name", byName, findText, "ns", 1e9);
  Row("validity by number", byNumber, findText, "ns", 1e9);
  Row("name of a number", nameOf, findText, "ns", 1e9);
  return 0;
}
