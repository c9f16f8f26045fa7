#include "output/output_parameters.h"

#include "log/field_table.h"

namespace vondal {
namespace {

OutputParameter Text(int id, const char* label, char kind, int maxLength, std::string value) {
  OutputParameter p;
  p.id = id;
  p.label = label;
  p.kind = kind;
  p.maxLength = maxLength;
  p.value = std::move(value);
  return p;
}

OutputParameter Choice(int id, const char* label, int width, std::vector<std::string> choices) {
  OutputParameter p;
  p.id = id;
  p.label = label;
  p.kind = 'N';
  p.maxLength = width;
  p.choices = std::move(choices);
  p.value = p.choices.front();
  return p;
}

}  // namespace

std::string LogBaseName(std::string_view logPath) {
  const size_t slash = logPath.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? logPath : logPath.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

void OutputParameter::Choose(int index) {
  if (choices.empty()) return;
  const int count = static_cast<int>(choices.size());
  choice = ((index % count) + count) % count;
  value = choices[choice];
}

OutputParameters DefaultOutputParameters(std::string_view transFolder, std::string_view logPath) {
  std::string folder(transFolder);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const std::string base = folder + LogBaseName(logPath);
  std::vector<std::string> fieldNames;
  for (int field = 0; field < kStoredFieldCount; ++field)
    fieldNames.emplace_back(DefaultFieldTable()[field].name);
  return {
      Text(0, "出力ﾌｧｲﾙ", 'T', 255, ".VD"),
      Text(1, "出力ﾌｧｲﾙ", 'T', 255, ".VDP"),
      Text(2, "出力ﾌｧｲﾙ", 'T', 255, base + ".CSV"),
      Text(3, "出力ﾌｧｲﾙ", 'T', 255, base + ".ADI"),
      Text(4, "出力ﾌｧｲﾙ", 'T', 255, base + ".TXT"),
      Text(5, "出力ﾌｧｲﾙ", 'T', 255, base + ".TXT"),
      Text(6, "出力ﾌｧｲﾙ", 'T', 255, base + ".TXT"),
      Choice(7, "対象ﾚｺｰﾄﾞ", 11, {"標識ﾚｺｰﾄﾞ", "非標識ﾚｺｰﾄﾞ", "全ﾚｺｰﾄﾞ", "式で選択"}),
      Text(8, "選択式", 'S', 250, ""),
      Choice(9, "短縮形式", 6, {"低短縮", "高短縮"}),
      Text(10, "ﾌｨｰﾙﾄﾞ", 'S', 127, "DATE-rQSL"),
      Choice(11, "ﾍｯﾀﾞ行", 4, {"なし", "あり"}),
      Choice(12, "\"引用符\"", 4, {"なし", "あり"}),
      Text(13, "区切文字", 'S', 15, "\t"),
      Choice(14, "集計単位", 2, {"年", "月"}),
      Choice(15, "空白期間", 4, {"出力", "省略"}),
      Choice(16, "間隔(分)", 2, {"1", "2", "3", "4", "5", "6", "10", "12", "15", "20", "30", "60"}),
      Choice(17, "ﾌｨｰﾙﾄﾞ", 8, fieldNames),
      Text(18, "ｻﾌﾞﾌｨｰﾙﾄﾞ外区切文字", 'S', 8, ";"),
      Text(19, "ｻﾌﾞﾌｨｰﾙﾄﾞ", 'S', 15, ""),
      Text(20, "ｻﾌﾞﾌｨｰﾙﾄﾞ内区切文字", 'S', 8, ","),
      Choice(21, "文字種", 18,
             {"半角英字", "半角英字,数字", "半角英字,記号", "半角英字,数字,記号", "半角ｶﾅ", "半角ｶﾅ,数字",
              "半角ｶﾅ,記号", "半角ｶﾅ,数字,記号", "ﾕｰｻﾞ定義"}),
      Text(22, "ﾕｰｻﾞ定義文字種", 'S', 24, ""),
      Text(23, "括弧種類", 'T', 15, "["),
      Choice(24, "間隔(kHz)", 3, {"1", "2", "5", "10", "20", "25", "50", "100"}),
      Choice(25, "ｿｰﾄ方法", 17,
             {"ASCII順", "ASCII順(大小無視)", "頻度順(昇順)", "頻度順(降順)", "出現順", "ﾕｰｻﾞ定義"}),
      Text(26, "ﾕｰｻﾞ定義ｿｰﾄ方法", 'T', 24, ""),
      Choice(27, "出力形式", 13,
             {"頻度 語句", "頻度<tab>語句", "語句 頻度", "語句<tab>頻度", "語句のみ", "実個数", "ﾕｰｻﾞ定義"}),
      Text(28, "ﾕｰｻﾞ定義出力形式", 'S', 24, ""),
      Choice(29, "空白ﾚｺｰﾄﾞ", 14, {"区切りとみなす", "無視"}),
      Choice(30, "空白日付", 14, {"区切りとみなす", "無視"}),
      Choice(
          31, "項目", 22,
          {"全ての市郡", "全ての市郡(消滅除く)", "交信した市郡", "交信した市郡(消滅除く)", "都道府県のみ"}),
      Choice(32, "順序", 12, {"県市郡区の順", "都道府県の順"}),
      Choice(33, "検査ﾚﾍﾞﾙ", 6, {"最小限", "標準", "拡張", "お節介"}),
      Text(34, "ｺﾝﾃｽﾄ名", 'T', 41, " CONTEST"),
      Choice(35, "出力形式", 19,
             {"電子ﾛｸﾞJARL形式R2.1", "電子ﾛｸﾞJARL形式R1.0", "電子ﾛｸﾞ", "電子ﾛｸﾞ(新ﾏﾙﾁ=*)", "CSV",
              "印刷用(50行)", "印刷用(40行)"}),
      Choice(36, "時刻", 8, {"無変換", "JST→UTC"}),
      Text(37, "最低QSO数", 'T', 7, "100"),
  };
}

OutputParameters& TheOutputParameters() {
  static OutputParameters parameters = DefaultOutputParameters("", "");
  return parameters;
}

}  // namespace vondal
