#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The differential test of the two cores: the desktop's, built for this machine (native/native_runner.cpp), and
the web page's, core.js and its WebAssembly under Node.js (core_runner.mjs), must show the same for every sheet:
the same total, announcement and working, or the same overflow message naming the same box. The first sheet that
differs stops the run, shown with both results. The sheets: texts derived from the fuzz corpus files, the texts
and sheets of the core's number-reading and calculation tests, then sheets from a seeded generator (the seed is
printed, so a run can be repeated)."""

import argparse
import json
import os
import random
import re
import subprocess
import sys
import time
from collections import Counter
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
NUMBER_ALPHABET = '0123456789+-.eEdD&HhOo ,\t\n'  # for garbage that comes close to being a number
SPECIAL_NUMBERS = [
    '1E308', '1E309', '-1E309', '1.7976931348623157E308', '1.7976931348623158E308', '1.8E308', '1E400', '1E-400',
    '5E-324', '2.4703282292062327E-324', '2.4703282292062328E-324', '1E-330', '9E99999999999999999',
    '0E999999999999', '1E-999999999999', '1E', '1E-', '1E+', 'E5', '1 E 2', '1e3x', '25E-1', '2d2', '1D3',
    '9007199254740993', '9007199254740995', '2147483647.5', '2147483646.5', '-2147483648.5', '-2147483647.5',
    '32767.5', '-32768.5', '32766.5', '2147483647.4999999999', '-2147483648.5000000001', '&H8000', '&HFFFF',
    '&H7FFF', '&H10000', '&HFFFFFFFF', '&H80000000', '&H7FFFFFFF', '&H100000000', '&O177777', '&O37777777777',
    '&O40000000000', '-&H10', '& H 1 0', '&', '&12', '&HG', '&O78', '-0', '+0', '.', '-', '+', '-.', '.5', '5.',
    '0.000', '1.2.3', '+-8', '--8', '- 8']


def pick(g, *weighted):  # one of (weight, make) pairs, made
    return g.choices(weighted[1::2], weighted[::2])[0]()


def long(g):
    """Longer than the 768 digits the reader keeps, now and then far longer; long runs of blanks or zeros."""
    k = g.randint(700, 6000) if g.random() < 0.99 else g.randint(100000, 300000)
    return pick(g, 1, lambda: g.digits(k, k) + 'E-' + str(k - g.randint(-3, 12)),
                # halfway between two doubles, decided far out
                1, lambda: '9007199254740993' + g.choice(('.', '')) + '0' * k + g.choice(('', '1', ',1', ' 1')),
                1, lambda: '0.' + '0' * k + '1E' + str(k + g.randint(-5, 12)),
                1, lambda: ' ' * k + str(g.randint(-100, 100)) + '\t' * g.randint(0, k),
                1, lambda: '1' + ''.join(g.choice(('000 0', '0000', '\t00')) for _ in range(k // 4)) + 'E-' + str(k))


KINDS = [  # the classes of a count's text: weight, text
    (30, lambda g: g.spell(g.randint(-30, 30))), (10, lambda g: g.spell(g.randint(0, 100000))),
    (8, lambda g: g.spell(g.randint(-INT32, INT32 - 1) if g.random() < 0.2 else
                          g.choice((INT32 - 1, -INT32, 32767, -32768)) + g.randint(-3, 3))),  # 32- and 16-bit edges
    # halfway between two integers, and a hair either side of it, in more digits than a double holds
    (8, lambda g: str(g.choice((g.randint(-30, 30), g.randint(-INT32, INT32), INT32 - 1, -INT32, 32767))) + '.' +
     g.choice(('5', '5' + '0' * g.randint(1, 30) + '1', '4' + '9' * g.randint(1, 30), '5' + '0' * g.randint(1, 30)))),
    (6, lambda g: g.choice(('', '-', '+')) + g.digits(0, 12) + '.' + g.digits(0, 20)),
    (6, lambda g: g.choice(('', '-', '+')) + g.digits(0, 10) + g.choice(('', '.')) + g.digits(0, 10) +
     g.choice('EeDd') + str(g.choice((g.randint(-30, 30), g.randint(-400, 400), g.randint(-10**20, 10**20),
                                      '+' + g.digits(1, 3))))),
    (6, lambda g: g.choice(SPECIAL_NUMBERS)),
    (4, lambda g: g.choice(('', '-')) + ('1' + '0' * g.randint(10, 400) if g.random() < 0.3 else g.digits(10, 400))),
    (3, lambda g: g.radix(('&H', '&h'), '0123456789abcdefABCDEFG')), (2, lambda g: g.radix(('&O', '&o'), '012345678')),
    (4, lambda g: g.choice(('+', '-', '+-', '-+', '--', '++', '- ', ' -', '.', '-.', '+.', '')) +
     g.choice(('', '0', '7', '12', '.5', 'E3'))),
    (4, lambda g: ''.join(chr(g.choice(FOREIGN_ZEROS) + int(c)) if c.isdigit() and g.random() < 0.5 else c
                          for c in g.spell(g.randint(-1000, 1000)))),  # other scripts' digits among ASCII ones
    (2, lambda g: g.digits(0, 30, NUMBER_ALPHABET)), (2, lambda g: g.digits(0, 30, NUMBER_ALPHABET + ''.join(ENDERS))),
    (1, lambda g: ''.join(chr(g.randrange(0x10000)) for _ in range(g.randint(0, 30)))),
    (3, lambda g: g.digits(1, 8, BLANKS)), (3, lambda g: ''), (1, long)]


class Generator(random.Random):
    """Sheets from a seeded generator: plausible ones, ones at the edges of reading, rounding and the 32-bit and
    16-bit ranges, ones that aim at an overflow of a product or of the running total, and garbage."""

    def __init__(self, seed, awards):
        super().__init__(seed)
        self.awards = awards  # by party level 1 to 20, then challenge rating 1 to 20

    def digits(self, fewest, most, alphabet='0123456789'):
        return ''.join(self.choices(alphabet, k=self.randint(fewest, most)))

    def radix(self, markers, alphabet):
        zeros = self.choice(('', '', '0' * self.randint(1, 12)))
        return self.choice(('', '', '', '-', ' ')) + self.choice(markers) + zeros + self.digits(0, 12, alphabet)

    def spell(self, value):
        """An integer as an entry might give it: signed or not, leading zeros, a fraction of zeros, an exponent."""
        digits, power = str(abs(value)), self.randint(-4, len(str(abs(value))) + 3)
        return ('-' if value < 0 else self.choice(('', '', '', '+'))) + pick(
            self, 6, lambda: digits, 1, lambda: '0' * self.randint(1, 6) + digits,
            1, lambda: digits + '.' + '0' * self.randint(0, 3),
            2, lambda: format(Decimal(abs(value)).scaleb(-power), 'f') + self.choice('EeDd') +
            (self.choice(('', '+')) if power >= 0 else '') + str(power))

    def mutate(self, text):
        """Blanks around and inside, and something after that ends the number."""
        at = self.randint(0, len(text))
        return pick(self, 80, lambda: text,
                    7, lambda: self.choice(('', ' ', '  ', '\t', '\n')) + text + self.choice(('', ' ', '\t', '\n ')),
                    6, lambda: text[:at] + self.choice(BLANKS) * self.randint(1, 3) + text[at:],
                    7, lambda: text + self.choice(ENDERS) + self.choice(('', '5', '000', 'abc', '\U0001F3B2')))

    def count(self):
        return self.mutate(self.choices(KINDS, [weight for weight, _ in KINDS])[0][1](self))

    def sheet(self):
        n, small = self.randint(0, 20), lambda: self.spell(self.randint(-30, 30))
        level = self.count() if self.random() < 0.12 else self.mutate(pick(
            self, 60, lambda: self.spell(self.randint(1, 20)),
            15, lambda: self.spell(self.choice((0, 21, 22, 23, 24, 25, -1, -20))),
            13, lambda: self.choice([self.spell(self.choice((32767, 32768, -32768, -32769, 65535, 65536))), f'{n}.5',
                                     f'{n}.4999999999999999', f'{n}.50000000000000001', '&H8000', '&HFFFF', '&H7FFF',
                                     '&O100000', ''])))
        return pick(self, 30, lambda: ['0' if self.random() < 0.7 else small() for _ in range(20)] + [level],
                    35, lambda: [self.count() if self.random() < 0.25 else small() for _ in range(20)] + [level],
                    25, self.overflowing, 10, lambda: [self.count() for _ in range(20)] + [level])

    def overflowing(self):
        """A product or a running total at an end of the 32-bit range: just inside, on it, or just past it."""
        level = self.randint(1, 20)
        row, limit = self.awards[level - 1], self.choice((INT32 - 1, -INT32))
        awarded = [cr for cr in range(20) if row[cr]]
        chosen = self.sample(awarded, min(len(awarded), self.randint(2, 5))) if self.random() < 0.6 else \
            [self.choice(awarded)]
        values = {cr: round(limit / len(chosen) / row[cr]) + self.randint(-2, 2) for cr in chosen[:-1]}
        last = chosen[-1]
        values[last] = (limit - sum(v * row[cr] for cr, v in values.items())) // row[last] + self.randint(-1, 2)
        if len(chosen) > 1 and self.random() < 0.3:  # something that ends it or takes it back on either side
            other = self.choice(awarded)
            values[other] = -values[other] if values.get(other) else self.randint(-5, 5)
        return [self.mutate(self.spell(values[cr]) if cr in values else '0') for cr in range(20)] + \
            [self.mutate(self.spell(level))]


class Fuzzed:
    """A fuzz input handing out integers as libFuzzer's FuzzedDataProvider does: bytes from the end, the first
    taken most significant, as many as the range needs, then reduced into it."""

    def __init__(self, data):
        self.data, self.left = data, len(data)

    def integral(self, low, high, bits=32):
        value = taken = 0
        while taken < bits and (high - low) >> taken and self.left:
            self.left -= 1
            value, taken = value << 8 | self.data[self.left], taken + 8
        return low + value % (high - low + 1)

    def text(self):
        """consumeText() of tests/fuzz/fuzz_text.h, at its kLongText: each code unit takes two bytes."""
        length = self.integral(0, 4096, 64)
        return ''.join(chr(self.integral(0, 0xFFFF, 16)) for _ in range(min(length, self.left // 2)))


def corpus(folder):
    """Each fuzz corpus file's sheet as the calculation's fuzz target reads it (consumeEntry() of
    tests/fuzz/calculation_fuzz.cpp, for each box); its text as the reader's does (tests/fuzz/reader_fuzz.cpp: a
    flag, then the text), and the file as bytes, UTF-8 and UTF-16LE at either byte alignment."""
    sheets, texts = [], []
    entries = [Fuzzed.text, lambda f: str(f.integral(-INT32, INT32 - 1)), lambda f: str(f.integral(-30, 30)),
               lambda f: '0']
    for data in [path.read_bytes() for path in sorted(Path(folder).iterdir())]:
        fuzzed = Fuzzed(data)
        sheets.append([entries[fuzzed.integral(0, 3)](fuzzed) for _ in range(21)])
        fuzzed = Fuzzed(data)
        fuzzed.integral(0, 255, 8)
        texts += dict.fromkeys([fuzzed.text(), data.decode('latin-1'), data.decode('utf-8', 'replace')] + [
            data[s:s + (len(data) - s) // 2 * 2].decode('utf-16-le', 'surrogatepass') for s in (0, 1)])
    return sheets, texts


LITERAL = r'u"((?:[^"\\\n]|\\.)*)"'
ESCAPES = {'n': '\n', 't': '\t', 'r': '\r', 'v': '\v', 'f': '\f', 'a': '\a', 'b': '\b'}


def cpp_literal(body):
    """The text of the body of a C++ u"" literal: \\x and \\u give one code unit each, a lone surrogate too."""
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
    """The calculation tests' sheets, {{{challenge rating, u"count"}, ...}, u"level"}, other counts "0"."""
    code = Path(source).read_text()
    entry = rf'\{{\s*(\d+)\s*,\s*{LITERAL}\s*\}}'
    sheets = []
    for counts, *_, level in re.findall(rf'\{{\{{((?:\s*{entry}\s*,?)*)\s*\}}\s*,\s*{LITERAL}\s*\}}', code):
        sheets.append(['0'] * 20 + [cpp_literal(level)])
        for cr, text in re.findall(entry, counts):
            sheets[-1][int(cr) - 1] = cpp_literal(text)
    # A case left unread means the tests have a form this does not know yet; `{}` is a fresh window's sheet.
    written = len(re.findall(r'\b(?:total|overflow)\("|\bSheet sheet\{', code)) - \
        len(re.findall(r'"\s*,\s*\{\}\s*,', code))
    if len(sheets) != written or not sheets:
        sys.exit(f'differential: read {len(sheets)} of the {written} sheets in {source}: teach table_sheets their form')
    return sheets + [['0'] * 21]


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
    """A runner's line, its texts decoded: every field but an overflow's box name is hexadecimal UTF-16LE."""
    kind, *fields = result.split('\t')
    return [kind] + [f if kind == 'overflow' and i == 1 else bytes.fromhex(f).decode('utf-16-le', 'surrogatepass')
                     for i, f in enumerate(fields)]


