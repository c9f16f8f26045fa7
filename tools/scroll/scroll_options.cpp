#include "tools/scroll/scroll_options.h"

#include <cctype>
#include <climits>
#include <string_view>

#include "app/text/sjis.h"
#include "app/text/standard_options.h"
#include "tools/scroll/line_colors.h"

namespace vondal::scroll {
namespace {

// A decimal number with an optional sign and nothing else; false for anything else, also for a
// number too large for an int.
bool ParseNumber(std::string_view text, int* value) {
  bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  long long number = 0;
  for (char c : text) {
    if (!IsAsciiDigit(static_cast<unsigned char>(c))) return false;
    number = number * 10 + (c - '0');
    if (number > INT_MAX) return false;
  }
  *value = static_cast<int>(negative ? -number : number);
  return true;
}

// "-Vondal/" b f: the frame in the background colour b, or in the colour f on black when b is
// black ("k").
uint8_t VondalFrameAttr(std::string_view letters) {
  char background = letters.size() > 0 ? letters[0] : 0;
  char foreground = letters.size() > 1 ? letters[1] : 0;
  if (background == 'k') return ColorOfLetter(foreground);
  return static_cast<uint8_t>(ColorOfLetter(background) * 16);
}

bool StartsWithVondal(std::string_view arg) {
  constexpr std::string_view kMark = "-vondal/";
  if (arg.size() < kMark.size()) return false;
  for (size_t i = 0; i < kMark.size(); ++i) {
    if (AsciiLower(arg[i]) != kMark[i]) return false;
  }
  return true;
}

}  // namespace

std::string HelpText() {
  return "使い方: scroll [ｵﾌﾟｼｮﾝ] ﾃｷｽﾄﾌｧｲﾙ\n"
         "ﾃｷｽﾄﾌｧｲﾙを一つ、端末の四角い範囲に表示するﾋﾞｭｰｱです（Vondal が報告を見せるのに使う）。\n"
         "  -tn  上端の行（既定 1）       -bn  下端の行（負の数は画面の下端から）\n"
         "  -ln  左端の桁（既定 0）       -rn  右端の桁（負の数は画面の右端から）\n"
         "  -fn  横ｽｸﾛｰﾙしない先頭の桁数（既定 8）\n"
         "  -hn  左右ｷｰ一回の横ｽｸﾛｰﾙ量（既定 8）\n"
         "  -cx  行の色分け: c 各行の先頭文字が色、sﾌｧｲﾙ 色ﾌｧｲﾙ、0 1 3 d t 報告の種類ごと\n"
         "  -m   終わるときにﾒﾓﾘ使用量を表示\n"
         "  -n   見出し行にﾌｧｲﾙ名を表示\n"
         "  -s   二分割表示を同期してｽｸﾛｰﾙ\n" +
         std::string(StandardOptionLines()) +
         "Enter で終わると終了ｺｰﾄﾞ 13、Esc で終わると 27、誤りのときは 1 を返す。\n"
         "詳しくは man scroll\n";
}

std::string ParseOptions(const std::vector<std::string>& args, int screenRows, int screenCols,
                         ScrollOptions* options) {
  ScrollOptions& o = *options;
  o.bottom = screenRows - 3;
  o.right = screenCols - 1;
  for (const std::string& arg : args) {
    if (arg.empty() || arg[0] != '-') {
      o.fileName = arg;
      continue;
    }
    if (StartsWithVondal(arg)) {
      o.frameAttr = VondalFrameAttr(std::string_view(arg).substr(8));
      o.nameHeader = true;
      o.synchronous = true;
      o.startedByVondal = true;
      continue;
    }
    const char letter = arg.size() > 1 ? AsciiLower(arg[1]) : 0;
    const std::string_view value = arg.size() > 2 ? std::string_view(arg).substr(2) : std::string_view();
    int n = 0;
    const bool numeric = ParseNumber(value, &n);
    switch (letter) {
      case 't':
        if (!numeric || n < 0) return "Invalid top position";
        o.top = n;
        break;
      case 'l':
        if (!numeric || n < 0) return "Invalid left position";
        o.left = n;
        break;
      case 'b':
        if (!numeric) return "Invalid bottom position";
        o.bottom = n < 0 ? screenRows + n - 1 : n;
        if (o.bottom > screenRows - 3) return "Invalid bottom position";
        break;
      case 'r':
        if (!numeric) return "Invalid right position";
        o.right = n < 0 ? screenCols + n - 1 : n;
        if (o.right >= screenCols) return "Invalid right position";
        break;
      case 'f':
        if (!numeric || n < 0) return "Invalid fixed length";
        o.fixed = n;
        break;
      case 'h':
        if (!numeric || n <= 0) return "Invalid horizontal step";
        o.step = n;
        break;
      case 'c':
        if (value.empty() || !IsColorMode(value[0])) return "Unknown color mode";
        o.colorMode = value[0];
        if (o.colorMode == 's') o.colorFile = std::string(value.substr(1));
        break;
      case 'm':
        o.memoryReport = true;
        break;
      case 'n':
        o.nameHeader = true;
        break;
      case 's':
        o.synchronous = true;
        break;
      default:
        return "Unknown option";
    }
  }
  // Values may be as large as an int holds: the sizes are figured without overflow.
  const long long width = static_cast<long long>(o.right) - o.left + 1;
  if (static_cast<long long>(o.bottom) - o.top - 1 < 0) return "Invalid vertical size";
  if (width < 12 || width < o.fixed + 2LL) return "Invalid horizontal size";
  if (o.fixed > width - 2) return "Invalid fixed length";
  return "";
}

}  // namespace vondal::scroll
