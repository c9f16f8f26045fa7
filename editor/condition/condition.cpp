#include "editor/condition/condition.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/text/sjis.h"
#include "app/text/wildcard.h"
#include "citylist/call_area.h"
#include "log/field_table.h"

namespace vondal {
namespace {

// Node layout in the code buffer, after the 6-byte header (compiled flag, bytes used, error
// position; 16-bit words): the offset of the next node (0 ends the list), the source position,
// the node type; then by type:
//   operator "(" ")" "&" "^" "|" "!": nothing more (6 bytes);
//   'V' value: the name letter ('T' tag, 'J' ja, 'D' dx, '0' the left side of "!"), the value byte;
//   'X' comparison: field, operator code, result byte, then the literal and a zero, or an 8-byte
//   double (the operator code then has kNumberFlag added).
constexpr int kHeaderBytes = 6;
constexpr int kNodeHead = 6;
constexpr uint8_t kNumberFlag = 0x80;
constexpr uint8_t kCaseFlag = 0x08;  // the "#" forms

enum CompareOp : uint8_t { kEq = 1, kNe, kLt, kLe, kGt, kGe };

void Put16(uint8_t* p, int value) {
  p[0] = static_cast<uint8_t>(value & 0xFF);
  p[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

int Get16(const uint8_t* p) { return p[0] | (p[1] << 8); }

enum class TokenKind { kEnd, kOperator, kCompare, kString, kNumber, kWord, kBad, kOpenQuote };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  int position = 0;
  char op = 0;          // kOperator: the character
  uint8_t compare = 0;  // kCompare: the operator code (with kCaseFlag)
  std::string text;     // kString: the literal without quotes; kWord: the word
  double number = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  Token Next() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    Token token;
    token.position = static_cast<int>(pos_);
    if (pos_ >= text_.size()) return token;
    const std::string_view rest = text_.substr(pos_);
    // Comparison operators, longest first.
    static const struct {
      const char* text;
      uint8_t code;
    } kCompares[] = {{"!=#", kNe | kCaseFlag},
                     {"<=#", kLe | kCaseFlag},
                     {">=#", kGe | kCaseFlag},
                     {"!=", kNe},
                     {"<=", kLe},
                     {">=", kGe},
                     {"=#", kEq | kCaseFlag},
                     {"<#", kLt | kCaseFlag},
                     {">#", kGt | kCaseFlag},
                     {"=", kEq},
                     {"<", kLt},
                     {">", kGt}};
    for (const auto& c : kCompares) {
      if (rest.starts_with(c.text)) {
        token.kind = TokenKind::kCompare;
        token.compare = c.code;
        pos_ += std::strlen(c.text);
        return token;
      }
    }
    const char c = rest[0];
    if (c == '!' || c == '&' || c == '^' || c == '|' || c == '(' || c == ')') {
      token.kind = TokenKind::kOperator;
      token.op = c;
      ++pos_;
      return token;
    }
    if (c == '"') return Literal(token);
    if (IsDigit(c)) return Number(token);
    if (IsLetter(c)) {
      size_t end = pos_ + 1;
      while (end < text_.size() && (IsLetter(text_[end]) || IsDigit(text_[end]))) ++end;
      token.kind = TokenKind::kWord;
      token.text = std::string(text_.substr(pos_, end - pos_));
      pos_ = end;
      return token;
    }
    token.kind = TokenKind::kBad;
    return token;
  }

 private:
  Token& Literal(Token& token) {
    size_t at = pos_ + 1;
    for (;;) {
      if (at >= text_.size()) {
        token.kind = TokenKind::kOpenQuote;
        return token;
      }
      const size_t length = CharLength(text_, at);
      if (length == 1 && text_[at] == '"') {
        if (at + 1 < text_.size() && text_[at + 1] == '"') {  // "" is one quote
          token.text += '"';
          at += 2;
          continue;
        }
        pos_ = at + 1;
        token.kind = TokenKind::kString;
        return token;
      }
      token.text.append(text_.substr(at, length));
      at += length;
    }
  }

  Token& Number(Token& token) {
    size_t end = pos_;
    while (end < text_.size() && IsDigit(text_[end])) ++end;
    if (end < text_.size() && text_[end] == '.') {
      ++end;
      while (end < text_.size() && IsDigit(text_[end])) ++end;
    }
    if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
      ++end;
      if (end < text_.size() && (text_[end] == '+' || text_[end] == '-')) ++end;
      while (end < text_.size() && IsDigit(text_[end])) ++end;
    }
    token.kind = TokenKind::kNumber;
    const std::string digits(text_.substr(pos_, end - pos_));
    token.number = std::strtod(digits.c_str(), nullptr);
    pos_ = end;
    return token;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// A field text read as a number: its leading numeric part, 0 when there is none.
double LeadingNumber(std::string_view text) {
  size_t end = 0;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  const size_t digitsFrom = end;
  while (end < text.size() && IsDigit(text[end])) ++end;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && IsDigit(text[end])) ++end;
  }
  if (end == digitsFrom || (end == digitsFrom + 1 && text[digitsFrom] == '.')) return 0;
  // The usual FREQ and reports: fewer than 15 digits and no exponent. Digits and the power of ten are
  // both exact doubles, and their quotient is rounded once, just as strtod rounds.
  if (end - digitsFrom <= 15 && (end >= text.size() || (text[end] != 'e' && text[end] != 'E'))) {
    uint64_t digits = 0;
    int fraction = -1;
    for (size_t i = digitsFrom; i < end; ++i) {
      if (text[i] == '.') {
        fraction = 0;
        continue;
      }
      digits = digits * 10 + static_cast<uint64_t>(text[i] - '0');
      if (fraction >= 0) ++fraction;
    }
    static constexpr double kPowers[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                         1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
    const double value = static_cast<double>(digits) / kPowers[std::max(0, fraction)];
    return text[0] == '-' ? -value : value;
  }
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    size_t exp = end + 1;
    if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) ++exp;
    if (exp < text.size() && IsDigit(text[exp])) {
      end = exp;
      while (end < text.size() && IsDigit(text[end])) ++end;
    }
  }
  // A FREQ or a report is short; a longer number is read from its first 63 bytes.
  char part[64];
  const size_t length = std::min(end, sizeof part - 1);
  std::memcpy(part, text.data(), length);
  part[length] = '\0';
  const double value = std::strtod(part, nullptr);
  return std::isfinite(value) ? value : 0;
}

