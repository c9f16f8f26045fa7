#include "output/table_outputs.h"

#include <functional>

#include "output/inspection.h"
#include "output/table_cities.h"
#include "output/table_count_reports.h"
#include "output/table_field_reports.h"
#include "output/table_words.h"

namespace vondal {
namespace {

// One table of the menu: its title, its form, its body and its name in the memory history.
struct TableKind {
  char group;
  char kind;
  const char* title;
  std::vector<int> list;
  std::function<void(OutputJob&)> body;
  const char* useName;
};

std::function<void(OutputJob&)> Words(char kind) {
  return [kind](OutputJob& job) { WriteWordTable(job, kind, job.context.workBytes); };
}

const std::vector<TableKind>& TableKinds() {
  static const std::vector<TableKind> kinds = {
      {'N', 'Y', "年月別交信数", {6, 7, 8, 14, 15}, WriteYearMonthTable, "yearmonth"},
      {'N', 'D', "曜日別交信数", {6, 7, 8}, WriteDayOfWeekTable, "dayofweek"},
      {'N', 'A', "コールエリア別交信数", {6, 7, 8}, WriteCallAreaTable, "callarea"},
      {'N', 'B', "バンド・モード別交信数", {6, 7, 8}, WriteBandModeTable, "bandmode"},
      {'T', 'S', "交信開始時刻", {6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'S'); }, "time"},
      {'T', 'T', "交信継続時刻", {6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'T'); }, "time"},
      {'T', 'L', "交信長(分単位)", {6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'L'); }, "time"},
      {'D', 0, "交信日数", {6, 7, 8, 14, 15}, WriteOperatingDaysTable, "dates"},
      {'W', 'W', "語句集", {6, 7, 8, 17, 18, 19, 20, 25, 26, 27, 28}, Words('W'), "word-W"},
      {'W', 'E', "文字抽出", {6, 7, 8, 17, 18, 19, 21, 22, 25, 26, 27, 28}, Words('E'), "word-E"},
      {'W', 'S', "サブフィールド", {6, 7, 8, 17, 18, 19, 20, 23, 25, 26, 27, 28}, Words('S'), "word-["},
      {'F', 0, "周波数", {6, 7, 8, 24, 27, 28}, Words('F'), "word-F"},
      {'C', 'B', "コールサイン本体", {6, 7, 8, 25, 26, 27, 28}, Words('B'), "word-B"},
      {'C', 'P', "プリフィックス", {6, 7, 8, 25, 26, 27, 28}, Words('P'), "word-P"},
      {'C', 'S', "サフィックス", {6, 7, 8, 25, 26, 27, 28}, Words('X'), "word-S"},
      {'N', 'U', "連続データ", {6, 7, 8, 17, 18, 19, 29, 30}, WriteContinuityTable, ""},
      {'I', 'V', "データ量", {6, 7, 8}, WriteDataVolumeTable, "volume"},
      {'I', 'C', "文字", {6, 7, 8, 17, 18, 19}, WriteCharacterTable, "character"},
      {'N',
       'P',
       "県市郡区別交信数",
       {6, 7, 8, 31, 32},
       [](OutputJob& job) {
         // Without the city list there is no table: the old file stays as it was.
         if (!WriteCityTable(job)) job.file.reset();
       },
       "pcgw"},
  };
  return kinds;
}

}  // namespace

std::optional<std::string> RunTable(const OutputContext& context, char group, char kind) {
  if (group == 'I' && kind == 'E') return RunInspection(context);
  for (const TableKind& table : TableKinds()) {
    if (table.group != group || table.kind != kind) continue;
    std::optional<OutputJob> job = RunOutputFrame(context, table.title, table.list);
    if (!job) return std::nullopt;
    table.body(*job);
    if (!job->file) return std::nullopt;
    if (!FinishOutput(*job, table.useName)) return std::nullopt;
    return job->file->name();
  }
  // Any other key of a sub-menu goes back to the processing menu.
  return std::nullopt;
}

}  // namespace vondal
