#include "adif/adif_record.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "adif/adif_bands.h"
#include "app/text/sjis.h"
#include "log/date_time.h"
#include "log/field_table.h"
#include "log/log_file.h"

namespace vondal {
namespace {

// The fields read, numbered.
enum Tag : int {
  kCall,
  kQsoDate,
  kTimeOn,
  kTimeOff,
  kFreq,
  kBand,
  kMode,
  kSubmode,
  kRstSent,
  kRstRcvd,
  kStxString,
  kStx,
  kSrxString,
  kSrx,
  kQth,
  kQthIntl,
  kName,
  kNameIntl,
  kRig,
  kRigIntl,
  kContestId,
  kComment,
  kCommentIntl,
  kMyCity,
  kMyCityIntl,
  kMyRig,
  kMyRigIntl,
  kQslS,
  kQslR,
  kQslSent,
  kQslRcvd,
  kGridsquare,
  kTxPwr,
  kPropMode,
  kSatName,
  kIota,
  kSotaRef,
  kPotaRef,
  kLotwQslRcvd,
  kEqslQslRcvd,
  kTagCount,
  kNoTag = kTagCount,
};

struct TagName {
  std::string_view name;  // upper case
  Tag tag;
};

constexpr TagName kTagNames[] = {
    {"CALL", kCall},
    {"QSO_DATE", kQsoDate},
    {"TIME_ON", kTimeOn},
    {"TIME_OFF", kTimeOff},
    {"FREQ", kFreq},
    {"BAND", kBand},
    {"MODE", kMode},
    {"SUBMODE", kSubmode},
    {"RST_SENT", kRstSent},
    {"RST_RCVD", kRstRcvd},
    {"STX_STRING", kStxString},
    {"STX", kStx},
    {"SRX_STRING", kSrxString},
    {"SRX", kSrx},
    {"QTH", kQth},
    {"QTH_INTL", kQthIntl},
    {"NAME", kName},
    {"NAME_INTL", kNameIntl},
    {"RIG", kRig},
    {"RIG_INTL", kRigIntl},
    {"CONTEST_ID", kContestId},
    {"COMMENT", kComment},
    {"COMMENT_INTL", kCommentIntl},
    {"MY_CITY", kMyCity},
    {"MY_CITY_INTL", kMyCityIntl},
    {"MY_RIG", kMyRig},
    {"MY_RIG_INTL", kMyRigIntl},
    {"QSL_S", kQslS},
    {"QSL_R", kQslR},
    {"QSL_SENT", kQslSent},
    {"QSL_RCVD", kQslRcvd},
    {"GRIDSQUARE", kGridsquare},
    {"TX_PWR", kTxPwr},
    {"PROP_MODE", kPropMode},
    {"SAT_NAME", kSatName},
    {"IOTA", kIota},
    {"SOTA_REF", kSotaRef},
    {"POTA_REF", kPotaRef},
    {"LOTW_QSL_RCVD", kLotwQslRcvd},
    {"EQSL_QSL_RCVD", kEqslQslRcvd},
};

constexpr size_t kLongestTag = 13;

// Fields without a column of their own that an operator keeps: appended to REMARKS as subfields
// ("GL[PM95]"), in this order. The confirmations only when they say yes.
struct Extra {
  Tag tag;
  std::string_view opening;
  bool confirmation;
};
constexpr Extra kExtras[] = {
    {kGridsquare, "GL[", false}, {kTxPwr, "PWR[", false},       {kPropMode, "PROP[", false},
    {kSatName, "SAT[", false},   {kIota, "IOTA[", false},       {kSotaRef, "SOTA[", false},
    {kPotaRef, "POTA[", false},  {kLotwQslRcvd, "LoTW[", true}, {kEqslQslRcvd, "eQSL[", true},
};

// The application-defined fields of the processing menu's own export: a subfield of a field
// ("APP_Vondal_REMARKS.QSL[]").
constexpr std::string_view kAppPrefix = "APP_VONDAL_";

// ASCII letters in either case count the same.
bool SameUpper(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// The text without blanks and control bytes at either end.
std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A tag name of at most 16 characters, upper case, in two words: names compare in two moves.
struct PackedName {
  uint64_t low = 0;
  uint64_t high = 0;
  constexpr bool operator==(const PackedName&) const = default;
  constexpr size_t Slot() const {
    return static_cast<size_t>(((low ^ (high * 31)) * 0x9E3779B97F4A7C15ull) >> 57);
  }
};

constexpr PackedName Pack(std::string_view name) {
  PackedName packed;
  for (size_t i = 0; i < name.size(); ++i) {
    (i < 8 ? packed.low : packed.high) |= static_cast<uint64_t>(static_cast<unsigned char>(AsciiUpper(name[i])))
                                          << (8 * (i % 8));
  }
  return packed;
}

// The ASCII letters of eight bytes in upper case, all at once: a byte from 'a' to 'z' (and no byte
// above 0x7F) loses 0x20.
uint64_t UpperEight(uint64_t bytes) {
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  const uint64_t seven = bytes & ~kHigh;
  const uint64_t fromA = seven + 0x1F1F1F1F1F1F1F1Full;  // high bit: at least 'a' (0x61)
  const uint64_t pastZ = seven + 0x0505050505050505ull;  // high bit: past 'z' (0x7A)
  return bytes - ((fromA & ~pastZ & ~bytes & kHigh) >> 2);
}

// Bytes 0 … n - 1 (n at most 8) of p in the low bytes of a word, in two loads that may overlap.
uint64_t LoadUpTo8(const char* p, size_t n) {
  if (n >= 4) {
    uint32_t head, tail;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    return head | static_cast<uint64_t>(tail) << (8 * (n - 4));
  }
  if (n == 0) return 0;
  auto byte = [p](size_t i) { return static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i); };
  return byte(0) | byte(n / 2) | byte(n - 1);
}

// The same packing at run time, without a loop over the bytes.
PackedName PackFast(std::string_view name) {
  const size_t n = name.size();
  PackedName packed;
  packed.low = UpperEight(LoadUpTo8(name.data(), std::min<size_t>(n, 8)));
  if (n > 8) packed.high = UpperEight(LoadUpTo8(name.data() + 8, n - 8));
  return packed;
}

// The tags in an open-addressed table of 128 slots.
struct TagTable {
  struct Entry {
    PackedName name;
    Tag tag = kNoTag;
  };
  std::array<Entry, 128> slots{};
  constexpr TagTable() {
    for (const TagName& t : kTagNames) {
      const PackedName name = Pack(t.name);
      size_t at = name.Slot();
      while (slots[at].tag != kNoTag) at = (at + 1) % slots.size();
      slots[at] = {name, t.tag};
    }
  }
};
constexpr TagTable kTagTable;

Tag TagOf(std::string_view name) {
  if (name.empty() || name.size() > kLongestTag) return kNoTag;
  const PackedName packed = PackFast(name);
  for (size_t at = packed.Slot();; at = (at + 1) % kTagTable.slots.size()) {
    const TagTable::Entry& entry = kTagTable.slots[at];
    if (entry.tag == kNoTag) return kNoTag;
    if (entry.name == packed) return entry.tag;
  }
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

int Two(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

// True when a CP932 text is whole characters and holds no control byte: it is taken as it is.
bool IsCleanCp932(std::string_view raw) {
  for (size_t i = 0; i < raw.size(); ++i) {
    const auto c = static_cast<unsigned char>(raw[i]);
    if ((c >= 0x20 && c < 0x7F) || IsHalfWidthKana(c)) continue;
    if (!IsLeadByte(c) || i + 1 == raw.size() || !IsTrailByte(static_cast<unsigned char>(raw[++i])))
      return false;
  }
  return true;
}

// A CP932 text checked character by character: a broken two-byte character or a byte that
// starts none becomes "?". The number replaced.
int CheckCp932(std::string_view raw, std::string& out) {
  int replaced = 0;
  out.clear();
  for (size_t i = 0; i < raw.size();) {
    const auto c = static_cast<unsigned char>(raw[i]);
    if (IsLeadByte(c)) {
      if (i + 1 < raw.size() && IsTrailByte(static_cast<unsigned char>(raw[i + 1]))) {
        out.append(raw.substr(i, 2));
        i += 2;
        continue;
      }
    } else if (c < 0x80 || IsHalfWidthKana(c)) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    out += '?';
    ++replaced;
    ++i;
  }
  return replaced;
}

// Every run of control bytes (line breaks, tabs, 0x1E, 0x1F …) becomes one blank: the log's texts
// hold none. Control bytes are never part of a two-byte character.
void BlankControls(std::string& text) {
  size_t to = 0;
  bool inRun = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) {
      if (!inRun) text[to++] = ' ';
      inRun = true;
    } else {
      text[to++] = text[i];
      inRun = false;
    }
  }
  text.resize(to);
}

// The longest start of text of at most maxBytes bytes that ends between characters.
size_t CharBoundary(std::string_view text, size_t maxBytes) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t next = at + CharLength(text, at);
    if (next > maxBytes) break;
    at = next;
  }
  return at;
}