// Orders two texts character by character (a two-byte character one unit), ASCII letters folded
// unless `withCase`: negative, 0 or positive.
int CompareTexts(std::string_view a, std::string_view b, bool withCase) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    auto unit = [withCase](std::string_view text, size_t at, size_t& length) {
      length = CharLength(text, at);
      if (length == 2)
        return static_cast<unsigned char>(text[at]) * 256 + static_cast<unsigned char>(text[at + 1]);
      int c = static_cast<unsigned char>(text[at]);
      if (!withCase && c >= 'a' && c <= 'z') c -= 32;
      return c;
    };
    size_t la, lb;
    const int ua = unit(a, i, la);
    const int ub = unit(b, j, lb);
    if (ua != ub) return ua < ub ? -1 : 1;
    i += la;
    j += lb;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool Compare(int order, uint8_t op) {
  switch (op & 0x07) {
    case kEq:
      return order == 0;
    case kNe:
      return order != 0;
    case kLt:
      return order < 0;
    case kLe:
      return order <= 0;
    case kGt:
      return order > 0;
    default:
      return order >= 0;
  }
}

int Precedence(char op) {
  switch (op) {
    case '!':
      return 4;
    case '&':
      return 3;
    case '^':
      return 2;
    case '|':
      return 1;
    default:
      return 0;  // "("
  }
}

int Apply(char op, int left, int right) {
  switch (op) {
    case '!':
      return 1 - right;
    case '&':
      return left & right;
    case '^':
      return left ^ right;
    default:
      return left | right;
  }
}

}  // namespace

std::string_view ConditionMessage(int code) {
  static const char* const kMessages[] = {
      "式がありません",         "書式の誤りです",       "括弧が対になっていません", "括弧が閉じていません",
      "引用符が閉じていません", "演算子がありません",   "不正な演算子です",         "ﾌｨｰﾙﾄﾞ名が不正です",
      "ﾌｨｰﾙﾄﾞを特定できません", "ﾌｨｰﾙﾄﾞ名がありません", "比較演算子がありません",   "右辺値がありません",
      "ｺｰﾄﾞが容量を超えます",   "括弧が深すぎます",
  };
  return code >= 0 && code <= kConditionTooDeep ? kMessages[code] : "";
}

int FieldOfWord(std::string_view word) {
  int found = -1;
  for (int field = 0; field < kStoredFieldCount; ++field) {
    const std::string_view name = ActiveFieldTable()[field].name;
    if (word.size() > name.size()) continue;
    bool begins = true;
    for (size_t i = 0; i < word.size() && begins; ++i) {
      char a = word[i], b = name[i];
      if (a >= 'a' && a <= 'z') a -= 32;
      if (b >= 'a' && b <= 'z') b -= 32;
      begins = a == b;
    }
    if (!begins) continue;
    if (word.size() == name.size()) return field;  // the whole name
    found = found == -1 ? field : -2;
  }
  return found;
}

