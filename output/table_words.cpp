#include "output/table_words.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// The items of the character types that hold a character, as one bit each; worked out once for
// every single-byte character.
class RunTypes {
 public:
  explicit RunTypes(const CharacterTypes& types) : items_(types.items) {
    for (size_t k = 0; k < items_.size() && k < 64; ++k) {
      (items_[k].excluded ? excluded_ : included_) |= uint64_t{1} << k;
      if (!items_[k].excluded && items_[k].minimum > 0) counted_ |= uint64_t{1} << k;
    }
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      single_[b] = Holding(std::string_view(&c, 1), 0);
    }
  }
  // The items holding the character of `length` bytes at pos.
  uint64_t At(std::string_view text, size_t pos, size_t length) const {
    return length == 1 ? single_[static_cast<unsigned char>(text[pos])] : Holding(text, pos);
  }
  // A character in a run: one of the items holds it and none that a run excludes.
  bool InRun(uint64_t holds) const { return (holds & included_) != 0 && (holds & excluded_) == 0; }
  void Count(uint64_t holds, std::vector<int>& counts) const {
    for (uint64_t bits = holds & counted_; bits != 0; bits &= bits - 1) ++counts[__builtin_ctzll(bits)];
  }
  // The run holds the least number of characters of each item.
  bool Enough(const std::vector<int>& counts) const {
    for (uint64_t bits = counted_; bits != 0; bits &= bits - 1) {
      const int k = __builtin_ctzll(bits);
      if (counts[k] < items_[k].minimum) return false;
    }
    return true;
  }

 private:
  uint64_t Holding(std::string_view text, size_t pos) const {
    uint64_t holds = 0;
    for (size_t k = 0; k < items_.size() && k < 64; ++k) {
      if (CharacterTypes::Holds(items_[k], text, pos)) holds |= uint64_t{1} << k;
    }
    return holds;
  }
  const std::vector<CharacterTypeItem>& items_;
  uint64_t included_ = 0;
  uint64_t excluded_ = 0;
  uint64_t counted_ = 0;
  std::array<uint64_t, 256> single_{};
};

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
  // The bytes loaded in place (two overlapping loads for a short word), then turned so that the
  // first byte is the highest.
  const char* bytes = word.data();
  const size_t n = word.size();
  uint64_t head = 0;
  if (n >= 8) {
    std::memcpy(&head, bytes, 8);
  } else if (n >= 4) {
    uint32_t first, last;
    std::memcpy(&first, bytes, 4);
    std::memcpy(&last, bytes + n - 4, 4);
    head = first | static_cast<uint64_t>(last) << (8 * (n - 4));
  } else if (n > 0) {
    head = static_cast<unsigned char>(bytes[0]) |
           static_cast<uint64_t>(static_cast<unsigned char>(bytes[n / 2])) << (8 * (n / 2)) |
           static_cast<uint64_t>(static_cast<unsigned char>(bytes[n - 1])) << (8 * (n - 1));
  }
  return __builtin_bswap64(head);
}

namespace {

// The hash of a word whose head is known: a word of up to 16 bytes from its head and its last
// eight bytes, a longer one from all of them.
uint32_t WordHash(std::string_view word, uint64_t head) {
  if (word.size() > 16) return static_cast<uint32_t>(std::hash<std::string_view>()(word));
  uint64_t tail = 0;
  if (word.size() > 8) std::memcpy(&tail, word.data() + word.size() - 8, 8);
  uint64_t h = (head ^ word.size()) * 0x9E3779B97F4A7C15ull ^ tail * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return static_cast<uint32_t>(h);
}

}  // namespace

int WordTable::Count(std::string_view word) {
  ++total_;
  if (slots_.empty()) slots_.resize(1024);
  const uint64_t head = WordHead(word);
  const uint32_t hash = WordHash(word, head);
  const uint32_t size = static_cast<uint32_t>(std::min<size_t>(word.size(), 255)) << kSizeShift;
  const size_t mask = slots_.size() - 1;
  size_t at = hash & mask;
  for (;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.entry == 0) break;
    if (slot.hash == hash && slot.head == head && (slot.entry & ~kNumberMask) == size) {
      const int number = static_cast<int>(slot.entry & kNumberMask) - 1;
      if (word.size() <= 8 || Word(number) == word) {
        ++frequencies_[number];
        return number;
      }
    }
  }
  // A new word within the budget (and within the numbers a slot holds).
  if (used_ + word.size() + kNodeBytes > budget_ || words_.size() + 1 >= kNumberMask) {
    --total_;
    return -1;
  }
  used_ += word.size() + kNodeBytes;
  words_.push_back({static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(word.size())});
  slots_[at] = {head, hash, static_cast<uint32_t>(words_.size()) | size};
  text_.append(word);
  frequencies_.push_back(1);
  if (words_.size() * 4 > slots_.size() * 3) Grow();  // at most three quarters full
  return static_cast<int>(words_.size()) - 1;
}

