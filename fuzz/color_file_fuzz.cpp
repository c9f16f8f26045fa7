// Any bytes as a colour file, with a selection in front of them (up to the first NUL): loading
// gives 1 to 100 sets whose names and authors fit their fields in whole characters, a join of the
// same bytes either refuses or adds every set, and what is saved loads again as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/text/sjis.h"
#include "color/color_sets.h"

using namespace vondal;

namespace {

void CheckText(const std::string& text, size_t maxBytes) {
  if (text.size() > maxBytes || text.find('\0') != std::string::npos) std::abort();
  if (!text.empty() && ByteKind(text, text.size() - 1) == 0 &&
      IsLeadByte(static_cast<unsigned char>(text.back())))
    std::abort();
}

void CheckSets(const ColorSets& sets) {
  if (sets.count() < 1 || sets.count() > kMaxColorSets) std::abort();
  if (sets.standard() >= sets.count() || sets.current() >= sets.count()) std::abort();
  for (int n = 0; n < sets.count(); ++n) {
    CheckText(sets.Set(n).name, kColorNameSize - 1);
    CheckText(sets.Set(n).author, kColorAuthorSize - 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  const std::string selection = nul == std::string::npos ? "" : input.substr(0, nul);
  const std::string file = nul == std::string::npos ? input : input.substr(nul + 1);

  MemoryFileSystem fs;
  fs.SetContents("F.VDC", file);
  WriteCounters counters;
  ColorSets sets(fs, counters);
  sets.Load("F.VDC#" + selection);
  CheckSets(sets);

  const int before = sets.count();
  const std::string refusal = sets.Join("F");
  const int added = static_cast<int>(file.size() / kColorRecordSize) - 1;
  if (refusal.empty() ? sets.count() != before + added : sets.count() != before) std::abort();
  CheckSets(sets);

  sets.CountChange();
  if (!sets.Save().empty()) std::abort();
  ColorSets again(fs, counters);
  again.Load("F.VDC");
  if (again.count() != sets.count() || again.standard() != sets.standard()) std::abort();
  for (int n = 0; n < sets.count(); ++n) {
    if (!(again.Set(n) == sets.Set(n))) std::abort();
  }
  return 0;
}
