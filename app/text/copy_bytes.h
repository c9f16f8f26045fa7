// A copy of the short texts of a record (nearly all of them) without a call: the writers of
// exports that copy millions of values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vondal {

// Copies the text to `to` and returns the end of the copy. Below 16 bytes two overlapping loads
// and stores read and write only the text's own bytes.
[[gnu::always_inline]] inline char* CopyBytes(char* to, std::string_view text) {
  const char* from = text.data();
  const size_t n = text.size();
  if (n >= 16) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + n - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + n - 8, &tail, 8);
  } else if (n >= 4) {
    uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + n - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + n - 4, &tail, 4);
  } else if (n > 0) {
    to[0] = from[0];
    to[n / 2] = from[n / 2];
    to[n - 1] = from[n - 1];
  }
  return to + n;
}

// "<TAG:" of an ADIF item (a tag of at most N - 2 characters), kept in N bytes so that writers
// copy it in one move.
template <size_t N>
struct ItemOpening {
  char text[N] = {};
  size_t size = 0;
  constexpr std::string_view Tag() const { return std::string_view(text + 1, size - 2); }
};

template <size_t N>
constexpr ItemOpening<N> OpeningOf(std::string_view tag) {
  ItemOpening<N> opening;
  opening.text[0] = '<';
  for (size_t i = 0; i < tag.size(); ++i) opening.text[1 + i] = tag[i];
  opening.text[1 + tag.size()] = ':';
  opening.size = tag.size() + 2;
  return opening;
}

}  // namespace vondal
