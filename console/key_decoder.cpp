#include "console/key_decoder.h"

#include <array>
#include <string>

#include "app/text/charset.h"

namespace vondal {
namespace {

constexpr char kEsc = 0x1B;
// Longest escape sequence taken in; anything longer is garbage and dropped.
constexpr size_t kMaxSequence = 64;

// The keys that arrive as escape sequences, and their scan codes alone and with Shift, Ctrl and
// Alt (the console's numbering: Ctrl and Alt change the code, Shift changes it only for F-keys).
enum NamedKey {
  kUp,
  kDown,
  kLeft,
  kRight,
  kHome,
  kEnd,
  kPgUp,
  kPgDn,
  kIns,
  kDel,
  kF1,
  kF2,
  kF3,
  kF4,
  kF5,
  kF6,
  kF7,
  kF8,
  kF9,
  kF10,
  kF11,
  kF12,
  kBackTab,
  kNamedKeyCount
};

struct ScanCodes {
  int plain, shift, ctrl, alt;
};

constexpr std::array<ScanCodes, kNamedKeyCount> kScanCodes = {{
    {0x48, 0x48, 0x8D, 0x98},  // Up
    {0x50, 0x50, 0x91, 0xA0},  // Down
    {0x4B, 0x4B, 0x73, 0x9B},  // Left
    {0x4D, 0x4D, 0x74, 0x9D},  // Right
    {0x47, 0x47, 0x77, 0x97},  // Home
    {0x4F, 0x4F, 0x75, 0x9F},  // End
    {0x49, 0x49, 0x84, 0x99},  // PgUp
    {0x51, 0x51, 0x76, 0xA1},  // PgDn
    {0x52, 0x52, 0x92, 0xA2},  // Ins
    {0x53, 0x53, 0x93, 0xA3},  // Del
    {0x3B, 0x54, 0x5E, 0x68},
    {0x3C, 0x55, 0x5F, 0x69},
    {0x3D, 0x56, 0x60, 0x6A},
    {0x3E, 0x57, 0x61, 0x6B},
    {0x3F, 0x58, 0x62, 0x6C},
    {0x40, 0x59, 0x63, 0x6D},
    {0x41, 0x5A, 0x64, 0x6E},
    {0x42, 0x5B, 0x65, 0x6F},
    {0x43, 0x5C, 0x66, 0x70},
    {0x44, 0x5D, 0x67, 0x71},  // F1 ... F10
    {0x85, 0x87, 0x89, 0x8B},  // F11
    {0x86, 0x88, 0x8A, 0x8C},  // F12
    {0, 0, 0, 0},              // Shift+Tab: the Tab character with Shift, not a scan code
}};

struct Modifiers {
  bool shift = false, ctrl = false, alt = false;
};

// The xterm modifier parameter: 1 + (Shift 1, Alt 2, Ctrl 4, Meta 8); lock bits are ignored.
Modifiers FromParameter(int m) {
  Modifiers mods;
  if (m < 2) return mods;
  int bits = m - 1;
  mods.shift = bits & 1;
  mods.alt = (bits & 2) || (bits & 8);
  mods.ctrl = bits & 4;
  return mods;
}

KeyEvent NamedKeyEvent(NamedKey named, Modifiers mods) {
  if (named == kBackTab) return CharacterKey(9, true, mods.ctrl, mods.alt);
  const ScanCodes& codes = kScanCodes[named];
  int scan = mods.alt ? codes.alt : mods.ctrl ? codes.ctrl : mods.shift ? codes.shift : codes.plain;
  return ExtendedKey(scan, mods.shift, mods.ctrl, mods.alt);
}

// Sequences ending in a letter: CSI <letter>, SS3 <letter> (and their CSI 1;m <letter> forms).
struct LetterSequence {
  char introducer;  // '[' for CSI, 'O' for SS3
  char final;
  NamedKey key;
  Modifiers implied;  // rxvt spells some modified keys with their own letters
};

const LetterSequence kLetterSequences[] = {
    {'[', 'A', kUp, {}},
    {'[', 'B', kDown, {}},
    {'[', 'C', kRight, {}},
    {'[', 'D', kLeft, {}},
    {'[', 'H', kHome, {}},
    {'[', 'F', kEnd, {}},
    {'O', 'A', kUp, {}},
    {'O', 'B', kDown, {}},
    {'O', 'C', kRight, {}},
    {'O', 'D', kLeft, {}},
    {'O', 'H', kHome, {}},
    {'O', 'F', kEnd, {}},
    {'O', 'P', kF1, {}},
    {'O', 'Q', kF2, {}},
    {'O', 'R', kF3, {}},
    {'O', 'S', kF4, {}},
    {'[', 'P', kF1, {}},
    {'[', 'Q', kF2, {}},
    {'[', 'R', kF3, {}},
    {'[', 'S', kF4, {}},
    {'[', 'Z', kBackTab, {}},
    {'[', 'a', kUp, {true}},
    {'[', 'b', kDown, {true}},
    {'[', 'c', kRight, {true}},
    {'[', 'd', kLeft, {true}},
    {'O', 'a', kUp, {false, true}},
    {'O', 'b', kDown, {false, true}},
    {'O', 'c', kRight, {false, true}},
    {'O', 'd', kLeft, {false, true}},
};

// Sequences CSI <number> ~ (VT220 editing and function keys).
struct TildeSequence {
  int number;
  NamedKey key;
  bool shift;  // F13-F20 stand for Shift+F1-F8
};

const TildeSequence kTildeSequences[] = {
    {1, kHome, false}, {7, kHome, false}, {4, kEnd, false},  {8, kEnd, false},  {2, kIns, false},
    {3, kDel, false},  {5, kPgUp, false}, {6, kPgDn, false}, {11, kF1, false},  {12, kF2, false},
    {13, kF3, false},  {14, kF4, false},  {15, kF5, false},  {17, kF6, false},  {18, kF7, false},
    {19, kF8, false},  {20, kF9, false},  {21, kF10, false}, {23, kF11, false}, {24, kF12, false},
    {25, kF1, true},   {26, kF2, true},   {28, kF3, true},   {29, kF4, true},   {31, kF5, true},
    {32, kF6, true},   {33, kF7, true},   {34, kF8, true},
};

DecodeResult Key(size_t length, KeyEvent key) {
  DecodeResult result;
  result.status = DecodeStatus::kKey;
  result.length = length;
  result.key = key;
  return result;
}

DecodeResult Status(DecodeStatus status, size_t length) {
  DecodeResult result;
  result.status = status;
  result.length = length;
  return result;
}

DecodeResult Reply(size_t length, ReplyKind kind) {
  DecodeResult result = Status(DecodeStatus::kReply, length);
  result.reply = kind;
  return result;
}

// A plain byte below 0x80.
KeyEvent ByteKey(unsigned char c) {
  if (c == 0x7F) return CharacterKey(8);  // the Backspace key of most terminals
  bool ctrl = c < 0x20 && c != 8 && c != 9 && c != 13 && c != kEsc;
  return CharacterKey(c, false, ctrl);
}

// A Unicode character (from UTF-8 or a kitty/modifyOtherKeys code point) as a CP932 key.
DecodeResult CharacterResult(size_t length, const std::string& utf8, Modifiers mods) {
  std::string cp932 = Utf8ToCp932(utf8);
  if (cp932.empty() || (cp932 == "?" && utf8 != "?")) return Status(DecodeStatus::kUnmappable, length);
  auto lead = static_cast<unsigned char>(cp932[0]);
  int code = cp932.size() >= 2 ? lead * 256 + static_cast<unsigned char>(cp932[1]) : lead;
  return Key(length, CharacterKey(code, mods.shift, mods.ctrl, mods.alt));
}

std::string EncodeUtf8(unsigned cp) {
  std::string out;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return out;
}

// A key given by its Unicode code point and modifiers (kitty CSI k;m u, xterm CSI 27;m;k ~).
DecodeResult CodePointKey(size_t length, long codePoint, Modifiers mods) {
  switch (codePoint) {
    case 13:
      return Key(length, CharacterKey(13, mods.shift, mods.ctrl, mods.alt));
    case 9:
      return Key(length, CharacterKey(9, mods.shift, mods.ctrl, mods.alt));
    case 8:
    case 127:
      return Key(length, CharacterKey(8, mods.shift, mods.ctrl, mods.alt));
    case 27:
      return Key(length, CharacterKey(27, mods.shift, mods.ctrl, mods.alt));
    default:
      break;
  }
  if (codePoint <= 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF) ||
      (codePoint >= 0xE000 && codePoint <= 0xF8FF)) {
    return Status(DecodeStatus::kInvalid, length);  // kitty's own private-use key numbers
  }
  if (mods.ctrl && codePoint >= '@' && codePoint <= 'z' && codePoint != '`') {
    return Key(length, CharacterKey(codePoint & 0x1F, mods.shift, true, mods.alt));
  }
  if (mods.shift && codePoint >= 'a' && codePoint <= 'z') codePoint -= 'a' - 'A';
  if (codePoint < 0x20)
    return Key(length, CharacterKey(static_cast<int>(codePoint), mods.shift, true, mods.alt));
  return CharacterResult(length, EncodeUtf8(static_cast<unsigned>(codePoint)), mods);
}

// The parameters of a CSI sequence: up to four numbers separated by ";", each the first of its
// ":"-separated sub-parameters; -1 where a parameter is empty.
struct Parameters {
  char marker = 0;  // a private marker "?", ">", "<", "=" before the numbers
  int count = 0;
  long values[4] = {-1, -1, -1, -1};
  long Get(int i, long absent) const { return i < count && values[i] >= 0 ? values[i] : absent; }
};

Parameters ParseParameters(std::string_view text) {
  Parameters params;
  size_t i = 0;
  if (!text.empty() && (text[0] == '?' || text[0] == '>' || text[0] == '<' || text[0] == '=')) {
    params.marker = text[0];
    i = 1;
  }
  bool inSub = false;
  params.count = 1;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int slot = params.count - 1;
    if (c == ';') {
      if (params.count < 4) ++params.count;
      inSub = false;
    } else if (c == ':') {
      inSub = true;
    } else if (c >= '0' && c <= '9' && !inSub && slot < 4) {
      long& value = params.values[slot];
      value = value < 0 ? c - '0' : value < 100000000 ? value * 10 + (c - '0') : value;
    }
  }
  return params;
}

