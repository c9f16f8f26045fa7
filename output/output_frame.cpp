#include "output/output_frame.h"

#include <algorithm>

#include "app/text/version.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/edit_display.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"
#include "macro/string_editor.h"
#include "output/table_word_specs.h"

namespace vondal {
namespace {

constexpr int kFirstRow = 3;
constexpr int kCountRow = 4;
constexpr int kCountCol = 28;

// Where a parameter stands on the form.
struct Slot {
  int row = 0;
  int labelEnd = 10;  // the label ends just before this column
  int valueCol = 11;
};

std::vector<Slot> LayOut(const std::vector<int>& list) {
  std::vector<Slot> slots;
  int row = kFirstRow - 1;
  for (size_t i = 0; i < list.size(); ++i) {
    const int p = list[i];
    const bool sameLine = i > 0 && ((p == kOuterSeparator && list[i - 1] == 17) || p == 20 || p == 22 ||
                                    p == kUserSort || p == kUserFormat);
    Slot slot;
    if (sameLine) {
      slot.row = row;
      slot.labelEnd = 48;
      slot.valueCol = 49;
    } else {
      slot.row = ++row;
      if (p == kOuterSeparator) {
        slot.labelEnd = 20;
        slot.valueCol = 21;
      }
    }
    slots.push_back(slot);
  }
  return slots;
}

const std::vector<std::string>& FieldLines() {
  static const std::vector<std::string> lines = {
      "ﾌｨｰﾙﾄﾞ DATE START END CALLSIGN FREQ MODE sRST rRST", "        QTH NAME RIG CONTEST",
      "         REMARKS MyQTH MyRIG sQSL rQSL"};
  return lines;
}

const std::vector<std::string>& TypeLines() {
  static const std::vector<std::string> lines = {
      "文字種 半角 h全 a英字 l英小 u英大 n数字 kｶﾀｶﾅ s空白 p句点 b括弧 m記号",
      "全角 Z全 A英字 L英小 U英大 N数字 Kｶﾀｶﾅ S空白 P句点 B括弧 M記号", "Hひらがな J仮名 C漢字 Gｷﾞﾘｼｬ文字 Rｷﾘﾙ文字",
      "$空白3種(半角空白,全角空白,ﾀﾌﾞ) cｺﾝﾄﾛｰﾙｺｰﾄﾞ tﾀﾌﾞ"};
  return lines;
}

// The on-screen guide of a parameter.
std::vector<std::string> Guide(int p) {
  std::vector<std::string> lines;
  switch (p) {
    case kPartialFile:
    case kPackedFile:
      lines = {"拡張子は変更しないことを推奨"};
      break;
    case kSelection:
      lines = FieldLines();
      lines.push_back("変数   tag ja dx");
      lines.push_back("演算子 = != < <= > >= =# !=# <# <=# ># >=# ! & ^ |");
      break;
    case kPacking:
      lines = {"低短縮=ｴﾃﾞｨﾀによる編集向き", "高短縮=ｴﾃﾞｨﾀによる編集不適"};
      break;
    case kFields:
      lines = FieldLines();
      lines.push_back("ｻﾌﾞﾌｨｰﾙﾄﾞ記述例 remarks.QSL[] myrig.()");
      break;
    case kUserCharacterTypes:
      lines = TypeLines();
      break;
    case kUserSort:
      lines = {"比較基準 aｺｰﾄﾞ i大小無視 b長さ c字数 n数値 d差分数値 pﾌﾟﾘﾌｨｯｸｽ f頻度 o出現順", "大文字=逆順"};
      for (const std::string& line : TypeLines()) lines.push_back(line);
      break;
    case kUserFormat:
      lines = {"出力書式 $l:文字列左詰 $r:右詰 $q:\"引用符付\"左詰 $n:連番 $f:頻度 $t:ﾀﾌﾞ", "表示幅記述例  $20r"};
      break;
    default:
      break;
  }
  return lines;
}

class Form {
 public:
  Form(const OutputContext& context, const std::string& title, const std::vector<int>& list)
      : context_(context), title_(title), list_(list), slots_(LayOut(list)), params_(TheOutputParameters()) {}

