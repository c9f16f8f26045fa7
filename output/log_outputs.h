// The outputs that copy records: the partial log, the packed log, the CSV file and the ADIF file.
// Each runs the frame's form and writes its file; none starts the viewer. True when an output
// ran (its file written or its failure shown), false when the form was left.
#pragma once

#include "output/output_frame.h"

namespace vondal {

bool RunPartialLog(const OutputContext& context);
bool RunPackedLog(const OutputContext& context);
bool RunCsvExport(const OutputContext& context);
bool RunAdifExport(const OutputContext& context);

// The bodies: the target records of a confirmed job into its open file (not finished).
void WritePartialLog(OutputJob& job);
struct PackedLength {
  int64_t bytes = 0;
  int records = 0;
};
PackedLength WritePackedLog(OutputJob& job);
void WriteCsv(OutputJob& job);
void WriteAdif(OutputJob& job);

// "出力ﾌｧｲﾙ長=%d (%d.%d%%)": the packed length, and its share of 200 bytes a record.
std::string PackedLengthText(int64_t length, int records);

}  // namespace vondal
