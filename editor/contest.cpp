#include "editor/contest.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/text/text_helpers.h"
#include "citylist/call_area.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/editor_menus.h"
#include "output/band_table.h"

namespace vondal {
namespace {

constexpr const char* kPowerLetters = "HMLP";

bool IsKcj(char mode) { return mode == 'K' || mode == 'L'; }
bool IsXpo(char mode) { return mode == 'X' || mode == 'Y'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int IndexOfNumber(int number) { return number <= 50 ? number : number - 50; }
int NumberOfIndex(int index) { return index <= 50 ? index : index + 50; }

ContestCheck Refuse(ContestCheck check, const char* message) {
  check.refusal = message;
  return check;
}

}  // namespace

const char* ContestBandRule(char mode) {
  switch (mode) {
    case 'A':
      return "...+.+.+.+.++............";
    case 'S':
      return "............++++---------";
    case 'F':
      return "...+.+.+.+.+++++---------";
    case 'Z':
      return "...-.-.-.-.--------------";
    case 'X':
    case 'Y':
    case 'K':
    case 'L':
      return "..++.+.+.+.++++++++++++++";
    default:
      return nullptr;
  }
}

ContestCheck CheckContestRecord(char mode, const Record& record) {
  ContestCheck check;
  const char* rule = ContestBandRule(mode);
  if (!rule) return Refuse(check, "4対象外ﾊﾞﾝﾄﾞです");
  // 1. The call area.
  const int area = CallArea(record[CALLSIGN]);
  const bool hasArea = area > 0;
  if (!hasArea && !IsKcj(mode)) return Refuse(check, "3DX局です");
  // 2. The band.
  const int band = BandOf(record[FREQ]);
  if (band < 0 || band >= kBandCount || rule[band] == '.') return Refuse(check, "4対象外ﾊﾞﾝﾄﾞです");
  check.band = band;
  const bool prefectureBand = rule[band] == '+';
  // 3. The report: 3 digits for CW, else 2, the first of them 3 to 5.
  const std::string received = ToUpperAscii(record[rRST]);
  const size_t reportLength = record[MODE] == "CW" ? 3 : 2;
  bool report = received.size() >= reportLength && received[0] >= '3' && received[0] <= '5';
  for (size_t i = 0; report && i < reportLength; ++i) report = IsDigit(received[i]);
  if (!report) return Refuse(check, "7RS/Tが不明です");
  check.report = received.substr(0, reportLength);
  std::string number = received.substr(reportLength);
  // 4. The power letter.
  if (!IsXpo(mode) && !IsKcj(mode)) {
    if (number.empty() || std::strchr(kPowerLetters, number.back()) == nullptr)
      return Refuse(check, "7電力が不明です");
    number.pop_back();
  }
  // 5. The length of the number.
  number = std::string(Trim(number));
  const size_t least = prefectureBand ? (area == 8 && !IsKcj(mode) ? 3 : 2) : 4;
  const size_t most = prefectureBand ? least : 6;
  if ((mode == 'L' || mode == 'Y') && number.size() > most) number.resize(most);
  check.number = number;
  if (number.size() < least || number.size() > most) return Refuse(check, "7ﾏﾙﾁが不明です");
  // 6. The number itself.
  if (IsKcj(mode)) {
    if (!hasArea) return check;  // accepted without a multiplier
    if (prefectureBand) {
      const std::string code = number.substr(0, 2);
      for (int index = 2; index < kMultiplierIndexes; ++index) {
        if (KcjCode(index) != code) continue;
        if (MultiplierArea(index) != area) return Refuse(check, "7ｴﾘｱが一致しません");
        check.multiplier = index;
        return check;
      }
      return Refuse(check, "7ﾏﾙﾁが不明です");
    }
    return check;
  }
  for (char c : number) {
    if (!IsDigit(c)) return Refuse(check, "7ﾏﾙﾁが不明です");
  }
  if (area == 8 && prefectureBand) {
    const int value = std::stoi(number);
    if (value < 101 || value > 114) return Refuse(check, "7ﾏﾙﾁが不明です");
    check.multiplier = IndexOfNumber(value);
    return check;
  }
  if (area != 8) {
    const int prefecture = (number[0] - '0') * 10 + (number[1] - '0');
    if (prefecture < 1 || prefecture > 50 || MultiplierArea(prefecture) != area) {
      return Refuse(check, "7ｴﾘｱが一致しません");
    }
    if (prefectureBand) check.multiplier = prefecture;
  }
  return check;
}

void ContestMode::Start(char mode, int first, LogFile& log) {
  mode_ = mode;
  bands_.clear();
  multipliers_.clear();
  if (mode == 'N') return;
  first_ = first;
  const int end = std::min(log.RecordCount(), first + kContestCacheRecords);
  Record record;
  for (int n = first; n < end; ++n) {
    CopyTexts(log.ReadRecord(n), record);
    Store(n, CheckContestRecord(mode, record));
  }
}

bool ContestMode::Covers(int n) const {
  return mode_ != 'N' && n >= first_ && n < first_ + kContestCacheRecords;
}

void ContestMode::Store(int n, const ContestCheck& check) {
  const size_t at = static_cast<size_t>(n - first_);
  if (bands_.size() <= at) {
    bands_.resize(at + 1, -1);
    multipliers_.resize(at + 1, 0);
  }
  bands_[at] = static_cast<int8_t>(check.refusal.empty() ? check.band : -1);
  multipliers_[at] = static_cast<uint8_t>(check.refusal.empty() ? check.multiplier : 0);
}

std::string ContestMode::Check(const Record& working, int n) {
  last_ = CheckContestRecord(mode_, working);
  Store(n, last_);
  return last_.refusal;
}

int ContestMode::CountOnBand(int band, std::vector<bool>& worked) const {
  worked.assign(kMultiplierIndexes, false);
  int count = 0;
  for (size_t i = 0; i < bands_.size(); ++i) {
    if (bands_[i] != band) continue;
    ++count;
    if (multipliers_[i] > 0 && multipliers_[i] < kMultiplierIndexes) worked[multipliers_[i]] = true;
  }
  return count;
}

ContestMode& TheContest() {
  static ContestMode contest;
  return contest;
}

void DrawMultiplierTable(const EditLayout& layout, const EditorState& editor) {
  const ContestMode& contest = TheContest();
  if (!editor.display.multiplierTable || contest.mode() == 'N') return;
  Screen& screen = TheScreen();
  const int top = layout.headerRow + 1;
  for (int row = top; row < top + 3; ++row) screen.ClearCells(row, 0, layout.width - 1);
  const uint8_t attr = ColorOf(ColorElement::RecNumber);
  const int band = BandOf(editor.working[FREQ]);
  if (band < 0 || band >= kBandCount) {
    screen.PutText("対象外", top + 1, 37, layout.width, attr, attr);
    return;
  }
  std::vector<bool> worked;
  const int count = contest.CountOnBand(band, worked);
  const std::string head = BandName(band, 'S') + "Hz " + std::to_string(count) + "QSO";
  screen.PutText(head, top, 0, layout.width, attr, attr);
  const char rule = ContestBandRule(contest.mode())[band];
  if (rule == '-') {
    screen.PutText("市郡ﾏﾙﾁ", top + 1, 36, layout.width, attr, attr);
    return;
  }
  if (rule == '.') {
    screen.PutText("対象外", top + 1, 37, layout.width, attr, attr);
    return;
  }
  const bool kcj = IsKcj(contest.mode());
  for (int index = 2; index < kMultiplierIndexes; ++index) {
    const int n = NumberOfIndex(index);
    const int row = n >= 101 ? top : n <= 25 ? top + 1 : top + 2;
    const int col = n >= 101 ? 4 * n - 381 : n <= 25 ? 3 * n + 1 : 3 * n - 74;
    char label[8];
    std::snprintf(label, sizeof label, n >= 101 ? "%d" : "%02d", n);
    const std::string shown = kcj ? KcjCode(index) : std::string(label);
    const int end = screen.PutText(shown, row, col, layout.width, attr, attr);
    if (worked[index] && end > col) screen.ReverseCells(row, col, end - 1);
  }
}

void ShowContestCheck(const EditLayout& layout, const ContestCheck& check) {
  Screen& screen = TheScreen();
  screen.ClearCells(layout.editRow, 21, 48);
  const int col = screen.PutText(check.report, layout.editRow, 21, 49, ColorOf(ColorElement::RST),
                                 ColorOf(ColorElement::RST));
  const int end = screen.PutText(check.number, layout.editRow, col, 49, ColorOf(ColorElement::RST),
                                 ColorOf(ColorElement::RST));
  if (end > col) screen.ReverseCells(layout.editRow, col, end - 1);
}

void ContestMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  ContestMode& contest = TheContest();
  const int col = ShowMenu(">他>ｺﾝﾃｽﾄ> AAllJA S6&D FFD Z全市郡 XXPO YXPO+ KKCJ LKCJ+ N解除");
  TheScreen().PutTextToEnd(std::string("現在=") + contest.mode(), MenuRow(), col + 1, kPlainAttr, kPlainAttr);
  Flush();
  const KeyEvent key = ReadKey();
  if (key.upper <= 0 || key.upper >= 0x80 || std::strchr("ASFZXYKLN", key.upper) == nullptr) {
    RejectKey(key.code);
    return;
  }
  contest.Start(static_cast<char>(key.upper), PositionOfEditDate(context, editor, true), context.log);
  DrawMultiplierTable(layout, editor);
}

}  // namespace vondal