// Ends of a CSI or SS3 sequence: the parameter bytes between the introducer and the final byte.
struct Sequence {
  enum { kComplete, kIncomplete, kBroken } state;
  size_t length;  // through the final byte (complete) or up to the offending byte (broken)
  std::string_view parameters;
  char final = 0;
};

Sequence ScanSequence(std::string_view input) {
  // input[0] = ESC, input[1] = '[' or 'O'
  for (size_t i = 2; i < input.size(); ++i) {
    auto c = static_cast<unsigned char>(input[i]);
    if (i >= kMaxSequence) return {Sequence::kBroken, i, {}, 0};
    if ((c >= '0' && c <= '?') || (input[1] == '[' && c == ' ')) continue;  // parameters
    if (c >= 0x20 && c < 0x7F)
      return {Sequence::kComplete, i + 1, input.substr(2, i - 2), static_cast<char>(c)};
    return {Sequence::kBroken, i, {}, 0};
  }
  return {Sequence::kIncomplete, input.size(), {}, 0};
}

DecodeResult DecodeCsi(const Sequence& seq) {
  Parameters params = ParseParameters(seq.parameters);
  size_t length = seq.length;
  if (params.marker != 0) {
    if (params.marker == '?' && seq.final == 'u') return Reply(length, ReplyKind::kKittyFlags);
    if (params.marker == '?' && seq.final == 'c') return Reply(length, ReplyKind::kDeviceAttributes);
    return Reply(length, ReplyKind::kOther);
  }
  char final = seq.final;
  if (final == 'R' && params.count >= 2 && params.Get(0, 1) != 1) {
    // A cursor position report; CSI 1;m R is F3 with modifiers, so reports are asked for off row 1.
    DecodeResult result = Reply(length, ReplyKind::kCursorPosition);
    result.replyRow = static_cast<int>(params.Get(0, 1));
    result.replyCol = static_cast<int>(params.Get(1, 1));
    return result;
  }
  if (final == 'u') return CodePointKey(length, params.Get(0, 0), FromParameter(params.Get(1, 1)));
  if (final == '~' || final == '$' || final == '^' || final == '@') {
    long number = params.Get(0, -1);
    if (number == 27 && params.count >= 3) {
      return CodePointKey(length, params.Get(2, 0), FromParameter(params.Get(1, 1)));
    }
    Modifiers mods = FromParameter(params.Get(1, 1));
    if (final == '$' || final == '@') mods.shift = true;  // rxvt: $ Shift, ^ Ctrl, @ both
    if (final == '^' || final == '@') mods.ctrl = true;
    for (const TildeSequence& entry : kTildeSequences) {
      if (entry.number == number) {
        mods.shift = mods.shift || entry.shift;
        return Key(length, NamedKeyEvent(entry.key, mods));
      }
    }
    return Status(DecodeStatus::kInvalid, length);
  }
  for (const LetterSequence& entry : kLetterSequences) {
    if (entry.introducer == '[' && entry.final == final) {
      Modifiers mods = FromParameter(params.Get(1, 1));
      mods.shift = mods.shift || entry.implied.shift;
      mods.ctrl = mods.ctrl || entry.implied.ctrl;
      return Key(length, NamedKeyEvent(entry.key, mods));
    }
  }
  return Status(DecodeStatus::kInvalid, length);
}