// True when text holds the subfield that begins with `opening` ("QSL["): at its start or behind a
// ";". The separator is ASCII below every second byte, so it is never part of a character.
bool HasSubfield(std::string_view text, std::string_view opening) {
  for (size_t at = 0;;) {
    if (text.substr(at).starts_with(opening)) return true;
    at = text.find(';', at);
    if (at == std::string_view::npos) return false;
    ++at;
  }
}

void AppendSubfield(std::string& text, std::string_view opening, std::string_view value,
                    std::string_view closing) {
  if (HasSubfield(text, opening)) return;
  if (!text.empty()) text += ';';
  ((text += opening) += value) += closing;
}

// The bracket that closes `closing`'s partner, for the subfield specifications of the export.
bool IsClosingBracket(char c) {
  return c == ']' || c == ')' || c == '}' || c == '>' || c == '"' || c == '\'' || c == '\xA3';  // ｣
}

class Mapper {
 public:
  Mapper(const AdifMapOptions& options, AdifContact& contact) : options_(options), contact_(contact) {}

  void Map(std::span<const AdifField> fields);

 private:
  // The value of a field in CP932, blanks for control bytes; "?" replacements are noted under
  // the log's field `field`.
  void Decode(std::string_view raw, int field, std::string& out);
  std::string_view Raw(Tag tag) const { return raw_[tag]; }
  std::string_view Trimmed(Tag tag) const { return TrimBlanks(raw_[tag]); }
  // A text field: the plain field, or its _INTL twin when the plain one is empty or ASCII.
  void Text(Tag plain, Tag intl, int field);
  void Note(int field, const std::string& text) {
    contact_.notes.push_back(std::string(DefaultFieldTable()[field].name) + ": " + text);
  }
  bool Refuse(const char* reason) {
    contact_.refusal = reason;
    return false;
  }
  bool DateAndTimes();
  bool Frequency();
  bool Mode();
  void Reports();
  void Qsl(Tag own, Tag standard, int field);
  void Subfields();
  void Fit();

