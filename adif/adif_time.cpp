#include "adif/adif_time.h"

#include "app/text/sjis.h"
#include "log/date_time.h"

namespace vondal {
namespace {

constexpr int kHours = 9;

bool SameLetters(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (AsciiUpper(text[i]) != upper[i]) return false;
  }
  return true;
}

int Step(TimeZone from, TimeZone to) { return from == to ? 0 : to == TimeZone::kJst ? kHours : -kHours; }

}  // namespace

std::optional<TimeZone> LogTimeOf(std::string_view value) {
  if (value.empty() || SameLetters(value, "JST")) return TimeZone::kJst;
  if (SameLetters(value, "UTC")) return TimeZone::kUtc;
  return std::nullopt;
}

bool MoveDateTime(std::string& date, std::string& start, TimeZone from, TimeZone to) {
  const int hours = Step(from, to);
  if (hours == 0) return true;
  const int32_t key = DateTimeKey(date, start) + hours * 60;
  if (key < 0 || key > kMaxDateTimeKey) return false;
  const DateTime t = KeyToDateTime(key);
  auto two = [](char* at, int value) {
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
  };
  date.resize(6);
  two(&date[0], t.year % 100);
  two(&date[2], t.month);
  two(&date[4], t.day);
  start.resize(4);
  two(&start[0], t.hour);
  two(&start[2], t.minute);
  return true;
}

void MoveEndTime(std::string& end, TimeZone from, TimeZone to) {
  const int hours = Step(from, to);
  if (hours == 0 || end.size() != 4 || !AllAsciiDigits(end)) return;
  const int hour = ((end[0] - '0') * 10 + (end[1] - '0') + hours + 24) % 24;
  end[0] = static_cast<char>('0' + hour / 10);
  end[1] = static_cast<char>('0' + hour % 10);
}

}  // namespace vondal
