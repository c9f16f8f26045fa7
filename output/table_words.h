// The word tables: how often each word occurs in a field (語句集), each run of chosen character
// types (文字抽出), each subfield name (サブフィールド), each frequency interval (周波数) and each call
// sign's body, prefix or suffix; the words sorted and written in a format the user may define.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/output_frame.h"
#include "output/table_word_specs.h"

namespace vondal {

// The working memory a word table may take: the size of the temporary pool of an operation.
inline constexpr size_t kWordTableBytes = 2000000;

// Distinct words with their frequencies, in the order they first appeared.
class WordTable {
 public:
  explicit WordTable(size_t budgetBytes = kWordTableBytes) : budget_(budgetBytes) {}

  // Counts one occurrence; false (and nothing counted) when a new word would pass the budget.
  bool Add(std::string_view word) { return Count(word) >= 0; }
  // The same, giving the word's number (in the order of first appearance) or -1.
  int Count(std::string_view word);

  int DistinctCount() const { return static_cast<int>(words_.size()); }
  int64_t TotalFrequency() const { return total_; }
  std::string_view Word(int i) const { return std::string_view(text_).substr(words_[i].offset, words_[i].size); }
  int Frequency(int i) const { return frequencies_[i]; }

  // The words' numbers in the order of the sort keys; equal words keep their order of appearance.
  std::vector<int> Sorted(const SortSpecification& sort) const;

 private:
  // A slot of the open-addressed table of word numbers: with the word's hash, size and first
  // eight bytes it settles nearly every lookup (and that of a short word wholly) without reading
  // the word itself.
  struct Slot {
    uint64_t head = 0;
    uint32_t hash = 0;
    uint32_t entry = 0;  // the word's number + 1 (0: empty) below, its size (255: longer) above
  };
  static constexpr int kSizeShift = 24;
  static constexpr uint32_t kNumberMask = (1u << kSizeShift) - 1;
  struct Span {
    uint32_t offset;
    uint32_t size;
  };
  void Grow();

  size_t budget_;
  size_t used_ = 0;
  std::vector<Slot> slots_;
  std::string text_;  // the words one after another
  std::vector<Span> words_;
  std::vector<int> frequencies_;
  int64_t total_ = 0;
};

// The first eight bytes of a word as one number (0 behind its end): numbers in the order of the
// words' codes, as far as eight bytes tell.
uint64_t WordHead(std::string_view word);

// The prefix of a call-sign part: up to and including the digits behind its first run of other
// characters ("JA1ABC" → "JA1", "7K1XYZ" → "7K1").
std::string_view CallsignPrefix(std::string_view part);
// The longest part of a call sign between "/" (the first of equal length); empty when it has
// fewer than 3 characters.
std::string_view CallsignBody(std::string_view callsign);

// The line of a FREQ text in a frequency table of interval kHz: the lower edge of its interval in
// MHz ("    7.010"), or the text itself when it has no "." within its first six characters.
std::string FrequencyWord(std::string_view freq, std::string_view interval);

// 語句集 (W), 文字抽出 (E), サブフィールド (S, whose memory name is "["), 周波数 (F) and the call-sign
// body, prefix and suffix (B, P, X for the suffix table).
void WriteWordTable(OutputJob& job, char kind, size_t budgetBytes = kWordTableBytes);

}  // namespace vondal
