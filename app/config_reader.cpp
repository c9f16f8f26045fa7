#include "app/config_reader.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/text/charset.h"
#include "app/text/program_folder.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"

namespace vondal {
namespace {

// A line is read in pieces of at most this many bytes; each piece is handled as a line.
constexpr size_t kPieceBytes = 1056;
// Open files at once: the main file and seven levels of "#include".
constexpr int kMaxOpenFiles = 8;
// "[" + a name of up to 32 bytes + "]".
constexpr size_t kMaxSectionBytes = 34;
// Definitions may grow a line; beyond this it is refused instead of eating the memory.
constexpr size_t kMaxSubstitutedLine = 65536;

constexpr char kInvalidDirective[] = "無効な命令です";
constexpr char kBadErrorWords[] = "#errorが不適切です";
constexpr char kNestingTooDeep[] = "ﾈｽﾃｨﾝｸﾞが深すぎます";
constexpr char kCannotOpenMain[] = "設定ﾌｧｲﾙが開けません";
constexpr char kCannotInclude[] = "挿入読み込みできません";
constexpr char kBadDefine[] = "#defineの文法が違います";
constexpr char kSectionTooLong[] = "ｾｸｼｮﾝ名が長すぎます";
constexpr char kLineTooLong[] = "#defineの置換で行が長すぎます";
constexpr char kListCannotOpen[] = "\n(!) ｵｰﾌﾟﾝできません";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

bool SameWord(std::string_view a, std::string_view b) { return CompareText(a, b, CaseMode::kIgnore) == 0; }

// True when line starts with the directive word followed by a blank or a tab.
bool IsDirective(std::string_view line, std::string_view word) {
  return line.size() > word.size() && line.substr(0, word.size()) == word && IsBlank(line[word.size()]);
}

// Cuts a "//" comment that stands outside double quotes, with the blanks and tabs before it.
// Both bytes of a two-byte character are skipped: neither counts as a quote or a slash.
std::string_view CutComment(std::string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); i += CharLength(line, i)) {
    if (CharLength(line, i) == 2) continue;
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && line[i] == '/' && i + 1 < line.size() && line[i + 1] == '/') {
      return TrimRight(line.substr(0, i));
    }
  }
  return line;
}

// True when the last character is "]" itself, not the second byte of a two-byte character.
bool EndsWithBracket(std::string_view line) {
  size_t last = 0;
  for (size_t i = 0; i < line.size(); i += CharLength(line, i)) last = i;
  return line.size() >= 2 && last == line.size() - 1 && line[last] == ']';
}