  std::optional<OutputJob> Run();

 private:
  void Draw();
  void DrawValue(int i, bool finished);
  void DrawLabel(int i, bool current);
  void ShowGuide(int i);
  // Edits parameter i (a text from byte `cursor`, or from its end when negative); returns 13
  // (Enter), 27 (Esc), 'U' (Up) or 'D' (Down).
  int Edit(int i, int cursor);
  // The first failing check: its message, and the parameter (and position) to go to.
  bool Validate(OutputJob& job, int& focus, int& position);
  int IndexOf(int parameter) const;
  // The existing-file question; false to leave the form, `back` true to return to it.
  bool AskExisting(OutputJob& job, OutputFile::Mode& mode, int& blankLines, bool& back);

  const OutputContext& context_;
  std::string title_;
  std::vector<int> list_;
  std::vector<Slot> slots_;
  OutputParameters& params_;
  int targetCol_ = 0;  // where the target count stands on line 4
  int guideRows_ = 0;
};

int Form::IndexOf(int parameter) const {
  const auto it = std::find(list_.begin(), list_.end(), parameter);
  return it == list_.end() ? 0 : static_cast<int>(it - list_.begin());
}

void Form::DrawLabel(int i, bool current) {
  Screen& screen = TheScreen();
  const OutputParameter& p = params_[list_[i]];
  const Slot& slot = slots_[i];
  const int width = static_cast<int>(p.label.size());
  const int col = std::max(0, slot.labelEnd - width);
  const uint8_t attr = ColorOf(ColorElement::FieldName);
  screen.PutText(p.label, slot.row, col, slot.labelEnd, attr, attr);
  if (current) screen.ReverseCells(slot.row, col, slot.labelEnd - 1);
}

void Form::DrawValue(int i, bool finished) {
  Screen& screen = TheScreen();
  const OutputParameter& p = params_[list_[i]];
  const Slot& slot = slots_[i];
  const int right = screen.Width() - 1;
  if (p.kind == 'N') {
    screen.ClearCells(slot.row, slot.valueCol, std::min(right - 1, slot.valueCol + p.maxLength + 1));
    const uint8_t attr = ColorOf(ColorElement::eTextEnd);
    screen.PutText("[" + p.value + "]", slot.row, slot.valueCol, right, attr, attr);
    return;
  }
  EditState state;
  state.text = p.value;
  state.style = EditStyle(p.kind == 'S' ? "[･<] _" : "[･<] /");
  state.row = slot.row;
  state.col = slot.valueCol + 1;
  state.maxLength = std::min(p.maxLength, kMaxEditBytes);
  state.width = std::max(1, std::min({state.maxLength + 1, screen.Width() - 13, right - state.col}));
  DrawEditLine(state, finished);
}

void Form::Draw() {
  Screen& screen = TheScreen();
  screen.ClearRows(1, MenuRow() - 1);
  screen.PutText(title_, 2, 2, screen.Width(), ColorOf(ColorElement::Title), ColorOf(ColorElement::Title));
  const int count = context_.log.RecordCount();
  int marked = 0;
  for (int n = 0; n < context_.index.size(); ++n) marked += context_.index[n].mark != 0;
  int col = screen.PutText("全ﾚｺｰﾄﾞ" + std::to_string(count), kCountRow, kCountCol, screen.Width(), kPlainAttr,
                           kPlainAttr);
  targetCol_ = 2 + screen.PutText("標識ﾚｺｰﾄﾞ" + std::to_string(marked), kCountRow, col + 2, screen.Width(),
                                  kPlainAttr, kPlainAttr);
  for (size_t i = 0; i < list_.size(); ++i) {
    DrawLabel(static_cast<int>(i), false);
    DrawValue(static_cast<int>(i), true);
  }
}

void Form::ShowGuide(int i) {
  Screen& screen = TheScreen();
  const int first = slots_.back().row + 2;
  for (int row = first; row < first + guideRows_ && row < MessageRow(); ++row) screen.ClearCells(row, 0, screen.Width() - 1);
  guideRows_ = 0;
  if (!TheConsoleSwitches().guide) return;
  for (const std::string& line : Guide(list_[i])) {
    const int row = first + guideRows_++;
    if (row >= MessageRow()) break;
    screen.PutText(line, row, 1, screen.Width() - 1, kPlainAttr, kPlainAttr);
  }
}

int Form::Edit(int i, int cursor) {
  OutputParameter& p = params_[list_[i]];
  if (p.kind == 'N') {
    ShowMenu("$←→$選択 $Tab$規定値");
    for (;;) {
      DrawValue(i, false);
      Flush();
      const KeyEvent key = ReadKey();
      const int extended = key.code >= kExtendedKey ? key.code - kExtendedKey : -1;
      if (extended == scan::kLeft) {
        p.Choose(p.choice - 1);
      } else if (extended == scan::kRight) {
        p.Choose(p.choice + 1);
      } else if (key.code == 9) {
        p.Choose(0);
      } else if (extended == scan::kUp) {
        return 'U';
      } else if (extended == scan::kDown) {
        return 'D';
      } else if (key.code == 13 || key.code == 27) {
        return key.code;
      }
    }
  }
  ShowMenu("");
  EditState& state = TheEditState();
  std::string undelete = std::move(state.undelete);
  state = EditState{};
  state.undelete = std::move(undelete);
  const Slot& slot = slots_[i];
  Screen& screen = TheScreen();
  state.text = p.value;
  state.style = EditStyle(p.kind == 'S' ? "[･<] _" : "[･<] /");
  state.exits.keys = std::string("\x1B\xFF") + static_cast<char>(scan::kUp) + static_cast<char>(scan::kDown);
  state.exits.codes = std::string("\x1B\xFF") + "UD";
  state.row = slot.row;
  state.col = slot.valueCol + 1;
  state.maxLength = std::min(p.maxLength, kMaxEditBytes);
  state.width = std::max(1, std::min({state.maxLength + 1, screen.Width() - 13, screen.Width() - 1 - state.col}));
  state.cursor = cursor >= 0 ? std::min(cursor, state.TextLength()) : state.TextLength();
  const int result = vondal::Edit(state, InputMode::kEdit);
  p.value = state.text;
  if (result == kExtendedKey + 'U') return 'U';
  if (result == kExtendedKey + 'D') return 'D';
  return result == 13 ? 13 : 27;
}

bool Form::Validate(OutputJob& job, int& focus, int& position) {
  auto fail = [&](std::string_view message, int parameter, int at = -1) {
    ShowMessage(message, TheEditState());
    focus = IndexOf(parameter);
    position = at;
    return false;
  };
  // 1. The selection expression.
  if (job.Has(kSelection) && params_[kTarget].choice == kSelectedRecords) {
    const int code = job.selection.Compile(params_[kSelection].value, true);
    if (code != kConditionOk) return fail(ConditionMessage(code), kSelection, job.selection.errorPosition());
  }
  // 2-4. The target records.
  job.targetCount = CountTargets(job);
  Screen& screen = TheScreen();
  // Line 4 behind the two counts: no value of the form reaches there.
  screen.ClearCells(kCountRow, targetCol_, screen.Width() - 1);
  screen.PutText("対象ﾚｺｰﾄﾞ" + std::to_string(job.targetCount), kCountRow, targetCol_, screen.Width(), kPlainAttr,
                 kPlainAttr);
  if (job.targetCount == 0) return fail("対象ﾚｺｰﾄﾞがありません", kTarget);
  if (job.Has(kContestName) && job.targetCount > 20000) return fail("対象ﾚｺｰﾄﾞ数が制限を超えます", kTarget);
  // 5. The subfield of the tables.
  if (job.Has(kSubfield) && !params_[kSubfield].value.empty() && OpeningOfSubfield(params_[kSubfield].value).empty()) {
    return fail("ｻﾌﾞﾌｨｰﾙﾄﾞが不適当です", kSubfield);
  }
  // 6. The field selection.
  if (job.Has(kFields)) {
    job.fields = ParseFieldSelection(params_[kFields].value);
    if (!job.fields.error.empty()) return fail(job.fields.error, kFields, job.fields.errorPosition);
  }
  // 7-9. The user's character types, sort and format of the word tables.
  const WordFormError texts = CheckWordTableTexts(params_, list_);
  if (!texts.message.empty()) return fail(texts.message, texts.parameter, texts.position);
  return true;
}

bool Form::AskExisting(OutputJob& job, OutputFile::Mode& mode, int& blankLines, bool& back) {
  mode = OutputFile::Mode::kReplace;
  blankLines = 0;
  back = false;
  const std::string& name = params_[job.fileParameter].value;
  if (!context_.fs.Open(name, OpenMode::kRead)) return true;
  const bool logOutput = job.fileParameter == kPartialFile || job.fileParameter == kPackedFile;
  ShowMenu(logOutput ? ">既存ﾌｧｲﾙ> A追加 O上書 Q中止" : ">既存ﾌｧｲﾙ> $0～9$空行挿入後追加 O上書 Q中止");
  const KeyEvent key = ReadKey();
  ShowMenu("");
  if (key.upper == 'Q') return false;
  if (key.upper == 'O') return true;
  if (logOutput && key.upper == 'A') {
    mode = OutputFile::Mode::kAppend;
    return true;
  }
  if (!logOutput && key.code >= '0' && key.code <= '9') {
    mode = OutputFile::Mode::kAppend;
    blankLines = key.code - '0';
    return true;
  }
  back = true;
  return true;
}

// Whether another program holds the existing file `name` as its log.
bool HeldElsewhere(FileSystem& fs, const std::string& name) {
  if (name.empty() || !fs.Exists(name)) return false;
  std::unique_ptr<FileLock> lock;
  return fs.Lock(name, true, lock) == LockResult::kHeld;
}

std::optional<OutputJob> Form::Run() {
  Draw();
  int focus = 0;
  int position = -1;
  for (;;) {
    DrawLabel(focus, true);
    ShowGuide(focus);
    const int result = Edit(focus, position);
    position = -1;
    DrawLabel(focus, false);
    DrawValue(focus, true);
    if (result == 27) return std::nullopt;
    if (result == 'U') {
      focus = (focus + static_cast<int>(list_.size()) - 1) % static_cast<int>(list_.size());
      continue;
    }
    if (result == 'D') {
      focus = (focus + 1) % static_cast<int>(list_.size());
      continue;
    }
    OutputJob job(context_, list_);
    if (!Validate(job, focus, position)) continue;
    // Written over or behind its back, the open log would lose what the editor writes next; so
    // would a log another program holds (doc/reliability.md, "One writer").
    if (context_.fs.SameFile(params_[job.fileParameter].value, context_.log.path()) ||
        HeldElsewhere(context_.fs, params_[job.fileParameter].value)) {
      ShowMessage("使用中のﾛｸﾞには出力できません", TheEditState());
      focus = 0;
      continue;
    }
    OutputFile::Mode mode;
    int blankLines;
    bool back;
    if (!AskExisting(job, mode, blankLines, back)) return std::nullopt;
    if (back) continue;
    job.file = std::make_unique<OutputFile>(context_.fs);
    if (!job.file->Open(params_[job.fileParameter].value, mode)) {
      ShowMessage("ｵｰﾌﾟﾝできません", TheEditState());
      focus = 0;
      continue;
    }
    Screen& screen = TheScreen();
    screen.PutText("処理中..", kOutputNoticeRow, 1, screen.Width(), kPlainAttr, kPlainAttr);
    Flush();
    for (int i = 0; i < blankLines; ++i) job.file->Append("\r\n");
    if (job.fileParameter == kContestFile && TheConsoleSwitches().guide) {
      if (job.Has(kContestFormat) && params_[kContestFormat].choice <= 1) {
        job.file->Append("サマリー部分の【】で囲んだ項目を実際の値に書き直してください\r\n");
      }
      job.file->Append("提出前に書式等を十分点検してください\r\n\r\n");
    }
    if (job.fileParameter == kTableFile) job.file->Append(ReportHeader(job, title_));
    return job;
  }
}

}  // namespace

OutputJob::OutputJob(const OutputContext& context, const std::vector<int>& list)
    : context(context), parameters(TheOutputParameters()), list(list), fileParameter(list.front()), records_(context.log) {}

bool OutputJob::Has(int parameter) const { return std::find(list.begin(), list.end(), parameter) != list.end(); }

bool OutputJob::MarkedAsWanted(int n) const {
  const int target = parameters[kTarget].choice;
  if (target == kMarkedRecords || target == kUnmarkedRecords) {
    const bool marked = n < context.index.size() && context.index[n].mark != 0;
    return marked == (target == kMarkedRecords);
  }
  return true;
}

const RecordTexts* OutputJob::Target(int n) {
  if (!MarkedAsWanted(n)) return nullptr;
  const RecordTexts& texts = records_.Texts(n);
  if (parameters[kTarget].choice == kSelectedRecords) {
    const bool tag = n < context.index.size() && context.index[n].mark != 0;
    if (selection.Evaluate(texts, tag) != 1) return nullptr;
  }
  return &texts;
}

const char* OutputJob::TargetImage(int n) {
  if (!MarkedAsWanted(n)) return nullptr;
  if (parameters[kTarget].choice == kSelectedRecords && !Target(n)) return nullptr;
  return records_.Image(n);
}

int CountTargets(OutputJob& job) {
  const int count = job.context.log.RecordCount();
  const int target = job.parameters[kTarget].choice;
  int marked = 0;
  for (int n = 0; n < count && n < job.context.index.size(); ++n) marked += job.context.index[n].mark != 0;
  switch (target) {
    case kMarkedRecords: return marked;
    case kUnmarkedRecords: return count - marked;
    case kAllRecords: return count;
    default: {
      int selected = 0;
      for (int n = 0; n < count; ++n) selected += job.Target(n) != nullptr;
      return selected;
    }
  }
}

std::optional<OutputJob> RunOutputFrame(const OutputContext& context, const std::string& title,
                                        const std::vector<int>& list) {
  return Form(context, title, list).Run();
}

bool FinishOutput(OutputJob& job, std::string_view name) {
  const bool done = job.file && job.file->Finish();
  Screen& screen = TheScreen();
  screen.ClearCells(kOutputNoticeRow, 0, screen.Width() - 1);
  if (!done) {
    ShowMessage("出力ﾌｧｲﾙに書込めません", TheEditState());
    return false;
  }
  if (job.context.recordUse && !name.empty()) job.context.recordUse(name);
  screen.PutText("完了", kOutputNoticeRow, 1, screen.Width(), kPlainAttr, kPlainAttr);
  Flush();
  return true;
}

std::string ReportHeader(const OutputJob& job, const std::string& title) {
  std::string header = std::string("Vondal ") + kProgramVersion + " ----\r\n";
  header += job.context.logName + "\r\n";
  header += "[" + title + "]\r\n";
  const OutputParameters& p = job.parameters;
  for (size_t i = 1; i < job.list.size(); ++i) {
    const int n = job.list[i];
    if (n == kSelection && p[kTarget].choice != kSelectedRecords) continue;
    if (n == 20 && p[kSubfield].value.empty()) continue;
    if (n == kUserSort && p[25].choice != 5) continue;
    if (n == kUserFormat && p[27].choice != 6) continue;
    header += p[n].label + "=" + p[n].value + "\r\n";
  }
  return header + "-------------------\r\n";
}

}  // namespace vondal