  const AdifMapOptions& options_;
  AdifContact& contact_;
  std::array<std::string_view, kTagCount> raw_{};
  std::vector<AdifField> app_;  // the export's subfields, named without the prefix
  // APP_Vondal_<field> of the standard export: the log's own text of a field where the standard
  // fields would not give it back (a mode ADIF does not know, a QSL mark, a short form of FREQ).
  std::array<std::string_view, kStoredFieldCount> own_{};
  std::string scratch_;
};

void Mapper::Decode(std::string_view raw, int field, std::string& out) {
  int replaced = 0;
  if (IsPrintableAscii(raw)) {
    out.assign(raw);  // nearly every value: nothing to convert, no control byte to blank
    return;
  }
  if (IsAscii(raw)) {
    out.assign(raw);
  } else if (options_.charset == TextCharset::kCp932) {
    if (IsCleanCp932(raw)) {
      out.assign(raw);  // the processing menu's own export: its texts as the log had them
      return;
    }
    replaced = CheckCp932(raw, out);
  } else {
    out = Utf8ToCp932(raw, replaced);
  }
  BlankControls(out);
  if (replaced > 0) Note(field, "CP932にない文字" + std::to_string(replaced) + "個を?に置換");
}

void Mapper::Text(Tag plain, Tag intl, int field) {
  const std::string_view chosen = !raw_[intl].empty() && IsAscii(raw_[plain]) ? raw_[intl] : raw_[plain];
  Decode(chosen, field, contact_.record[field]);
}

