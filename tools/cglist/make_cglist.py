#!/usr/bin/env python3
"""Builds CGlist3.TXT, the city, gun and ward list of the programs, from the JARL number lists.

Usage: make_cglist.py JARL_FOLDER [OUTPUT]

JARL_FOLDER holds the league's three lists as it publishes them (jcc-list.txt, jcg-list.txt,
ku-list.txt; Shift-JIS). OUTPUT defaults to data/CGlist3.TXT of this repository. The file
written is described in doc/cglist_format.md. The converter refuses to write anything when the
lists do not add up to their own headline counts, so a changed list layout cannot slip through
as a silently shorter file.
"""

import os
import re
import sys

# JARL prefecture numbers with the names users write (with their suffix), the romaji for the
# unused column and the call-area digit (0 stands for area 10).
PREFECTURES = [
    ("北海道", "Hokkaido", 8), ("青森県", "Aomori", 7), ("岩手県", "Iwate", 7),
    ("秋田県", "Akita", 7), ("山形県", "Yamagata", 7), ("宮城県", "Miyagi", 7),
    ("福島県", "Fukushima", 7), ("新潟県", "Niigata", 0), ("長野県", "Nagano", 0),
    ("東京都", "Tokyo", 1), ("神奈川県", "Kanagawa", 1), ("千葉県", "Chiba", 1),
    ("埼玉県", "Saitama", 1), ("茨城県", "Ibaraki", 1), ("栃木県", "Tochigi", 1),
    ("群馬県", "Gunma", 1), ("山梨県", "Yamanashi", 1), ("静岡県", "Shizuoka", 2),
    ("岐阜県", "Gifu", 2), ("愛知県", "Aichi", 2), ("三重県", "Mie", 2),
    ("京都府", "Kyoto", 3), ("滋賀県", "Shiga", 3), ("奈良県", "Nara", 3),
    ("大阪府", "Osaka", 3), ("和歌山県", "Wakayama", 3), ("兵庫県", "Hyogo", 3),
    ("富山県", "Toyama", 9), ("福井県", "Fukui", 9), ("石川県", "Ishikawa", 9),
    ("岡山県", "Okayama", 4), ("島根県", "Shimane", 4), ("山口県", "Yamaguchi", 4),
    ("鳥取県", "Tottori", 4), ("広島県", "Hiroshima", 4), ("香川県", "Kagawa", 5),
    ("徳島県", "Tokushima", 5), ("愛媛県", "Ehime", 5), ("高知県", "Kochi", 5),
    ("福岡県", "Fukuoka", 6), ("佐賀県", "Saga", 6), ("長崎県", "Nagasaki", 6),
    ("熊本県", "Kumamoto", 6), ("大分県", "Oita", 6), ("宮崎県", "Miyazaki", 6),
    ("鹿児島県", "Kagoshima", 6), ("沖縄県", "Okinawa", 6),
]

# Changes published after the lists (dates YYMMDD, "" for open): Hamamatsu reorganised its wards
# on 2024-01-01. LATER_CHANGES gives (start, end) of listed wards, LATER_ENTRIES the new ones as
# (number, name, romaji, start, end).
LATER_CHANGES = {
    "180201": ("", "231231"), "180202": ("", "231231"), "180203": ("", "231231"),
    "180204": ("", "231231"), "180205": ("", "231231"), "180206": ("", "231231"),
}
LATER_ENTRIES = [
    ("180208", "中央", "Chuo", "240101", ""),
    ("180209", "浜名", "Hamana", "240101", ""),
]
LATER_NOTE = "2024-01-01 浜松市の区再編"

MONTHS = {m: i + 1 for i, m in enumerate(
    ["jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"])}
ERAS = {"昭和": 1925, "平成": 1988, "令和": 2018}

# Vonfill reads at most 63 bytes of a line (its last byte, the LF, dropped): a longer line would
# lose its end date there, so every line, CR LF included, stays within this.
MAX_LINE_BYTES = 63


class ListError(Exception):
    pass


class Entry:
    def __init__(self, number, name, romaji, start="", end=""):
        self.number, self.name, self.romaji = number, name, romaji
        self.start, self.end = start, end

    @property
    def kind(self):  # 2 city, 3 gun, 4 ward: the order within a prefecture
        return {4: 2, 5: 3, 6: 4}[len(self.number)]