DecodeResult DecodeSs3(const Sequence& seq) {
  // Some terminals put a modifier digit between SS3 and the letter ("ESC O 2 P").
  Parameters params = ParseParameters(seq.parameters);
  Modifiers mods = FromParameter(params.Get(params.count - 1, 1));
  for (const LetterSequence& entry : kLetterSequences) {
    if (entry.introducer == 'O' && entry.final == seq.final) {
      mods.shift = mods.shift || entry.implied.shift;
      mods.ctrl = mods.ctrl || entry.implied.ctrl;
      return Key(seq.length, NamedKeyEvent(entry.key, mods));
    }
  }
  return Status(DecodeStatus::kInvalid, seq.length);
}

// Linux console F1-F5: CSI [ A ... CSI [ E.
bool IsLinuxFunctionKey(std::string_view input) {
  return input.size() >= 4 && input[1] == '[' && input[2] == '[' && input[3] >= 'A' && input[3] <= 'E';
}

DecodeResult DecodeUtf8(std::string_view input, bool atEnd) {
  auto lead = static_cast<unsigned char>(input[0]);
  size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0) return Status(DecodeStatus::kInvalid, 1);
  for (size_t i = 1; i < length; ++i) {
    if (i >= input.size())
      return atEnd ? Status(DecodeStatus::kInvalid, i) : Status(DecodeStatus::kNeedMore, 0);
    if ((static_cast<unsigned char>(input[i]) & 0xC0) != 0x80) return Status(DecodeStatus::kInvalid, i);
  }
  // Overlong forms and surrogates are not characters.
  auto second = static_cast<unsigned char>(input[1]);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return Status(DecodeStatus::kInvalid, length);
  }
  return CharacterResult(length, std::string(input.substr(0, length)), {});
}

