// The outputs that copy records: the partial log, the packed log, the CSV file and the ADIF file.
// Each runs the frame's form and writes its file; none starts the viewer.
#pragma once

#include "output/output_frame.h"

namespace vondal {

void RunPartialLog(const OutputContext& context);
void RunPackedLog(const OutputContext& context);
void RunCsvExport(const OutputContext& context);
void RunAdifExport(const OutputContext& context);

// "出力ﾌｧｲﾙ長=%d (%d.%d%%)": the packed length, and its share of 200 bytes a record.
std::string PackedLengthText(int64_t length, int records);

}  // namespace vondal