void Mapper::Map(std::span<const AdifField> fields) {
  for (const AdifField& f : fields) {
    const Tag tag = TagOf(f.name);
    if (tag != kNoTag) {
      if (raw_[tag].empty()) raw_[tag] = f.value;
    } else if (f.name.size() > kAppPrefix.size() &&
               SameUpper(f.name.substr(0, kAppPrefix.size()), kAppPrefix)) {
      const std::string_view name = f.name.substr(kAppPrefix.size());
      int field = 0;
      while (field < kStoredFieldCount && !SameUpper(name, DefaultFieldTable()[field].name)) ++field;
      if (field < kStoredFieldCount) {
        if (own_[field].empty()) own_[field] = f.value;
      } else {
        app_.push_back({name, f.value});
      }
    }
  }
  if (!DateAndTimes()) return;
  if (!Frequency()) return;
  if (!Mode()) return;
  Reports();
  Text(kQth, kQthIntl, QTH);
  Text(kName, kNameIntl, NAME);
  Text(kRig, kRigIntl, RIG);
  Decode(Raw(kContestId), CONTEST, contact_.record[CONTEST]);
  Text(kComment, kCommentIntl, REMARKS);
  Text(kMyCity, kMyCityIntl, MyQTH);
  Text(kMyRig, kMyRigIntl, MyRIG);
  Qsl(kQslS, kQslSent, sQSL);
  Qsl(kQslR, kQslRcvd, rQSL);
  // The log's own texts, where the standard export kept them, over what the standard fields say.
  // DATE and START are not among them: a contact needs a real date and time.
  for (int field = END; field < kStoredFieldCount; ++field) {
    if (!own_[field].empty()) Decode(own_[field], field, contact_.record[field]);
  }
  // A record the log's checks would refuse could be joined, but never written again from the
  // editor: a MODE that begins with no letter (or a CALLSIGN kept by the standard export that is
  // too short) stops it here.
  if (!CheckStoredField(MODE, contact_.record[MODE], false).message.empty()) {
    Refuse("MODEが英字で始まらない");
    return;
  }
  if (!CheckStoredField(CALLSIGN, contact_.record[CALLSIGN], false).message.empty()) {
    Refuse("CALLが短すぎる");
    return;
  }
  Subfields();
  Fit();
}