def compare(runners, sheets, what, tally, first=1):
    """Runs the sheets through both runners; stops at the first that differs, numbered from `first`."""
    lines = b''.join(b'\t'.join(text.encode('utf-16-le', 'surrogatepass').hex().encode() for text in sheet) + b'\n'
                     for sheet in sheets)
    with ThreadPoolExecutor(2) as pool:
        runs = list(pool.map(lambda command: subprocess.run(command, input=lines, stdout=subprocess.PIPE),
                             runners.values()))
    for name, run in zip(runners, runs):
        answered = run.stdout.count(b'\n')
        if run.returncode or answered != len(sheets):
            sys.exit(f'differential: the {name} runner ended with status {run.returncode} after answering '
                     f'{answered} of {len(sheets)} sheets')
    for number, sheet, results in zip(range(first, first + len(sheets)), sheets,
                                      zip(*(run.stdout.decode().splitlines() for run in runs))):
        if results[0] != results[1]:
            sys.exit(f'DIFFERENCE at {what} sheet {number}:\n'
                     f'  counts (challenge rating 1 first): {json.dumps(sheet[:20])}\n'
                     f'  party level: {json.dumps(sheet[20])}\n' + ''.join(
                         f'  {name}: {json.dumps(readable(result), ensure_ascii=False)}\n'
                         for name, result in zip(runners, results)))
        kind, *texts = readable(results[0])  # an overflow's kind: the first words of its message's second line
        tally[kind if kind == 'total' else ' '.join(texts[0].split('\n')[1].split()[:4])] += 1


