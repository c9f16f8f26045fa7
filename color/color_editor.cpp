#include "color/color_editor.h"

#include <algorithm>
#include <ctime>

#include "color/color_editor_parts.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

constexpr char kEditorMenu[] =
    "$Space$ﾊﾟﾚｯﾄ F前景輝度 B背景輝度 C色採取 P色適用 Iｲﾝｽﾀﾝﾄ Sｽﾍﾟｸﾄﾗﾑ N名称 L色ｾｯﾄ";

constexpr int kPerColumn = kColorEditorElementsPerColumn;
constexpr int kLastElement = kColorElementCount - 1;

std::array<uint8_t, 3> ClockToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {static_cast<uint8_t>(local.tm_year % 100), static_cast<uint8_t>(local.tm_mon + 1),
          static_cast<uint8_t>(local.tm_mday)};
}

// Left and Right move a column; past the first or last column they wrap to the other end on
// the same row (the last column is shorter: clamped to its last element).
int ColumnLeft(int k) {
  return k >= kPerColumn ? k - kPerColumn
                         : std::min(kLastElement, kLastElement / kPerColumn * kPerColumn + k);
}
int ColumnRight(int k) { return k + kPerColumn <= kLastElement ? k + kPerColumn : k % kPerColumn; }

}  // namespace

ColorEditorMemory& TheColorEditorMemory() {
  static ColorEditorMemory memory;
  return memory;
}

std::optional<int> LeavingCode(int code) {
  switch (code) {
    case 13:
      return 'e';
    case 9:
    case ':':
    case '^':
      return code;
    default:
      return std::nullopt;
  }
}

void ShowColorError(ColorEditorContext& context, std::string_view text) {
  if (context.showError) {
    context.showError(text);
  } else {
    ShowMessage(text);
    Beep();
  }
}

void CountColorEdit(ColorEditorContext& context) {
  ColorSets& sets = context.sets;
  sets.CurrentSet().date = context.today ? context.today() : ClockToday();
  sets.CountChange();
  sets.ApplyCurrent();
}

void ChangeAttribute(ColorEditorContext& context, int element, uint8_t value) {
  uint8_t& attr = context.sets.CurrentSet().table[element];
  if (attr == value) return;
  attr = value;
  CountColorEdit(context);
}

int RunColorEditor(ColorEditorContext& context) {
  ColorSets& sets = context.sets;
  ColorEditorMemory& memory = TheColorEditorMemory();
  int& k = memory.element;
  sets.Snapshot();
  for (;;) {
    DrawColorEditor(sets, k);
    ShowMenu(kEditorMenu);
    const KeyEvent key = ReadKey();
    TheScreen().ClearRows(MessageRow(), MessageRow());
    if (std::optional<int> code = LeavingCode(key.code)) return *code;
    const uint8_t attr = sets.CurrentSet().table[k];
    switch (key.upper) {
      case kExtendedKey + scan::kUp:
        k = k == 0 ? kLastElement : k - 1;
        break;
      case kExtendedKey + scan::kDown:
        k = k == kLastElement ? 0 : k + 1;
        break;
      case kExtendedKey + scan::kLeft:
        k = ColumnLeft(k);
        break;
      case kExtendedKey + scan::kRight:
        k = ColumnRight(k);
        break;
      case ' ':
        RunPalette(context, k);
        break;
      case 'F':
        ChangeAttribute(context, k, attr ^ kBrightBit);
        break;
      case 'B':
        ChangeAttribute(context, k, attr ^ (kBrightBit << 4));
        break;
      case 'C':
        memory.picked = attr;
        break;
      case 'P':
        if (memory.picked >= 0) ChangeAttribute(context, k, static_cast<uint8_t>(memory.picked));
        break;
      case 'I':
        RunInstantFixes(context);
        break;
      case 'S':
        ShowSpectrum(sets.CurrentSet().table);
        break;
      case 'N':
        EditSetName(context);
        break;
      case 'L':
        RunSetList(context, k);
        break;
      case 27:
        if (std::optional<int> code = RunColorFileMenu(context)) return *code;
        break;
      default:
        RejectKey(key.code);
        break;
    }
  }
}

}  // namespace vondal