// The same key with Alt held: extended keys take their Alt scan code.
DecodeResult WithAlt(DecodeResult result) {
  result.key.alt = true;
  if (result.key.first == 0) {
    for (const ScanCodes& codes : kScanCodes) {
      int scan = result.key.second;
      if (scan != 0 && (scan == codes.plain || scan == codes.shift || scan == codes.ctrl)) {
        result.key = ExtendedKey(codes.alt, result.key.shift, result.key.ctrl, true);
        break;
      }
    }
  }
  result.length += 1;
  return result;
}

// The Esc key alone; what follows it is the next key.
DecodeResult EscKey() { return Key(1, CharacterKey(27)); }

DecodeResult DecodeEscape(std::string_view input, bool atEnd) {
  if (input.size() == 1) return atEnd ? EscKey() : Status(DecodeStatus::kNeedMore, 0);
  char second = input[1];
  if (second == '[' || second == 'O') {
    if (second == '[' && input.size() == 3 && input[2] == '[' && !atEnd)
      return Status(DecodeStatus::kNeedMore, 0);
    if (IsLinuxFunctionKey(input))
      return Key(4, NamedKeyEvent(static_cast<NamedKey>(kF1 + input[3] - 'A'), {}));
    Sequence seq = ScanSequence(input);
    if (seq.state == Sequence::kIncomplete) {
      if (!atEnd) return Status(DecodeStatus::kNeedMore, 0);
      // Esc, then "[" or "O" typed by themselves; anything longer is a truncated sequence.
      if (input.size() == 2) return EscKey();
      return Status(DecodeStatus::kInvalid, input.size());
    }
    // Nothing a sequence can go on with right after the "[" or "O": Esc and that letter, typed.
    if (seq.state == Sequence::kBroken)
      return seq.length == 2 ? EscKey() : Status(DecodeStatus::kInvalid, seq.length);
    DecodeResult result = second == '[' ? DecodeCsi(seq) : DecodeSs3(seq);
    if (result.status == DecodeStatus::kInvalid && seq.parameters.empty()) return EscKey();
    return result;
  }
  if (second == kEsc) {
    // Esc Esc: rxvt's Alt with an escape sequence, or two Esc presses.
    if (input.size() == 2) return atEnd ? EscKey() : Status(DecodeStatus::kNeedMore, 0);
    if (input[2] != '[' && input[2] != 'O') return EscKey();
    DecodeResult inner = DecodeEscape(input.substr(1), atEnd);
    if (inner.status == DecodeStatus::kKey && inner.length > 1) return WithAlt(inner);
    if (inner.status == DecodeStatus::kNeedMore) return inner;
    return EscKey();
  }
  // Esc and a byte that begins no sequence are two keys, however fast they came: the menus
  // open with Esc and read the key after it, and typing ahead or a slow link puts both into one
  // read. Alt+key is told only by the enhanced keyboard modes (CSI 1;3A, CSI 97;3u).
  return EscKey();
}

}  // namespace

DecodeResult DecodeKey(std::string_view input, bool atEnd) {
  if (input.empty()) return Status(DecodeStatus::kNeedMore, 0);
  auto c = static_cast<unsigned char>(input[0]);
  if (c == kEsc) return DecodeEscape(input, atEnd);
  if (c == 0) return Status(DecodeStatus::kInvalid, 1);  // Ctrl+Space: no key of ours
  if (c < 0x80) return Key(1, ByteKey(c));
  return DecodeUtf8(input, atEnd);
}

}  // namespace vondal
