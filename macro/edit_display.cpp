#include "macro/edit_display.h"

#include <algorithm>
#include <cstdio>

#include "app/text/sjis.h"
#include "console/console.h"
#include "console/menu_line.h"
#include "macro/macro_player.h"

namespace vondal {
namespace {

constexpr std::string_view kCommandMenu = " R置換 A複写 B複写+ E移動 F移動+ X交換 Y削除 W検索";
constexpr std::string_view kStatusTemplate = "H    [   ]   <";
constexpr int kCaseColumn = kEditStatusColumn;
constexpr int kCodeColumn = 58;
constexpr int kTemplateColumn = 62;
constexpr int kOffsetColumn = 64;
constexpr int kCursorColumn = 68;
constexpr int kLengthColumn = 72;
constexpr int kMaxLengthColumn = 76;

void PutFigure(int value, int row, int col, uint8_t attr) {
  char figure[16];
  std::snprintf(figure, sizeof figure, "%3d", value);
  TheScreen().PutTextToEnd(figure, row, col, attr, attr);
}

}  // namespace

void DrawEditLine(const EditState& state, bool finished, int rangeFrom) {
  Screen& screen = TheScreen();
  const uint8_t textAttr = state.Color(finished ? EditColor::kTextEnd : EditColor::kText);
  const uint8_t ctrlAttr = state.Color(finished ? EditColor::kCtrlEnd : EditColor::kCtrl);
  const uint8_t blankAttr = state.Color(finished ? EditColor::kBlankEnd : EditColor::kBlank);
  const uint8_t edgeAttr = state.Color(finished ? EditColor::kEdgeEnd : EditColor::kEdge);
  const std::string_view text = state.text;
  const int length = state.TextLength();
  const int row = state.row;
  const int end = state.col + state.width;  // the column after the window

  screen.PutChar(static_cast<unsigned char>(state.style.leftEdge), row, state.col - 1, edgeAttr);
  int pos = state.offset;
  int col = state.col;
  if (pos < length && ByteKind(text, pos) == 2) {  // the second half of a pair cut by the left edge
    col = screen.PutChar('~', row, col, textAttr);
    ++pos;
  }
  int shown = std::min(length - pos, end - col);
  if (shown > 0) col = screen.PutText(text.substr(pos, shown), row, col, end, textAttr, ctrlAttr);
  for (pos = state.offset + (col - state.col); col < end; ++col, ++pos) {
    char fill = pos < state.maxLength ? state.style.blank : state.style.beyond;
    screen.PutChar(static_cast<unsigned char>(fill), row, col, blankAttr);
  }
  screen.PutChar(static_cast<unsigned char>(state.style.rightEdge), row, end, edgeAttr);

  if (rangeFrom >= 0 && !finished) {
    int first = std::min(rangeFrom, state.cursor);
    int last = std::max(rangeFrom, state.cursor);
    if (last < length) last += static_cast<int>(CharLength(text, last)) - 1;  // a pair at the far end whole
    int firstCol = std::max(state.col + first - state.offset, state.col);
    int lastCol = std::min(state.col + last - state.offset, end - 1);
    if (firstCol <= lastCol) screen.ReverseCells(row, firstCol, lastCol);
  }
}

void DrawStatusFigures(const EditState& state) {
  const int row = state.MessageRow();
  const uint8_t attr = state.Color(EditColor::kText);
  const std::string_view text = state.text;
  char code[16];
  if (state.cursor >= state.TextLength()) {
    std::snprintf(code, sizeof code, "  00");
  } else if (CharLength(text, state.cursor) == 2) {
    std::snprintf(code, sizeof code, "%02x%02x", static_cast<unsigned char>(text[state.cursor]),
                  static_cast<unsigned char>(text[state.cursor + 1]));
  } else {
    std::snprintf(code, sizeof code, "  %02x", static_cast<unsigned char>(text[state.cursor]));
  }
  TheScreen().PutTextToEnd(code, row, kCodeColumn, attr, attr);
  PutFigure(state.offset, row, kOffsetColumn, attr);
  PutFigure(state.cursor, row, kCursorColumn, attr);
  PutFigure(state.TextLength(), row, kLengthColumn, attr);
  PutFigure(state.maxLength, row, kMaxLengthColumn, attr);
}

void DrawMessageLine(const EditState& state) {
  Screen& screen = TheScreen();
  const int row = state.MessageRow();
  screen.ClearRows(row, row);
  const uint8_t keyAttr = state.Color(EditColor::kMenuKey);
  if (!state.prompts.empty()) {
    DrawMenuMarkup(">" + state.prompts + state.keyMenu, row, keyAttr, state.Color(EditColor::kMenuLabel));
  } else if (state.editMode == InputMode::kEdit) {
    DrawMenuMarkup(kCommandMenu, row, keyAttr, state.Color(EditColor::kMenuLabel));
  }
  if (state.editMode == InputMode::kEdit) {
    if (std::string_view("ILRU").find(state.style.caseMode) != std::string_view::npos) {
      screen.PutChar(static_cast<unsigned char>(state.style.caseMode), row, kCaseColumn, keyAttr);
    }
    uint8_t edgeAttr = state.Color(EditColor::kEdge);
    screen.PutTextToEnd(kStatusTemplate, row, kTemplateColumn, edgeAttr, edgeAttr);
  }
  DrawStatusFigures(state);
}

void ClearMessageLine(const EditState& state) {
  if (state.editing) {
    DrawMessageLine(state);
  } else {
    TheScreen().ClearRows(state.MessageRow(), state.MessageRow());
  }
}

void RefreshMessageLine(const EditState& state) {
  if (!ThePlayer().MessageShown()) ClearMessageLine(state);
}

void PlaceEditCursor(const EditState& state) {
  int col = std::clamp(state.col + state.cursor - state.offset, 0, TheScreen().Width() - 1);
  vondal::MoveCursor(state.row, col);
  ShowCursor(true);
}

PromptScope::PromptScope(EditState& state, std::string_view prompt, std::string_view keyMenu)
    : state_(state), promptsLength_(state.prompts.size()), keyMenu_(state.keyMenu) {
  state_.prompts += prompt;
  state_.keyMenu = keyMenu;
  RefreshMessageLine(state_);
}

PromptScope::~PromptScope() {
  state_.prompts.resize(promptsLength_);
  state_.keyMenu = keyMenu_;
  RefreshMessageLine(state_);
}

}  // namespace vondal
