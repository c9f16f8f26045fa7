#include "editor/join_report.h"

#include <cstdio>

#include "app/text/version.h"
#include "output/output_parameters.h"

namespace vondal {

std::string JoinReportText(const JoinResult& result, std::string_view logName, std::string_view fileName) {
  std::string text = std::string("Vondal ") + kProgramVersion + " ----\r\n";
  text += std::string(logName) + "\r\n[結合読込]\r\n";
  text += "結合読込ﾌｧｲﾙ=" + std::string(fileName) + "\r\n";
  text += "結合レコード数=" + std::to_string(result.records) + "\r\n";
  if (result.duplicates > 0) text += "重複レコード数=" + std::to_string(result.duplicates) + "\r\n";
  text += "-------------------\r\n";
  char number[24];
  for (const JoinNote& note : result.notes) {
    std::snprintf(number, sizeof number, "%7ld ", note.number);
    std::string callsign = note.callsign;
    if (callsign.size() < 12) callsign.resize(12, ' ');
    text += number + callsign + " " + (note.date.empty() ? std::string(6, ' ') : note.date) + " " +
            note.text + "\r\n";
  }
  return text;
}

std::string JoinReportName(std::string_view outputFolder, std::string_view logPath) {
  std::string name(outputFolder);
  if (!name.empty() && name.back() != '/') name += '/';
  return name + LogBaseName(logPath) + "-join.TXT";
}

}  // namespace vondal
