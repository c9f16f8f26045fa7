// The texts of the 66 elements: name, screens, description and note, in table order.
#include "color/color_set.h"

namespace vondal {
namespace {

struct ElementText {
  std::string_view name;
  std::string_view groups;
  std::string_view description;
  std::string_view note = {};
};

constexpr ElementText kElements[kColorElementCount] = {
    {"Title", "C", "ﾌﾟﾛｸﾞﾗﾑ名"},
    {"Version", "C", "ﾊﾞｰｼﾞｮﾝ"},
    {"MyCallsign", "C", "自局ｺｰﾙｻｲﾝ"},
    {"Opening", "O", "起動時の情報"},
    {"MacroBox", "M", "ﾏｸﾛ一覧の枠"},
    {"MacroKey", "M", "ﾏｸﾛｷｰ"},
    {"MacroNumber", "M", "ﾏｸﾛ番号", "編集中のﾏｸﾛでは反転表示"},
    {"MenuKey", "C", "ｺﾏﾝﾄﾞﾒﾆｭｰｷｰ"},
    {"MenuLabel", "C", "ｺﾏﾝﾄﾞﾒﾆｭｰﾗﾍﾞﾙ"},
    {"Date", "S", "日付"},
    {"DateNow", "S", "日付(今年/今月/今日)"},
    {"Calendar", "D", "曜日"},
    {"TimeStart", "S", "開始時刻"},
    {"TimeEnd", "S", "終了時刻"},
    {"Callsign", "S", "ｺｰﾙｻｲﾝ"},
    {"Frequency", "S", "周波数"},
    {"Mode", "S", "電波形式"},
    {"QSL", "S", "QSL受領"},
    {"Contest", "S", "ｺﾝﾃｽﾄ名"},
    {"RST", "S", "RST/ｺﾝﾃｽﾄﾅﾝﾊﾞｰ"},
    {"QTH", "S", "QTH"},
    {"Name", "S", "名前"},
    {"Remarks", "S", "備考"},
    {"MyQTH", "S", "自局QTH"},
    {"CtrlCode", "S", "交信ﾃﾞｰﾀ中の制御ｺｰﾄﾞ"},
    {"EndOfLog", "S", "最初/最終交信"},
    {"Found", "S", "検索結果"},
    {"MaskInfo", "S", "検索条件"},
    {"Busy", "S", "検索中"},
    {"Border", "S", "選択ｴﾘｱの枠"},
    {"RecNumber", "D", "ﾚｺｰﾄﾞ番号/面番号"},
    {"NewNumber", "E", "新ﾚｺｰﾄﾞ番号"},
    {"FieldName", "E", "ﾌｨｰﾙﾄﾞ名", "編集中のﾌｨｰﾙﾄﾞでは反転表示"},
    {"eText", "E", "交信ﾃﾞｰﾀ(編集中)"},
    {"eCtrl", "E", "交信ﾃﾞｰﾀ中の制御ｺｰﾄﾞ(編集中)"},
    {"eBlank", "E", "空白桁(編集中)"},
    {"eEdge", "E", "ﾌｨｰﾙﾄﾞ両端(編集中)"},
    {"eMenuKey", "E", "編集ﾒﾆｭｰｷｰ"},
    {"eMenuLabel", "E", "編集ﾒﾆｭｰﾗﾍﾞﾙ"},
    {"eError", "OD", "ｴﾗｰﾒｯｾｰｼﾞ"},
    {"eTextEnd", "E", "交信ﾃﾞｰﾀ(編集後)"},
    {"eCtrlEnd", "E", "交信ﾃﾞｰﾀ中の制御ｺｰﾄﾞ(編集後)"},
    {"eBlankEnd", "E", "空白桁(編集後)"},
    {"eEdgeEnd", "E", "ﾌｨｰﾙﾄﾞ両端(編集後)", "推奨色=黒(非表示)"},
    {"rText", "r", "ﾏｸﾛ注釈(編集中およびﾏｸﾛ一覧)"},
    {"rCtrl", "r", "ﾏｸﾛ注釈中の制御ｺｰﾄﾞ(編集中)"},
    {"rBlank", "r", "空白桁(編集中)"},
    {"rEdge", "r", "ﾌｨｰﾙﾄﾞ両端(編集中)"},
    {"rMenuKey", "r", "編集ﾒﾆｭｰｷｰ"},
    {"rMenuLabel", "r", "編集ﾒﾆｭｰﾗﾍﾞﾙ"},
    {"rError", "r", "ｴﾗｰﾒｯｾｰｼﾞ"},
    {"rTextEnd", "r", "ﾏｸﾛ注釈(編集後)"},
    {"rCtrlEnd", "r", "ﾏｸﾛ注釈中の制御ｺｰﾄﾞ(編集後)"},
    {"rBlankEnd", "r", "空白桁(編集後)"},
    {"rEdgeEnd", "r", "ﾌｨｰﾙﾄﾞ両端(編集後)"},
    {"mText", "m", "ﾏｸﾛ命令(編集中)"},
    {"mCtrl", "m", "ﾏｸﾛ命令中の制御ｺｰﾄﾞ(編集中)"},
    {"mBlank", "m", "空白桁(編集中)"},
    {"mEdge", "m", "ﾌｨｰﾙﾄﾞ両端(編集中)"},
    {"mMenuKey", "m", "編集ﾒﾆｭｰｷｰ"},
    {"mMenuLabel", "m", "編集ﾒﾆｭｰﾗﾍﾞﾙ"},
    {"mError", "m", "ｴﾗｰﾒｯｾｰｼﾞ"},
    {"mTextEnd", "m", "ﾏｸﾛ命令(編集後)"},
    {"mCtrlEnd", "m", "ﾏｸﾛ命令中の制御ｺｰﾄﾞ(編集後)"},
    {"mBlankEnd", "m", "空白桁(編集後)"},
    {"mEdgeEnd", "m", "ﾌｨｰﾙﾄﾞ両端(編集後)"},
};

struct GroupName {
  char letter;
  std::string_view name;
};

constexpr GroupName kGroups[] = {
    {'C', "共通"},
    {'O', "ｵｰﾌﾟﾆﾝｸﾞ"},
    {'D', "ﾛｸﾞ編集"},
    {'S', "ﾛｸﾞ編集(選択ｴﾘｱ)"},
    {'E', "ﾛｸﾞ編集(編集ｴﾘｱ)"},
    {'M', "ﾏｸﾛ編集"},
    {'r', "ﾏｸﾛ編集(注釈)"},
    {'m', "ﾏｸﾛ編集(命令)"},
};

const ElementText& Text(ColorElement element) { return kElements[static_cast<int>(element)]; }

}  // namespace

std::string_view ColorElementName(ColorElement element) { return Text(element).name; }
std::string_view ColorElementGroups(ColorElement element) { return Text(element).groups; }
std::string_view ColorElementDescription(ColorElement element) { return Text(element).description; }
std::string_view ColorElementNote(ColorElement element) { return Text(element).note; }

std::string_view ColorGroupName(char letter) {
  for (const GroupName& group : kGroups) {
    if (group.letter == letter) return group.name;
  }
  return {};
}

}  // namespace vondal
