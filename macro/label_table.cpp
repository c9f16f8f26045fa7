#include "macro/label_table.h"

#include "app/text/sjis.h"
#include "macro/macro_player.h"

namespace vondal {
namespace {

constexpr char kCallEnter = 13;
constexpr char kCallCode = 7;

// Walks a macro text as the player does: a label's name is no command and no comment byte. Calls
// `label(pos, inComment)` at each label byte with a name and `call(pos)` at each 13 7 outside
// comments (pos: the name's first byte).
template <typename Label, typename Call>
void Walk(std::string_view text, Label label, Call call) {
  bool inComment = false;
  for (size_t i = 0; i < text.size();) {
    const char byte = text[i];
    if (byte == macro_byte::kComment) {
      inComment = !inComment;
      ++i;
    } else if (byte == macro_byte::kLabel) {
      const std::string_view name = LabelNameAt(text, i + 1);
      if (!name.empty()) label(i, inComment);
      i += 1 + name.size();
    } else if (!inComment && byte == kCallEnter && i + 2 < text.size() && text[i + 1] == kCallCode) {
      call(i + 2);
      i += 2 + LabelNameAt(text, i + 2).size();
    } else {
      ++i;  // control bytes are never the second byte of a character
    }
  }
}

}  // namespace

bool IsForbiddenLabelName(unsigned char first) {
  switch (first) {
    case 12:
    case 16:
    case 19:
    case 20:
    case 27:
    case 28:
    case 31:
      return true;
    default:
      return false;
  }
}

std::string_view LabelNameAt(std::string_view text, size_t pos) {
  if (pos >= text.size()) return {};
  return text.substr(pos, CharLength(text, pos));
}

bool LabelTable::Build(const MacroStore& store) {
  entries_.clear();
  overflow_ = false;
  for (int n = 1; n < store.Count() && !overflow_; ++n) {
    const std::string_view text = store.TextView(n);
    Walk(
        text,
        [&](size_t pos, bool inComment) {
          if (overflow_) return;
          if (entries_.size() == kMaxLabels) {
            overflow_ = true;
            return;
          }
          LabelEntry entry;
          entry.macro = n;
          entry.position = static_cast<int>(pos);
          entry.name = std::string(LabelNameAt(text, pos + 1));
          if (inComment) {
            entry.state = LabelEntry::kInComment;
          } else if (IsForbiddenLabelName(static_cast<unsigned char>(entry.name[0]))) {
            entry.state = LabelEntry::kForbidden;
          }
          for (const LabelEntry& earlier : entries_) {
            if (earlier.name == entry.name && earlier.state != LabelEntry::kInComment) {
              entry.mark = LabelEntry::kDuplicate;
              break;
            }
          }
          entries_.push_back(std::move(entry));
        },
        [](size_t) {});
  }
  for (const LabelCall& call : LabelCalls(store)) {
    for (LabelEntry& entry : entries_) {
      if (entry.name == call.name && entry.state != LabelEntry::kInComment) {
        entry.mark = LabelEntry::kCalled;
        break;
      }
    }
  }
  return overflow_;
}

std::vector<LabelCall> LabelCalls(const MacroStore& store) {
  std::vector<LabelCall> calls;
  for (int n = 0; n < store.Count(); ++n) {
    const std::string_view text = store.TextView(n);
    Walk(
        text, [](size_t, bool) {},
        [&](size_t pos) {
          calls.push_back({n, static_cast<int>(pos) - 2, std::string(LabelNameAt(text, pos))});
        });
  }
  return calls;
}

int LabelTable::Find(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].state == LabelEntry::kValid && entries_[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace vondal
