#include "output/table_words.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"
#include "log/field_table.h"
#include "output/field_selection.h"
#include "output/table_counts.h"

namespace vondal {
namespace {

constexpr size_t kNodeBytes = 16;  // a word's count and link beside its text

const char* const kBuiltInTypes[] = {"a", "an", "am", "anm", "k", "kn", "km", "knm"};
const char* const kBuiltInSorts[] = {"a", "i", "fa", "Fa", ""};
const char* const kBuiltInFormats[] = {"$5f $l", "$5f$t$l", "$l $5f", "$l$t$5f", "$l", "$*"};

std::string_view TypesText(const OutputParameters& p) {
  const int choice = p[kCharacterTypes].choice;
  return choice == kUserChoiceTypes ? std::string_view(p[kUserCharacterTypes].value) : kBuiltInTypes[choice];
}

std::string_view SortText(const OutputParameters& p, char kind) {
  if (kind == 'F') return "a";
  const int choice = p[kSortChoice].choice;
  return choice == kUserChoiceSort ? std::string_view(p[kUserSort].value) : kBuiltInSorts[choice];
}

std::string_view FormatText(const OutputParameters& p) {
  const int choice = p[kFormatChoice].choice;
  return choice == kUserChoiceFormat ? std::string_view(p[kUserFormat].value) : kBuiltInFormats[choice];
}

size_t CharCount(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) ++count;
  return count;
}

// The part of a word a sort key compares.
std::string_view ComparedPart(std::string_view word, const SortKey& key) {
  size_t start = 0;
  if (key.from.set) {
    if (key.from.letter == 0) {
      for (int n = 0; n < key.from.count && start < word.size(); ++n) start += CharLength(word, start);
    } else {
      while (start < word.size() && InCharacterClass(key.from.letter, word, start) == key.from.negated) {
        start += CharLength(word, start);
      }
    }
  }
  size_t end = start;
  if (!key.to.set) {
    end = word.size();
  } else if (key.to.letter == 0) {
    for (int n = 0; n < key.to.count && end < word.size(); ++n) end += CharLength(word, end);
  } else {
    while (end < word.size() && InCharacterClass(key.to.letter, word, end) == key.to.negated) {
      end += CharLength(word, end);
    }
  }
  return word.substr(start, end - start);
}

// The number a text begins with (blanks, a sign, digits, a decimal part); 0 when there is none.
double NumberValue(std::string_view text) {
  std::string digits;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
  while (i < text.size() && (IsAsciiDigit(text[i]) || text[i] == '.')) digits += text[i++];
  return std::strtod(digits.c_str(), nullptr);
}

int Sign(int64_t v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// Two texts compared where they first differ: as numbers when digits stand there in both (so that
// "JA2" comes before "JA10"), else by code.
int CompareAtDifference(std::string_view a, std::string_view b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  size_t start = i;
  while (start > 0 && IsAsciiDigit(a[start - 1])) --start;
  auto digitsFrom = [](std::string_view t, size_t at) {
    size_t end = at;
    while (end < t.size() && IsAsciiDigit(t[end])) ++end;
    return t.substr(at, end - at);
  };
  std::string_view da = digitsFrom(a, start);
  std::string_view db = digitsFrom(b, start);
  if (!da.empty() && !db.empty()) {
    while (da.size() > 1 && da[0] == '0') da.remove_prefix(1);
    while (db.size() > 1 && db[0] == '0') db.remove_prefix(1);
    if (da.size() != db.size()) return da.size() < db.size() ? -1 : 1;
    if (const int c = da.compare(db)) return Sign(c);
  }
  return Sign(a.compare(b));
}

// Adds the words of one text, split at a separator (every piece a word, empty ones too).
template <typename Take>
bool ForEachPiece(std::string_view text, std::string_view separator, Take take) {
  if (separator.empty()) return take(text);
  for (;;) {
    const size_t at = FindText(text, separator);
    if (at == std::string_view::npos) return take(text);
    if (!take(text.substr(0, at))) return false;
    text.remove_prefix(at + separator.size());
  }
}

// The closing partner of an opening bracket a subfield-name table knows; empty for any other.
std::string_view ClosingOf(std::string_view opening) {
  static constexpr std::string_view kPairs[][2] = {{"[", "]"}, {"{", "}"},   {"(", ")"}, {"<", ">"},
                                                   {"｢", "｣"}, {"\"", "\""}, {"'", "'"}};
  for (const auto& pair : kPairs) {
    if (pair[0] == opening) return pair[1];
  }
  return {};
}

// The frequency words of FREQ texts, each text's kept: a log holds few distinct ones.
class FrequencyWords {
 public:
  explicit FrequencyWords(std::string_view interval) : interval_(interval) {}
  std::string_view Of(std::string_view freq) {
    uint32_t hash = static_cast<uint32_t>(freq.size());
    for (char c : freq) hash = hash * 31 + static_cast<unsigned char>(c);
    Known& slot = known_[(hash ^ hash >> 8) % known_.size()];
    if (!slot.used || slot.text != freq) {
      slot.used = true;
      slot.text.assign(freq);
      slot.word = FrequencyWord(freq, interval_);
    }
    return slot.word;
  }

 private:
  struct Known {
    bool used = false;
    std::string text;
    std::string word;
  };
  std::string_view interval_;
  std::array<Known, 256> known_{};
};

}  // namespace

uint64_t WordHead(std::string_view word) {
  uint64_t head = 0;
  for (size_t k = 0; k < 8; ++k) head = head << 8 | (k < word.size() ? static_cast<unsigned char>(word[k]) : 0);
  return head;
}

bool WordTable::Add(std::string_view word) {
  ++total_;
  if (slots_.empty()) slots_.resize(1024);
  const uint32_t hash = static_cast<uint32_t>(std::hash<std::string_view>()(word));
  const uint64_t head = WordHead(word);
  const size_t mask = slots_.size() - 1;
  size_t at = hash & mask;
  for (;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.number < 0) break;
    if (slot.hash == hash && slot.head == head && slot.size == word.size() &&
        (word.size() <= 8 || Word(slot.number) == word)) {
      ++frequencies_[slot.number];
      return true;
    }
  }
  if (used_ + word.size() + kNodeBytes > budget_) {
    --total_;
    return false;
  }
  used_ += word.size() + kNodeBytes;
  slots_[at] = {head, hash, static_cast<uint32_t>(word.size()), static_cast<int32_t>(words_.size())};
  words_.push_back({static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(word.size())});
  text_.append(word);
  frequencies_.push_back(1);
  if (words_.size() * 2 > slots_.size()) Grow();  // at most half full: lookups stay short
  return true;
}

