// Contacts for the contest-log tests, written the way a log holds them.
#pragma once

#include <string>
#include <vector>

#include "log/record.h"
#include "output/contest_run.h"

namespace vondal::testing {

struct Contact {
  const char* date;
  const char* start;
  const char* callsign;
  const char* freq;
  const char* mode;
  const char* sent;
  const char* received;
  const char* name = "";
};

inline Record RecordOf(const Contact& c) {
  Record r;
  r[DATE] = c.date;
  r[START] = c.start;
  r[CALLSIGN] = c.callsign;
  r[FREQ] = c.freq;
  r[MODE] = c.mode;
  r[sRST] = c.sent;
  r[rRST] = c.received;
  r[NAME] = c.name;
  return r;
}

inline RecordTexts TextsOf(const Record& r) {
  RecordTexts texts;
  for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
  return texts;
}

// A run of `kind` over the contacts, in their order.
inline ContestRun Scored(char kind, const std::vector<Contact>& contacts,
                         const ContestSettings& settings = {}, int format = kJarlR21, bool utc = false) {
  ContestRun run;
  run.kind = kind;
  run.format = format;
  run.utc = utc;
  run.name = "ALL JA1 CONTEST";
  for (size_t i = 0; i < contacts.size(); ++i) {
    const Record r = RecordOf(contacts[i]);
    ScoreContestRecord(run, static_cast<int>(i), TextsOf(r), settings);
  }
  return run;
}

}  // namespace vondal::testing
