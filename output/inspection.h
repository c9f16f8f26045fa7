// The error inspection (作表 > 検査 > Eｴﾗｰ検査): every record checked at the chosen level, the
// findings and their tally written as a report.
#pragma once

#include <optional>
#include <string>

#include "citylist/city_list.h"
#include "output/output_frame.h"

namespace vondal {

// Runs the inspection's form and writes its report; the report's file name, or nothing when the
// form was left or the report not written.
std::optional<std::string> RunInspection(const OutputContext& context);

// The body: the heading, a line per finding of every target record, the tally.
void WriteInspection(OutputJob& job, const CityList& cities);

}  // namespace vondal
