#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into fuzz/corpus/<target>/: small valid inputs
(and a few damaged ones) from which the fuzzers start. Run it again after a format changes."""
import os
import struct
import zlib
from datetime import datetime

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SEP = b"\x1e"


def record(date="240305", start="0907", call="JA1ABC", qth="東京都千代田区", name="ｽｽﾞｷ", remarks=""):
    texts = [date, start, "0910", call, "7.050", "CW", "599", "579", qth, name, "", "", remarks, "", "", "", ""]
    body = b"".join(t.encode("cp932") + SEP for t in texts)
    body = body[:198].ljust(198, b" ")
    return body + b"\r\n"


def intent(kind, rec, before, after, image=b""):
    body = b"Vondal INTENT 1\x1a" + struct.pack("<IIqq", kind, rec, before, after) + image.ljust(200, b"\0")
    return body + struct.pack("<I", zlib.crc32(body) & 0xFFFFFFFF)


def intent2(kind, rec, before, after, log, image=b"", old=b""):
    """An intent of the current layout, with the identity of `log` as it was before the change."""
    def crc(n):
        return zlib.crc32(log[n * 200:(n + 1) * 200]) & 0xFFFFFFFF if n >= 0 else 0
    changed = rec if kind == 1 else before // 200
    first = crc(0) if changed > 0 else 0
    previous = crc(changed - 1) if changed > 0 else 0
    following = crc(changed + 1) if kind == 1 and (changed + 2) * 200 <= before else 0
    body = (b"Vondal INTENT 2\x1a" + struct.pack("<IIqq", kind, rec, before, after) + image.ljust(200, b"\0") +
            old.ljust(200, b"\0") + struct.pack("<III", first, previous, following))
    return body + struct.pack("<I", zlib.crc32(body) & 0xFFFFFFFF)


def key(date, start):
    yy = int(date[:2])
    year = 2000 + yy if yy < 50 else 1900 + yy
    moment = datetime(year, int(date[2:4]), int(date[4:6]), int(start[:2]), int(start[2:]))
    return int((moment - datetime(1950, 1, 1)).total_seconds() // 60)


def color_set(title, name, author=b"JA1ABC", high=False):
    attrs = [title] + [0x07] * 65
    words = b"".join(struct.pack("<H", a << 8 if high else a) for a in attrs)
    return words + name.ljust(52, b"\0") + author.ljust(12, b"\0") + bytes([24, 3, 5, 0])


def color_file(magic, standard, sets):
    return magic.ljust(199, b"\0") + bytes([standard]) + b"".join(sets)


# The standard label macro of a new macro store (macro 19), as bytes.
STANDARD_LABELS = (
    b"\x0c\x15\x1c<PageUp>\x1c\x0d\x1bS\x13\x1f\x0c\x0e\x1c<PageDown>\x1c\x0d\x1b \x13\x1f"
    + b"\x0c\x01\x1c<Ctrl>" + "↑".encode("cp932") + b"\x1c\x0d\x1bFH\x13\x1f")


def macro_file(records):
    """A macro file of (text, comment) records, each 320 bytes: the text in 256, the comment in 64."""
    data = b""
    for text, comment in records:
        text = text if isinstance(text, bytes) else text.encode("cp932")
        data += text.ljust(256, b"\0") + comment.encode("cp932").ljust(64, b"\0")
    return data


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    log = b"".join(record(call="JA1A" + chr(65 + i)) for i in range(21))
    torn = intent(1, 20, 4000, 4200, record(call="JA1NEW"))
    write("log_file_fuzz", "plain", b"\0" + log)
    write("log_file_fuzz", "torn_append", bytes([122]) + torn + log[:4000] + record(call="JA1NEW")[:96])
    write("log_file_fuzz", "undo_join", bytes([122]) + intent(2, 0, 600, 600) + log[:1000])
    write("log_file_fuzz", "bad_size", b"\0" + log[:399])
    new = record(call="JA1NEW")
    write("log_file_fuzz", "torn_append_identified",
          bytes([228]) + intent2(1, 20, 4000, 4200, log[:4000], new) + log[:4000] + new[:96])
    write("log_file_fuzz", "torn_overwrite_identified",
          bytes([228]) + intent2(1, 10, 4200, 4200, log, new, log[2000:2200]) + log[:2000] + new[:96] + log[2096:])
    write("log_file_fuzz", "undo_join_identified",
          bytes([228]) + intent2(2, 0, 600, 1400, log[:600], new) + log[:600] + new + new[:50])
    write("log_file_fuzz", "another_log", bytes([228]) + intent2(1, 20, 4000, 4200, log[:4000], new) +
          b"".join(record(call="JR6Z" + chr(65 + i)) for i in range(21)))

    journal = log[:2000]
    write("safety_file_fuzz", "whole", journal)
    write("safety_file_fuzz", "torn_tail", journal + log[2000:2096])
    write("safety_file_fuzz", "empty", b"")

    write("external_file_fuzz", "plain", b"\0" + "一行目\r\n二行目\nJA1ABC\r\n".encode("cp932"))
    write("external_file_fuzz", "hex", b"\1" + b"e69db1e4baac\r\n4a4131414243\n7a\n")
    write("external_file_fuzz", "long_line", b"\0" + "交信".encode("cp932") * 200 + b"\r\n")

    # The index fuzz target's own log: five records of 240305 0907 with CALLSIGNs of 0, 5 … 20 "J".
    words = b"".join(struct.pack("<I", key("240305", "0907") | (n * 5) << 26) + b"J" * (n * 5) for n in range(5))
    write("index_file_fuzz", "valid", b"Vondal INDEX w01.010\x1a\0" + words)
    write("index_file_fuzz", "short", b"Vondal INDEX w01.010\x1a\0" + words[:30])

    with open(os.path.join(ROOT, "data", "CGlist3.TXT"), "rb") as f:
        cglist = f.read()
    write("citylist_fuzz", "head", b"\r\n".join(cglist.split(b"\r\n")[:80]))
    with open(os.path.join(ROOT, "data", "Vondal.ini.example"), "rb") as f:
        write("config_fuzz", "example", f.read())
    write("config_fuzz", "include", b"#define LOG x\r\n[DEFAULT]\r\nlog=LOG\r\n#include fuzz.ini\r\n")

    named = [color_set(0xF1, "白馬岳".encode("cp932")), color_set(0x1E, b"Copy1~night"), color_set(0x8F, b"x" * 52)]
    write("color_file_fuzz", "three_sets", b"#1\0" + color_file(b"Vonpaint 32bit\x1a", 2, named))
    write("color_file_fuzz", "by_name", b'"night"\0' + color_file(b"Vonpaint 32bit\x1a", 0, named))
    write("color_file_fuzz", "sixteen_bit", color_file(b"Vonpaint4DOS/V\x1a", 0, [color_set(0xF1, b"old", high=True)]))
    write("color_file_fuzz", "torn", b"\0" + color_file(b"Vonpaint 32bit\x1a", 9, named)[:530])

    write("key_decoder_fuzz", "keys", b"\x1b[A\x1b[1;5B\x1bOP\x1b[15~\x1b[27;5;13~\x1b[13;2u\x1b!" + "あ".encode()
          + b"\x1b[2~\x1b[1;2H\x1bO")
    write("matchers_fuzz", "callsign", b"JA1*\0JA1ABC")
    write("matchers_fuzz", "classes", "[東京]*#@?\0東京都千代田区".encode("cp932"))
    write("scroll_text_fuzz", "report", b"\x09" + "集計表\r\n<c>JA1ABC</c> 599\r\n\x1b[31m赤\r\n".encode("cp932") * 20)
    write("string_editor_fuzz", "keys", b"\x01\x05" + b"abc\x02\x06wJA\x0d" + "東京".encode("cp932") + b"\x1a\x0d")
    write("macro_file_fuzz", "new_store", b"\0" + macro_file([("", "新規マクロファイル")] + [("", "")] * 18 + [(STANDARD_LABELS, "//ラベルキー w01.022")]))
    write("macro_file_fuzz", "calls", b"\1" + macro_file([("", "calls")] + [
        (b"\x0ca\x03+\x03+\x032+\x13\x1f\x0cb\x0d\x07a\x1c\x0cc\x1c", "labels"),
        (b"\x0d\x07b\x0d\x1b" + "05".encode() + b"\x12ab\x0d\x0dcd\x0d\x0d", "replace and menu"),
        (b"\x02y\x01\x04\x033b\x10\x1e" + b"A" + "東京".encode("cp932"), "range, pause, control code"),
    ] + [("", "")] * 6))
    write("macro_file_fuzz", "bad_size", b"\0" * 3521)
    write("macro_file_fuzz", "padded", b"\1" + b"\x0cx\x0d\x07x\x1c\x0d\x1b99\x1c\x1e" + b"\xff" * 300)
    write("condition_fuzz", "mask", 'CALL = "QZ*" & !tag | (FREQ >= 7 & FREQ < 7.3) ^ QTH >=# "東京"'.encode("cp932"))
    write("condition_fuzz", "errors", b'(ja | dx & S = "x"')
    marker = record(call="------", remarks="＜結合読み込み開始＞").replace(b"0910", b"----", 1)
    write("standard_adif_fuzz", "log", b"\0" + log[:1000])
    write("standard_adif_fuzz", "modes_and_marks", b"\1" + record(date="000101", start="0030", call="ＪＡ１", qth="DX",
                                                                 remarks="QSL済") + record(date="240230", start="2460"))
    write("join_read_fuzz", "log", b"\0" + log[:1000])
    write("join_read_fuzz", "safety_markers", b"\1" + marker + log[:600] + marker)
    write("join_read_fuzz", "packed_ditto", b"\2" + log[:198].rstrip(b" ") + b"\r\n" + b"\x1f" * 3 + b"JA2XYZ" + SEP + b"\x1f" * 13 + b"\n")
    write("join_read_fuzz", "csv_heading", b"\4" + "DATE,START,END,CALLSIGN,FREQ,MODE\r\n240305,0907,0910,JA1ABC,7.050,CW,599,599,東京\n".encode("cp932"))
    write("join_read_fuzz", "csv_tab", b"\4" + b"240305\t0907\t0910\tJA1ABC\t7.050\tCW\n" * 3)
    write("rig_fuzz", "frequency", b"\0get_freq:\nFrequency: 7025000\nRPRT 0\n")
    write("rig_fuzz", "mode", b"\1get_mode:\r\nMode: PKTUSB\r\nPassband: 3000\r\nRPRT 0\r\n")
    write("rig_fuzz", "error", b"\0get_freq:\nRPRT -11\n")
    write("rig_fuzz", "address", b"\2[::1]:4532, FT4")
    wsjtx = (b"WSJT-X ADIF Export<eoh>\n<call:5>K1ABC <gridsquare:4>FN42 <mode:4>MFSK <submode:3>FT4 <rst_sent:3>-10 "
             b"<qso_date:8>20231231 <time_on:6>231530 <time_off:6>231645 <band:3>20m <freq:9>14.075123 <tx_pwr:2>50 <eor>\n")
    own = ("ADIF Export from Vondal w01.022 (JST)\r\n<PROGRAMID:6>Vondal\r\n<EOH>\r\n<QSO_DATE:8>20240305 <TIME_ON:4>0907 "
           "<TIME_OFF:4>0910 <CALL:6>JA1ABC <FREQ:5>7.050 <MODE:2>CW <RST_SENT:3>599 <QTH:14>東京都千代田区 "
           "<CONTEST_ID:6>ALLJA1 <STX_STRING:3>13M <APP_Vondal_REMARKS.QSL[]:4>JARL <BAND:3>40m <EOR>\r\n").encode("cp932")
    name = "鈴木".encode()
    utf8 = (b"<CALL:6>JA1ABC<QSO_DATE:8>20240101<TIME_ON:4>0300<BAND:4>70CM<MODE:2>FM<NAME:4>Taro<NAME_INTL:%d>%s"
            b"<COMMENT:150>%s<EOR>" % (len(name), name, b"c" * 150))
    write("adif_reader_fuzz", "wsjtx", b"\0" + wsjtx)
    write("adif_reader_fuzz", "own_export", b"\1" + own)
    write("adif_reader_fuzz", "utf8_intl", b"\0" + utf8)
    write("join_read_fuzz", "adif", b"\5" + wsjtx + own[own.index(b"<EOH>") + 5:])
    # WSJT-X's network messages: big-endian QDataStream, utf8 as a length and the bytes, QDateTime as
    # the Julian day, milliseconds since midnight and the time spec (1: UTC).
    def text(b):
        return struct.pack(">I", len(b)) + b

    def header(kind, ident=b"WSJT-X"):
        return struct.pack(">III", 0xADBCCBDA, 3, kind) + text(ident)

    on = struct.pack(">qIB", 2460375, (9 * 60 + 7) * 60000, 1)
    qso = (on + text(b"JA1ABC") + text(b"PM95") + struct.pack(">Q", 7075123) + text(b"FT8") + text(b"-10") +
           text(b"-12") + text(b"50") + text(b"") + struct.pack(">I", 0xFFFFFFFF) + on + text(b"JA1ZZZ") * 2 +
           text(b"PM95") + text(b"") * 3)
    write("wsjtx_fuzz", "logged_adif", b"\0" + header(12) + text(wsjtx))
    write("wsjtx_fuzz", "qso_logged", b"\0" + header(5, b"JTDX") + qso)
    write("wsjtx_fuzz", "heartbeat", b"\0" + header(0) + struct.pack(">I", 3) + text(b"2.7.0") + text(b"abc"))
    write("wsjtx_fuzz", "adif_text", b"\1" + wsjtx + wsjtx)
    write("wsjtx_fuzz", "qso_fields", b"\2" + qso[:60])
    write("vonrix_fuzz", "modes", b"C\n" + log)
    write("vonrix_fuzz", "filter", b"B CALLSIGN=JA1*\n" + log)


if __name__ == "__main__":
    main()