void WordTable::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.number < 0) continue;
    size_t at = slot.hash & mask;
    while (slots_[at].number >= 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

std::vector<int> WordTable::Sorted(const SortSpecification& sort) const {
  std::vector<int> order(words_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (order.size() < 2 || sort.keys.empty()) return order;
  // By code over whole words, the usual order, without the general comparison.
  if (sort.keys.size() == 1 && sort.keys[0].letter == 'a' && !sort.keys[0].from.set && !sort.keys[0].to.set) {
    // The words are distinct, so no two compare equal. Their first eight bytes, as one number,
    // decide most comparisons without reaching the words themselves.
    struct Keyed {
      uint64_t head;
      int number;
    };
    std::vector<Keyed> keyed(words_.size());
    for (size_t i = 0; i < keyed.size(); ++i) keyed[i] = {WordHead(Word(static_cast<int>(i))), static_cast<int>(i)};
    const bool descending = sort.keys[0].descending;
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& x, const Keyed& y) {
      const bool less = x.head != y.head ? x.head < y.head : Word(x.number) < Word(y.number);
      const bool greater = x.head != y.head ? x.head > y.head : Word(y.number) < Word(x.number);
      return descending ? greater : less;
    });
    for (size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].number;
    return order;
  }
  // What each key compares, worked out once a word: the part (and its first bytes) or a number.
  struct KeyValues {
    std::vector<std::string_view> parts;
    std::vector<uint64_t> heads;
    std::vector<double> numbers;
  };
  std::vector<KeyValues> values(sort.keys.size());
  for (size_t k = 0; k < sort.keys.size(); ++k) {
    const SortKey& key = sort.keys[k];
    KeyValues& v = values[k];
    const bool byText = key.letter == 'a' || key.letter == 'i' || key.letter == 'p' || key.letter == 'd';
    for (int x = 0; x < static_cast<int>(words_.size()); ++x) {
      const std::string_view part = ComparedPart(Word(x), key);
      if (byText) {
        v.parts.push_back(key.letter == 'p' ? CallsignPrefix(part) : part);
        v.heads.push_back(WordHead(v.parts.back()));
        continue;
      }
      switch (key.letter) {
        case 'n': v.numbers.push_back(NumberValue(part)); break;
        case 'b': v.numbers.push_back(static_cast<double>(part.size())); break;
        case 'c': v.numbers.push_back(static_cast<double>(CharCount(part))); break;
        case 'f': v.numbers.push_back(frequencies_[x]); break;
        default: v.numbers.push_back(x); break;  // o: the order of appearance
      }
    }
  }
  auto compare = [&](const SortKey& key, const KeyValues& v, int x, int y) -> int {
    switch (key.letter) {
      case 'a':
      case 'p':
        if (v.heads[x] != v.heads[y]) return v.heads[x] < v.heads[y] ? -1 : 1;
        return Sign(v.parts[x].compare(v.parts[y]));
      case 'i':
        return Sign(CompareText(v.parts[x], v.parts[y], CaseMode::kIgnore));
      case 'd':
        return CompareAtDifference(v.parts[x], v.parts[y]);
      default:
        return v.numbers[x] < v.numbers[y] ? -1 : v.numbers[x] > v.numbers[y] ? 1 : 0;
    }
  };
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
    for (size_t k = 0; k < sort.keys.size(); ++k) {
      const int c = compare(sort.keys[k], values[k], x, y);
      if (c != 0) return sort.keys[k].descending ? c > 0 : c < 0;
    }
    return false;
  });
  return order;
}

