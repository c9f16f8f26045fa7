// The contest multiplier mode: during a domestic contest every record written is checked as a
// contest exchange (call area, band, report, power letter and received number), and the
// multiplier table shows, for the band in FREQ, the multipliers worked there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"
#include "log/multiplier_check.h"
#include "output/contest_areas.h"

namespace vondal {

inline constexpr int kContestCacheRecords = 2000;

// The modes by letter: A AllJA, S 6&D, F FD, Z all cities and guns, X XPO, Y XPO+, K KCJ, L KCJ+,
// N off. The rule of a mode gives, band by band, "+" (prefecture multipliers), "-" (city and gun
// multipliers) or "." (the band does not count).
const char* ContestBandRule(char mode);

struct ContestCheck {
  std::string refusal;  // "" or a field digit (3 CALLSIGN, 4 FREQ, 7 rRST) and the message
  int band = -1;
  int multiplier = 0;  // the prefecture number (or KCJ index), 0 for none
  std::string report;  // rRST's report part as shown, upper case
  std::string number;  // the received number as taken
};

// Checks one record as an exchange of contest mode `mode`.
ContestCheck CheckContestRecord(char mode, const Record& record);

class ContestMode : public MultiplierCheck {
 public:
  char mode() const { return mode_; }
  int first() const { return first_; }

  // Sets the mode; for a mode other than N the contest starts at record `first` and the records
  // from it (at most 2000, not beyond the log) are checked into the cache.
  void Start(char mode, int first, LogFile& log);

  bool Covers(int n) const override;
  std::string Check(const Record& working, int n) override;

  // The last check made (for the edit area's first row).
  const ContestCheck& last() const { return last_; }

  // The cached records of `band`: how many and which multipliers (indexes) were worked.
  int CountOnBand(int band, std::vector<bool>& worked) const;

 private:
  void Store(int n, const ContestCheck& check);

  char mode_ = 'N';
  int first_ = 0;
  std::vector<int8_t> bands_;  // by record from first_; -1 none
  std::vector<uint8_t> multipliers_;
  ContestCheck last_;
};

ContestMode& TheContest();

// The three rows of the multiplier table above the edit area, for the band of the edit area's FREQ
// (when the table is on and a mode is set).
void DrawMultiplierTable(const EditLayout& layout, const EditorState& editor);

// The edit area's first row after a check: rRST's report and, highlighted, the received number.
void ShowContestCheck(const EditLayout& layout, const ContestCheck& check);

// ">他>ｺﾝﾃｽﾄ>": the mode, starting at the record of the edit area's DATE and START.
void ContestMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor);

}  // namespace vondal
