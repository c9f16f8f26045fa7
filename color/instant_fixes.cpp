#include "color/instant_fixes.h"

#include "color/color_editor_parts.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

using E = ColorElement;

constexpr std::string_view kTexts[kInstantFixCount] = {
    "編集後ﾌｨｰﾙﾄﾞ両端(eEdgeEnd)を黒に",
    "ｺﾝﾄﾛｰﾙｺｰﾄﾞ(CtrlCode,?Ctrl(End))を緑に統一",
    "ｴﾗｰﾒｯｾｰｼﾞ(?Error)を赤に統一",
    "文字列編集のﾒﾆｭｰｷｰ(?MenuKey)を?Ctrlと同色に",
    "文字列編集のﾒﾆｭｰﾗﾍﾞﾙ(?MenuLabel)をMenuLabelと同色に",
    "ﾏｸﾛ注釈(rText～rCtrlEnd)をﾛｸﾞﾃｷｽﾄと同色に",
    "ﾏｸﾛ命令(mCtrl～mCtrlEnd)を注釈と同色に",
};

constexpr int kFamilySize = 11;
constexpr uint8_t kGreen = 0x0A;
constexpr uint8_t kDarkGreen = 0x02;
constexpr uint8_t kRed = 0x0C;

uint8_t& At(ColorTable& table, E e) { return table[static_cast<int>(e)]; }

// Elements first ... last take the attribute of the element one family before each.
void CopyFromFamilyBefore(ColorTable& table, E first, E last) {
  for (int k = static_cast<int>(first); k <= static_cast<int>(last); ++k) table[k] = table[k - kFamilySize];
}

void Apply(int fix, ColorTable& t) {
  switch (fix) {
    case 0:
      At(t, E::eEdgeEnd) = 0x00;
      break;
    case 1:
      At(t, E::CtrlCode) = At(t, E::eCtrl) = At(t, E::rCtrl) = At(t, E::mCtrl) = kGreen;
      At(t, E::eCtrlEnd) = At(t, E::rCtrlEnd) = At(t, E::mCtrlEnd) = kDarkGreen;
      break;
    case 2:
      At(t, E::eError) = At(t, E::rError) = At(t, E::mError) = kRed;
      break;
    case 3:
      At(t, E::eMenuKey) = At(t, E::eCtrl);
      At(t, E::rMenuKey) = At(t, E::rCtrl);
      At(t, E::mMenuKey) = At(t, E::mCtrl);
      break;
    case 4:
      At(t, E::mMenuLabel) = At(t, E::rMenuLabel) = At(t, E::eMenuLabel) = At(t, E::MenuLabel);
      break;
    case 5:
      CopyFromFamilyBefore(t, E::rText, E::rCtrlEnd);
      break;
    case 6:
      CopyFromFamilyBefore(t, E::mCtrl, E::mCtrlEnd);
      break;
  }
}

constexpr int kNoteRow = 14;
constexpr int kFirstRow = 15;
constexpr int kDigitCol = 3;
constexpr int kTextCol = 5;

void DrawList(const ColorTable& table) {
  Screen& screen = TheScreen();
  screen.ClearRows(kNoteRow, MessageRow() - 1);
  const uint8_t text = ColorOf(ColorElement::eText);
  const uint8_t key = ColorOf(ColorElement::MenuKey);
  if (TheConsoleSwitches().guide)
    screen.PutTextToEnd("(番号のないものは適用済み)", kNoteRow, kDigitCol, text, text);
  for (int fix = 0; fix < kInstantFixCount; ++fix) {
    const int row = kFirstRow + fix;
    if (row >= MessageRow()) break;
    if (InstantFixChanges(fix, table))
      screen.PutChar(static_cast<unsigned char>('0' + fix), row, kDigitCol, key);
    screen.PutTextToEnd(kTexts[fix], row, kTextCol, text, text);
  }
}

}  // namespace

std::string_view InstantFixText(int fix) { return kTexts[fix]; }

bool ApplyInstantFix(int fix, ColorTable& table) {
  const ColorTable before = table;
  Apply(fix, table);
  return table != before;
}

bool InstantFixChanges(int fix, const ColorTable& table) {
  ColorTable copy = table;
  return ApplyInstantFix(fix, copy);
}

void RunInstantFixes(ColorEditorContext& context) {
  ColorTable& table = context.sets.CurrentSet().table;
  DrawList(table);
  ShowMenu(">ｲﾝｽﾀﾝﾄ修正> A全て適用");
  const KeyEvent key = ReadKey();
  bool changed = false;
  if (key.upper == 'A') {
    // The fixes the list offered, as it showed them: one that an earlier fix makes possible
    // (the menu keys after the control codes changed) was not offered.
    bool offered[kInstantFixCount];
    for (int fix = 0; fix < kInstantFixCount; ++fix) offered[fix] = InstantFixChanges(fix, table);
    for (int fix = 0; fix < kInstantFixCount; ++fix) {
      if (offered[fix]) changed |= ApplyInstantFix(fix, table);
    }
  } else if (key.code >= '0' && key.code < '0' + kInstantFixCount) {
    changed = ApplyInstantFix(key.code - '0', table);
  }
  if (changed) CountColorEdit(context);
}

}  // namespace vondal
