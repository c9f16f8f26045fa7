// The count tables: contacts per year or month, per day of the week, per call area, per band with
// the mode ratios, per time of day (start, time on the air, contact length) and operating days.
// Each body writes its table behind the report header into the job's open file.
#pragma once

#include "output/output_frame.h"

namespace vondal {

// 年月別交信数 (parameters 14 集計単位 and 15 空白期間).
void WriteYearMonthTable(OutputJob& job);
// 曜日別交信数.
void WriteDayOfWeekTable(OutputJob& job);
// コールエリア別交信数: only call signs with a call area count.
void WriteCallAreaTable(OutputJob& job);
// バンド・モード別交信数 with its two ratio sections.
void WriteBandModeTable(OutputJob& job);
// 交信開始時刻 (S), 交信継続時刻 (T), 交信長(分単位) (L), in rows of parameter 16 間隔(分).
void WriteTimeTable(OutputJob& job, char kind);
// 交信日数 (parameters 14 and 15): distinct days with a contact, per band and mode.
void WriteOperatingDaysTable(OutputJob& job);

}  // namespace vondal