bool Condition::Append(const uint8_t* bytes, int size) {
  if (used_ + size > kConditionCodeBytes) return false;
  std::memcpy(code_.data() + used_, bytes, size);
  used_ += size;
  return true;
}

int Condition::Compile(std::string_view text, bool allowTag) {
  compiled_ = false;
  usesJaDx_ = false;
  used_ = kHeaderBytes;
  code_.fill(0);
  int lastNode = -1;
  auto fail = [&](int code, int position) {
    errorPosition_ = position;
    compiled_ = false;
    Put16(code_.data(), 0);
    Put16(code_.data() + 4, position);
    return code;
  };
  // Appends one node, linking the one before it to it.
  auto node = [&](int position, int type, const uint8_t* payload, int payloadSize) {
    uint8_t head[kNodeHead];
    Put16(head, 0);
    Put16(head + 2, position);
    Put16(head + 4, type);
    const int at = used_;
    if (!Append(head, kNodeHead) || !Append(payload, payloadSize)) return false;
    if (lastNode >= 0) Put16(code_.data() + lastNode, at);
    lastNode = at;
    return true;
  };

  // What the token before allows: the start and the operators "&^|" want an operand (or "!"),
  // "!" and "(" an operand, an operand wants an operator or ")".
  enum class After { kStart, kBinary, kNot, kOpen, kOperand } after = After::kStart;
  int open = 0;
  Tokenizer tokens(text);
  for (Token token = tokens.Next();; token = tokens.Next()) {
    const int at = token.position;
    const bool wantOperand = after != After::kOperand;
    switch (token.kind) {
      case TokenKind::kEnd:
        if (after == After::kStart) return fail(kConditionEmpty, at);
        if (after != After::kOperand) return fail(kConditionFormat, at);
        if (open > 0) return fail(kConditionUnclosed, at);
        break;
      case TokenKind::kBad:
        return fail(kConditionFormat, at);
      case TokenKind::kOpenQuote:
        return fail(kConditionOpenQuote, at);
      case TokenKind::kString:
      case TokenKind::kNumber:
      case TokenKind::kCompare:
        return fail(
            wantOperand || token.kind == TokenKind::kCompare ? kConditionNoField : kConditionNoOperator, at);
      case TokenKind::kOperator:
        if (token.op == '!') {
          if (after != After::kStart && after != After::kBinary) return fail(kConditionBadOperator, at);
          const uint8_t zero[2] = {'0', 0};
          if (!node(at, 'V', zero, 2) || !node(at, '!', nullptr, 0)) return fail(kConditionTooLong, at);
          after = After::kNot;
        } else if (token.op == '(') {
          if (!wantOperand) return fail(kConditionNoOperator, at);
          if (!node(at, '(', nullptr, 0)) return fail(kConditionTooLong, at);
          ++open;
          after = After::kOpen;
        } else if (token.op == ')') {
          if (!wantOperand && open == 0) return fail(kConditionUnpaired, at);
          if (wantOperand) return fail(kConditionFormat, at);
          if (!node(at, ')', nullptr, 0)) return fail(kConditionTooLong, at);
          --open;
        } else {
          if (wantOperand) return fail(kConditionBadOperator, at);
          if (!node(at, token.op, nullptr, 0)) return fail(kConditionTooLong, at);
          after = After::kBinary;
        }
        break;
      case TokenKind::kWord: {
        if (!wantOperand) return fail(kConditionNoOperator, at);
        std::string lower = token.text;
        for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        const char variable = (lower == "tag" && allowTag) ? 'T'
                              : lower == "ja"              ? 'J'
                              : lower == "dx"              ? 'D'
                                                           : 0;
        if (variable == 'J' || variable == 'D') usesJaDx_ = true;
        if (variable != 0) {
          const uint8_t value[2] = {static_cast<uint8_t>(variable), 0};
          if (!node(at, 'V', value, 2)) return fail(kConditionTooLong, at);
          after = After::kOperand;
          break;
        }
        const int field = FieldOfWord(token.text);
        if (field == -1) return fail(kConditionBadField, at);
        if (field == -2) return fail(kConditionAmbiguousField, at);
        const Token compare = tokens.Next();
        if (compare.kind != TokenKind::kCompare) return fail(kConditionNoComparison, compare.position);
        const Token value = tokens.Next();
        if (value.kind == TokenKind::kOpenQuote) return fail(kConditionOpenQuote, value.position);
        if (value.kind == TokenKind::kNumber && (compare.compare & kCaseFlag)) {
          return fail(kConditionNoRightSide, value.position);
        }
        if (value.kind != TokenKind::kString && value.kind != TokenKind::kNumber) {
          return fail(kConditionNoRightSide, value.position);
        }
        std::string payload(3, '\0');
        payload[0] = static_cast<char>(field);
        payload[1] =
            static_cast<char>(compare.compare | (value.kind == TokenKind::kNumber ? kNumberFlag : 0));
        if (value.kind == TokenKind::kNumber) {
          char bytes[8];
          std::memcpy(bytes, &value.number, 8);
          payload.append(bytes, 8);
        } else {
          payload += value.text;
          payload += '\0';
        }
        if (!node(at, 'X', reinterpret_cast<const uint8_t*>(payload.data()),
                  static_cast<int>(payload.size()))) {
          return fail(kConditionTooLong, at);
        }
        after = After::kOperand;
        break;
      }
    }
    if (token.kind == TokenKind::kEnd) break;
  }
  compiled_ = true;
  Put16(code_.data(), 1);
  Put16(code_.data() + 2, used_);
  // One evaluation without a record finds an expression too deep for the stacks.
  const RecordTexts none{};
  int deepAt = 0;
  if (Run(none, false, &deepAt) == kConditionTooDeep) return fail(kConditionTooDeep, deepAt);
  return kConditionOk;
}