std::string_view CallsignPrefix(std::string_view part) {
  size_t i = 0;
  while (i < part.size() && IsAsciiDigit(part[i])) ++i;
  while (i < part.size() && !IsAsciiDigit(part[i])) i += CharLength(part, i);
  while (i < part.size() && IsAsciiDigit(part[i])) ++i;
  return part.substr(0, i);
}

std::string_view CallsignBody(std::string_view callsign) {
  std::string_view best;
  for (;;) {
    const size_t slash = callsign.find('/');
    const std::string_view part = callsign.substr(0, slash);
    if (part.size() > best.size()) best = part;
    if (slash == std::string_view::npos) break;
    callsign.remove_prefix(slash + 1);
  }
  return CharCount(best) >= 3 ? best : std::string_view();
}

std::string FrequencyWord(std::string_view freq, std::string_view interval) {
  const size_t dot = freq.find('.');
  if (dot == std::string_view::npos || dot >= 6) return std::string(freq);
  int64_t khz = 0;
  for (size_t i = 0; i < dot; ++i) {
    if (!IsAsciiDigit(freq[i])) return std::string(freq);
    khz = khz * 10 + (freq[i] - '0');
  }
  khz *= 1000;
  size_t decimals = 0;
  int64_t fraction = 0;  // thousandths of a MHz: whole kHz, the rest cut off
  for (size_t i = dot + 1; i < freq.size() && IsAsciiDigit(freq[i]); ++i, ++decimals) {
    if (decimals < 3) fraction = fraction * 10 + (freq[i] - '0');
  }
  for (size_t d = decimals; d < 3; ++d) fraction *= 10;
  khz += fraction;
  const int step = std::max(1, std::atoi(std::string(interval).c_str()));
  const int64_t edge = khz / step * step;
  int places = static_cast<int>(std::min<size_t>(decimals, 3));
  for (size_t i = interval.size(); i > 0 && interval[i - 1] == '0'; --i) --places;
  char text[48];
  if (places <= 0) {
    std::snprintf(text, sizeof text, "%5lld", static_cast<long long>(edge / 1000));
  } else {
    int64_t shown = edge % 1000;
    for (int d = places; d < 3; ++d) shown /= 10;
    std::snprintf(text, sizeof text, "%5lld.%0*lld", static_cast<long long>(edge / 1000), places,
                  static_cast<long long>(shown));
  }
  return text;
}

