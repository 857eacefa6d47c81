#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The differential test of the two cores: the desktop's, built for this
machine (native/native_runner.cpp), and the web page's, core.js and its
WebAssembly under Node.js (core_runner.mjs), must show the same for every
sheet: the same total, announcement and working, or the same overflow
message naming the same box. The first sheet whose results differ stops the
run, shown with both results. The sheets: texts derived from the fuzz corpus
files, the texts and sheets of the core's number-reading and calculation
tests, then sheets from a seeded generator (the seed is printed, so a run
can be repeated)."""

import argparse
import json
import os
import random
import re
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from decimal import Decimal
from pathlib import Path

INT32 = 2**31
CHUNK = 20000  # sheets per start of the runners

BLANKS = ' \t\n'
# Characters that stand where a number might go on, and end it instead.
ENDERS = [',', '$', '#', '%', "'", '_', 'x', '/', '\r', '\v', '\f', '\0', '\u00a0', '\u2007', '\u202f', '\u3000',
          '\ufeff', '\ud800', '\udbff', '\udc00', '\udfff', '\u2212']
# Other scripts' zeros, the last two beyond the Basic Multilingual Plane (a surrogate pair each).
FOREIGN_ZEROS = [0xFF10, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0E50, 0x1040, 0x2070, 0x2080, 0x1D7CE, 0x1FBF0]
NUMBER_ALPHABET = '0123456789+-.eEdD&HhOo ,\t\n'  # garbage that comes close to being a number
SPECIAL_NUMBERS = [
    '1E308', '1E309', '-1E309', '1.7976931348623157E308', '1.7976931348623158E308', '1.8E308', '1E400', '1E-400',
    '5E-324', '2.4703282292062327E-324', '2.4703282292062328E-324', '1E-330', '9E99999999999999999',
    '0E999999999999', '1E-999999999999', '1E', '1E-', '1E+', 'E5', '1 E 2', '1e3x', '25E-1', '2d2', '1D3',
    '9007199254740993', '9007199254740995', '2147483647.5', '2147483646.5', '-2147483648.5', '-2147483647.5',
    '32767.5', '-32768.5', '32766.5', '2147483647.4999999999', '-2147483648.5000000001', '&H8000', '&HFFFF',
    '&H7FFF', '&H10000', '&HFFFFFFFF', '&H80000000', '&H7FFFFFFF', '&H100000000', '&O177777', '&O37777777777',
    '&O40000000000', '-&H10', '& H 1 0', '&', '&12', '&HG', '&O78', '-0', '+0', '.', '-', '+', '-.', '.5', '5.',
    '0.000', '1.2.3', '+-8', '--8', '- 8']
LEVEL_TEXTS = ['&H8000', '&HFFFF', '&H7FFF', '&O100000', '']


class Generator(random.Random):
    """Sheets from a seeded generator: plausible ones, ones at the edges of
    reading, rounding and the 32-bit and 16-bit ranges, ones that aim at an
    overflow of a product or of the running total, and garbage."""

    def __init__(self, seed, awards):
        super().__init__(seed)
        self.awards = awards  # by party level 1 to 20, then challenge rating 1 to 20
        self.kinds = [  # weight, a count's text
            (30, lambda: self.spell(self.randint(-30, 30))), (10, lambda: self.spell(self.randint(0, 100000))),
            (8, self.int_edge), (8, self.half), (6, self.decimal), (6, self.exponent),
            (6, lambda: self.choice(SPECIAL_NUMBERS)), (4, self.huge), (5, self.radix), (4, self.signs),
            (4, self.foreign), (5, self.garbage), (3, lambda: self.digits(1, 8, BLANKS)), (3, lambda: ''),
            (1, self.long)]

    def digits(self, fewest, most, alphabet='0123456789'):
        return ''.join(self.choices(alphabet, k=self.randint(fewest, most)))

    def sign(self, signs=('', '-', '+')):
        return self.choice(signs)

    def spell(self, value):
        """An integer as an entry might give it: signed or not, with leading
        zeros, a fraction of zeros, or an exponent."""
        digits, sign, form = str(abs(value)), '-' if value < 0 else self.sign(('', '', '', '+')), self.random()
        if form < 0.8:
            return sign + ('0' * self.randint(1, 6) if 0.6 <= form < 0.7 else '') + digits + \
                ('.' + '0' * self.randint(0, 3) if form >= 0.7 else '')
        exponent = self.randint(-4, len(digits) + 3)
        return sign + format(Decimal(abs(value)).scaleb(-exponent), 'f') + self.choice('EeDd') + \
            (self.sign(('', '+')) if exponent >= 0 else '') + str(exponent)

    def int_edge(self):
        if self.random() < 0.2:
            return self.spell(self.randint(-INT32, INT32 - 1))
        return self.spell(self.choice((INT32 - 1, -INT32, 32767, -32768)) + self.randint(-3, 3))

    def half(self):
        """Halfway between two integers, and a hair either side of it, in more digits than a double holds."""
        whole = self.choice((self.randint(-30, 30), self.randint(-INT32, INT32), self.choice((INT32 - 1, -INT32, 32767))))
        zeros = '0' * self.randint(1, 30)
        tail = self.choice(('5', '5' + zeros + '1', '4' + '9' * len(zeros), '5' + zeros))
        return f"{'-' if whole < 0 else ''}{abs(whole)}.{tail}"

    def decimal(self):
        return self.sign() + self.digits(0, 12) + '.' + self.digits(0, 20)

    def exponent(self):
        mantissa = self.digits(1, 20)
        if self.random() < 0.5:
            point = self.randint(0, len(mantissa))
            mantissa = mantissa[:point] + '.' + mantissa[point:]
        power = self.choice((self.randint(-30, 30), self.randint(-400, 400), self.randint(-10**20, 10**20)))
        return self.sign() + mantissa + self.choice('EeDd') + (self.sign(('', '+')) if power >= 0 else '') + str(power)

    def huge(self):
        length = self.randint(10, 400)
        return self.sign(('', '-')) + ('1' + '0' * length if self.random() < 0.3 else self.digits(length, length))

    def radix(self):
        marker = self.choice('HhOo')
        return self.sign(('', '', '', '-', ' ')) + '&' + marker + '0' * self.choice((0, 0, self.randint(1, 12))) + \
            self.digits(0, 12, '0123456789abcdefABCDEFG' if marker in 'Hh' else '012345678')

    def signs(self):
        return self.choice(('+', '-', '+-', '-+', '--', '++', '- ', ' -', '.', '-.', '+.', '')) + \
            self.choice(('', '0', '7', '12', '.5', 'E3'))

    def foreign(self):
        """Digits of other scripts, alone or among ASCII ones."""
        return ''.join(chr(self.choice(FOREIGN_ZEROS) + int(c)) if c.isdigit() and self.random() < 0.5 else c
                       for c in self.spell(self.randint(-1000, 1000)))

    def garbage(self):
        form = self.random()
        if form < 0.75:
            return self.digits(0, 30, NUMBER_ALPHABET + (''.join(ENDERS) if form >= 0.5 else ''))
        return ''.join(chr(self.randrange(0x10000)) for _ in range(self.randint(0, 30)))

    def long(self):
        """Texts longer than the 768 digits the reader keeps, now and then far
        longer, and long runs of blanks or zeros."""
        k = self.randint(700, 6000) if self.random() < 0.99 else self.randint(100000, 300000)
        return self.choice((
            lambda: self.digits(k, k) + 'E-' + str(k - self.randint(-3, 12)),
            # halfway between two doubles, decided far out
            lambda: '9007199254740993' + self.sign(('.', '')) + '0' * k + self.choice(('', '1', ',1', ' 1')),
            lambda: '0.' + '0' * k + '1E' + str(k + self.randint(-5, 12)),
            lambda: ' ' * k + str(self.randint(-100, 100)) + '\t' * self.randint(0, k),
            lambda: '1' + ''.join(self.choice(('000 0', '0000', '\t00')) for _ in range(k // 4)) + 'E-' + str(k)))()

    def mutate(self, text):
        """Blanks around and inside, and something after that ends the number."""
        form = self.random()
        if form < 0.8:
            return text
        if form < 0.87:
            return self.choice(('', ' ', '  ', '\t', '\n')) + text + self.choice(('', ' ', '\t', '\n '))
        if form < 0.93 and text:
            at = self.randint(0, len(text))
            return text[:at] + self.choice(BLANKS) * self.randint(1, 3) + text[at:]
        return text + self.choice(ENDERS) + self.choice(('', '5', '000', 'abc', '\ud83c\udfb2'))

    def count(self):
        return self.mutate(self.choices(self.kinds, [w for w, _ in self.kinds])[0][1]())

    def level(self):
        form, n = self.random(), self.randint(0, 20)
        if form < 0.75:
            return self.mutate(self.spell(self.randint(1, 20) if form < 0.6 else self.choice((0, 21, 22, 23, 24, 25, -1, -20))))
        if form < 0.88:
            return self.mutate(self.choice([self.spell(self.choice((32767, 32768, -32768, -32769, 65535, 65536))),
                                            f'{n}.5', f'{n}.4999999999999999', f'{n}.50000000000000001'] + LEVEL_TEXTS))
        return self.count()

    def sheet(self):
        style = self.random()
        if style < 0.3:  # plausible: mostly zeros, a few small counts
            counts = ['0' if self.random() < 0.7 else self.spell(self.randint(-30, 30)) for _ in range(20)]
        elif style < 0.65:  # every kind of text, among small counts
            counts = [self.count() if self.random() < 0.25 else self.spell(self.randint(-30, 30)) for _ in range(20)]
        elif style < 0.9:
            return self.overflowing()
        else:  # nothing plausible at all
            counts = [self.count() for _ in range(20)]
        return counts + [self.level()]

    def overflowing(self):
        """A product or a running total at an end of the 32-bit range: just inside, on it, or just past it."""
        level = self.randint(1, 20)
        row = self.awards[level - 1]
        awarded = [cr for cr in range(20) if row[cr]]
        counts, limit = ['0'] * 20, self.choice((INT32 - 1, -INT32))
        if self.random() < 0.4:
            cr = self.choice(awarded)
            counts[cr] = self.spell(limit // row[cr] + self.randint(-1, 2))
        else:
            chosen = self.sample(awarded, min(len(awarded), self.randint(2, 5)))
            rest = limit
            for cr in chosen[:-1]:
                counts[cr] = str(round(limit / len(chosen) / row[cr]) + self.randint(-2, 2))
                rest -= int(counts[cr]) * row[cr]
            counts[chosen[-1]] = str(rest // row[chosen[-1]] + self.randint(-1, 2))
            if self.random() < 0.3:  # something that ends it or takes it back on either side
                other = self.choice(awarded)
                counts[other] = self.spell(-int(counts[other]) if counts[other] != '0' else self.randint(-5, 5))
        return [self.mutate(c) for c in counts] + [self.mutate(self.spell(level))]


class Fuzzed:
    """A fuzz input handing out integers as libFuzzer's FuzzedDataProvider
    does: bytes from the end, the first taken most significant, as many as
    the range needs, then reduced into it."""

    def __init__(self, data):
        self.data, self.left = data, len(data)

    def integral(self, low, high, bits):
        value = taken = 0
        while taken < bits and (high - low) >> taken and self.left:
            self.left -= 1
            value, taken = value << 8 | self.data[self.left], taken + 8
        return low + value % (high - low + 1)

    def text(self):
        """consumeText() of tests/fuzz/fuzz_text.h, at its kLongText."""
        length, units = self.integral(0, 4096, 64), []
        while len(units) < length and self.left >= 2:
            units.append(self.integral(0, 0xFFFF, 16))
        return ''.join(map(chr, units))


def corpus(folder):
    """Each fuzz corpus file's sheet as the calculation's fuzz target reads
    it (consumeEntry() of tests/fuzz/calculation_fuzz.cpp, for each box); its
    text as the reader's reads it (tests/fuzz/reader_fuzz.cpp: a flag, then
    the text), and the file as bytes, UTF-8 and UTF-16LE at either byte
    alignment."""
    sheets, texts = [], []
    entries = [Fuzzed.text, lambda f: str(f.integral(-INT32, INT32 - 1, 32)), lambda f: str(f.integral(-30, 30, 32)),
               lambda f: '0']
    for data in [path.read_bytes() for path in sorted(Path(folder).iterdir())]:
        fuzzed = Fuzzed(data)
        sheets.append([entries[fuzzed.integral(0, 3, 32)](fuzzed) for _ in range(21)])
        fuzzed = Fuzzed(data)
        fuzzed.integral(0, 255, 8)
        texts += dict.fromkeys([fuzzed.text(), data.decode('latin-1'), data.decode('utf-8', 'replace')] +
                               [data[s:s + (len(data) - s) // 2 * 2].decode('utf-16-le', 'surrogatepass') for s in (0, 1)])
    return sheets, texts


LITERAL = r'u"((?:[^"\\\n]|\\.)*)"'
ESCAPES = {'n': '\n', 't': '\t', 'r': '\r', 'v': '\v', 'f': '\f', 'a': '\a', 'b': '\b'}


def cpp_literal(body):
    """The UTF-16 text of the body of a C++ u"" literal: \\x and \\u give one code unit each, a lone surrogate too."""
    def unescape(m):
        e = m.group(1)
        return chr(int(e[1:], 16)) if e[0] in 'uUx' else chr(int(e, 8)) if e[0] in '01234567' else ESCAPES.get(e, e)
    return re.sub(r'\\(u[0-9A-Fa-f]{4}|U[0-9A-Fa-f]{8}|x[0-9A-Fa-f]+|[0-7]{1,3}|.)', unescape, body, flags=re.S)


def table_texts(sources):
    """Every text in the tests' u"" literals, adjacent literals joined as the compiler joins them."""
    return list(dict.fromkeys(''.join(cpp_literal(m.group(1)) for m in re.finditer(LITERAL, group.group(0)))
                              for source in sources
                              for group in re.finditer(rf'{LITERAL}(?:\s*{LITERAL})*', Path(source).read_text())))


