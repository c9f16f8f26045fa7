// The label table (`LabelTable`): every label of the store's macros, rebuilt before each use. A
// label is the byte 12 and a name (one byte or a two-byte character); a label call in a macro is
// 13 7 and the name (field input ends with exit code 7 and the record editor reads the name).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_store.h"

namespace vondal {

inline constexpr int kMaxLabels = 504;

// Names no label may have: the bytes the player or the editor take for themselves.
bool IsForbiddenLabelName(unsigned char first);

struct LabelEntry {
  enum State : char { kValid = 0, kForbidden = 'x', kInComment = 'c' };
  enum Mark : char { kNone = 0, kCalled = 1, kDuplicate = '+' };

  int macro = 0;
  int position = 0;  // of the label byte in the macro text
  State state = kValid;
  Mark mark = kNone;
  std::string name;  // one byte or a two-byte character
};

class LabelTable {
 public:
  // Labels of macros 1 to Count()-1 (the key macro defines none) in the order they stand, and the
  // calls of every macro. Returns true when there were more than kMaxLabels (the first are kept).
  bool Build(const MacroStore& store);

  // The first valid label of that name, or -1.
  int Find(std::string_view name) const;

  const std::vector<LabelEntry>& entries() const { return entries_; }
  bool overflow() const { return overflow_; }

 private:
  std::vector<LabelEntry> entries_;
  bool overflow_ = false;
};

// A label call 13 7 name outside comments: the macro and the place of its 13.
struct LabelCall {
  int macro = 0;
  int position = 0;
  std::string name;
};

// Every label call of the store's macros (the key macro too), in the order they stand.
std::vector<LabelCall> LabelCalls(const MacroStore& store);

// The name that starts at text[pos]: two bytes for a lead byte with a byte after it, else one
// (empty at the end of the text).
std::string_view LabelNameAt(std::string_view text, size_t pos);

}  // namespace vondal
