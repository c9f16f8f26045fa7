#include "macro/string_editor.h"

#include <algorithm>
#include <cassert>

#include "app/text/brackets.h"
#include "app/text/sjis.h"
#include "console/console.h"
#include "console/menu_line.h"
#include "macro/edit_display.h"
#include "macro/edit_error.h"
#include "macro/edit_session.h"
#include "macro/edit_text.h"

namespace vondal {
namespace {

// Counts beyond any text's length change nothing more; the cap keeps a run of digits from
// overflowing.
constexpr int kMaxCount = 9999;
constexpr std::string_view kMoves = "-+lrLR<>";

// A byte that can follow a lead byte in CP932.
constexpr bool IsTrailByte(int byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

}  // namespace

EditSession::EditSession(EditState& state, InputMode mode)
    : state_(state), mode_(mode), player_(ThePlayer()) {}

int EditSession::Run() {
  assert(state_.width >= 1 && state_.maxLength >= 0 && state_.maxLength <= kMaxEditBytes);
  state_.cursor = std::clamp(state_.cursor, 0, state_.TextLength());
  if (!IsCharStart(state_.text, state_.cursor)) --state_.cursor;
  state_.offset = std::clamp(state_.offset, 0, state_.cursor);
  state_.editing = true;
  state_.editMode = mode_;
  state_.keyMenu.clear();
  RefreshMessageLine(state_);

  int result = 0;
  for (;;) {
    FollowCursor();
    Redraw();
    int code = player_.ReadCommandKey(state_, mode_);
    if (code == 13 || code == 14) {
      int exit = Read(mode_);
      result = code == 13 ? exit : kExtendedKey + exit;
      break;
    }
    Execute(code);
  }
  state_.editing = false;
  DrawEditLine(state_, true);
  RefreshMessageLine(state_);
  Flush();
  return result;
}

void EditSession::Execute(int code) {
  if (code >= 0x20 && code != 0xFF) {
    InsertCharacter(code);
    return;
  }
  switch (code) {
    case 2:
      RangeCommand(Read(mode_));
      return;
    case 3:
      Movement(mode_);
      return;
    case 4:
      Deletion();
      return;
    case 18:
      if (mode_ != InputMode::kEdit) break;  // the replace editors cannot replace
      ReplaceAll();
      return;
    case 26:
      Insert(state_.undelete);
      return;
    case 29:
      Insert(CopyBuffer());
      return;
    case 30:
      InsertControlCode(Read(mode_), mode_);
      return;
    default:
      break;
  }
  Reject(code, mode_);
}

void EditSession::Reject(int code, InputMode mode) {
  Beep();
  DropSecondByte(code, mode);
}

void EditSession::DropSecondByte(int code, InputMode mode) {
  // Only a byte already on its way is dropped: after an error the macro has stopped, and the
  // next key from the keyboard is the user's.
  if ((code == 0xFF || IsLeadByte(static_cast<unsigned char>(code))) && player_.HasQueuedByte()) Read(mode);
}

bool EditSession::Insert(std::string_view bytes) {
  if (state_.TextLength() + static_cast<int>(bytes.size()) > state_.maxLength) {
    ShowEditError(state_, EditError::kTextOverflow);
    return false;
  }
  state_.text.insert(state_.cursor, bytes);
  state_.cursor += static_cast<int>(bytes.size());
  state_.undelete.clear();
  if (!bytes.empty()) state_.modified = true;
  return true;
}

void EditSession::InsertCharacter(int first) {
  if (IsLeadByte(static_cast<unsigned char>(first))) {
    int trail = Read(mode_);
    if (!IsTrailByte(trail)) {  // a broken pair from a macro: the lead goes, the byte counts alone
      Beep();
      Execute(trail);
      return;
    }
    const char pair[2] = {static_cast<char>(first), static_cast<char>(trail)};
    Insert(std::string_view(pair, 2));
    return;
  }
  const std::string_view text = state_.text;
  bool afterLetter = false;
  if (state_.cursor > 0) {
    size_t before = PrevCharStart(text, state_.cursor);
    afterLetter = CharLength(text, before) == 1 && IsAsciiLetter(static_cast<unsigned char>(text[before]));
  }
  const char c = CaseConverted(static_cast<char>(first), state_.style.caseMode, afterLetter);
  Insert(std::string_view(&c, 1));
}

void EditSession::InsertControlCode(int letter, InputMode mode) {
  if (letter < 'A' || letter > '_' || letter > static_cast<unsigned char>(state_.style.controlLimit)) {
    ShowEditError(state_, EditError::kForbiddenCode);
    DropSecondByte(letter, mode);
    return;
  }
  const char c = static_cast<char>(letter - 64);
  Insert(std::string_view(&c, 1));
}

int EditSession::ReadCount(InputMode mode, int* param) {
  int count = 0;
  bool digits = false;
  int byte = Read(mode);
  while (IsAsciiDigit(static_cast<unsigned char>(byte))) {
    count = std::min(count * 10 + (byte - '0'), kMaxCount);
    digits = true;
    byte = Read(mode);
  }
  *param = byte;
  return digits ? count : 1;
}

void EditSession::Movement(InputMode mode) {
  int move = 0;
  const int count = ReadCount(mode, &move);
  if (move == 'w') {
    if (count > 0) Search();  // searching again from the found place finds it again: once is enough
    return;
  }
  if (move == 0 || kMoves.find(static_cast<char>(move)) == std::string_view::npos) {
    DropSecondByte(move, mode);
    return;
  }
  for (int i = 0; i < count; ++i) {
    const int before = state_.cursor;
    state_.cursor =
        MovedCursor(state_.text, state_.cursor, state_.offset, state_.width, static_cast<char>(move));
    FollowCursor();
    if (state_.cursor == before) break;
  }
}

void EditSession::Search() {
  PromptScope prompt(state_, "検索>", " Bﾊﾞｯﾌｧ K対応括弧");
  const int byte = Read(InputMode::kSearchTarget);
  std::string target;
  switch (byte) {
    case 27:
      return;
    case 11: {
      ptrdiff_t partner = PartnerBracket(state_.text, state_.cursor);
      if (partner == kNotABracket) {
        ShowEditError(state_, EditError::kNotABracket);
      } else if (partner == kNoPartner) {
        ShowEditError(state_, EditError::kNotFound);
      } else {
        state_.cursor = static_cast<int>(partner);
      }
      return;
    }
    case 2:
      target = CopyBuffer();
      break;
    case 30: {
      const int letter = Read(InputMode::kSearchTarget);
      if (letter < 'A' || letter > '_') {
        ShowEditError(state_, EditError::kForbiddenCode);
        DropSecondByte(letter, InputMode::kSearchTarget);
        return;
      }
      target.push_back(static_cast<char>(letter - 64));
      break;
    }
    default:
      target.push_back(static_cast<char>(byte));
      if (IsLeadByte(static_cast<unsigned char>(byte)))
        target.push_back(static_cast<char>(Read(InputMode::kSearchTarget)));
      break;
  }
  const int found = FindTarget(state_.text, state_.cursor, target);
  if (found < 0) {
    ShowEditError(state_, EditError::kNotFound);
  } else {
    state_.cursor = found;
  }
}

void EditSession::Deletion() {
  int kind = 0;
  const int count = ReadCount(mode_, &kind);
  switch (kind) {
    case 'b':  // one character at a time: the undelete buffer keeps the last one removed
      for (int i = 0; i < count && state_.cursor > 0; ++i) {
        Remove(static_cast<int>(PrevCharStart(state_.text, state_.cursor)), state_.cursor);
      }
      return;
    case 'd':
      for (int i = 0; i < count && state_.cursor < state_.TextLength(); ++i) {
        Remove(state_.cursor, state_.cursor + static_cast<int>(CharLength(state_.text, state_.cursor)));
      }
      return;
    case 'B':
      if (count > 0 && state_.cursor > 0) Remove(0, state_.cursor);
      return;
    case 'D':
      if (count > 0 && state_.cursor < state_.TextLength()) Remove(state_.cursor, state_.TextLength());
      return;
    default:
      DropSecondByte(kind, mode_);
      return;
  }
}

void EditSession::Remove(int from, int to) {
  state_.cursor = from;
  if (from < to) {
    state_.undelete = state_.text.substr(from, to - from);
    state_.text.erase(from, to - from);
    state_.modified = true;
  }
  FollowCursor();
  state_.offset = OffsetAfterDeletion(state_.TextLength(), state_.offset, state_.width);
}

void EditSession::FollowCursor() {
  state_.offset = OffsetShowingCursor(state_.text, state_.cursor, state_.offset, state_.width);
}

void EditSession::Redraw(int rangeFrom) {
  DrawEditLine(state_, false, rangeFrom);
  DrawStatusFigures(state_);
}

int Edit(EditState& state, InputMode mode) { return EditSession(state, mode).Run(); }

}  // namespace vondal
