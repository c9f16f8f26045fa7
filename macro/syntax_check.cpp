#include "macro/syntax_check.h"

#include <string_view>

#include "app/text/sjis.h"
#include "macro/macro_player.h"
#include "macro/menu_tree.h"

namespace vondal {
namespace {

constexpr std::string_view kFaceKeys = "0123456789[]+- \t\x1B";
constexpr std::string_view kFieldKeys = "QWERTYUIASDFZXCVBNM[] H\x1B";
constexpr std::string_view kSearchKeys = " ,.:;=[\\]";

bool In(std::string_view set, unsigned char byte) {
  return byte != 0 && set.find(static_cast<char>(byte)) != std::string_view::npos;
}

// Menus take a letter in either case (they match the upper-cased key).
unsigned char MenuKey(unsigned char byte) {
  return static_cast<unsigned char>(AsciiUpper(static_cast<char>(byte)));
}

// The bytes of a macro as the player hands them out: no-ops and comments are never seen.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() {
    Skip();
    return pos_ >= text_.size();
  }
  size_t Pos() {
    Skip();
    return pos_;
  }
  unsigned char Peek() {
    Skip();
    return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : 0;
  }
  unsigned char Take() {
    const unsigned char byte = Peek();
    if (pos_ < text_.size()) ++pos_;
    return byte;
  }
  // The raw bytes from `pos` on (labels are skipped by the player without reading their names
  // as keys).
  std::string_view Raw() const { return text_; }
  void MoveTo(size_t pos) { pos_ = pos; }

