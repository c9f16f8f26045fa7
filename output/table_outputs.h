// The plain-text tables of the processing menu's T (作表): count tables, time tables, operating
// days, call-sign and frequency tables, word tables, continuity, data volume, characters, the
// city/gun table, and the error inspection.
#pragma once

#include <optional>
#include <string>

#include "output/output_frame.h"

namespace vondal {

// Runs the table chosen with `group` (N T D C F W I of the tables menu) and `kind` (the key of its
// sub-menu; 0 for D and F, which have none): its form, its report. The report's file name, which
// the menu shows in the viewer; nothing when the form was left or the table not written.
std::optional<std::string> RunTable(const OutputContext& context, char group, char kind);

}  // namespace vondal
