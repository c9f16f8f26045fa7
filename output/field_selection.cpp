#include "output/field_selection.h"

#include "app/text/brackets.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "editor/condition/condition.h"

namespace vondal {
namespace {

constexpr char kBadName[] = "ﾌｨｰﾙﾄﾞ名が不適当です";
constexpr char kBadSubfield[] = "ｻﾌﾞﾌｨｰﾙﾄﾞが不適当です";
constexpr char kStraySign[] = "不要な記号です";

FieldSelection Fail(FieldSelection selection, const char* error, size_t position) {
  selection.fields.clear();
  selection.error = error;
  selection.errorPosition = static_cast<int>(position);
  return selection;
}

}  // namespace

std::string OpeningOfSubfield(std::string_view specification) {
  if (specification.empty()) return {};
  const size_t last = PrevCharStart(specification, specification.size());
  const ptrdiff_t opening = FindMatchingBracket(specification, last);
  if (opening < 0 || static_cast<size_t>(opening) >= last) return {};
  return std::string(specification.substr(0, opening + 1));
}

FieldSelection ParseFieldSelection(std::string_view text) {
  FieldSelection selection;
  bool haveName = false;    // the run before (after spaces) was a name
  bool rangeOpen = false;   // a "-" waits for the second name of a range
  bool spaceSince = false;  // spaces came after the last name
  for (size_t pos = 0; pos < text.size();) {
    const char c = text[pos];
    size_t end = pos;
    if (c == ' ') {
      while (end < text.size() && text[end] == ' ') ++end;
      spaceSince = haveName;
      pos = end;
      continue;
    }
    if (c == ',' || c == '-') {
      while (end < text.size() && text[end] == c) ++end;
      if (end - pos > 1 || !haveName) return Fail(selection, kStraySign, pos);
      if (end >= text.size() || text.find_first_not_of(' ', end) == std::string_view::npos) {
        return Fail(selection, kStraySign, text.size() >= 2 ? text.size() - 2 : 0);
      }
      rangeOpen = c == '-';
      haveName = false;
      spaceSince = false;
      pos = end;
      continue;
    }
    // A name: up to the next blank, comma or hyphen outside the subfield's brackets.
    while (end < text.size() && text[end] != ' ' && text[end] != ',' && text[end] != '-')
      end += CharLength(text, end);
    const std::string_view name = text.substr(pos, end - pos);
    if (haveName && spaceSince) return Fail(selection, "-または,が必要です", pos);
    const size_t dot = name.find('.');
    const int field = FieldOfWord(name.substr(0, dot));
    if (field < 0) return Fail(selection, kBadName, pos);
    SelectedField entry{field, {}};
    if (dot != std::string_view::npos) {
      const std::string_view specification = name.substr(dot + 1);
      const std::string opening = OpeningOfSubfield(specification);
      if (opening.empty()) return Fail(selection, kBadSubfield, pos + dot + 1);
      // Cut behind the opening bracket, with the closing character the text ends in put back.
      entry.subfield =
          opening + std::string(specification.substr(PrevCharStart(specification, specification.size())));
    }
    if (rangeOpen) {
      const int from = selection.fields.back().field;
      const int step = field >= from ? 1 : -1;
      for (int f = from + step; f != field; f += step) {
        if (static_cast<int>(selection.fields.size()) >= kMaxSelectedFields) {
          return Fail(selection, "ﾌｨｰﾙﾄﾞ数が制限を超えます", pos);
        }
        selection.fields.push_back({f, {}});
      }
      rangeOpen = false;
    }
    if (static_cast<int>(selection.fields.size()) >= kMaxSelectedFields) {
      return Fail(selection, "ﾌｨｰﾙﾄﾞ数が制限を超えます", pos);
    }
    selection.fields.push_back(entry);
    haveName = true;
    spaceSince = false;
    pos = end;
  }
  return selection;
}

std::optional<std::string_view> FindSubfield(std::string_view outer, std::string_view specification,
                                             std::string_view text) {
  if (specification.empty()) return text;
  for (size_t at = 0;;) {
    if (text.substr(at).starts_with(specification)) {
      const size_t opening = at + specification.size() -
                             CharLength(specification, PrevCharStart(specification, specification.size()));
      const ptrdiff_t closing = FindMatchingBracket(text, opening);
      if (closing < 0) return std::string_view("***SubfieldError***");
      return text.substr(opening + 1, closing - opening - 1);
    }
    if (outer.empty()) return std::nullopt;
    const size_t next = FindText(text.substr(at), outer);
    if (next == std::string_view::npos) return std::nullopt;
    at += next + outer.size();
  }
}

std::string ExtractSubfield(std::string_view outer, std::string_view specification, std::string_view text) {
  return std::string(FindSubfield(outer, specification, text).value_or(std::string_view()));
}

}  // namespace vondal