bool Mapper::DateAndTimes() {
  Record& r = contact_.record;
  Decode(own_[CALLSIGN].empty() ? Trimmed(kCall) : own_[CALLSIGN], CALLSIGN, r[CALLSIGN]);
  if (r[CALLSIGN].empty()) return Refuse("CALLがない");
  // The log's own rule: three characters at least, or CQ or EX.
  if (!CheckStoredField(CALLSIGN, r[CALLSIGN], false).message.empty()) return Refuse("CALLが短すぎる");

  const std::string_view date = Trimmed(kQsoDate);
  if (date.empty()) return Refuse("QSO_DATEがない");
  if (date.size() != 8 || !AllAsciiDigits(date) || CheckDate(date.substr(2)) != 0)
    return Refuse("QSO_DATEが日付でない");
  const int year = Two(date, 0) * 100 + Two(date, 2);
  if (year < 1950 || year > 2049) return Refuse("日付が1950～2049年の範囲外な");
  r[DATE].assign(date.substr(2));

  // HHMM or HHMMSS: the seconds are dropped.
  auto time = [](std::string_view t) {
    return (t.size() == 4 || t.size() == 6) && AllAsciiDigits(t) && Two(t, 0) < 24 && Two(t, 2) < 60 &&
           (t.size() == 4 || Two(t, 4) < 60);
  };
  const std::string_view on = Trimmed(kTimeOn);
  if (on.empty()) return Refuse("TIME_ONがない");
  if (!time(on)) return Refuse("TIME_ONが時刻でない");
  r[START].assign(on.substr(0, 4));
  if (!MoveDateTime(r[DATE], r[START], options_.fileClock, options_.logClock))
    return Refuse("日付が1950～2049年の範囲外な");

  const std::string_view off = Trimmed(kTimeOff);
  if (!own_[END].empty()) {
    // an END that is no time, kept by the standard export (put in place with the others)
  } else if (time(off)) {
    r[END].assign(off.substr(0, 4));
    MoveEndTime(r[END], options_.fileClock, options_.logClock);
  } else if (off.size() == 4 && IsPrintableAscii(off)) {
    r[END].assign(off);  // the log keeps any four characters (the export writes them as they are)
  } else {
    if (!off.empty()) {
      Decode(off, END, scratch_);
      Note(END, "TIME_OFF「" + scratch_ + "」は時刻でないためSTARTと同じ");
    }
    r[END] = r[START];
  }
  return true;
}

bool Mapper::Frequency() {
  std::string& freq = contact_.record[FREQ];
  if (!own_[FREQ].empty()) return true;  // put in place with the other own texts
  const std::string_view given = Trimmed(kFreq);
  if (FrequencyHz(given) > 0) {
    freq.assign(given);
    if (freq.front() == '.') freq.insert(0, "0");
    if (freq.find('.') == std::string::npos) freq += ".0";
    // Zeros at the end of the decimals say nothing: they go before a digit is cut.
    const size_t maxLength = ActiveFieldTable()[FREQ].maxLength;
    while (freq.size() > maxLength && freq.back() == '0' && freq[freq.size() - 2] != '.') freq.pop_back();
    return true;
  }
  const std::string_view edge = BandEdgeFreq(Trimmed(kBand));
  if (edge.empty()) return Refuse(given.empty() ? "FREQもBANDもない" : "FREQが周波数でない");
  if (!given.empty()) {
    Decode(given, FREQ, scratch_);
    Note(FREQ, "FREQ「" + scratch_ + "」は周波数でないためBANDの下端");
  }
  freq.assign(edge);
  return true;
}

bool Mapper::Mode() {
  if (!own_[MODE].empty()) return true;  // put in place with the other own texts
  // SUBMODE names the mode as operators write it (FT4, PSK31, JS8), except USB and LSB, which
  // only say the side band of SSB, and a letter behind the mode's name (JT65A), its tone spacing.
  const std::string_view mode = Trimmed(kMode);
  const std::string_view sub = Trimmed(kSubmode);
  const bool spacing = sub.size() == mode.size() + 1 && SameUpper(sub.substr(0, mode.size()), mode);
  // A MODE of the log begins with a letter: a SUBMODE that does not (8PSK125) leaves MODE (PSK).
  const bool letter = !sub.empty() && IsAsciiLetter(sub[0]);
  const bool useSub = letter && (mode.empty() || (!SameUpper(mode, "SSB") && !spacing));
  Decode(useSub ? sub : mode, MODE, contact_.record[MODE]);
  if (contact_.record[MODE].empty()) return Refuse("MODEがない");
  return true;
}

void Mapper::Reports() {
  Record& r = contact_.record;
  Decode(Trimmed(kRstSent), sRST, r[sRST]);
  Decode(Trimmed(kRstRcvd), rRST, r[rRST]);
  // In a contest the exchange stands behind the report, as the export split it off.
  if (Trimmed(kContestId).empty()) return;
  const std::string_view sent = Raw(kStxString).empty() ? Raw(kStx) : Raw(kStxString);
  const std::string_view received = Raw(kSrxString).empty() ? Raw(kSrx) : Raw(kSrxString);
  Decode(sent, sRST, scratch_);
  r[sRST] += scratch_;
  Decode(received, rRST, scratch_);
  r[rRST] += scratch_;
}

