#include "tools/vonrix/command_line.h"

#include "app/text/sjis.h"
#include "app/text/standard_options.h"

namespace vondal {

const char kVonrixUsage[] =
    "［使用法］\n"
    ">Vonrix 'LogFile' 'OutFile' 'Mode' ('Filter') ('Option')\n"
    "  LogFileはVondal.iniのセクション名も有効\n"
    "  Mode\n"
    "   C 交信回数モード\n"
    "   I 交信間隔モード\n"
    "   S 交信期間モード\n"
    "   B バンド数モード\n"
    "  Filter\n"
    "   'Field'(!)='Keyword'\n"
    "   'Field'(!):'Keyword'\n"
    "   !は否定\n"
    "   =は半角英字大小無視，:は完全一致で比較\n"
    "   Keywordにワイルドカード使用可（jstrwldc()仕様）\n"
    "   フィルタを複数設定するとAND演算\n"
    "  Option\n"
    "   -J JA局のみ\n"
    "   -D DX局のみ\n"
    "   -S JAは個人局のみ（通常，-Jと併用）\n"
    "   -C JAはクラブ局のみ（通常，-Jと併用）\n";

std::string VonrixHelpText(std::string_view configFile) {
  return std::string(kVonrixUsage) + "  ?  Vondal.iniの設定セットの一覧を表示して終わる\n" +
         std::string(StandardOptionLines()) + "設定ファイル: " + std::string(configFile) +
         "\n"
         "詳しくは man vonrix\n";
}

namespace {

struct ModeNaming {
  AnalysisMode mode;
  std::string_view name;
};

constexpr ModeNaming kModeNames[] = {
    {AnalysisMode::kCounts, "交信回数"},
    {AnalysisMode::kIntervals, "交信間隔"},
    {AnalysisMode::kSpans, "交信期間"},
    {AnalysisMode::kBands, "バンド数"},
};

}  // namespace

std::string_view ModeName(AnalysisMode mode) {
  for (const ModeNaming& naming : kModeNames) {
    if (naming.mode == mode) return naming.name;
  }
  return "";
}

bool ParseMode(std::string_view text, AnalysisMode& mode) {
  for (const ModeNaming& naming : kModeNames) {
    if (!text.empty() && AsciiUpper(text[0]) == static_cast<char>(naming.mode)) {
      mode = naming.mode;
      return true;
    }
  }
  return false;
}

std::string ParseSelection(const std::vector<std::string>& args, Selection& selection) {
  for (const std::string& arg : args) {
    if (arg.find_first_of("=:") != std::string::npos) {
      Filter filter;
      if (!ParseFilter(arg, filter)) return "フィルタが不正です";
      selection.filters.insert(selection.filters.begin(), std::move(filter));
      continue;
    }
    if (arg.empty() || arg[0] != '-') return "フィルタまたはオプションが不正です";
    const char letter = arg.size() == 2 ? AsciiUpper(arg[1]) : 0;
    if (letter == 'J' || letter == 'D') {
      if (selection.country != 0) return "カントリーのオプションが重複しています";
      selection.country = letter;
    } else if (letter == 'S' || letter == 'C') {
      if (selection.club != 0) return "社団局のオプションが重複しています";
      selection.club = letter;
    } else {
      return "未定義のオプションがあります";
    }
  }
  return "";
}

std::string DescribeSelection(const Selection& selection) {
  std::string text = "Filter=";
  for (char option : {selection.country, selection.club}) {
    if (option == 0) continue;
    text += " -";
    text += option;
  }
  for (const Filter& filter : selection.filters) text += Describe(filter);
  return text;
}

}  // namespace vondal
