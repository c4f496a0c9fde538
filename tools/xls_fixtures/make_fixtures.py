#!/usr/bin/python3
# One-time generator of the reader's fixture workbooks, written with an independent writer
# (Debian's python3-xlwt). xlwt writes no MULRK of chosen values, no cached text result of a
# formula and no LABEL record, so those records are packed here and patched into its stream; the compound
# files with 4096-byte sectors and with a mini stream are packed here as well.
#   /usr/bin/python3 tools/xls_fixtures/make_fixtures.py tests/platform/xls/fixtures
import datetime
import os
import struct
import sys

import xlwt
from xlwt import CompoundDoc

LONG_CJK = "".join("%05d提醒" % i for i in range(3000))  # 21,000 characters
LONG_ASCII = "x" * 9000
FORMULA_TEXT = "a" * 100 + "中文结果"


def records(stream):
    out, pos = [], 0
    while pos < len(stream):
        rtype, size = struct.unpack_from("<HH", stream, pos)
        out.append([rtype, stream[pos + 4:pos + 4 + size]])
        pos += 4 + size
    return out


def join(recs):
    return b"".join(struct.pack("<HH", t, len(b)) + b for t, b in recs)


def split_substreams(stream):
    """Globals records, then the records of each sheet (in BOUNDSHEET order)."""
    recs = records(stream)
    subs, cur = [], []
    for r in recs:
        cur.append(r)
        if r[0] == 0x000A:  # EOF
            subs.append(cur)
            cur = []
    return subs[0], subs[1:]


def rebuild(globals_recs, sheets):
    glob = join(globals_recs)
    offset = len(glob)
    bounds = [r for r in globals_recs if r[0] == 0x0085]
    for r, sheet in zip(bounds, sheets):
        r[1] = struct.pack("<I", offset) + r[1][4:]
        offset += len(join(sheet))
    return join(globals_recs) + b"".join(join(s) for s in sheets)


CELL_TYPES = {0x00FD, 0x0204, 0x0203, 0x027E, 0x0205, 0x0006, 0x0201, 0x00BD, 0x00BE}


def find_cell(sheet, row, col):
    for i, (t, b) in enumerate(sheet):
        if t in CELL_TYPES and struct.unpack_from("<HH", b) == (row, col):
            return i
    raise KeyError((row, col))


def xf_of(sheet, row, col):
    return struct.unpack_from("<H", sheet[find_cell(sheet, row, col)][1], 4)[0]


def replace_cell(sheet, row, col, new):
    i = find_cell(sheet, row, col)
    sheet[i:i + 1] = new


def utf16(s):
    return s.encode("utf-16-le")


