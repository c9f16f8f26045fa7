#include "editor/dictionary.h"

#include "app/text/sjis.h"
#include "app/text/text_helpers.h"

namespace vondal {
namespace {

constexpr size_t kMaxLine = 254;

bool StartsWithKey(std::string_view line, std::string_view key, std::string_view& value) {
  if (line.size() < key.size() || CompareTextN(line, key, key.size(), CaseMode::kIgnore) != 0) return false;
  value = line.substr(key.size());
  return true;
}

// The line without its comment and the blanks and tabs before the comment.
std::string_view WithoutComment(std::string_view line) {
  const size_t comment = FindText(line, "//");
  if (comment == std::string_view::npos) return line;
  line = line.substr(0, comment);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

}  // namespace

void ReadDictionaryText(std::string_view contents, Dictionary& d) {
  const bool keyGiven = d.menuKey != 0;
  const bool labelGiven = !d.label.empty();
  for (size_t pos = 0; pos < contents.size() && d.error.empty();) {
    size_t end = contents.find('\n', pos);
    if (end == std::string_view::npos) end = contents.size();
    std::string_view line = contents.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = CutAtCharacter(line, kMaxLine);
    line = WithoutComment(line);
    const size_t tab = line.find('\t');
    if (tab != std::string_view::npos) {
      std::string_view to = line.substr(tab + 1);
      const bool opens = !to.empty() && to.front() == '"';
      const bool closes = !to.empty() && to.back() == '"';
      if (opens || closes) {
        if (!(opens && closes && to.size() >= 2)) {
          d.error = "引用符が閉じていません";
          break;
        }
        to = to.substr(1, to.size() - 2);
      }
      d.pairs.push_back({std::string(line.substr(0, tab)), std::string(to)});
      d.bytes += tab + to.size();
      continue;
    }
    std::string_view value;
    if (StartsWithKey(line, "menukey=", value) && value.size() == 1) {
      if (!keyGiven) d.menuKey = value[0];
    } else if (StartsWithKey(line, "menulabel=", value)) {
      if (!labelGiven) d.label = std::string(value);
    } else if (StartsWithKey(line, "class=", value)) {
      if (CompareText(value, "single", CaseMode::kIgnore) == 0) {
        d.general = false;
      } else if (CompareText(value, "general", CaseMode::kIgnore) == 0) {
        d.general = true;
      } else {
        d.error = "classが不適当です";
      }
    }
  }
  if (!d.error.empty()) return;
  const char k = d.menuKey;
  if (!((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z'))) {
    d.error = "menukeyが不適当です";
  } else if (d.label.empty()) {
    d.error = "menulabelがありません";
  } else if (d.label.size() > kMaxDictionaryLabel) {
    d.error = "menulabelが長すぎます";
  }
}

Dictionary LoadDictionary(std::string_view specification, FileSystem& fs,
                          const std::function<std::string(const std::string&)>& programFile) {
  Dictionary d;
  d.specification = std::string(specification);
  const std::vector<std::string_view> words = Split(specification, " \t,;", 4);
  for (size_t i = 0; i < words.size(); ++i) {
    std::string_view value;
    if (StartsWithKey(words[i], "menukey=", value)) {
      d.menuKey = value.size() == 1 ? value[0] : '?';
    } else if (StartsWithKey(words[i], "menulabel=", value)) {
      d.label = std::string(value);
    } else if (i == 0) {
      d.fileName = std::string(words[i]);
    } else {
      d.error = "記述が不正です";
      return d;
    }
  }
  std::string path = d.fileName;
  if (path.starts_with('+')) path = programFile ? programFile(path.substr(1)) : path.substr(1);
  auto file = path.empty() ? nullptr : fs.Open(path, OpenMode::kRead);
  const int64_t size = file ? file->Size() : -1;
  if (size < 0) {
    d.error = "ﾌｧｲﾙを開けません";
    return d;
  }
  std::string contents(static_cast<size_t>(size), '\0');
  if (file->ReadAt(0, contents.data(), contents.size()) != size) {
    d.error = "ﾌｧｲﾙを開けません";
    return d;
  }
  ReadDictionaryText(contents, d);
  return d;
}

std::vector<Dictionary>& TheDictionaries() {
  static std::vector<Dictionary> dictionaries;
  return dictionaries;
}

}  // namespace vondal
