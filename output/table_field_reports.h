// The tables about the contents of fields: runs of records with the same value (連続データ), the
// lengths of the fields (データ量) and a census of the characters of a field (文字).
#pragma once

#include <string>
#include <string_view>

#include "output/output_frame.h"

namespace vondal {

// 連続データ over the subfield of parameters 17-19; 29 空白ﾚｺｰﾄﾞ and 30 空白日付 say whether an empty
// value and a day without records end a run.
void WriteContinuityTable(OutputJob& job);
// データ量: per field the shortest, mean and longest length, the histograms of the lengths and the
// 100 records with the most data.
void WriteDataVolumeTable(OutputJob& job);
// 文字: how often each byte and each two-byte character occurs in the subfield of parameters 17-19.
void WriteCharacterTable(OutputJob& job);

// The calendar day after a YYMMDD date (February has 29 days in years divisible by 4, 99 is
// followed by 00); "" for a text that is no date.
std::string NextDate(std::string_view date);
// The same into next, without building a text; false for a text that is no date.
bool NextDateOf(std::string_view date, char (&next)[6]);

}  // namespace vondal