void WordTable::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.entry == 0) continue;
    size_t at = slot.hash & mask;
    while (slots_[at].entry != 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

std::vector<int> WordTable::Sorted(const SortSpecification& sort) const {
  std::vector<int> order(words_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (order.size() < 2 || sort.keys.empty()) return order;
  // What each key compares, worked out once a word: the part or a number.
  struct KeyValues {
    std::vector<std::string_view> parts;
    std::vector<double> numbers;
  };
  std::vector<KeyValues> values(sort.keys.size());
  for (size_t k = 0; k < sort.keys.size(); ++k) {
    const SortKey& key = sort.keys[k];
    KeyValues& v = values[k];
    for (int x = 0; x < static_cast<int>(words_.size()); ++x) {
      const std::string_view part = ComparedPart(Word(x), key);
      switch (key.letter) {
        case 'a': case 'i': case 'd': v.parts.push_back(part); break;
        case 'p': v.parts.push_back(CallsignPrefix(part)); break;
        case 'n': v.numbers.push_back(NumberValue(part)); break;
        case 'b': v.numbers.push_back(static_cast<double>(part.size())); break;
        case 'c': v.numbers.push_back(static_cast<double>(CharCount(part))); break;
        case 'f': v.numbers.push_back(frequencies_[x]); break;
        default: v.numbers.push_back(x); break;  // o: the order of appearance
      }
    }
  }
  // Key k of words x and y: -1, 0 or 1 in the key's direction.
  auto compare = [&](size_t k, int x, int y) -> int {
    const KeyValues& v = values[k];
    int c;
    switch (sort.keys[k].letter) {
      case 'a': case 'p': c = Sign(v.parts[x].compare(v.parts[y])); break;
      case 'i': c = Sign(CompareText(v.parts[x], v.parts[y], CaseMode::kIgnore)); break;
      case 'd': c = CompareAtDifference(v.parts[x], v.parts[y]); break;
      default: c = v.numbers[x] < v.numbers[y] ? -1 : v.numbers[x] > v.numbers[y] ? 1 : 0; break;
    }
    return sort.keys[k].descending ? -c : c;
  };
  // The first two keys also as numbers in their order, beside the word's number: most
  // comparisons are settled there, without reaching the words. A text by code gives its first
  // eight bytes (equal ones say nothing yet); the texts without a byte order give 0.
  auto ordinal = [&](size_t k, int x) -> uint64_t {
    if (k >= sort.keys.size()) return 0;
    const KeyValues& v = values[k];
    uint64_t n = 0;
    switch (sort.keys[k].letter) {
      case 'a': case 'p': n = WordHead(v.parts[x]); break;
      case 'i': case 'd': return 0;
      default: {
        const double d = v.numbers[x] == 0 ? 0.0 : v.numbers[x];  // -0 is 0
        std::memcpy(&n, &d, sizeof n);
        n = n >> 63 ? ~n : n | uint64_t{1} << 63;  // the bits of a double in its order
        break;
      }
    }
    return sort.keys[k].descending ? ~n : n;
  };
  struct Keyed {
    uint64_t first;
    uint64_t second;
    int number;
  };
  std::vector<Keyed> keyed(words_.size());
  for (int x = 0; x < static_cast<int>(keyed.size()); ++x) keyed[x] = {ordinal(0, x), ordinal(1, x), x};
  // Equal numbers of a numeric key are equal keys; equal ones of a text may not be.
  auto byNumber = [&](size_t k) { return k < values.size() && !values[k].numbers.empty(); };
  const bool firstSettles = byNumber(0);
  const size_t restFrom = byNumber(1) ? 2 : 1;
  std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& x, const Keyed& y) {
    if (x.first != y.first) return x.first < y.first;
    if (!firstSettles) {
      if (const int c = compare(0, x.number, y.number)) return c < 0;
    }
    if (x.second != y.second) return x.second < y.second;
    for (size_t k = restFrom; k < sort.keys.size(); ++k) {
      if (const int c = compare(k, x.number, y.number)) return c < 0;
    }
    return false;
  });
  for (size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].number;
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
  // As many decimals as FREQ has, but no finer than the interval's steps: three for whole kHz,
  // one fewer for each trailing zero of the interval.
  int stepPlaces = 3;
  for (size_t i = interval.size(); i > 0 && interval[i - 1] == '0'; --i) --stepPlaces;
  const int places = std::min(static_cast<int>(std::min<size_t>(decimals, 3)), stepPlaces);
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
  const RunTypes runTypes(types);
  std::vector<int> counts(types.items.size());
  auto takeRuns = [&](std::string_view text) {
    size_t start = 0;
    // Nothing is counted outside a run: the counts need clearing only behind one.
    auto finish = [&](size_t end) {
      if (end == start) return true;
      if (runTypes.Enough(counts) && !table.Add(text.substr(start, end - start))) return false;
      std::fill(counts.begin(), counts.end(), 0);
      return true;
    };
    for (size_t i = 0, length; i < text.size(); i += length) {
      length = CharLength(text, i);
      const uint64_t holds = runTypes.At(text, i, length);
      if (!runTypes.InRun(holds)) {
        if (!finish(i)) return false;
        start = i + length;
        continue;
      }
      runTypes.Count(holds, counts);
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