def label(row, col, xf, text):
    return [0x0204, struct.pack("<HHHHB", row, col, xf, len(utf16(text)) // 2, 1) + utf16(text)]


def formula(row, col, xf, result):
    # FORMULA with a cached result and the token list of the constant 1 (tInt).
    return [0x0006, struct.pack("<HHH", row, col, xf) + result +
            struct.pack("<HIH", 0, 0, 3) + b"\x1e\x01\x00"]


def rk_int(v):
    return (v << 2) | 2


def make_main(path_stream):
    wb = xlwt.Workbook(encoding="utf-8")
    when = xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm:ss")
    day = xlwt.easyxf(num_format_str="M/D/YY")

    ws = wb.add_sheet("txsj")
    for c, name in enumerate(["txbt", "ksdate", "cfsj", "bz", "jssj"]):
        ws.write(0, c, name)
    ws.write(1, 0, "周会 weekly")
    ws.write(1, 1, datetime.datetime(2024, 3, 15, 14, 30, 45), when)
    ws.write(1, 2, 3)
    ws.write(1, 3, "第一行备注")
    ws.write(1, 4, datetime.date(2024, 3, 16), day)
    ws.write(2, 0, LONG_CJK)
    ws.write(2, 1, datetime.datetime(1999, 12, 31, 23, 59, 59), when)
    ws.write(2, 2, 2.5)
    ws.write(2, 3, LONG_ASCII)
    ws.write(3, 0, "O'Brien \"quoted\"")
    ws.write(3, 1, datetime.datetime(2024, 2, 29, 0, 0, 1), when)
    ws.write(3, 2, -17.25)
    ws.write(3, 3, "𠮷野家")
    ws.write(5, 2, 1e10)

    ds = wb.add_sheet("数据表")
    for c, name in enumerate(["名称", "数值1", "数值2", "数值3", "日期"]):
        ds.write(0, c, name)
    ds.write(1, 0, "mulrk")
    # Placeholders (texts, so that xlwt packs no MULRK of its own) replaced below.
    for c in range(1, 4):
        ds.write(1, c, "p")
    ds.write(1, 4, "p", day)
    ds.write(2, 0, "formula")
    for c in range(1, 5):
        ds.write(2, c, "p")
    ds.write(3, 0, "label")
    ds.write(3, 1, "p")
    ds.write(3, 2, "p")
    ds.write(3, 3, True)
    ds.write_rich_text(3, 4, [("富", xlwt.Font()), ("文本", xlwt.easyfont("bold on"))])

    glob, sheets = split_substreams(wb.get_biff_data())
    data = sheets[1]

    # Row 2: one MULRK for columns 1-4 (7, -3, 1.25 as RK*100, date serial 45000).
    xfs = [xf_of(data, 1, c) for c in range(1, 5)]
    values = [rk_int(7), rk_int(-3) & 0xFFFFFFFF, (125 << 2) | 3, rk_int(45000)]
    body = struct.pack("<HH", 1, 1)
    for xf, v in zip(xfs, values):
        body += struct.pack("<HI", xf, v)
    body += struct.pack("<H", 4)
    replace_cell(data, 1, 1, [[0x00BD, body]])
    for c in range(2, 5):
        replace_cell(data, 1, c, [])

    # Row 3: formulas with a text result (the STRING record runs on into a CONTINUE that
    # switches to two-byte characters), an empty text, TRUE and 42.5.
    xf = xf_of(data, 2, 1)
    ascii_part, cjk_part = FORMULA_TEXT[:100], FORMULA_TEXT[100:]
    string = [0x0207, struct.pack("<HB", len(FORMULA_TEXT), 0) + ascii_part.encode("ascii")]
    more = [0x003C, b"\x01" + utf16(cjk_part)]
    text_result = b"\x00" * 6 + b"\xff\xff"
    replace_cell(data, 2, 1, [formula(2, 1, xf, text_result), string, more])
    replace_cell(data, 2, 2, [formula(2, 2, xf, b"\x03" + b"\x00" * 5 + b"\xff\xff")])
    replace_cell(data, 2, 3, [formula(2, 3, xf, b"\x01\x00\x01" + b"\x00" * 3 + b"\xff\xff")])
    replace_cell(data, 2, 4, [formula(2, 4, xf, struct.pack("<d", 42.5))])

    # Row 4: LABEL records, one with Chinese text and one empty.
    replace_cell(data, 3, 1, [label(3, 1, xf, "标签文本")])
    replace_cell(data, 3, 2, [label(3, 2, xf, "")])
    return rebuild(glob, sheets)


def make_1904():
    wb = xlwt.Workbook(encoding="utf-8")
    wb.dates_1904 = True
    ws = wb.add_sheet("jsbsj")
    ws.write(0, 0, "bt")
    ws.write(0, 1, "jsdate")
    ws.write(1, 0, "1904")
    ws.write(1, 1, datetime.datetime(2024, 1, 2, 3, 4, 5),
             xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm:ss"))
    return wb.get_biff_data()


ENDC, FREE, FATSECT = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD


def entry(name, etype, child, start, size):
    n = utf16(name) + b"\0\0" if name else b""
    return (n.ljust(64, b"\0") + struct.pack("<HBB", len(n), etype, 1) +
            struct.pack("<III", FREE, FREE, child) + b"\0" * 36 + struct.pack("<IQ", start, size))


def pack_cfb(stream, shift=9, mini=False):
    """A compound file with one "Workbook" stream; `mini` puts it into the mini stream."""
    ss = 1 << shift
    sectors, fat = [], []

    def alloc(data):
        start, n = len(sectors), (len(data) + ss - 1) // ss
        for i in range(n):
            sectors.append(data[i * ss:(i + 1) * ss].ljust(ss, b"\0"))
            fat.append(start + i + 1 if i + 1 < n else ENDC)
        return start

    if mini:
        assert len(stream) < 4096, len(stream)
        n = (len(stream) + 63) // 64
        ministream = stream.ljust(n * 64, b"\0")
        minifat = struct.pack("<%dI" % n, *[i + 1 if i + 1 < n else ENDC for i in range(n)])
        root_start, root_size = alloc(ministream), len(ministream)
        mf_start, mf_count = alloc(minifat.ljust(ss, b"\xff")), 1
        wb_start = 0
    else:
        wb_start = alloc(stream)
        root_start, root_size, mf_start, mf_count = ENDC, 0, ENDC, 0
    directory = (entry("Root Entry", 5, 1, root_start, root_size) +
                 entry("Workbook", 2, FREE, wb_start, len(stream)))
    directory = directory.ljust(((len(directory) + ss - 1) // ss) * ss, b"\0")
    dir_sectors = len(directory) // ss
    dir_start = alloc(directory)
    per = ss // 4
    nfat = 1
    while (len(sectors) + nfat + per - 1) // per > nfat:
        nfat += 1
    fat_start = len(sectors)
    fat.extend([FATSECT] * nfat)
    fat.extend([FREE] * (nfat * per - len(fat)))
    for i in range(nfat):
        sectors.append(struct.pack("<%dI" % per, *fat[i * per:(i + 1) * per]))
    header = (b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + b"\0" * 16 +
              struct.pack("<HHHHH", 0x3E, 3 if shift == 9 else 4, 0xFFFE, shift, 6) + b"\0" * 6 +
              struct.pack("<IIIIIIIII", 0 if shift == 9 else dir_sectors, nfat, dir_start, 0, 4096,
                          mf_start, mf_count, ENDC, 0) +
              struct.pack("<109I", *([fat_start + i for i in range(nfat)] + [FREE] * (109 - nfat))))
    return header.ljust(ss, b"\0") + b"".join(sectors)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    main_stream = make_main(out)
    CompoundDoc.XlsDoc().save(os.path.join(out, "main.xls"), main_stream)
    CompoundDoc.XlsDoc().save(os.path.join(out, "dates1904.xls"), make_1904())
    with open(os.path.join(out, "sectors4096.xls"), "wb") as f:
        f.write(pack_cfb(main_stream, shift=12))
    with open(os.path.join(out, "ministream.xls"), "wb") as f:
        f.write(pack_cfb(make_1904(), mini=True))


if __name__ == "__main__":
    main()
