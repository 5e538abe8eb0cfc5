#!/usr/bin/env python3
"""Generates src/common/cp932_table.inc, the CP932 (Windows code page 932)
tables used by src/common/cp932.cpp.

Source: the WINDOWS-31J charmap of Debian's `locales` package
(/usr/share/i18n/charmaps/WINDOWS-31J.gz). It follows Windows in both
directions: every line gives the decoding, and lines marked %IRREVERSIBLE%
(NEC row 13 copies of JIS X 0208 symbols, the NEC-selected IBM extensions in
rows 0xED-0xEE) are decode-only, so a character found at several codes
encodes to the JIS X 0208 code, then NEC row 13, then the IBM extension rows
0xFA-0xFC, as WideCharToMultiByte does.

The script checks the charmap against Python's cp932 codec: both decode every
code the same way. Python's codec also maps 0x80, 0xA0 and 0xFD-0xFF, which
are not characters and stay unmapped here, and it encodes the NEC-selected
IBM duplicates to rows 0xED-0xEE where Windows uses 0xFA-0xFC; those are the
only differences allowed.

On top of the charmap the encoder accepts the JIS column of the seven
positions where JIS and Microsoft mappings disagree, and YEN SIGN and
OVERLINE as the single bytes 0x5C and 0x7E.

Usage: scripts/gen_cp932.py [charmap.gz] > src/common/cp932_table.inc
"""
import gzip
import re
import sys

CHARMAP = '/usr/share/i18n/charmaps/WINDOWS-31J.gz'

# Encode-only additions: (code point, CP932 code).
EXTRA_ENCODE = [
    (0x301C, 0x8160),  # WAVE DASH (JIS column of FULLWIDTH TILDE)
    (0x2014, 0x815C),  # EM DASH (JIS column of HORIZONTAL BAR)
    (0x2016, 0x8161),  # DOUBLE VERTICAL LINE (JIS column of PARALLEL TO)
    (0x2212, 0x817C),  # MINUS SIGN (JIS column of FULLWIDTH HYPHEN-MINUS)
    (0x00A2, 0x8191),  # CENT SIGN
    (0x00A3, 0x8192),  # POUND SIGN
    (0x00AC, 0x81CA),  # NOT SIGN
    (0x00A5, 0x5C),    # YEN SIGN, the JIS-Roman meaning of 0x5C
    (0x203E, 0x7E),    # OVERLINE, the JIS-Roman meaning of 0x7E
]

TRAIL_FIRST, TRAIL_COUNT = 0x40, 0xFD - 0x40   # trail bytes 0x40-0xFC (0x7F unused)
BLOCK_BITS = 6                                 # encode table block: 64 code points


def read_charmap(path):
    decode, encode = {}, {}
    line_re = re.compile(r'(%IRREVERSIBLE%)?<U([0-9A-F]{4,})>\s+((?:/x[0-9a-f]{2})+)')
    with gzip.open(path, 'rt', encoding='latin-1') as f:
        for line in f:
            m = line_re.match(line)
            if not m:
                continue
            code = int(m.group(3).replace('/x', ''), 16)
            cp = int(m.group(2), 16)
            if code in decode:
                sys.exit('duplicate code %04X' % code)
            decode[code] = cp
            if not m.group(1):
                if cp in encode:
                    sys.exit('two reversible codes for U+%04X' % cp)
                encode[cp] = code
    return decode, encode


def code_bytes(code):
    return bytes([code]) if code < 0x100 else bytes([code >> 8, code & 0xFF])


def check_against_python(decode, encode):
    for code, cp in decode.items():
        if code_bytes(code).decode('cp932') != chr(cp):
            sys.exit('python decodes %04X differently' % code)
    for cp in {cp for cp in decode.values()}:
        ours = encode.get(cp)
        if ours is None:
            sys.exit('U+%04X decodes but has no encoding' % cp)
        theirs = chr(cp).encode('cp932')
        if theirs != code_bytes(ours):
            # Only the NEC-selected duplicates may differ (0xED/0xEE vs 0xFA-0xFC).
            if not (theirs[0] in (0xED, 0xEE) and 0xFA <= ours >> 8 <= 0xFC):
                sys.exit('python encodes U+%04X differently' % cp)
    for cp, code in EXTRA_ENCODE:
        if cp in encode:
            sys.exit('extra U+%04X already in the charmap' % cp)
        try:
            if chr(cp).encode('cp932') != code_bytes(code):
                sys.exit('python encodes extra U+%04X differently' % cp)
        except UnicodeEncodeError:
            pass  # Python leaves it out; Windows maps it best-fit.


