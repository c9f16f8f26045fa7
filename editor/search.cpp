#include "editor/search.h"

#include <algorithm>
#include <cstdio>

#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/search_filter.h"
#include "editor/search_history.h"
#include "editor/select_area.h"
#include "log/date_time.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"

namespace vondal {
namespace {

constexpr int kPollEvery = 10000;  // records scanned between two looks at the keyboard

uint8_t Attr(ColorElement element) { return ColorOf(element); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What a key typed during the scan means.
enum class ScanKey { kNone, kPause, kPageMode, kStopToSelect, kStopToEdit };

ScanKey Meaning(const KeyEvent& key) {
  const int extended = key.code >= kExtendedKey ? key.code - kExtendedKey : -1;
  if (key.code == 9) return ScanKey::kPause;
  if (extended == scan::kDown) return ScanKey::kPageMode;
  if (extended == scan::kUp || extended == scan::kPgUp) return ScanKey::kStopToSelect;
  if (key.code == 27 || key.code == 8 || (extended >= scan::kF1 && extended < scan::kF1 + 8) ||
      (extended >= scan::kShiftF1 && extended < scan::kShiftF1 + 8)) {
    return ScanKey::kStopToEdit;
  }
  return ScanKey::kNone;
}

class CallsignSearch {
 public:
  CallsignSearch(const EditorContext& context, const EditLayout& layout, EditorState& editor,
                 const SearchRequest& request)
      : context_(context), layout_(layout), editor_(editor), request_(request) {}

  SearchOutcome Run();

 private:
  // The count text in the header line; flushed unless `later` (hits are drawn in the buffer and
  // reach the terminal at the next look at the keyboard, a pause or the end).
  void ShowCount(const char* state, bool later = false);
  void Status(const char* text);
  // A key while scanning or pausing; false when it stops the search.
  bool Handle(ScanKey meaning);
  bool Pause();
  void AddHit(int n);

  const EditorContext& context_;
  const EditLayout& layout_;
  EditorState& editor_;
  SearchRequest request_;
  int hits_ = 0;
  int total_ = 0;
  bool presearch_ = false;
  bool stopped_ = false;
  bool toSelect_ = false;
};

void CallsignSearch::ShowCount(const char* state, bool later) {
  editor_.searchCount = CountText(hits_, total_, presearch_, state);
  DrawHeaderLine(context_, layout_, editor_);
  if (!later) Flush();
}

void CallsignSearch::Status(const char* text) {
  Screen& screen = TheScreen();
  screen.ClearCells(0, layout_.width - 13, layout_.width - 1);
  screen.PutText(text, 0, layout_.width - 13, layout_.width, Attr(ColorElement::Busy),
                 Attr(ColorElement::Busy));
}

bool CallsignSearch::Handle(ScanKey meaning) {
  switch (meaning) {
    case ScanKey::kPause:
      return Pause();
    case ScanKey::kPageMode:
      editor_.pageMode = !editor_.pageMode;
      return true;
    case ScanKey::kStopToSelect:
      toSelect_ = true;
      [[fallthrough]];
    case ScanKey::kStopToEdit:
      stopped_ = true;
      return false;
    default:
      return true;
  }
}

bool CallsignSearch::Pause() {
  ShowCount(":続く");
  ShowMenu("$↑$選択 $↓$ﾍﾟｰｼﾞﾓｰﾄﾞ切替");
  const ScanKey meaning = Meaning(ReadKey());
  ShowMenu("$Tab$一時停止");
  const bool goOn = meaning == ScanKey::kPause || Handle(meaning);
  if (goOn) ShowCount("");
  return goOn;
}

void CallsignSearch::AddHit(int n) {
  SelectList& list = editor_.list;
  Screen& screen = TheScreen();
  if (hits_ == 0) {
    // The line above the results gets the marker.
    list.states.back() = 1;
    DrawListLine(context_, editor_, list.lines() - 1);
  }
  AppendToList(list, n);
  screen.ScrollUp(1, list.lines());
  DrawListLine(context_, editor_, list.lines() - 1);
  ++hits_;
  const RecordTexts& texts = context_.log.ReadRecord(n);
  editor_.summary.Count(texts[FREQ], texts[MODE]);
  ShowCount("", true);
}

SearchOutcome CallsignSearch::Run() {
  const int count = context_.log.RecordCount();
  const bool edit = request_.position == 'E';
  if (request_.key != 'A') TheSearchHistory().Store(editor_.callsignSearch);
  const std::string pattern = BuildPattern(request_, editor_.callsignSearch);
  CallsignMatcher matcher(pattern, request_.variant);
  Screen& screen = TheScreen();

  // 1. The pattern in the edit area's first row.
  editor_.searchCount.clear();
  editor_.summary = SearchSummary{};
  DrawHeaderLine(context_, layout_, editor_);
  screen.ClearCells(layout_.editRow, 21, 48);
  std::string shown =
      request_.variant >= 2 ? std::string(1, static_cast<char>(request_.key)) + pattern : pattern;
  if (request_.key == '\\') shown += "(/*)";
  screen.PutText(shown, layout_.editRow, 21, 49, Attr(ColorElement::Found), Attr(ColorElement::CtrlCode));

  // 2. Where the scan starts.
  const int first = edit                          ? editor_.list.current() + 1
                    : editor_.conditions.dateFrom ? std::clamp(editor_.conditions.dateFromRecord, 0, count)
                                                  : 0;
  const auto matches = [&](int n) { return matcher.Matches(context_.index[n].callsign); };

  // 3. The pre-search counts the hits first.
  presearch_ = editor_.presearch && !edit;
  if (presearch_) {
    Status("ﾌﾟﾘ検索中");
    Flush();
    RecordFilter counting(context_, editor_.conditions, false);
    for (int n = first; n < count; ++n) total_ += matches(n) && counting.Passes(n);
    ShowCount("");
  }

  // 4-6. The scan.
  Status("検索中");
  ShowMenu("$Tab$一時停止");
  editor_.pageMode = false;
  RecordFilter filter(context_, editor_.conditions, edit);
  const bool upward = editor_.conditions.upward && !edit;
  int scanned = 0;
  if (!(presearch_ && total_ == 0)) {
    for (int n = upward ? count - 1 : first; upward ? n >= first : n < count; n += upward ? -1 : 1) {
      if (++scanned % kPollEvery == 0) {
        char reached[16];
        std::snprintf(reached, sizeof reached, "%6d", n + editor_.display.recordBase);
        screen.PutText(reached, 0, layout_.width - 7, layout_.width, Attr(ColorElement::Busy),
                       Attr(ColorElement::Busy));
        Flush();
        if (KeyWaiting() && !Handle(Meaning(ReadKey()))) break;
      }
      if (!matches(n) || !filter.Passes(n)) continue;
      if (edit) {
        Status("");
        ShowMenu("");
        editor_.undoCopy = editor_.working;
        editor_.current = n;
        return SearchOutcome::kReload;
      }
      // A new page of hits pauses while page mode is on (it is, from the first hit).
      if (hits_ > 0 && editor_.pageMode && hits_ % editor_.list.lines() == 0 && !Pause()) break;
      AddHit(n);
      if (hits_ == 1) editor_.pageMode = true;
      if (KeyWaiting() && !Handle(Meaning(ReadKey()))) break;
    }
  }

  // 7-8. The end.
  Status("");
  ShowMenu("");
  ShowCount(stopped_ ? ":中断" : "");
  if (hits_ == 0 && !stopped_) Beep();
  editor_.summary.hits = hits_;
  editor_.summary.shown = editor_.display.searchList;
  if (editor_.summary.shown) editor_.summary.Draw(layout_);
  Flush();
  if (stopped_) return toSelect_ ? SearchOutcome::kSelect : SearchOutcome::kEdit;
  return hits_ > 0 ? SearchOutcome::kSelect : SearchOutcome::kEdit;
}

}  // namespace

std::string CountText(int hits, int total, bool presearch, const char* state) {
  std::string text;
  if (hits == 0 && !presearch) {
    text = "該当なし";
  } else if (presearch) {
    text = std::to_string(hits) + "/" + std::to_string(total) + "交信";
  } else {
    text = std::to_string(hits) + "交信";
  }
  return text + state;
}

bool CompleteDateTime(std::string_view date, std::string_view start, bool withStart, std::string& fullDate,
                      std::string& fullTime) {
  if (date.size() < 2 || !IsDigit(date[0]) || !IsDigit(date[1])) return false;
  fullDate = std::string(date);
  if (fullDate.size() < 4) {
    fullDate = fullDate.substr(0, 2) + "0101";
  } else if (fullDate.size() < 6) {
    fullDate = fullDate.substr(0, 4) + "01";
  }
  fullTime = "0000";
  if (withStart && start.size() >= 2 && IsDigit(start[0]) && IsDigit(start[1])) {
    fullTime = start.size() < 4 ? std::string(start.substr(0, 2)) + "00" : std::string(start);
  }
  return true;
}

int DateSearch(const EditorContext& context, const Record& working, const SearchRequest& request) {
  const int count = context.log.RecordCount();
  if (request.position == 'F') return count > 0 ? 0 : count;
  if (request.position == 'L') return count > 0 ? count - 1 : count;
  std::string date, time;
  if (!CompleteDateTime(working[DATE], working[START], request.field == START, date, time)) return count;
  const int32_t key = DateTimeKey(date, time);
  for (int n = 0; n < count && n < context.index.size(); ++n) {
    if (context.index[n].key >= key) return n;
  }
  return count;
}

SearchOutcome RunSearch(const EditorContext& context, const EditLayout& layout, EditorState& editor,
                        const SearchRequest& request) {
  const int count = context.log.RecordCount();
  if (count == 0) {
    ShowNote("交信記録がありません");
    return SearchOutcome::kEdit;
  }
  if (request.position == 'E' && editor.list.current() >= count - 1) {
    ShowNote("最終交信です");
    return SearchOutcome::kEdit;
  }
  if (request.field == CALLSIGN) return CallsignSearch(context, layout, editor, request).Run();
  editor.searchCount.clear();  // the count belongs to the call-sign search before
  const int n = DateSearch(context, editor.working, request);
  if (n >= count) {
    ShowNote("該当なし");
    Beep();
    return SearchOutcome::kEdit;
  }
  // The line above the record found gets the marker.
  editor.list.states.back() = 2;
  AppendToList(editor.list, n);
  return SearchOutcome::kSelect;
}

SearchRequest SearchMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  for (;;) {
    ShowMenu(">検索> =_[_]_\\_$Space$_,_._;_:ｺｰﾙｻｲﾝ E検索編集 D日 T日時 F最初 L最終 A全 B↑ H履歴");
    const KeyEvent key = ReadKey();
    const int code = key.upper;
    SearchRequest request;
    if (code == 'E') {
      ShowMenu(">検索>編集> =_[_]_\\_$Space$_,_._;_:ｺｰﾙ検索");
      const KeyEvent second = ReadKey();
      const bool callsignKey =
          second.code < 0x80 &&
          std::string_view("\\ ,.;:=-[]").find(static_cast<char>(second.code)) != std::string_view::npos;
      request = RequestOfKey(second.code, CALLSIGN);
      if (!callsignKey) {
        RejectKey(second.code);
        return {};
      }
      request.position = 'E';
      return request;
    }
    if (code == 'B') {
      editor.conditions.upward = !editor.conditions.upward;
      DrawHeaderLine(context, layout, editor);
      return {};
    }
    if (code == 'S') {
      TheSearchHistory().Store(editor.working[CALLSIGN]);
      return {};
    }
    if (code == 'H') {
      const HistoryChoice choice = BrowseHistory(TheSearchHistory(), CALLSIGN, false);
      if (choice.kind == HistoryChoice::kPut) {
        // Into the current field, when it fits; its old text can be undeleted.
        if (static_cast<int>(choice.callsign.size()) > FieldLimit(editor.field, editor.working)) {
          ShowEditError(TheEditState(), EditError::kTextOverflow);
          return {};
        }
        TheEditState().undelete = editor.working[editor.field];
        editor.working[editor.field] = choice.callsign;
        editor.faces[editor.face].cursor = 0;
        editor.faces[editor.face].offset = 0;
        DrawField(layout, editor, editor.field);
        return {};
      }
      if (choice.kind == HistoryChoice::kSearch) {
        editor.callsignSearch = choice.callsign;
        return choice.request;
      }
      return {};
    }
    request = RequestOfKey(code, CALLSIGN);
    if (!request.empty()) return request;
    RejectKey(key.code);
    return {};
  }
}

}  // namespace vondal