def table_sheets(source):
    """The calculation tests' sheets: {{{challenge rating, u"count"}, ...},
    u"level"}, every other count "0", as the window starts."""
    code = Path(source).read_text()
    entry = rf'\{{\s*(\d+)\s*,\s*{LITERAL}\s*\}}'
    sheets = []
    for counts, *_, level in re.findall(rf'\{{\{{((?:\s*{entry}\s*,?)*)\s*\}}\s*,\s*{LITERAL}\s*\}}', code):
        sheets.append(['0'] * 20 + [cpp_literal(level)])
        for cr, text in re.findall(entry, counts):
            sheets[-1][int(cr) - 1] = cpp_literal(text)
    # A case left unread means the tests have a form this does not know yet.
    written = len(re.findall(r'\b(?:total|overflow)\("', code)) + len(re.findall(r'\bSheet sheet\{', code))
    defaults = len(re.findall(r'"\s*,\s*\{\}\s*,', code))
    if len(sheets) + defaults != written or not sheets:
        sys.exit(f'differential: read {len(sheets)} sheets and {defaults} default ones from {source}, '
                 f'which has {written}: teach table_sheets its new form')
    return [['0'] * 21] * defaults + sheets


def sheets_of_texts(texts, awards):
    """Each text in a count box, at a party level whose row awards it, as the party level, and in every box."""
    sheets = []
    for i, text in enumerate(texts):
        levels = [level for level in range(1, 21) if awards[level - 1][i % 20]]
        counts = ['1'] * 20
        counts[i % 20] = text
        sheets += [counts + [str(levels[i // 20 % len(levels)])], ['1'] * 20 + [text], [text] * 21]
    return sheets


def readable(result):
    kind, *fields = result.decode(errors='replace').split('\t')
    texts = [bytes.fromhex(field).decode('utf-16-le', 'surrogatepass') for field in fields[:3 if kind == 'total' else 1]]
    return dict(zip(('total', 'said', 'working'), texts)) if kind == 'total' else {'overflow': texts[0], 'box': fields[1]}


def compare(runners, sheets, what, tally, first=1):
    """Runs the sheets through both runners, a chunk at a time; at the first
    result that differs, shows the sheet, numbered from `first`, and both results."""
    for start in range(0, len(sheets), CHUNK):
        chunk = sheets[start:start + CHUNK]
        lines = b''.join(b'\t'.join(text.encode('utf-16-le', 'surrogatepass').hex().encode() for text in sheet) + b'\n'
                         for sheet in chunk)
        with ThreadPoolExecutor(2) as pool:
            runs = list(pool.map(lambda command: subprocess.run(command, input=lines, stdout=subprocess.PIPE),
                                 runners.values()))
        for name, run in zip(runners, runs):
            answered = run.stdout.count(b'\n')
            if run.returncode or answered != len(chunk):
                sys.exit(f'differential: the {name} runner ended with status {run.returncode} after answering '
                         f'{answered} of {len(chunk)} sheets')
        for i, results in enumerate(zip(*(run.stdout.splitlines() for run in runs))):
            if results[0] != results[1]:
                sheet = chunk[i]
                sys.exit(f'DIFFERENCE at {what} sheet {first + start + i}:\n'
                         f'  counts (challenge rating 1 first): {json.dumps(sheet[:20])}\n'
                         f'  party level: {json.dumps(sheet[20])}\n' +
                         ''.join(f'  {name}: {json.dumps(readable(result), ensure_ascii=False)}\n'
                                 for name, result in zip(runners, results)))
            kind = results[0].split(b'\t')[0].decode()
            if kind == 'overflow':  # which overflow: the first words of its second line
                kind = ' '.join(readable(results[0])['overflow'].split('\n')[1].split()[:4])
            tally[kind] = tally.get(kind, 0) + 1
    return len(sheets)


def main():
    here = Path(__file__).resolve().parent
    tests = here.parent
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ('--native', '--core', '--design'):
        parser.add_argument(option, required=True)
    parser.add_argument('--node', default='node')
    parser.add_argument('--sheets', type=int, default=20000, help='how many sheets to generate')
    parser.add_argument('--seed', type=int, default=int.from_bytes(os.urandom(4), 'little'))
    args = parser.parse_args()
    print(f'differential: seed {args.seed}', flush=True)

    awards = json.loads(Path(args.design).read_text())['awardTable']
    runners = {'native': [args.native], 'web': [args.node, str(here / 'core_runner.mjs'), args.core, args.design]}
    started, tally = time.monotonic(), {}
    corpus_sheets, corpus_texts = corpus(tests / 'fuzz' / 'corpus')
    compared = 0
    for what, sheets in [
            ('fuzz corpus', corpus_sheets + sheets_of_texts(corpus_texts, awards)),
            ('test table', sheets_of_texts(table_texts([tests / 'number_reader_test.cpp',
                                                        tests / 'experience_calculation_test.cpp',
                                                        tests / 'entry_conversion_test.cpp']), awards)),
            ('calculation test', table_sheets(tests / 'experience_calculation_test.cpp'))]:
        compared += compare(runners, sheets, what, tally)
        print(f'differential: {len(sheets)} {what} sheets agree', flush=True)

    generator = Generator(args.seed, awards)
    for done in range(0, args.sheets, CHUNK):
        compared += compare(runners, [generator.sheet() for _ in range(min(CHUNK, args.sheets - done))],
                            f'generated (seed {args.seed})', tally, done + 1)
        if (done + CHUNK) % 100000 == 0:
            print(f'differential: {done + CHUNK} generated sheets agree ({time.monotonic() - started:.0f} s)', flush=True)
    print(f'differential: {compared} sheets, 0 differences, in {time.monotonic() - started:.1f} s; results: ' +
          ', '.join(f'{kind} {n}' for kind, n in sorted(tally.items(), key=lambda item: -item[1])))


if __name__ == '__main__':
    main()