def hex_rows(values, width, fmt):
    out = []
    for i in range(0, len(values), width):
        out.append('    ' + ', '.join(fmt % v for v in values[i:i + width]) + ',')
    return '\n'.join(out)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else CHARMAP
    decode, encode = read_charmap(path)
    check_against_python(decode, encode)
    for cp, code in EXTRA_ENCODE:
        encode[cp] = code

    for code in range(0x80):
        assert decode.get(code) == code, 'ASCII differs at %02X' % code

    leads = sorted({code >> 8 for code in decode if code >= 0x100})
    lead_row = [0] * 256
    for i, lead in enumerate(leads):
        lead_row[lead] = i + 1
    rows = []
    for lead in leads:
        row = [decode.get((lead << 8) | t, 0) for t in range(TRAIL_FIRST, TRAIL_FIRST + TRAIL_COUNT)]
        rows.append(row)

    assert all(cp < 0x10000 for cp in encode)
    nblocks = 0x10000 >> BLOCK_BITS
    bsize = 1 << BLOCK_BITS
    blocks = [[0] * bsize]  # block 0: nothing mapped
    block_index = [0] * nblocks
    for b in range(nblocks):
        block = [encode.get((b << BLOCK_BITS) | i, 0) for i in range(bsize)]
        # 0 never stands for a mapped character: U+0000 is handled apart.
        if b == 0:
            block[0] = 0
        if any(block):
            block_index[b] = len(blocks)
            blocks.append(block)

    w = sys.stdout.write
    w('// Generated by scripts/gen_cp932.py from the WINDOWS-31J charmap; do not edit.\n')
    w('// %d decodable codes, %d encodable code points.\n\n' % (len(decode), len(encode)))
    w('// Row of kDecode for a lead byte, plus one; 0 for a byte that leads no\n')
    w('// mapped double-byte character.\n')
    w('constexpr unsigned char kLeadRow[256] = {\n%s\n};\n\n' % hex_rows(lead_row, 16, '%2d'))
    w('constexpr int kTrailFirst = 0x%02X;\n' % TRAIL_FIRST)
    w('constexpr int kTrailCount = %d;\n\n' % TRAIL_COUNT)
    w('// kDecode[row][trail - kTrailFirst]: the code point, 0 for no mapping.\n')
    w('constexpr char16_t kDecode[%d][kTrailCount] = {\n' % len(rows))
    for lead, row in zip(leads, rows):
        w('  {  // lead 0x%02X\n%s\n  },\n' % (lead, hex_rows(row, 12, '0x%04X')))
    w('};\n\n')
    w('constexpr int kEncodeBlockBits = %d;\n\n' % BLOCK_BITS)
    w('// Block of kEncode for code point >> kEncodeBlockBits; block 0 maps nothing.\n')
    w('constexpr unsigned short kEncodeBlock[%d] = {\n%s\n};\n\n' % (nblocks, hex_rows(block_index, 16, '%3d')))
    w('// kEncode[block][cp & 63]: the CP932 code (a single byte is <= 0xFF), 0 for none.\n')
    w('constexpr unsigned short kEncode[%d][%d] = {\n' % (len(blocks), bsize))
    for i, block in enumerate(blocks):
        first = [b for b in range(nblocks) if block_index[b] == i]
        label = 'U+%04X' % (first[0] << BLOCK_BITS) if i else 'nothing'
        w('  {  // %s\n%s\n  },\n' % (label, hex_rows(block, 16, '0x%04X')))
    w('};\n')


if __name__ == '__main__':
    main()
