// The wildcard matchers, the bracket finders and the text helpers on any bytes. The input is a
// pattern, a NUL byte and a text (all pattern when there is no NUL). Every matcher must finish and
// answer, every position found must lie in the text on a character start.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/text/brackets.h"
#include "app/text/half_width.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "app/text/wildcard.h"

namespace {

// Stops the run on a broken promise, naming the line.
void Fail(int line) {
  std::fprintf(stderr, "matchers_fuzz.cpp:%d: check failed\n", line);
  std::abort();
}
#define Check(ok) ((ok) ? void() : Fail(__LINE__))

void CheckBracket(ptrdiff_t found, std::string_view text) {
  Check(found == vondal::kNotABracket || found == vondal::kNoPartner ||
        (found >= 0 && static_cast<size_t>(found) < text.size() && vondal::IsCharStart(text, found)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  std::string_view pattern = input.substr(0, nul);
  std::string_view text = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

  for (bool ignoreCase : {false, true}) {
    bool plain = vondal::jstrwldc(pattern, text, ignoreCase);
    bool extended = vondal::MatchExtended(pattern, text, ignoreCase);
    // A pattern of the shared elements alone means the same to both matchers.
    if (pattern.find('@') == std::string_view::npos && pattern.find('#') == std::string_view::npos) {
      Check(plain == extended);
    }
  }
  vondal::MatchCallsign(pattern, text);
  vondal::MatchFileName(pattern, text);
  Check(vondal::jstrwldc(text, text, false) || text.find_first_of("*?#@") != std::string_view::npos);

  for (size_t pos = 0; pos <= text.size() && pos < 64; ++pos) {
    CheckBracket(vondal::FindMatchingBracket(text, pos), text);
    CheckBracket(vondal::FindMatchingFullWidthBracket(text, pos), text);
  }

  size_t found = vondal::FindText(text, pattern, true);
  Check(found == std::string_view::npos ||
        (found + pattern.size() <= text.size() && vondal::IsCharStart(text, found)));
  for (std::string_view word : vondal::Split(text, pattern.substr(0, 3))) {
    Check(!word.empty() && word.data() >= text.data() &&
          word.data() + word.size() <= text.data() + text.size());
  }
  size_t pos = pattern.size() % (text.size() + 1);
  std::string half = vondal::ToHalfWidth(text, pos);
  Check(pos <= half.size() && half.size() <= text.size());
  std::string line(text);
  size_t col = size % 40;
  size_t end = vondal::FitCopy(line, col, col + pattern.size() % 20, pattern);
  Check(end == col || (end <= line.size() && vondal::IsCharStart(line, end)));
  vondal::CompareText(pattern, text, vondal::CaseMode::kUpper);
  vondal::SpacesToTabs(text, pattern.size() % 9);
  vondal::FrequencyToKhz(text);
  return 0;
}
