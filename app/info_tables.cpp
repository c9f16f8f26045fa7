// Pages D (dictionaries), A (the auto-fill map of MODE and the band map), F (the field table)
// and K (key macros).
#include <cstdio>
#include <cstring>
#include <string>

#include "app/info_pages.h"
#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "editor/dictionary.h"
#include "log/field_table.h"
#include "macro/macro_store.h"
#include "output/band_table.h"

namespace vondal {
namespace {

// kHz as MHz with three decimals, right-aligned in 10 columns.
std::string Megahertz(int32_t khz) {
  char text[24];
  std::snprintf(text, sizeof text, "%6d.%03d", khz / 1000, khz % 1000);
  return text;
}

// The word of the legend for displayed column `column` (0-7) and `letter`; the letter itself
// when the legend has no word for it, nothing for a blank.
std::string_view LegendWord(int column, char letter) {
  if (letter == ' ' || letter == '\0') return {};
  for (std::string_view entry : kAttributeLegend) {
    if (entry[0] == '0' + column && entry[1] == letter) return entry.substr(2);
  }
  static char single[2];
  single[0] = letter;
  return {single, 1};
}

void DrawModeMap(InfoWriter& out, const RunState& run) {
  std::vector<std::string> cells;
  for (const Segment& s : run.settings.modeSegments) {
    cells.push_back(Megahertz(s.lowKhz) + "-" + Megahertz(s.highKhz) + " " +
                    std::string(ModeName(s.segmentClass - 1)));
  }
  out.Grid(cells, 28);
}

// The band map: from each breakpoint on, the band and the mode of its segment.
void DrawBandMap(InfoWriter& out) {
  std::vector<std::string> cells;
  for (const BandMapPoint& point : BuildBandMap()) {
    std::string cell = Megahertz(point.startKhz) + " ";
    cell += point.band < 0 ? "-" : BandName(point.band, 'S');
    if (point.segmentClass > 0) cell = Padded(cell, 17) + std::string(ModeName(point.segmentClass - 1));
    cells.push_back(cell);
  }
  out.Grid(cells, 24);
}

// The `mode` lines as written; "*" marks those that do not count.
void DrawModeLines(InfoWriter& out, const RunState& run) {
  for (const auto& line : run.settings.mode) {
    if (!UserSegmentOf(line)) out.Put(2, "*");
    out.Line(4, line);
  }
}

}  // namespace

void DrawDictionaryPage(InfoWriter& out, const RunState&) {
  out.Title("□変換辞書");
  out.Next();
  const std::vector<Dictionary>& dictionaries = TheDictionaries();
  // The specification goes on a row of its own while the page has room for it.
  const bool specRows = out.RowsLeft() >= 2 * static_cast<int>(dictionaries.size());
  for (const Dictionary& d : dictionaries) {
    if (d.menuKey != 0) out.Put(2, std::string(1, d.menuKey));
    out.Put(4, d.label);
    if (!d.usable()) {
      out.Put(38, d.error, ColorOf(ColorElement::eError));
    } else {
      out.Put(38, RightAligned(static_cast<long>(d.pairs.size()), 6) + "項目");
      out.Put(50, RightAligned(static_cast<long>(d.bytes), 8) + "byte");
      if (d.general) out.Put(64, "general");
    }
    out.Next();
    if (specRows) out.Line(4, d.specification);
  }
}

void DrawAutoFillPage(InfoWriter& out, const RunState& run, int view) {
  int col = out.Title("□自動記入(MODE)");
  if (view == 1) col = out.Put(col + 1, "ﾊﾞﾝﾄﾞﾏｯﾌﾟ");
  if (view == 2) col = out.Put(col + 1, "mode設定行（*印は無効）");
  if (TheConsoleSwitches().authorsuse) {
    out.Put(col + 2, "map size=" + std::to_string(run.settings.modeSegments.size()));
  }
  out.Next();
  switch (view) {
    case 1:
      DrawBandMap(out);
      break;
    case 2:
      DrawModeLines(out, run);
      break;
    default:
      DrawModeMap(out, run);
      break;
  }
}

void DrawFieldPage(InfoWriter& out, const RunState&) {
  // The displayed columns: attribute positions 0, 1, 3-8 (position 2 is reserved), their left
  // edges and headings.
  static constexpr int kPositions[8] = {kWidthClass,         kCursorOnEntry, kCaseConversion, kAutoFillSource,
                                        kAutoFillPrecedence, kBlankRule,     kMaskType,       kMaskCase};
  static constexpr int kCols[8] = {12, 18, 24, 33, 42, 51, 56, 67};
  static constexpr const char* kHeadings[8] = {"幅", "ｶｰｿﾙ", "変換", "自動記入", "", "空欄", "模倣型ﾏｽｸ", ""};
  out.Title("□ﾌｨｰﾙﾄﾞ");
  for (int c = 0; c < 8; ++c) out.Put(kCols[c], kHeadings[c]);
  out.Next();
  const FieldTable& table = ActiveFieldTable();
  for (int field = 0; field < kFieldCount; ++field) {
    const FieldEntry& entry = table[field];
    if (field == homeField) out.Put(2, "*");
    out.Put(3, std::string_view(entry.name, strnlen(entry.name, sizeof entry.name)));
    for (int c = 0; c < 8; ++c) out.Put(kCols[c], LegendWord(c, entry.attributes[kPositions[c]]));
    out.Next();
  }
}

void DrawKeyMacroPage(InfoWriter& out, const RunState&, int view) {
  const int col = out.Title("□ｷｰﾏｸﾛ");
  out.Put(col + 1, view == 0 ? "（注釈）" : "（内容）");
  out.Next();
  const MacroStore& store = TheMacroStore();
  for (int slot = kInitializationSlot; slot < FunctionKeySlot(16); ++slot) {
    out.Put(2, SlotName(slot));
    const int n = store.SlotMacro(slot);
    if (n > 0) {
      out.Put(9, RightAligned(n, 3));
      out.Put(14, view == 0 ? store.Comment(n) : store.TextView(n));
    }
    out.Next();
  }
}

}  // namespace vondal
