#include "output/contest_jarl.h"

#include <array>
#include <cstdio>

#include "app/text/text_helpers.h"

namespace vondal {
namespace {

enum Versions : char { kBoth = 'b', kOnlyR10 = '1', kOnlyR21 = '2' };

struct Element {
  const char* name;  // the tag the `JARLsummary` lines name
  Versions versions;
  const char* value;  // the default
};

constexpr int kElementCount = 31;
constexpr int kCallsignElement = 4, kOpCallsignElement = 5, kNameElement = 12, kSignatureElement = 28;

constexpr std::array<Element, kElementCount> kElements = {{
    {"SUMMARYSHEET", kBoth, ""},
    {"CONTESTNAME", kBoth, ""},
    {"CATEGORYCODE", kBoth, "【部門記号】"},
    {"CATEGORYNAME", kOnlyR10, "【部門名称】"},
    {"CALLSIGN", kBoth, "【コールサイン】"},
    {"OPCALLSIGN", kBoth, "【運用者コール】"},
    {"SCORE", kOnlyR10, ""},
    {"SCORE", kOnlyR10, ""},
    {"FDCOEFF", kBoth, "【FD局種係数】"},
    {"TOTALSCORE", kBoth, ""},
    {"ADDRESS", kBoth, "【連絡先住所】"},
    {"TEL", kBoth, "【電話】"},
    {"NAME", kBoth, "【名前】"},
    {"EMAIL", kBoth, "【e-mail】"},
    {"LICENSECLASS", kOnlyR10, "【従事者免許】"},
    {"LICENSEDATE", kOnlyR21, "【局免許年月日】"},
    {"AGE", kOnlyR21, "【年齢】"},
    {"POWER", kBoth, "【送信出力】"},
    {"POWERTYPE", kOnlyR10, "【定格/実測の別】"},
    {"OPPLACE", kBoth, "【運用場所】"},
    {"POWERSUPPLY", kBoth, "【電源種類】"},
    {"EQUIPMENT", kOnlyR10, "【設備】"},
    {"COMMENTS", kBoth, "【意見】"},
    {"MULTIOPLIST", kBoth, "【マルチOPリスト】"},
    {"REGCLUBNUMBER", kBoth, "【登録クラブ＃】"},
    {"REGCLUBNAME", kOnlyR10, "【登録クラブ名】"},
    {"OATH", kBoth,
     "私は，【主催者】制定のコンテスト規約および電波法令にしたがい運用した結果，ここに提出するサマリーシート"
     "およびログシートなどが"
     "事実と相違ないものであることを，私の名誉において誓います．"},
    {"DATE", kBoth, ""},
    {"SIGNATURE", kBoth, "【署名】"},
    {"SUMMARYSHEET", kBoth, ""},
    {"LOGSHEET", kBoth, ""},
}};

bool Overridable(int element) {
  return element >= 2 && element <= 28 && element != 6 && element != 7 && element != 9 && element != 27;
}

// The element an item's tag names: the first of 2-28 whose name begins with the tag.
int ElementOfTag(std::string_view tag) {
  if (tag.empty()) return -1;
  const std::string upper = ToUpperAscii(tag);
  for (int e = 2; e <= 28; ++e) {
    if (std::string_view(kElements[e].name).starts_with(upper)) return Overridable(e) ? e : -1;
  }
  return -1;
}

struct Values {
  std::array<std::string, kElementCount> text;
  std::array<bool, kElementCount> overridden{};
};

// The items "<tag>value</tag>" of the `JARLsummary` lines, each over its element's default. Tags,
// brackets and "/" are ASCII below 0x40 and so never the second byte of a two-byte character.
void ApplySummaryLines(const std::vector<std::string>& lines, Values& values) {
  for (const std::string& line : lines) {
    size_t at = 0;
    for (;;) {
      const size_t open = line.find('<', at);
      if (open == std::string::npos) break;
      const size_t close = line.find('>', open + 1);
      if (close == std::string::npos) break;
      const size_t end = line.find("</", close + 1);
      if (end == std::string::npos) break;
      const int element = ElementOfTag(std::string_view(line).substr(open + 1, close - open - 1));
      if (element >= 0) {
        values.text[element] = line.substr(close + 1, end - close - 1);
        values.overridden[element] = true;
      }
      const size_t after = line.find('>', end);
      if (after == std::string::npos) break;
      at = after + 1;
    }
  }
}

// The longest part of a call sign between "/" characters (the first of equal ones), when it has
// at least three characters.
std::string OperatorOf(std::string_view callsign) {
  std::string_view longest;
  for (std::string_view part : Split(callsign, "/")) {
    if (part.size() > longest.size()) longest = part;
  }
  return longest.size() >= 3 ? std::string(longest) : std::string();
}

bool InVersion(int element, bool r10) {
  const Versions v = kElements[element].versions;
  return v == kBoth || (v == kOnlyR10) == r10;
}

std::string Line(const char* format, const std::string& value) {
  std::string out(format);
  const size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, value);
  return out;
}

constexpr const char* kFormats[kElementCount] = {"<SUMMARYSHEET VERSION=%s>\r\n",
                                                 "<CONTESTNAME>%s</CONTESTNAME>\r\n",
                                                 "<CATEGORYCODE>%s</CATEGORYCODE>\r\n",
                                                 "<CATEGORYNAME>%s</CATEGORYNAME>\r\n",
                                                 "<CALLSIGN>%s</CALLSIGN>\r\n",
                                                 "<OPCALLSIGN>%s</OPCALLSIGN>\r\n",
                                                 "",
                                                 "<SCORE BAND=TOTAL>%s</SCORE>\r\n",
                                                 "<FDCOEFF>%s</FDCOEFF>\r\n",
                                                 "<TOTALSCORE>%s</TOTALSCORE>\r\n",
                                                 "<ADDRESS>%s</ADDRESS>\r\n",
                                                 "<TEL>%s</TEL>\r\n",
                                                 "<NAME>%s</NAME>\r\n",
                                                 "<EMAIL>%s</EMAIL>\r\n",
                                                 "<LICENSECLASS>%s</LICENSECLASS>\r\n",
                                                 "<LICENSEDATE>%s</LICENSEDATE>\r\n",
                                                 "<AGE>%s</AGE>\r\n",
                                                 "<POWER>%s</POWER>\r\n",
                                                 "<POWERTYPE>%s</POWERTYPE>\r\n",
                                                 "<OPPLACE>%s</OPPLACE>\r\n",
                                                 "<POWERSUPPLY>%s</POWERSUPPLY>\r\n",
                                                 "<EQUIPMENT>%s</EQUIPMENT>\r\n",
                                                 "<COMMENTS>%s</COMMENTS>\r\n",
                                                 "<MULTIOPLIST>%s</MULTIOPLIST>\r\n",
                                                 "<REGCLUBNUMBER>%s</REGCLUBNUMBER>\r\n",
                                                 "<REGCLUBNAME>%s</REGCLUBNAME>\r\n",
                                                 "<OATH>%s</OATH>\r\n",
                                                 "<DATE>%s</DATE>\r\n",
                                                 "<SIGNATURE>%s</SIGNATURE>\r\n",
                                                 "</SUMMARYSHEET>\r\n",
                                                 "<LOGSHEET TYPE=%s>\r\n"};

std::string Score3(int contacts, int points, int multipliers) {
  char text[64];
  std::snprintf(text, sizeof text, "%d,%d,%d", contacts, points, multipliers);
  return text;
}

// A value left-aligned in its column of `width` bytes. The JARL reads a log line as fields
// between blanks: a value that fills or passes its column gets one blank behind it instead.
void AppendField(std::string& line, std::string_view value, size_t width) {
  line += value;
  line.append(value.size() < width ? width - value.size() : 1, ' ');
}

void AppendLogLines(std::string& out, const ContestRun& run, bool r10) {
  char head[64];
  if (r10) out += "mon day time callsign   sent         rcvd         multi  band   mode pts memo\r\n";
  for (const ContestEntry& entry : run.entries) {
    const DateTime t = EntryTime(run, entry);
    const std::string band = BandName(entry.band, 's');
    const std::string_view mode = ModeName(entry.mode);
    if (r10) {
      std::snprintf(head, sizeof head, "%3d%4d %02d%02d ", t.month, t.day, t.hour, t.minute);
      out += head;
      AppendField(out, entry.callsign, 11);
      AppendField(out, entry.sent, 13);
      AppendField(out, entry.received, 13);
      AppendField(out, entry.multiplier, 7);
      AppendField(out, band, 7);  // "%-6s " and "%-4s ": their blank is always there
      AppendField(out, mode, 5);
    } else {
      const int n = ReportLength(entry.mode);
      std::snprintf(head, sizeof head, "%4d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
      out += head;
      out.append(band.size() < 6 ? 6 - band.size() : 1, ' ');  // right-aligned in 6, a blank before
      out += band;
      out += ' ';
      AppendField(out, mode, 5);
      AppendField(out, entry.callsign, 12);
      AppendField(out, ReshapedExchange(entry.sent, n), 12);
      AppendField(out, ReshapedExchange(entry.received, n), 12);
      AppendField(out, entry.multiplier.empty() ? std::string_view("-") : std::string_view(entry.multiplier),
                  9);
    }
    out += std::to_string(entry.point);
    out += "\r\n";
  }
}

}  // namespace

std::string ReshapedExchange(std::string_view exchange, int reportLength) {
  const size_t n = static_cast<size_t>(reportLength);
  if (exchange.size() < n) return std::string(exchange);
  std::string text(exchange.substr(0, n));
  text += ' ';
  for (char c : exchange.substr(n)) {
    if (c != ' ') text += c;
  }
  return text;
}

std::string JarlLog(const ContestRun& run, const ContestSettings& settings, const DateTime& today) {
  const bool r10 = run.format == kJarlR10;
  Values values;
  for (int e = 0; e < kElementCount; ++e) values.text[e] = kElements[e].value;
  values.text[0] = r10 ? "R1.0" : "R2.1";
  values.text[1] = run.name;
  if (!settings.callsign.empty()) values.text[kCallsignElement] = settings.callsign;
  ApplySummaryLines(settings.jarlSummary, values);
  const bool callsignSet = values.overridden[kCallsignElement] || !settings.callsign.empty();
  if (!values.overridden[kOpCallsignElement] && callsignSet) {
    const std::string op = OperatorOf(values.text[kCallsignElement]);
    if (!op.empty()) values.text[kOpCallsignElement] = op;
  }
  if (!values.overridden[kSignatureElement] && values.overridden[kNameElement]) {
    values.text[kSignatureElement] = values.text[kNameElement];
  }
  const BandScore& total = run.bands[kBandTotal];
  const long long score =
      run.kind == 'P' ? total.points : static_cast<long long>(total.points) * run.TotalMultipliers();
  values.text[7] = Score3(total.contacts, total.points, run.TotalMultipliers());
  values.text[9] = std::to_string(score);
  values.text[27] = std::to_string(today.year) + "年" + std::to_string(today.month) + "月" +
                    std::to_string(today.day) + "日";
  values.text[30] = "Vondal";

  std::string out;
  for (int e = 0; e < kElementCount; ++e) {
    if (!InVersion(e, r10)) continue;
    if (e == 6) {
      for (int band = 0; band < kBandCount; ++band) {
        const BandScore& s = run.bands[band];
        if (s.contacts == 0) continue;
        out += "<SCORE BAND=" + BandName(band, 'S') + "Hz>" + Score3(s.contacts, s.points, s.multipliers) +
               "</SCORE>\r\n";
      }
      continue;
    }
    out += Line(kFormats[e], values.text[e]);
  }
  AppendLogLines(out, run, r10);
  out += "</LOGSHEET>\r\n";
  return out;
}

}  // namespace vondal
