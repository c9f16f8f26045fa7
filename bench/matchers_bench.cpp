// The wildcard matchers over 1,000,000 call signs, as a search of the record index runs them: ns
// per call sign for each pattern, beside std::string_view::starts_with over the same call signs.
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/text/wildcard.h"
#include "bench/stopwatch.h"

namespace {

constexpr size_t kCallsigns = 1'000'000;
constexpr int kRuns = 3;

// Call signs as a Japanese log holds them, the same every run: mostly home stations (JA1ABC,
// 7K3XYZ, JH1AB), some portable (JH1ABC/1, JA1ABC/P, JR2XYZ/QRP) and some DX (W1AW, VK2ABC).
class CallsignMaker {
 public:
  std::string Next() {
    std::string call;
    if (Below(100) < 85) {
      static constexpr std::string_view kHome[] = {"JA", "JE", "JF", "JG", "JH", "JI", "JJ",
                                                   "JK", "JL", "JM", "JN", "JO", "JP", "JQ",
                                                   "JR", "JS", "7K", "7L", "7M", "7N"};
      call += kHome[Below(std::size(kHome))];
      call += static_cast<char>('0' + Below(10));
      AddLetters(call, Below(4) == 0 ? 2 : 3);
      unsigned portable = Below(100);
      if (portable < 8) {
        call += '/';
        call += static_cast<char>('0' + Below(10));
      } else if (portable < 10) {
        call += Below(2) ? "/P" : "/QRP";
      }
    } else {
      static constexpr std::string_view kDx[] = {"W", "K",  "N",  "AA", "VK", "DL", "G",
                                                 "F", "BV", "HL", "UA", "VE", "ZL", "BY"};
      call += kDx[Below(std::size(kDx))];
      call += static_cast<char>('0' + Below(10));
      AddLetters(call, 1 + Below(3));
    }
    return call;
  }

 private:
  unsigned Below(size_t n) { return static_cast<unsigned>(random_() % n); }
  void AddLetters(std::string& call, unsigned n) {
    while (n-- > 0) call += static_cast<char>('A' + Below(26));
  }
  std::mt19937 random_{1950};  // mt19937's sequence is the same on every platform
};

// The fastest of kRuns passes over all call signs, in ns per call sign; matches counts the hits.
template <class Test>
double NsPerCallsign(const std::vector<std::string_view>& calls, Test test, size_t& matches) {
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    vondal::bench::Stopwatch stopwatch;
    size_t hits = 0;
    for (std::string_view call : calls) hits += test(call) ? 1 : 0;
    best = std::min(best, stopwatch.Seconds() * 1e9 / static_cast<double>(calls.size()));
    matches = hits;
  }
  return best;
}

void Row(const char* what, std::string_view pattern, double ns, double reference, size_t matches) {
  std::printf("%-10s %-14.*s %12.1f %8.1f %9zu\n", what, static_cast<int>(pattern.size()), pattern.data(), ns,
              ns / reference, matches);
}

}  // namespace

int main() {
  CallsignMaker maker;
  std::vector<std::string> owned;
  owned.reserve(kCallsigns);
  for (size_t i = 0; i < kCallsigns; ++i) owned.push_back(maker.Next());
  std::vector<std::string_view> calls(owned.begin(), owned.end());

  std::printf("%zu call signs, fastest of %d runs\n", calls.size(), kRuns);
  std::printf("%-10s %-14s %12s %8s %9s\n", "what", "pattern", "ns/call", "ratio", "matches");
  size_t matches = 0;
  double reference = NsPerCallsign(
      calls, [](std::string_view c) { return c.starts_with("JA1"); }, matches);
  Row("reference", "starts_with", reference, reference, matches);

  for (std::string_view pattern : {"JA1*", "*ABC", "J?1@@@", "7K#*", "*/#", "*"}) {
    double ns = NsPerCallsign(
        calls, [pattern](std::string_view c) { return vondal::jstrwldc(pattern, c, false); }, matches);
    Row("jstrwldc", pattern, ns, reference, matches);
  }
  double ns = NsPerCallsign(
      calls, [](std::string_view c) { return vondal::jstrwldc("ja1*", c, true); }, matches);
  Row("jstrwldc i", "ja1*", ns, reference, matches);
  for (std::string_view pattern : {"JA#@@", "%@%=*", "*/#", "J%?*%=", "*%@%=*"}) {
    ns = NsPerCallsign(
        calls, [pattern](std::string_view c) { return vondal::MatchCallsign(pattern, c); }, matches);
    Row("callsign", pattern, ns, reference, matches);
  }
  for (std::string_view pattern : {"@2u#@+u", "*@3u"}) {
    ns = NsPerCallsign(
        calls, [pattern](std::string_view c) { return vondal::MatchExtended(pattern, c, false); }, matches);
    Row("extended", pattern, ns, reference, matches);
  }
  return 0;
}