 private:
  void Skip() {
    while (pos_ < text_.size()) {
      if (text_[pos_] == macro_byte::kNoOp) {
        ++pos_;
      } else if (text_[pos_] == macro_byte::kComment) {
        const size_t close = text_.find(macro_byte::kComment, pos_ + 1);
        pos_ = close == std::string_view::npos ? text_.size() : close + 1;
      } else {
        return;
      }
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

class Checker {
 public:
  Checker(const MacroStore& store, int n, const LabelTable& labels)
      : store_(store), n_(n), labels_(labels), in_(store.TextView(n)) {}

  SyntaxError Run() {
    while (!in_.AtEnd()) {
      const size_t at = in_.Pos();
      if (!Command(in_.Take(), at)) return error_;
    }
    return {};
  }

 private:
  bool Fail(const char* text, size_t pos) {
    error_ = {text, static_cast<int>(pos)};
    return false;
  }

  bool Command(unsigned char code, size_t at) {
    if (range_ && In("\x02\x04\x0D\x0E\x15\x1D\x1E", code)) return Fail("0a)範囲指定中は無効です", at);
    switch (code) {
      case 3:
      case 4:
        return Counted(code);
      case 1:
      case 6:
      case 11:
        if (!range_) return Fail("0c)範囲指定中以外は無効です", at);
        range_ = false;
        return true;
      case 2: {
        if (in_.AtEnd()) return Fail("0d)ﾊﾟﾗﾒｰﾀがありません", in_.Pos());
        const size_t opAt = in_.Pos();
        if (!In("abefxy", in_.Take())) return Fail("0e)ﾊﾟﾗﾒｰﾀが無効です", opAt);
        range_ = true;
        return true;
      }
      case 12:
        return Label(at);
      case 13:
        return Exit();
      case 14:
        return ExtendedExit(at);
      case 18:
        if (replace_ != 0) return Fail("0q)置換操作中は無効です", at);
        replace_ = 1;
        return true;
      case 27:
        if (replace_ != 0) return Fail("0r)置換操作中は無効です", at);
        if (!range_) return Fail("0s)中止するｺﾏﾝﾄﾞがありません", at);
        range_ = false;
        return true;
      case 30: {
        const size_t letterAt = in_.Pos();
        const unsigned char letter = in_.Take();
        if (letter < 'A' || letter > '_') return Fail("0t)ｺﾝﾄﾛｰﾙｺｰﾄﾞの指定が無効です", letterAt);
        return true;
      }
      case 16:
      case 19:
      case 20:
      case 26:
      case 29:
        return true;
      default:
        break;
    }
    if (code < 32) return Fail("0u)無効なｺｰﾄﾞです", at);
    if (range_) return Fail("0v)範囲指定中は無効です", at);
    // A typed character: the string editor takes a lead byte's trail with it.
    if (IsLeadByte(code) && !in_.AtEnd() && in_.Peek() >= 0x40 && in_.Peek() != 0x7F) in_.Take();
    return true;
  }

  // 3 or 4, a count and the parameter.
  bool Counted(unsigned char code) {
    while (!in_.AtEnd() && IsAsciiDigit(in_.Peek())) in_.Take();
    if (in_.AtEnd()) return Fail("0b)ﾊﾟﾗﾒｰﾀがありません", in_.Pos());
    const size_t paramAt = in_.Pos();
    const unsigned char param = in_.Take();
    if (code == 4) return In("bBdD", param) || Fail("0i)ﾊﾟﾗﾒｰﾀが無効です", paramAt);
    if (!In("-+lrLR<>w", param)) return Fail("0f)ﾊﾟﾗﾒｰﾀが無効です", paramAt);
    if (param != 'w' || in_.AtEnd()) return true;
    const size_t targetAt = in_.Pos();
    const unsigned char target = in_.Take();
    if (target >= 32) {
      if (IsLeadByte(target) && !in_.AtEnd()) in_.Take();
      return true;
    }
    if (target != 2 && target != 11 && target != 30) return Fail("0g)ﾊﾟﾗﾒｰﾀが無効です", targetAt);
    if (target == 30) {
      const size_t letterAt = in_.Pos();
      const unsigned char letter = in_.Take();
      if (letter < 'A' || letter > '_') return Fail("0h)ｺﾝﾄﾛｰﾙｺｰﾄﾞの指定が無効です", letterAt);
    }
    return true;
  }

  // 12 and its name: the player skips both without reading them as keys.
  bool Label(size_t at) {
    if (n_ == 0) return Fail("0j)ｷｰﾏｸﾛ中のﾗﾍﾞﾙは無効です", at);
    const std::string_view name = LabelNameAt(in_.Raw(), at + 1);
    if (name.empty()) return Fail("0k)ﾗﾍﾞﾙがありません", at + 1);
    if (IsForbiddenLabelName(static_cast<unsigned char>(name[0]))) return Fail("0l)ﾗﾍﾞﾙが無効です", at + 1);
    in_.MoveTo(at + 1 + name.size());
    return true;
  }

  bool ExtendedExit(size_t at) {
    if (replace_ != 0) return Fail("0m)置換操作中は無効です", at);
    if (in_.AtEnd()) return Fail("0n)ﾊﾟﾗﾒｰﾀがありません", in_.Pos());
    const size_t codeAt = in_.Pos();
    const unsigned char exit = in_.Take();
    if (!In("-+12345678abcdefghO\x02\x0E\x15\x18\x19\x01\x1A^", exit))
      return Fail("0o)ﾊﾟﾗﾒｰﾀが無効です", codeAt);
    int key = -1;
    if (exit >= '1' && exit <= '8') key = exit - '1';
    if (exit >= 'a' && exit <= 'h') key = 8 + exit - 'a';
    if (key >= 0) {
      const int macro = store_.SlotMacro(FunctionKeySlot(key));
      if (macro == 0 || macro >= store_.Count()) return Fail("0p)対応するﾗﾍﾞﾙがありません", codeAt);
    }
    return true;
  }

  // 13 and the exit code: the key the record editor receives when field input ends with it.
  bool Exit() {
    if (in_.AtEnd()) return Fail("1a)ﾊﾟﾗﾒｰﾀがありません", in_.Pos());
    const size_t codeAt = in_.Pos();
    const unsigned char exit = in_.Take();
    switch (exit) {
      case 4:
        return replace_ == 0 || Fail("1b)置換操作中は無効です", codeAt);
      case 3:
      case 10:
      case 11:
      case 15:
      case 22:
        return replace_ == 0 || Fail("1c)置換操作中は無効です", codeAt);
      case 7:
        return LabelCall(codeAt);
      case 9:
        return FieldMove(codeAt);
      case 13:
        if (replace_ != 0) replace_ = replace_ == 1 ? 2 : 0;
        return true;
      case 27:
        if (replace_ != 0) {
          replace_ = 0;
          return true;
        }
        return Menus();
      default:
        if (In(kSearchKeys, exit)) return replace_ == 0 || Fail("3a)置換操作中は無効です", codeAt);
        return Fail("3b)ﾊﾟﾗﾒｰﾀが無効です", codeAt);
    }
  }

  bool LabelCall(size_t codeAt) {
    if (replace_ != 0) return Fail("1d)置換操作中は無効です", codeAt);
    const size_t nameAt = in_.Pos();
    const std::string_view name = LabelNameAt(in_.Raw(), nameAt);
    if (name.empty()) return Fail("1f)存在しないﾗﾍﾞﾙです", nameAt);
    in_.MoveTo(nameAt + name.size());
    if (IsForbiddenLabelName(static_cast<unsigned char>(name[0]))) return Fail("1e)ﾗﾍﾞﾙが無効です", nameAt);
    if (labels_.Find(name) < 0) return Fail("1f)存在しないﾗﾍﾞﾙです", nameAt);
    return true;
  }

  // 13 9: the field-move menu; Tab there opens the face menu.
  bool FieldMove(size_t codeAt) {
    if (replace_ != 0) return Fail("1g)置換操作中は無効です", codeAt);
    if (in_.AtEnd()) return true;
    if (in_.Peek() == 9) {
      in_.Take();
      if (in_.AtEnd()) return true;
      const size_t faceAt = in_.Pos();
      return In(kFaceKeys, in_.Take()) || Fail("1h)面の指定が無効です", faceAt);
    }
    const size_t fieldAt = in_.Pos();
    return In(kFieldKeys, MenuKey(in_.Take())) || Fail("1i)ﾌｨｰﾙﾄﾞの指定が無効です", fieldAt);
  }

  // 13 27: the record editor's menus, key by key down the menu tree.
  bool Menus() {
    int node = 0;
    char last = 0;
    for (;;) {
      if (in_.AtEnd()) return true;
      const size_t keyAt = in_.Pos();
      const unsigned char key = MenuKey(in_.Peek());
      const MenuNode& menu = MenuTree()[node];
      const size_t index = IsLeadByte(key) ? std::string_view::npos : menu.keys.find(static_cast<char>(key));
      if (key == 0 || index == std::string_view::npos) {
        if (key == 27) {
          in_.Take();
          return true;
        }
        return Fail(last == 't' ? "2c)辞書選択が不適当です" : "2d)ｺﾏﾝﾄﾞが間違いです", keyAt);
      }
      in_.Take();
      if (menu.next.empty()) return true;
      last = menu.next[index];
      if (last == ' ') return true;
      if (last == '}') {
        if (store_.Count() < (key - '0' + 1) * 10) return Fail("2a)ﾏｸﾛ番号が大きすぎます", keyAt);
        node = kMacroDigitNode;
      } else if (last == ';') {
        if (in_.AtEnd()) return true;
        const size_t separatorAt = in_.Pos();
        return !IsLeadByte(in_.Take()) || Fail("2b)ｾﾊﾟﾚｰﾀが全角です", separatorAt);
      } else {
        node = last - kNodeBase;
      }
    }
  }

  const MacroStore& store_;
  const int n_;
  const LabelTable& labels_;
  Reader in_;
  bool range_ = false;  // a range end is being chosen (after 2 and its operation)
  int replace_ = 0;     // 1 while the old string of a replace is typed, 2 the new one
  SyntaxError error_;
};

}  // namespace

SyntaxError CheckMacro(const MacroStore& store, int n, const LabelTable& labels) {
  return Checker(store, n, labels).Run();
}

WholeCheck CheckAllMacros(const MacroStore& store, int first, const LabelTable& labels) {
  const int count = store.Count();
  for (int i = 0; i < count; ++i) {
    const int n = (first + i) % count;
    SyntaxError error = CheckMacro(store, n, labels);
    if (!error.ok()) return {n, std::move(error)};
  }
  return {};
}

}  // namespace vondal