// The folder part of a path, "/" included; empty when the name has none.
std::string_view FolderOf(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

// Only regular files are read: a device or a pipe could block or never end.
bool LoadFile(const std::string& name, std::string& text) {
  std::error_code error;
  std::filesystem::path path(FileNameForSystem(name));
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  text.clear();
  char buffer[16384];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  bool ok = !std::ferror(file);
  std::fclose(file);
  // A Ctrl+Z ends a text file written by old DOS and Windows editors.
  if (size_t eof = text.find('\x1A'); eof != std::string::npos) text.resize(eof);
  return ok;
}

// The next piece of text from pos: up to the line end (removed, with a CR before it) or
// kPieceBytes bytes, ending early rather than splitting a two-byte character. A line end always
// ends the line, even after a stray lead byte.
std::string_view NextPiece(std::string_view text, size_t& pos, bool& lineEnded) {
  size_t start = pos;
  size_t end = start;
  while (end < text.size() && text[end] != '\n') {
    size_t len = CharLength(text, end) == 2 && text[end + 1] == '\n' ? 1 : CharLength(text, end);
    if (end + len - start > kPieceBytes) break;
    end += len;
  }
  std::string_view piece = text.substr(start, end - start);
  lineEnded = end >= text.size() || text[end] == '\n';
  pos = end < text.size() && text[end] == '\n' ? end + 1 : end;
  if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
  return piece;
}

struct Definition {
  std::string name;
  std::string value;
  bool disabled = false;  // redefined: the name no longer matches anything
};

class Reader {
 public:
  Reader(std::span<ConfigKey> table, const ConfigOutput& output) : table_(table), output_(output) {}

  int Read(std::string_view fileName) {
    ReadFile(Resolve(fileName, ""), 0, "", 0);
    return stopped_ ? result_ : errors_;
  }

 private:
  bool ListMode() const { return table_.empty(); }

  void Print(std::string_view text) {
    if (output_.print) {
      output_.print(text);
    } else {
      PrintLocal(stdout, text);
      std::fflush(stdout);  // the terminal may be taken over right after the read
    }
  }

  // A "+" names the program's own folder; a name without a folder part is taken from the
  // including file's folder.
  static std::string Resolve(std::string_view name, std::string_view includingFile) {
    if (!name.empty() && name.front() == '+') return InProgramFolder(std::string(name.substr(1)));
    if (name.find('/') != std::string_view::npos) return std::string(name);
    return std::string(FolderOf(includingFile)) + std::string(name);
  }

  // Handles one error by the "#error" switches. Returns false when reading must stop.
  bool Error(int code, std::string_view message, std::string_view subject, std::string_view file,
             int lineNumber) {
    if (print_) {
      std::string text = "(!) ";
      if (!file.empty()) text += std::string(file) + ":" + std::to_string(lineNumber) + ": ";
      text += std::string(message) + " \"" + std::string(subject) + "\"\n";
      Print(text);
    }
    if (exit_) {
      std::fflush(stdout);
      if (output_.exitProgram) {
        output_.exitProgram();
      } else {
        std::exit(255);
      }
    }
    if (continue_ && !exit_) {
      ++errors_;
      return true;
    }
    stopped_ = true;
    result_ = code;
    return false;
  }

  // Reads one file at the given depth; includingFile and lineNumber place the "#include" that
  // asked for it (empty for the main file). Returns false when reading must stop.
  bool ReadFile(const std::string& name, int depth, std::string_view includingFile, int includeLine) {
    if (depth >= kMaxOpenFiles || IsOpen(name)) {
      return Error(kConfigNestingTooDeep, kNestingTooDeep, name, includingFile, includeLine);
    }
    if (ListMode()) {
      Print("\n" + std::string(depth, ' ') + "\"" + name + "\"");
      column_ = depth + name.size() + 2;
    }
    std::string text;
    if (!LoadFile(name, text)) {
      if (ListMode()) Print(kListCannotOpen);
      return depth == 0 ? Error(kConfigCannotOpen, kCannotOpenMain, name, "", 0)
                        : Error(kConfigIncludeCannotOpen, kCannotInclude, name, includingFile, includeLine);
    }
    open_.push_back(name);
    bool goOn = true;
    size_t pos = 0;
    int lineNumber = 1;
    while (goOn && pos < text.size()) {
      bool lineEnded = false;
      std::string_view piece = NextPiece(text, pos, lineEnded);
      goOn = ReadLine(piece, depth, name, lineNumber);
      if (lineEnded) ++lineNumber;
    }
    open_.pop_back();
    return goOn;
  }

  // A file that is already open would include itself without end.
  bool IsOpen(const std::string& name) const {
    std::error_code error;
    for (const std::string& open : open_) {
      if (std::filesystem::equivalent(FileNameForSystem(open), FileNameForSystem(name), error)) return true;
    }
    return false;
  }

  bool ReadLine(std::string_view piece, int depth, const std::string& file, int lineNumber) {
    std::string_view cut = CutComment(piece);
    if (cut.empty()) return true;
    std::string line(cut);
    size_t from = 0;
    if (IsDirective(line, "#define")) {
      size_t equals = line.find('=');
      from = equals == std::string::npos ? line.size() : equals + 1;
    }
    if (!Substitute(line, from)) return Error(kConfigBadDefine, kLineTooLong, cut, file, lineNumber);

    if (IsDirective(line, "#error")) return ErrorDirective(line, file, lineNumber);
    if (IsDirective(line, "#include")) {
      std::string_view include = TrimRight(SkipBlanks(std::string_view(line).substr(8)));
      return ReadFile(Resolve(include, file), depth + 1, file, lineNumber);
    }
    if (IsDirective(line, "#define")) return Define(line, file, lineNumber);
    if (line.front() == '#') {
      return strict_ ? Error(kConfigInvalidDirective, kInvalidDirective, line, file, lineNumber) : true;
    }
    if (line.front() == '[' && EndsWithBracket(line)) return Section(line, depth, file, lineNumber);
    if (size_t equals = line.find('='); equals != std::string::npos) {
      Assign(TrimRight(std::string_view(line).substr(0, equals)), std::string_view(line).substr(equals + 1));
    }
    return true;
  }

  // Replaces the names of the definitions, newest first, in line from the byte `from` on. An
  // inserted value is not searched again for the same name. False when the line grows too long.
  bool Substitute(std::string& line, size_t from) {
    for (const Definition& definition : definitions_) {
      if (definition.disabled) continue;
      std::string_view rest = std::string_view(line).substr(from);
      size_t hit = FindText(rest, definition.name);
      if (hit == std::string_view::npos) continue;
      std::string result = line.substr(0, from);
      for (; hit != std::string_view::npos; hit = FindText(rest, definition.name)) {
        result.append(rest.substr(0, hit)).append(definition.value);
        rest.remove_prefix(hit + definition.name.size());
        if (result.size() > kMaxSubstitutedLine) return false;
      }
      result.append(rest);
      if (result.size() > kMaxSubstitutedLine) return false;
      line = std::move(result);
    }
    return true;
  }

  bool ErrorDirective(std::string_view line, const std::string& file, int lineNumber) {
    bool unknownWord = false;
    std::vector<std::string_view> words = SplitWords(line.substr(6));
    for (std::string_view word : words) {
      if (SameWord(word, "strict")) {
        strict_ = true;
      } else if (SameWord(word, "print")) {
        print_ = true;
      } else if (SameWord(word, "continue")) {
        continue_ = true;
      } else if (SameWord(word, "exit")) {
        exit_ = true;
      } else {
        unknownWord = true;
      }
    }
    // Under strict a misspelt word or a bare "#error" is reported like any invalid directive.
    if (strict_ && (unknownWord || words.empty())) {
      return Error(kConfigInvalidDirective, kBadErrorWords, line, file, lineNumber);
    }
    return true;
  }

  bool Define(std::string_view line, const std::string& file, int lineNumber) {
    size_t equals = line.find('=');
    std::string_view name = equals == std::string_view::npos
                                ? std::string_view()
                                : TrimRight(SkipBlanks(line.substr(7, equals - 7)));
    if (name.empty()) return Error(kConfigBadDefine, kBadDefine, line, file, lineNumber);
    for (Definition& older : definitions_) {
      if (older.name == name) older.disabled = true;
    }
    definitions_.insert(definitions_.begin(),
                        Definition{std::string(name), std::string(line.substr(equals + 1))});
    return true;
  }

  bool Section(std::string_view line, int depth, const std::string& file, int lineNumber) {
    // Even when the error is passed over, the long name becomes the current section: it matches
    // no set, so the keys under it cannot land in the section before it.
    section_ = std::string(line.substr(1, line.size() - 2));
    if (line.size() > kMaxSectionBytes) {
      return Error(kConfigSectionTooLong, kSectionTooLong, line, file, lineNumber);
    }
    if (ListMode()) {
      Print("\n" + std::string(depth, ' ') + std::string(line));
      column_ = depth + line.size();
    }
    return true;
  }

  void Assign(std::string_view key, std::string_view value) {
    if (ListMode()) {
      if (SameWord(key, "caption")) {
        Print((column_ < 8 ? "\t\t" : "\t") + std::string(value));
        column_ += 8 + value.size();
      }
      return;
    }
    for (ConfigKey& entry : table_) {
      if (!SameWord(entry.section, section_) || !SameWord(entry.key, key)) continue;
      bool full = entry.maxValues == 0 ? !entry.values.empty()
                                       : entry.maxValues != kUnlimitedValues &&
                                             entry.values.size() >= static_cast<size_t>(entry.maxValues);
      if (!full) {
        std::string& stored = entry.values.emplace_back();
        stored.reserve(value.size() + entry.extraRoom);
        stored.assign(value);
      }
      return;
    }
  }

  std::span<ConfigKey> table_;
  const ConfigOutput& output_;
  std::vector<std::string> open_;        // names of the files being read, main file first
  std::vector<Definition> definitions_;  // newest first
  std::string section_;
  bool strict_ = false;
  bool print_ = false;
  bool continue_ = false;
  bool exit_ = false;
  int errors_ = 0;
  bool stopped_ = false;
  int result_ = kConfigOk;
  size_t column_ = 0;  // list mode: columns printed on the current line
};

}  // namespace

int ReadConfig(std::string_view fileName, std::span<ConfigKey> table, const ConfigOutput& output) {
  return Reader(table, output).Read(fileName);
}

}  // namespace vondal