int Condition::Evaluate(const RecordTexts& texts, bool tag) const { return Run(texts, tag, nullptr); }

int Condition::Run(const RecordTexts& texts, bool tag, int* deepAt) const {
  if (!compiled_) return 0;
  int values[kConditionStackDepth];
  char ops[kConditionStackDepth];
  int valueCount = 0;
  int opCount = 0;
  auto applyTop = [&] {
    const char op = ops[--opCount];
    const int right = values[--valueCount];
    const int left = values[--valueCount];
    values[valueCount++] = Apply(op, left, right);
  };
  auto tooDeep = [&](int position) {
    if (deepAt) *deepAt = position;
    return kConditionTooDeep;
  };
  const JaDx jaDx = usesJaDx_ ? ClassifyJaDx(texts[CALLSIGN]) : JaDx::kNeither;
  for (int at = kHeaderBytes; at != 0 && at < used_;) {
    const uint8_t* p = code_.data() + at;
    const int next = Get16(p);
    const int position = Get16(p + 2);
    const int type = Get16(p + 4);
    const uint8_t* payload = p + kNodeHead;
    if (type == 'V' || type == 'X') {
      int value = 0;
      if (type == 'V') {
        value = payload[0] == 'T'   ? tag
                : payload[0] == 'J' ? jaDx == JaDx::kJA
                : payload[0] == 'D' ? jaDx == JaDx::kDX
                                    : 0;
      } else {
        const std::string_view field = texts[payload[0]];
        const uint8_t op = payload[1];
        if (op & kNumberFlag) {
          double number;
          std::memcpy(&number, payload + 3, 8);
          const double have = LeadingNumber(field);
          value = Compare(have < number ? -1 : have > number ? 1 : 0, op);
        } else {
          const std::string_view literal(reinterpret_cast<const char*>(payload + 3));
          const bool withCase = op & kCaseFlag;
          if ((op & 0x07) == kEq || (op & 0x07) == kNe) {
            const bool match = MatchExtended(literal, field, !withCase);
            value = (op & 0x07) == kEq ? match : !match;
          } else {
            value = Compare(CompareTexts(field, literal, withCase), op);
          }
        }
      }
      if (valueCount == kConditionStackDepth) return tooDeep(position);
      values[valueCount++] = value;
    } else if (type == '(') {
      if (opCount == kConditionStackDepth) return tooDeep(position);
      ops[opCount++] = '(';
    } else if (type == ')') {
      while (opCount > 0 && ops[opCount - 1] != '(') applyTop();
      if (opCount > 0) --opCount;
    } else {
      const char op = static_cast<char>(type);
      while (opCount > 0 && ops[opCount - 1] != '(' && Precedence(ops[opCount - 1]) >= Precedence(op))
        applyTop();
      if (opCount == kConditionStackDepth) return tooDeep(position);
      ops[opCount++] = op;
    }
    at = next;
  }
  while (opCount > 0) {
    if (ops[opCount - 1] == '(') {
      --opCount;
      continue;
    }
    applyTop();
  }
  return valueCount > 0 ? values[valueCount - 1] : 0;
}

}  // namespace vondal