def read_list(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        raw = f.read()
    return raw, raw.decode("cp932").splitlines()


def english_date(text, where):
    """'Nov. 30,1973', 'Sept.30,2007', 'Jan.31.1967', 'Jan,9,2006' -> '731130'."""
    m = re.fullmatch(r"([A-Za-z]{3})[a-z]*[.,]\s*(\d{1,2})[.,](\d{4})", text.strip())
    if not m or m.group(1).lower() not in MONTHS:
        raise ListError(f"{where}: date not understood: {text!r}")
    return yymmdd(int(m.group(3)), MONTHS[m.group(1).lower()], int(m.group(2)))


def era_date(text, where):
    """'平成元年2月12日以前' -> '890212' (the last valid day)."""
    m = re.fullmatch(r"(昭和|平成|令和)(元|\d+)年(\d+)月(\d+)日以前", text.strip())
    if not m:
        raise ListError(f"{where}: date not understood: {text!r}")
    year = ERAS[m.group(1)] + (1 if m.group(2) == "元" else int(m.group(2)))
    return yymmdd(year, int(m.group(3)), int(m.group(4)))


def yymmdd(year, month, day):
    if not (1950 <= year <= 2049 and 1 <= month <= 12 and 1 <= day <= 31):
        raise ListError(f"date out of range: {year}-{month}-{day}")
    return f"{year % 100:02d}{month:02d}{day:02d}"


def as_of(line, where):
    m = re.search(r"(\d{4})[.年](\d{1,2})[.月](\d{1,2})日?現在", line)
    if not m:
        raise ListError(f"{where}: no 'as of' date in its header")
    return f"{int(m.group(1)):04d}-{int(m.group(2)):02d}-{int(m.group(3)):02d}"


def headline(line, pattern, where):
    m = re.search(pattern, line)
    if not m:
        raise ListError(f"{where}: no headline counts in its header")
    return [int(g) for g in m.groups()]


def clean_name(name):
    # Full-width blanks pad some names; a name never holds a blank of any kind.
    return re.sub(r"\s", "", name)


def read_numbered(lines, file_name, number_re):
    """City and gun lists: '[*] number  romaji  kanji  ["date"]'. Lines without a number (the
    towns of a gun, headings) are not entries."""
    entries = []
    entry_re = re.compile(r"(\*)?\s*(%s)\s+(.*)" % number_re)
    for n, line in enumerate(lines, 1):
        where = f"{file_name}:{n}"
        m = entry_re.fullmatch(line.strip())
        if not m:
            continue
        deleted, number, rest = m.group(1) is not None, m.group(2), m.group(3)
        if "欠番" in rest:  # a reserved number names no place
            continue
        end = ""
        date = re.search(r'"([^"]*)"?\s*$', rest)  # five dates lack their closing quote
        if date:
            end = english_date(date.group(1), where)
            rest = rest[:date.start()]
        if deleted != bool(end):
            raise ListError(f"{where}: a deleted entry needs its date, a current one none")
        words = rest.split()
        if len(words) < 2:
            raise ListError(f"{where}: romaji and name expected")
        entries.append(Entry(number, clean_name(words[-1]), "-".join(words[:-1]), "", end))
    return entries


def read_wards(lines, file_name):
    """Ward list: 'number[※] romaji kanji [era date]', headings 'name市(0101)'."""
    entries = []
    for n, line in enumerate(lines, 1):
        where = f"{file_name}:{n}"
        m = re.fullmatch(r"(\d{6})\s*(※)?\s*(\S+)\s+(\S+)\s*(\S*)", line.strip())
        if not m:
            continue
        end = era_date(m.group(5), where) if m.group(5) else ""
        if bool(m.group(2)) != bool(end):
            raise ListError(f"{where}: a deleted ward needs its date, a current one none")
        entries.append(Entry(m.group(1), clean_name(m.group(4)), m.group(3), "", end))
    return entries


def gun_name(entry):
    # The Tokyo islands are subprefectures (支庁), numbered as guns: named so that they read
    # "小笠原郡" and so on, as the programs write and look them up. A district in brackets after
    # a Hokkaido gun's name stays in the romaji column only: users write "虻田郡".
    name = re.sub(r"[(（].*[)）]$", "", entry.name)
    if entry.number.startswith("10") and name.endswith("支庁"):
        name = name[:-2]
    return name


def build(folder):
    jcc_raw, jcc = read_list(folder, "jcc-list.txt")
    jcg_raw, jcg = read_list(folder, "jcg-list.txt")
    ku_raw, ku = read_list(folder, "ku-list.txt")
    dates = {"jcc": as_of(jcc[0], "jcc-list.txt"), "jcg": as_of(jcg[0], "jcg-list.txt"),
             "ku": as_of(ku[1], "ku-list.txt")}

    cities_and_tokyo = read_numbered(jcc, "jcc-list.txt", r"[0-9]{4}|[0-9]{6}")
    guns = read_numbered(jcg, "jcg-list.txt", r"[0-9]{5}")
    wards = read_wards(ku, "ku-list.txt")

    # The lists' own headline counts, with the known exceptions: the city list counts Tokyo's
    # 23 wards as current cities, the gun list has one reserved number beside its entries.
    current, gone = headline(jcc[0], r"現存(\d+)市.*消滅(\d+)市", "jcc-list.txt")
    check_counts("cities incl. Tokyo's wards", cities_and_tokyo, current, gone)
    current, gone = headline(jcg[0], r"現存(\d+)郡.*消滅(\d+)郡", "jcg-list.txt")
    check_counts("guns", guns, current, gone)
    current, gone = headline(ku[0], r"(\d+)区.*消滅(\d+)区", "ku-list.txt")  # "消滅７区": \d is any digit
    check_counts("wards", wards, current, gone)

    for g in guns:
        g.name = gun_name(g)
    for e in wards:
        if e.number in LATER_CHANGES:
            e.start, e.end = LATER_CHANGES[e.number]
    wards += [Entry(*later) for later in LATER_ENTRIES]

    entries = cities_and_tokyo + guns + wards
    numbers = [e.number for e in entries]
    if len(set(numbers)) != len(numbers):
        raise ListError("a number occurs twice")
    city_numbers = {e.number for e in entries if len(e.number) == 4}
    for e in entries:
        if len(e.number) == 6 and e.number[:4] not in city_numbers:
            raise ListError(f"ward {e.number} of a city not in the list")
        for raw in (jcc_raw, jcg_raw, ku_raw):
            if e.name.encode("cp932") in raw:
                break
        else:
            if e.number not in [later[0] for later in LATER_ENTRIES]:
                raise ListError(f"{e.number}: name {e.name} does not round-trip to its bytes")
    return dates, entries


def check_counts(what, entries, current, gone):
    have_current = sum(1 for e in entries if not e.end)
    have_gone = len(entries) - have_current
    if (have_current, have_gone) != (current, gone):
        raise ListError(f"{what}: {have_current} current / {have_gone} deleted read, "
                        f"the list says {current} / {gone}")


def render(dates, entries):
    lines = [
        "// CGlist3.TXT  JARL 市・郡・区番号リスト",
        "// 作成元:",
        f"//   JARL JCCリスト {dates['jcc']}現在",
        f"//   JARL JCGリスト {dates['jcg']}現在",
        f"//   JARL 区番号リスト {dates['ku']}現在",
        f"//   以後の変更 {LATER_NOTE}",
        "// 作成: tools/cglist/make_cglist.py",
        "// 書式: doc/cglist_format.md",
        "// 都道府県: 番号 名称 ローマ字 エリア(0=10)",
        "// 市郡区: 番号 名称 ローマ字 [開始-終了]",
        "// 名称は市・郡・区を除く 日付はYYMMDD",
    ]
    by_prefecture = {}
    for e in entries:
        by_prefecture.setdefault(int(e.number[:2]), []).append(e)
    for pp, (name, romaji, area) in enumerate(PREFECTURES, 1):
        lines.append("")
        lines.append(f"{pp:02d}\t{name}\t{romaji}\t{area}")
        for e in sorted(by_prefecture.get(pp, []), key=lambda e: (e.kind, e.number)):
            line = f"{e.number}\t{e.name}\t{e.romaji}"
            if e.start or e.end:
                line += f"\t{e.start}-{e.end}"
            lines.append(line)
    data = "".join(line + "\r\n" for line in lines).encode("cp932")
    for line in data.split(b"\n"):
        if len(line) + 1 > MAX_LINE_BYTES:
            raise ListError(f"line too long for every reader: {line!r}")
    return data


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    here = os.path.dirname(os.path.abspath(__file__))
    output = argv[2] if len(argv) == 3 else os.path.join(here, "..", "..", "data", "CGlist3.TXT")
    try:
        data = render(*build(argv[1]))
    except (OSError, UnicodeError, ListError) as error:
        sys.stderr.write(f"make_cglist: {error}\n")
        return 1
    temporary = output + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, output)
    print(output + ": " + str(data.count(b"\n")) + " lines")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
