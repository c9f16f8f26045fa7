// REMARKS of the generated contacts: short notes joined by ";", within the room the record leaves.
#pragma once

#include <string>
#include <string_view>

namespace vondal::vonfill {

// Collects the items of one REMARKS text. An item that would take the text beyond `limit` bytes
// is left out whole, so that the record keeps within its 200-byte slot.
class RemarksText {
 public:
  RemarksText(std::string& text, size_t limit) : text_(text), limit_(limit) { text_.clear(); }

  void Add(std::string_view item);

 private:
  std::string& text_;
  size_t limit_;
};

// The notes on a call sign (without its suffix) that resembles the author's "QZ0ZZQ", into
// `items`; how many (0-2). All but at most one of the author's characters in the call sign:
// "Vondal作者" for the author's own call, "作者と酷似ｺｰﾙｻｲﾝ" when the author's call with one
// character left open appears in it in order, else "作者と類似ｺｰﾙｻｲﾝ". Otherwise
// "作者と同ﾌﾟﾘﾌｨｯｸｽ" for QZ0* and "作者と同ｻﾌｨｯｸｽ" for *ZZQ*.
int AuthorLikeness(std::string_view callsign, std::string_view items[2]);

}  // namespace vondal::vonfill
