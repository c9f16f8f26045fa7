// The developer pages: M (memory pools, index blocks, the history of the temporary pool) and T
// (configuration toggles and application switches).
#include <string>
#include <utility>
#include <vector>

#include "app/info_pages.h"
#include "app/memory_pool.h"
#include "app/run_state.h"
#include "citylist/city_list.h"
#include "console/console.h"
#include "editor/dictionary.h"
#include "editor/editor_state.h"

namespace vondal {
namespace {

constexpr int kInfoCol = 13;

std::string Right8(size_t n) { return RightAligned(static_cast<long>(n), 8); }
std::string Right7(size_t n) { return RightAligned(static_cast<long>(n), 7); }

// "name on" cells of a switch table.
std::vector<std::string> SwitchCells(const std::vector<std::pair<const char*, bool>>& switches) {
  std::vector<std::string> cells;
  for (const auto& [name, on] : switches) cells.push_back(Padded(name, 13) + (on ? "on" : ""));
  return cells;
}

}  // namespace

void DrawMemoryPage(InfoWriter& out, const RunState& run) {
  const MemoryPools& pools = ThePools();
  size_t dictionaryBytes = 0;
  for (const Dictionary& d : TheDictionaries()) dictionaryBytes += d.bytes;
  out.Title("□Local");
  out.Line(kInfoCol, "malloc" + Right8(pools.LocalCapacity()) + " used" + Right8(pools.LocalUsed()) +
                         " VRAM" + Right7(TheScreen().BufferBytes()) + " CGW" +
                         Right7(TheCityList().MemoryUsed()) + " Dict." + Right7(dictionaryBytes));
  out.Title("□Index");
  out.Line(kInfoCol, "(" + std::to_string(run.index.BlockCount()) + "*" +
                         std::to_string(kIndexBlockEntries * sizeof(IndexEntry)) + ") used" +
                         Right8(static_cast<size_t>(run.index.size()) * sizeof(IndexEntry)));
  out.Title("□Temporary");
  const char* stage = pools.Stage() == TempStage::kMalloc ? "malloc" : "quota ";
  out.Line(kInfoCol, stage + Right8(pools.TempCapacity()) + " used" + Right8(pools.TempUsed()));
  std::vector<std::string> cells;
  for (const UseEntry& entry : pools.History())
    cells.push_back(Padded(entry.name, 9) + " " + Right8(entry.amount));
  out.Grid(cells, 19);
}

void DrawSwitchPage(InfoWriter& out, const RunState& run) {
  const Toggles& t = run.settings.toggles;
  out.Title("□ini.toggle");
  out.Next();
  out.Grid(SwitchCells({{"logo", t.logo},
                        {"readonly", t.readonly},
                        {"compatible", t.compatible},
                        {"verbose", t.verbose},
                        {"silent", t.silent},
                        {"box", t.box},
                        {"diehard", t.diehard}}),
           16);
  out.Title("□application.sw");
  out.Next();
  const EditorState& editor = TheEditor();
  const DisplaySettings& display = editor.display;
  const ConsoleSwitches& console = TheConsoleSwitches();
  out.Grid(SwitchCells({{"authorsuse", console.authorsuse},
                        {"readonly", run.log.options.writeProtect},
                        {"verbose", console.guide},
                        {"startrecord", editor.conditions.dateFrom},
                        {"hilight", display.highlight},
                        {"pretext", editor.templateOn},
                        {"mask", editor.conditions.maskType != 0},
                        {"showcalendar", display.weekday},
                        {"showendtime", display.endColumn},
                        {"myqthleft", display.myqthLeft},
                        {"showsignal", display.rstColumn},
                        {"showbmlist", display.searchList},
                        {"newestfirst", editor.conditions.upward},
                        {"editheight", display.oneLine},
                        {"editwidth", display.wideEdit},
                        {"functionkey", display.functionKeys},
                        {"1strecordnr", display.recordBase == 1},
                        {"presearch", editor.presearch},
                        {"limitedsave", run.log.options.limitedsave},
                        {"multilist", display.multiplierTable}}),
           16);
}

}  // namespace vondal
