#include "macro/shortening.h"

#include <algorithm>
#include <string_view>

#include "app/text/sjis.h"
#include "macro/label_table.h"
#include "macro/macro_player.h"

namespace vondal {
namespace {

// A count above this does nothing more than this one: the string editor caps counts here too.
constexpr int kMaxCount = 9999;

// One movement or deletion: code, count, parameter, and where it ends in the text.
struct CountedCommand {
  char code = 0;
  int count = 1;
  char param = 0;
  size_t paramBytes = 0;  // 0 at the end of the text, 2 for a two-byte character
  size_t end = 0;
};

CountedCommand ReadCounted(std::string_view text, size_t pos) {
  CountedCommand command;
  command.code = text[pos++];
  int count = 0;
  bool digits = false;
  while (pos < text.size() &&
         (IsAsciiDigit(static_cast<unsigned char>(text[pos])) || text[pos] == macro_byte::kNoOp)) {
    if (text[pos] != macro_byte::kNoOp) {
      count = std::min(count * 10 + (text[pos] - '0'), kMaxCount);
      digits = true;
    }
    ++pos;
  }
  command.count = digits ? count : 1;
  if (pos < text.size()) {
    command.param = text[pos];
    command.paramBytes = CharLength(text, pos);
  }
  command.end = pos + command.paramBytes;
  return command;
}

bool Summed(const CountedCommand& command) {
  return command.code == 3 ? std::string_view("-+lr").find(command.param) != std::string_view::npos
                           : std::string_view("bd").find(command.param) != std::string_view::npos;
}

// Appends the character at text[pos] (a two-byte one whole) and returns the position behind it.
size_t CopyCharacter(std::string_view text, size_t pos, std::string& out) {
  if (pos >= text.size()) return pos;
  const size_t length = CharLength(text, pos);
  out.append(text.substr(pos, length));
  return pos + length;
}

}  // namespace

int ShortenMacro(std::string& text) {
  const std::string_view in = text;
  std::string out;
  size_t i = 0;
  while (i < in.size()) {
    const char byte = in[i];
    if (byte == macro_byte::kLabel) {
      out.push_back(byte);
      const std::string_view name = LabelNameAt(in, i + 1);
      out.append(name);
      i += 1 + name.size();
    } else if (byte == macro_byte::kComment) {
      const size_t close = in.find(macro_byte::kComment, i + 1);
      const size_t end = close == std::string_view::npos ? in.size() : close + 1;
      out.append(in.substr(i, end - i));
      i = end;
    } else if (byte == 13 || byte == 14 || byte == 2 || byte == 30) {
      out.push_back(byte);
      const bool call = byte == 13 && i + 1 < in.size() && in[i + 1] == 7;
      i = CopyCharacter(in, i + 1, out);
      if (call) i = CopyCharacter(in, i, out);
    } else if (byte == 3 || byte == 4) {
      CountedCommand command = ReadCounted(in, i);
      if (command.paramBytes != 1) {  // cut short by the end, or no command at all: as it stands
        out.append(in.substr(i, command.end - i));
        i = command.end;
        continue;
      }
      i = command.end;
      if (Summed(command)) {
        while (i < in.size() && in[i] == command.code) {
          const CountedCommand next = ReadCounted(in, i);
          if (next.paramBytes != 1 || next.param != command.param) break;
          command.count = std::min(command.count + next.count, kMaxCount);
          i = next.end;
        }
      }
      out.push_back(command.code);
      if (command.count != 1) out += std::to_string(command.count);
      out.push_back(command.param);
      if (command.code == 3 && command.param == 'w' && i < in.size()) {
        const bool controlCode = in[i] == 30;
        i = CopyCharacter(in, i, out);
        if (controlCode) i = CopyCharacter(in, i, out);
      }
    } else {
      i = CopyCharacter(in, i, out);
    }
  }
  const int saved = static_cast<int>(text.size() - out.size());
  text = std::move(out);
  return saved;
}

}  // namespace vondal
