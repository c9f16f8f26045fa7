#include "output/output_menu.h"

#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "output/log_outputs.h"

namespace vondal {
namespace {

constexpr int kCountRow = 4;
constexpr int kCountCol = 28;

void DrawMenuScreen(const OutputContext& context) {
  Screen& screen = TheScreen();
  screen.ClearRows(1, MenuRow() - 1);
  int marked = 0;
  for (int n = 0; n < context.index.size(); ++n) marked += context.index[n].mark != 0;
  const int col = screen.PutText("全ﾚｺｰﾄﾞ" + std::to_string(context.log.RecordCount()), kCountRow, kCountCol,
                                 screen.Width(), kPlainAttr, kPlainAttr);
  screen.PutText("標識ﾚｺｰﾄﾞ" + std::to_string(marked), kCountRow, col + 2, screen.Width(), kPlainAttr, kPlainAttr);
}

// The tables (count, word, city and inspection tables) and the contest outputs come with their
// own work: their sub-menus are shown, and the outputs say that they are not built yet.
void TablesMenu() {
  ShowMenu(">加工出力>作表> N交信数 T時刻 D日数 Cｺｰﾙｻｲﾝ F周波数 W語句 I検査");
  const KeyEvent key = ReadKey();
  const char* sub = nullptr;
  switch (key.upper) {
    case 'N': sub = ">加工出力>作表>交信数> Y年/月 D曜日 Aｺｰﾙｴﾘｱ Bﾊﾞﾝﾄﾞﾓｰﾄﾞ P県市郡区 U連続ﾃﾞｰﾀ"; break;
    case 'T': sub = ">加工出力>作表>時刻> S開始時刻 T継続時刻 L交信長"; break;
    case 'C': sub = ">加工出力>作表>ｺｰﾙｻｲﾝ> B本体 Pﾌﾟﾘﾌｨｯｸｽ Sｻﾌｨｯｸｽ"; break;
    case 'W': sub = ">加工出力>作表>語句> W語句集 E文字抽出 Sｻﾌﾞﾌｨｰﾙﾄﾞ"; break;
    case 'I': sub = ">加工出力>作表>検査> C文字 Vﾃﾞｰﾀ量 Eｴﾗｰ検査"; break;
    case 'D':
    case 'F': ShowMessage("未実装です"); return;  // the tables work fills these
    default: return;
  }
  ShowMenu(sub);
  ReadKey();
  ShowMessage("未実装です");  // the tables and inspection work fill these
}

}  // namespace

int RunOutputMenu(const OutputContext& context) {
  for (;;) {
    DrawMenuScreen(context);
    ShowMenu(">加工出力> L部分ﾛｸﾞ P短縮ﾛｸﾞ Cｺﾝﾃｽﾄﾛｸﾞ SCSV AADIF T作表 Q終了");
    const KeyEvent key = ReadKey();
    switch (key.upper) {
      case 'Q':
      case 27: ShowMenu(""); return 0;
      case 13: ShowMenu(""); return 'e';
      case ':':
      case '@':
      case '^': ShowMenu(""); return key.upper;
      case 'L': RunPartialLog(context); break;
      case 'P': RunPackedLog(context); break;
      case 'S': RunCsvExport(context); break;
      case 'A': RunAdifExport(context); break;
      case 'C': ShowMessage("未実装です"); break;  // the contest-log work fills this
      case 'T':
      case 9: TablesMenu(); break;
      default: break;
    }
  }
}

}  // namespace vondal
