// The one-line input of the search and go-to-line prompts: a text of at most `maxBytes` bytes
// with a cursor, edited key by key. Two-byte characters are inserted, moved over and deleted
// whole.
#pragma once

#include <string>
#include <string_view>

#include "console/key_event.h"

namespace vondal::scroll {

class LineEdit {
 public:
  LineEdit(std::string_view initial, size_t maxBytes);

  // Takes one editing key: printable and two-byte characters (inserted while there is room),
  // Backspace and Left (one character back; with Shift, to the start), Right and Delete (one
  // character on; with Shift, to the end), Home, End. False for any other key, which the prompt
  // handles (its end keys); the text stays as it was.
  bool Apply(const KeyEvent& key);

  const std::string& text() const { return text_; }
  size_t cursor() const { return cursor_; }

  // What a field of `cells` columns shows: the text from firstShown() on. Moves the shown part so
  // that the cursor stays inside the field.
  std::string_view Shown(int cells);
  size_t firstShown() const { return first_; }

 private:
  void Insert(int code);
  size_t Previous(size_t pos) const;
  size_t Next(size_t pos) const;

  std::string text_;
  size_t maxBytes_;
  size_t cursor_;
  size_t first_ = 0;
};

}  // namespace vondal::scroll