void WriteWordTable(OutputJob& job, char kind, size_t budgetBytes) {
  const OutputParameters& p = job.parameters;
  const int field = p[kWordField].choice;
  const std::string_view outer = p[kOuterSeparator].value;
  const std::string subfield = OpeningOfSubfield(p[kSubfield].value);
  const std::string_view separator =
      p[kSubfield].value.empty() ? outer : std::string_view(p[kInnerSeparator].value);
  const CharacterTypes types = ParseCharacterTypes(TypesText(p));
  // The opening brackets of a subfield-name table, in the order they are given.
  std::vector<std::pair<std::string_view, std::string_view>> brackets;
  if (kind == 'S') {
    const std::string_view list = p[kBrackets].value;
    for (size_t i = 0; i < list.size(); i += CharLength(list, i)) {
      const std::string_view opening = list.substr(i, CharLength(list, i));
      const std::string_view closing = ClosingOf(opening);
      if (!closing.empty()) brackets.emplace_back(opening, closing);
    }
  }
  WordTable table(budgetBytes);
  std::string word;
  auto take = [&](std::string_view piece) {
    if (kind != 'S') return table.Add(piece);
    for (const auto& [opening, closing] : brackets) {
      const size_t at = FindText(piece, opening);
      if (at == std::string_view::npos) continue;
      word.assign(piece.substr(0, at + opening.size()));
      word += closing;
      if (!table.Add(word)) return false;
    }
    return true;
  };
  // The runs of the chosen character types in a text.
  std::vector<int> counts(types.items.size());
  std::vector<bool> holds(types.items.size());
  auto takeRuns = [&](std::string_view text) {
    std::fill(counts.begin(), counts.end(), 0);
    size_t start = 0;
    auto finish = [&](size_t end) {
      if (end > start) {
        bool enough = true;
        for (size_t k = 0; k < types.items.size(); ++k)
          enough = enough && counts[k] >= types.items[k].minimum;
        if (enough && !table.Add(text.substr(start, end - start))) return false;
      }
      std::fill(counts.begin(), counts.end(), 0);
      return true;
    };
    for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
      bool inWord = false;
      bool excluded = false;
      for (size_t k = 0; k < types.items.size(); ++k) {
        holds[k] = CharacterTypes::Holds(types.items[k], text, i);
        if (holds[k]) (types.items[k].excluded ? excluded : inWord) = true;
      }
      if (!inWord || excluded) {
        if (!finish(i)) return false;
        start = i + CharLength(text, i);
        continue;
      }
      for (size_t k = 0; k < types.items.size(); ++k) counts[k] += holds[k] && !types.items[k].excluded;
    }
    return finish(text.size());
  };

  FrequencyWords frequencyWords(p[kInterval].value);
  const int count = job.context.log.RecordCount();
  int failedAt = -1;  // the record position (from 0, as the inspection counts) where memory ran out
  for (int n = 0; n < count && failedAt < 0; ++n) {
    ShowTableProgress(n);
    const RecordTexts* texts = job.Target(n);
    if (!texts) continue;
    bool taken = true;
    switch (kind) {
      case 'F':
        taken = table.Add(frequencyWords.Of((*texts)[FREQ]));
        break;
      case 'B':
      case 'P':
      case 'X': {
        const std::string_view body = CallsignBody((*texts)[CALLSIGN]);
        if (body.empty()) break;
        const std::string_view prefix = CallsignPrefix(body);
        taken = table.Add(kind == 'B' ? body : kind == 'P' ? prefix : body.substr(prefix.size()));
        break;
      }
      default: {
        const std::optional<std::string_view> text = FindSubfield(outer, subfield, (*texts)[field]);
        if (!text) break;
        taken = kind == 'E' ? takeRuns(*text) : ForEachPiece(*text, separator, take);
        break;
      }
    }
    if (!taken) failedAt = n;
  }
  if (failedAt >= 0) {
    job.file->Append("\r\n(!) レコード#" + std::to_string(failedAt) + "で作業メモリ容量を超えました\r\n");
    return;
  }
  const std::vector<int> order = table.Sorted(ParseSortSpecification(SortText(p, kind)));
  const WordFormat format = ParseWordFormat(FormatText(p));
  std::string out = "語句合計 " + std::to_string(table.DistinctCount()) + "\r\n";
  out += "頻度合計 " + std::to_string(table.TotalFrequency()) + "\r\n";
  for (size_t i = 0; i < order.size(); ++i) {
    format.AppendEntry(out, table.Word(order[i]), static_cast<int>(i), table.Frequency(order[i]));
    if (out.size() > kOutputBufferBytes / 2) {
      job.file->Append(out);
      out.clear();
    }
  }
  job.file->Append(out);
}

}  // namespace vondal