void Mapper::Qsl(Tag own, Tag standard, int field) {
  std::string& text = contact_.record[field];
  if (!Raw(own).empty()) {
    Decode(Raw(own), field, text);
    return;
  }
  // QSL_SENT and QSL_RCVD: N (no) and I (ignore) say nothing was exchanged.
  const std::string_view flag = Trimmed(standard);
  if (SameUpper(flag, "N") || SameUpper(flag, "I")) {
    text.clear();
  } else {
    Decode(flag, field, text);
  }
}

void Mapper::Subfields() {
  Record& r = contact_.record;
  for (const Extra& extra : kExtras) {
    const std::string_view value = Trimmed(extra.tag);
    if (value.empty()) continue;
    if (extra.confirmation && !SameUpper(value, "Y") && !SameUpper(value, "V")) continue;
    Decode(value, REMARKS, scratch_);
    AppendSubfield(r[REMARKS], extra.opening, scratch_, "]");
  }
  // "REMARKS.QSL[]" with the value "JARL" is put back as "QSL[JARL]", unless the field holds it.
  for (const AdifField& f : app_) {
    Decode(f.name, REMARKS, scratch_);
    const size_t dot = scratch_.find('.');
    if (dot == std::string::npos || scratch_.size() < dot + 3) continue;
    const std::string_view fieldName = std::string_view(scratch_).substr(0, dot);
    const std::string_view spec = std::string_view(scratch_).substr(dot + 1);
    if (!IsClosingBracket(spec.back()) || !IsCharStart(spec, spec.size() - 1)) continue;
    for (int field = sRST; field < kStoredFieldCount; ++field) {
      if (!SameUpper(fieldName, DefaultFieldTable()[field].name)) continue;
      std::string value;
      Decode(f.value, field, value);
      AppendSubfield(r[field], spec.substr(0, spec.size() - 1), value, spec.substr(spec.size() - 1));
      break;
    }
  }
}

void Mapper::Fit() {
  // Each text at most its field's maximum; when the record is still over the budget, the longest
  // texts of sRST … rQSL down to one common length, the longest that brings it within. Each text
  // is cut once, between characters.
  Record& r = contact_.record;
  const FieldTable& table = ActiveFieldTable();
  std::array<size_t, kStoredFieldCount> keep;
  size_t total = 0;
  for (int field = 0; field < kStoredFieldCount; ++field) {
    keep[field] = std::min<size_t>(r[field].size(), table[field].maxLength);
    total += keep[field];
  }
  if (total > static_cast<size_t>(kRecordBudget)) {
    const size_t over = total - kRecordBudget;
    size_t cap = *std::max_element(keep.begin() + sRST, keep.end());
    for (size_t saved = 0; saved < over && cap > 0;) {
      --cap;
      saved = 0;
      for (int field = sRST; field < kStoredFieldCount; ++field)
        saved += keep[field] > cap ? keep[field] - cap : 0;
    }
    for (int field = sRST; field < kStoredFieldCount; ++field) keep[field] = std::min(keep[field], cap);
  }
  for (int field = 0; field < kStoredFieldCount; ++field) {
    std::string& text = r[field];
    if (keep[field] == text.size()) continue;
    const size_t at = CharBoundary(text, keep[field]);
    Note(field, "切詰め「" + text.substr(at) + "」");
    text.resize(at);
  }
}

}  // namespace

void MapAdifRecord(std::span<const AdifField> fields, const AdifMapOptions& options, AdifContact& contact) {
  for (std::string& text : contact.record.text) text.clear();
  contact.refusal.clear();
  contact.notes.clear();
  Mapper(options, contact).Map(fields);
}

}  // namespace vondal
