#include "output/output_menu.h"

#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "color/color_set.h"
#include "console/viewer.h"
#include "output/contest_outputs.h"
#include "output/log_outputs.h"
#include "output/table_outputs.h"

namespace vondal {
namespace {

constexpr int kCountRow = 4;
constexpr int kCountCol = 28;

// The screen of the menu. Right after an output, its line 13 ("完了") stays until the next key,
// and the message line always keeps a message of the output ("出力ﾌｧｲﾙに書込めません").
void DrawMenuScreen(const OutputContext& context, bool afterOutput) {
  Screen& screen = TheScreen();
  for (int row = 1; row < MessageRow(); ++row) {
    if (!afterOutput || row != kOutputNoticeRow) screen.ClearCells(row, 0, screen.Width() - 1);
  }
  int marked = 0;
  for (int n = 0; n < context.index.size(); ++n) marked += context.index[n].mark != 0;
  const int col = screen.PutText("全ﾚｺｰﾄﾞ" + std::to_string(context.log.RecordCount()), kCountRow, kCountCol,
                                 screen.Width(), kPlainAttr, kPlainAttr);
  screen.PutText("標識ﾚｺｰﾄﾞ" + std::to_string(marked), kCountRow, col + 2, screen.Width(), kPlainAttr, kPlainAttr);
}

// T (作表): the tables menu and its sub-menus; the table's report, when one was written.
std::optional<std::string> TablesMenu(const OutputContext& context) {
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
    case 'F': return RunTable(context, static_cast<char>(key.upper), 0);
    default: return std::nullopt;
  }
  ShowMenu(sub);
  const KeyEvent kind = ReadKey();
  return RunTable(context, static_cast<char>(key.upper), static_cast<char>(kind.upper));
}

// C (ｺﾝﾃｽﾄﾛｸﾞ): the contest menu; the contest file, when one was written.
std::optional<std::string> ContestMenu(const OutputContext& context) {
  ShowMenu(">加工出力>ｺﾝﾃｽﾄﾛｸﾞ> JJARL形式 KKCJ形式 D運用日数 O他ｺﾝﾃｽﾄ PQSOﾊﾟｰﾃｨ Cﾁｪｯｸﾘｽﾄ");
  const KeyEvent key = ReadKey();
  switch (key.upper) {
    case 'J':
    case 'K':
    case 'D':
    case 'O':
    case 'P':
    case 'C': return RunContestOutput(context, static_cast<char>(key.upper));
    default: return std::nullopt;
  }
}

}  // namespace

int RunOutputMenu(const OutputContext& context) {
  bool afterOutput = false;
  for (;;) {
    DrawMenuScreen(context, afterOutput);
    afterOutput = false;
    ShowMenu(">加工出力> L部分ﾛｸﾞ P短縮ﾛｸﾞ Cｺﾝﾃｽﾄﾛｸﾞ SCSV AADIF T作表 Q終了");
    const KeyEvent key = ReadKey();
    switch (key.upper) {
      case 'Q':
      case 27: ShowMenu(""); return 0;
      case 13: ShowMenu(""); return 'e';
      case ':':
      case '@':
      case '^': ShowMenu(""); return key.upper;
      case 'L': afterOutput = RunPartialLog(context); break;
      case 'P': afterOutput = RunPackedLog(context); break;
      case 'S': afterOutput = RunCsvExport(context); break;
      case 'A': afterOutput = RunAdifExport(context); break;
      case 'C':
      case 'T':
      case 9: {
        const std::optional<std::string> report = key.upper == 'C' ? ContestMenu(context) : TablesMenu(context);
        afterOutput = report.has_value();
        if (report) {
          // The report in the viewer; leaving it with Enter goes on into the record editor.
          if (RunViewer(*report, ViewerColorLetters()) == 13) {
            ShowMenu("");
            return 'e';
          }
          ShowCursor(false);
        }
        break;
      }
      default: break;
    }
  }
}

}  // namespace vondal
