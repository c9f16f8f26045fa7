#include "output/inspection_report.h"

#include <cstdio>

#include "log/field_table.h"

namespace vondal {
namespace {

std::string FieldName(int field) { return DefaultFieldTable()[field].name; }

}  // namespace

std::string InspectionHeading(bool citiesLoaded) {
  std::string out;
  if (!citiesLoaded) out += "CGlist3.TXTが読めないのでQTHは検査できません\r\n";
  return out + "record:date   time callsign\t{field}\terror\r\n";
}

std::string InspectionReport::Line(int position, const RecordTexts& texts, const Finding& finding) {
  char number[16];
  std::snprintf(number, sizeof number, "%6d", position);
  std::string line = std::string(number) + ":" + std::string(texts[DATE]) + " " + std::string(texts[START]) +
                     " " + std::string(texts[CALLSIGN]) + "\t{" + FieldName(finding.field) + "}\t" +
                     finding.message;
  if (finding.field != DATE && finding.field != START && finding.field != CALLSIGN) {
    line += "\t" + std::string(texts[finding.field]);
  }
  line += "\r\n";
  Tally* tally = nullptr;
  for (Tally& t : tally_) {
    if (t.message == finding.message) tally = &t;
  }
  if (!tally && tally_.size() < kTallyMessages) tally = &tally_.emplace_back(Tally{finding.message, {}});
  if (tally) ++tally->counts[finding.field];
  return line;
}

std::string InspectionReport::Summary() const {
  if (tally_.empty()) return {};
  std::string out = "--------------------------";
  char cell[64];
  for (int f = 0; f < kStoredFieldCount; ++f) {
    std::snprintf(cell, sizeof cell, " %4s", FieldName(f).substr(0, 4).c_str());
    out += cell;
  }
  out += "\r\n";
  for (const Tally& t : tally_) {
    std::snprintf(cell, sizeof cell, "%26s", t.message.c_str());
    out += cell;
    for (int count : t.counts) {
      if (count == 0) {
        out += "    -";
      } else {
        std::snprintf(cell, sizeof cell, "%5d", count);
        out += cell;
      }
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace vondal
