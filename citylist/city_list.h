// The city, gun and ward list: CGlist3.TXT loaded once, looked up by number and by name.
//
// Entries are kept per kind (cities, guns, wards) and prefecture, each list ordered by (city,
// own number); entries with the same number (the names a place had in turn) keep the file's
// order, and every lookup by number takes the first of them. A lookup walks one short list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "citylist/cglist_format.h"
#include "citylist/city_number.h"
#include "citylist/validity.h"

namespace vondal {

// One city, gun or ward.
struct CityEntry {
  uint8_t prefecture = 0;
  CityKind kind = CityKind::kNone;
  uint8_t city = 0;  // wards: the number of their city; 0 for cities and guns
  uint8_t own = 0;   // the last two digits of the number
  Validity validity;
  int serial = 0;    // 1, 2, … over cities, guns, then wards, each by prefecture and list order
  std::string name;  // without its suffix 市, 郡 or 区

  CityNumber Number() const { return {kind, prefecture, city, own}; }
};

struct Prefecture {
  std::string name;  // with its suffix: 北海道, 青森県, 東京都 …
  int area = 0;      // call area 1-10; 0 while the file has not named the prefecture
};

// Entry counts for the information screen, each by kind: [0] all kinds, [1] cities, [2] guns,
// [3] wards. An entry is distinct when its number differs from that of the entry before it in
// its list (so the names of one place count once); open when it has no end date.
struct CityCounts {
  using ByKind = std::array<int, 4>;
  ByKind all{};
  ByKind open{};
  ByKind distinct{};
  ByKind distinctOpen{};  // distinct entries whose own end is open
};

// What a name was recognised as.
struct NameMatch {
  CityNumber number;
  Validity validity;   // of the entry found; open for a prefecture
  size_t restPos = 0;  // where the text after the recognised name begins
};

class CityList {
 public:
  // Loads CGlist3.TXT from the program folder. True when it is loaded; false when the file is
  // missing, unreadable or faulty, and the list is then empty and every lookup answers kNotLoaded.
  bool Load();
  // The same from another file (a CP932 path) or from the contents of one.
  bool LoadFile(const std::string& path);
  bool LoadText(std::string_view contents);

  bool Loaded() const { return loaded_; }

  // The entries of one kind (city, gun or ward) and prefecture (1-47), in list order; empty for
  // anything else and while the list is not loaded.
  const std::vector<CityEntry>& Entries(CityKind kind, int prefecture) const;
  // Prefecture 1-47; an empty one for anything else and while the list is not loaded.
  const Prefecture& PrefectureOf(int prefecture) const;
  const CityCounts& Counts() const { return counts_; }
  // Entries loaded; the serial numbers run from 1 to this.
  int EntryCount() const { return counts_.all[0]; }
  // Bytes the list takes: its tables plus each entry and its name.
  size_t MemoryUsed() const;

  // The first entry in list order with this city, gun or ward number; null when there is none.
  const CityEntry* FindEntry(const CityNumber& number) const;

  // The validity of the entry with the number in text. kFound (a prefecture number: without
  // dates), kNotNumberForm, kPrefectureOutOfRange, kNotLoaded, kNoSuchEntry.
  CityResult ValidityByNumber(std::string_view text, Validity& validity) const;

  // The name of the number in text with its suffix: "札幌市", "阿寒郡", "横浜市鶴見区",
  // "東京都千代田区", "北海道". withPrefecture puts the prefecture name in front. Results as for
  // ValidityByNumber.
  CityResult NameOfNumber(std::string_view text, bool withPrefecture, std::string& name) const;
  CityResult NameOfNumber(const CityNumber& number, bool withPrefecture, std::string& name) const;

  // Recognises a place name at the start of text ("千葉県市川市八幡", "横浜市鶴見区", "伊達市"). area
  // is the call area the place should lie in (1-11), 0 for any. kFound, kNotDoubleByte,
  // kNotLoaded, kOtherCallArea, kSeveralCandidates, kNoMatch.
  CityResult NumberOfName(std::string_view text, int area, NameMatch& match) const;

 private:
  using Lists = std::array<std::array<std::vector<CityEntry>, kPrefectureCount + 1>, 3>;

  void Clear();
  // One line of the file; false when it makes the file faulty.
  bool ReadLine(std::string_view line);
  void Insert(CityEntry entry);
  void Number();
  std::vector<CityEntry>& ListOf(CityKind kind, int prefecture);
  // The cities and guns whose name and suffix begin the text at restPos, while a name is looked up.
  struct Candidates {
    std::string_view text;
    size_t restPos;
    bool cities;  // the rest holds a 市 after its first character
    bool guns;    // and a 郡
    int count = 0;
    NameMatch first;
  };
  // Adds the candidates of prefecture p (stops counting at two).
  void Collect(int p, Candidates& found) const;
  void FindWard(std::string_view text, NameMatch& match) const;

  bool loaded_ = false;
  std::array<Prefecture, kPrefectureCount + 1> prefectures_;
  Lists lists_;
  CityCounts counts_;
};

// The list of the main program: loaded at start-up, looked up by every subsystem.
CityList& TheCityList();

}  // namespace vondal
