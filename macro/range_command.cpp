// The range commands (2 op): the range is chosen from the cursor with movements and taken with
// Enter, Ctrl+A (the whole text) or Ctrl+K (inside the bracket at the first end), then copied,
// moved, exchanged with the copy buffer or deleted.
#include <algorithm>

#include "app/text/brackets.h"
#include "app/text/sjis.h"
#include "macro/edit_display.h"
#include "macro/edit_error.h"
#include "macro/edit_session.h"
#include "macro/edit_text.h"

namespace vondal {
namespace {

struct RangeOperation {
  char op;
  std::string_view prompt;
};

constexpr RangeOperation kOperations[] = {
    {'a', "複写>"}, {'b', "複写+>"}, {'e', "移動>"}, {'f', "移動+>"}, {'x', "交換>"}, {'y', "削除>"},
};

}  // namespace

void EditSession::RangeCommand(int op) {
  const auto* operation = std::find_if(std::begin(kOperations), std::end(kOperations),
                                       [op](const RangeOperation& o) { return o.op == op; });
  if (operation == std::end(kOperations)) {
    Reject(op, mode_);
    return;
  }
  const int first = state_.cursor;
  const int offset = state_.offset;
  int from = -1;
  int to = -1;
  {
    PromptScope prompt(state_, operation->prompt, " W検索 A全体 K括弧内");
    while (from < 0) {
      FollowCursor();
      Redraw(first);
      const int byte = Read(InputMode::kRangeEnd);
      const std::string_view text = state_.text;
      if (byte == 3) {
        Movement(InputMode::kRangeEnd);
      } else if (byte == 6) {  // both ends belong to the range, a pair at the far end whole
        const int last = std::max(first, state_.cursor);
        from = std::min(first, state_.cursor);
        to = last < state_.TextLength() ? last + static_cast<int>(CharLength(text, last)) : last;
      } else if (byte == 1) {
        from = 0;
        to = state_.TextLength();
      } else if (byte == 11) {
        const ptrdiff_t partner = PartnerBracket(text, first);
        if (partner < 0) {
          ShowEditError(state_, partner == kNotABracket ? EditError::kNotABracket : EditError::kNotFound);
          continue;
        }
        const int opening = std::min(first, static_cast<int>(partner));
        from = opening + static_cast<int>(CharLength(text, opening));
        to = std::max(first, static_cast<int>(partner));
      } else if (byte == 27) {
        state_.cursor = first;
        state_.offset = offset;
        return;
      } else {
        Reject(byte, InputMode::kRangeEnd);
      }
    }
  }
  ApplyRange(op, from, to, first, offset);
}

void EditSession::ApplyRange(int op, int from, int to, int first, int offset) {
  const std::string range = state_.text.substr(from, to - from);
  std::string& buffer = CopyBuffer();
  auto returnCursor = [&] {
    state_.cursor = first;
    state_.offset = offset;
  };
  if (op == 'x') {
    if (state_.TextLength() - range.size() + buffer.size() > static_cast<size_t>(state_.maxLength)) {
      ShowEditError(state_, EditError::kTextOverflow);
      returnCursor();
      return;
    }
    state_.text.replace(from, to - from, buffer);
    buffer = range;
    state_.cursor = from;
    state_.modified = true;
    FollowCursor();
    return;
  }
  if (op == 'b' || op == 'f') {
    if (buffer.size() + range.size() > static_cast<size_t>(std::min(state_.maxLength, kCopyBufferBytes))) {
      ShowEditError(state_, EditError::kBufferOverflow);
      returnCursor();
      return;
    }
    buffer += range;
  } else if (op == 'a' || op == 'e') {
    buffer = range;
  }
  if (op == 'a' || op == 'b') {
    returnCursor();  // a copy leaves the text as it is
  } else {
    Remove(from, to);
  }
}

}  // namespace vondal