def main():
    here = Path(__file__).resolve().parent
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
    started, tally = time.monotonic(), Counter()
    corpus_sheets, corpus_texts = corpus(here.parent / 'fuzz' / 'corpus')
    tables = [here.parent / f'{name}_test.cpp' for name in ('number_reader', 'experience_calculation',
                                                            'entry_conversion')]
    for what, sheets in [('fuzz corpus', corpus_sheets + sheets_of_texts(corpus_texts, awards)),
                         ('test table', sheets_of_texts(table_texts(tables), awards)),
                         ('calculation test', table_sheets(tables[1]))]:
        compare(runners, sheets, what, tally)
        print(f'differential: {len(sheets)} {what} sheets agree', flush=True)
    generator = Generator(args.seed, awards)
    for done in range(0, args.sheets, CHUNK):
        compare(runners, [generator.sheet() for _ in range(min(CHUNK, args.sheets - done))],
                f'generated (seed {args.seed})', tally, done + 1)
        if (done + CHUNK) % 100000 == 0:
            print(f'differential: {done + CHUNK} generated sheets agree ({time.monotonic() - started:.0f} s)',
                  flush=True)
    print(f'differential: {sum(tally.values())} sheets, 0 differences, in {time.monotonic() - started:.1f} s; '
          'results: ' + ', '.join(f'{kind} {n}' for kind, n in tally.most_common()))


if __name__ == '__main__':
    main()
