#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The differential test: the desktop's core (native/native_runner.cpp) and the web page's, core.js under Node.js
(core_runner.mjs), must show the same total, announcement and working, or overflow message and box, for every sheet:
texts of the fuzz corpus and of the core's tests, then a seeded generator's. The first that differs stops the run."""

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
from decimal import Context, Decimal
from pathlib import Path

INT32, CHUNK = 2**31, 20000  # CHUNK: sheets per start of the runners
BLANKS = ' \t\n'
# What ends a number where it might go on: punctuation, other blanks, lone surrogates, a minus sign.
ENDERS = list(',$#%\'_x/\r\v\f\0\u00a0\u2007\u202f\u3000\ufeff\ud800\udbff\udc00\udfff\u2212')
# Other scripts' zeros, the last two beyond the Basic Multilingual Plane (a surrogate pair each).
FOREIGN_ZEROS = [0xFF10, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0E50, 0x1040, 0x2070, 0x2080, 0x1D7CE, 0x1FBF0]
NUMBER_ALPHABET = '0123456789+-.eEdD&HhOo ,\t\n'  # for garbage that comes close to being a number
SPECIAL_NUMBERS = [number.replace('_', ' ') for number in '''1E308 1E309 -1E309 1.7976931348623157E308
    1.7976931348623158E308 1.8E308 1E400 1E-400 5E-324 2.4703282292062327E-324 2.4703282292062328E-324 1E-330
    9E99999999999999999 0E999999999999 1E-999999999999 1E 1E- 1E+ E5 1_E_2 1e3x 25E-1 2d2 1D3 9007199254740993
    9007199254740995 2147483647.5 2147483646.5 -2147483648.5 -2147483647.5 32767.5 -32768.5 32766.5
    2147483647.4999999999 -2147483648.5000000001 &H8000 &HFFFF &H7FFF &H10000 &HFFFFFFFF &H80000000 &H7FFFFFFF
    &H100000000 &O177777 &O37777777777 &O40000000000 -&H10 &_H_1_0 & &12 &HG &O78 -0 +0 . - + -. .5 5. 0.000 1.2.3
    +-8 --8 -_8'''.split()]


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
    """Plausible sheets, ones at the edges of reading, rounding and the 32-bit and 16-bit ranges, ones that aim at
    an overflow of a product or of the running total, and garbage."""

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


LITERAL = r'u"((?:[^"\\\n]|\\.)*)"'


def cpp(body):
    """The text of the body of a C++ u"" literal: \\x and \\u give one code unit each, a lone surrogate too."""
    return re.sub(r'\\(u[0-9A-Fa-f]{4}|U[0-9A-Fa-f]{8}|x[0-9A-Fa-f]+|[0-7]{1,3}|.)', lambda m: (
        chr(int(m[1][1:], 16)) if m[1][0] in 'uUx' else chr(int(m[1], 8)) if m[1][0] in '01234567' else
        dict(n='\n', t='\t', r='\r', v='\v', f='\f', a='\a', b='\b').get(m[1], m[1])), body, flags=re.S)


def test_sheets(tests, corpus, awards):
    """Each text of the fuzz corpus (as Latin-1, UTF-8, UTF-16LE, and as the fuzz targets read it) and of the tests'
    u"" literals (adjacent ones joined) in a count box at a level whose row awards it, as the party level, and in
    every box."""
    texts = []
    for data in sorted(path.read_bytes() for path in corpus.iterdir()):
        back = data[::-1]  # as the fuzz targets read a text: from the end, after a byte or none
        texts += [data.decode(encoding, 'replace') for encoding in ('latin-1', 'utf-8')] + [
            data[s:s + (len(data) - s) // 2 * 2].decode('utf-16-le', 'surrogatepass') for s in (0, 1)] + [
            back[s + 2:s + 2 + min(int.from_bytes(back[s:s + 2], 'big') % 4097, (len(back) - s) // 2 - 1) * 2].decode(
                'utf-16-be', 'surrogatepass') for s in (0, 1)]
    texts += [''.join(cpp(m[1]) for m in re.finditer(LITERAL, group[0])) for test in tests
              for group in re.finditer(rf'{LITERAL}(?:\s*{LITERAL})*', test.read_text())]
    # on the halfway between the double 2.5 and the next, and just past it by a digit beyond the 768 the reader keeps
    texts += [f'{Context(prec=99).add(Decimal(2.5), Decimal(2 ** -52)):f}' + '0' * 800 + end for end in ('', '1')]
    awarding = [[level for level, row in enumerate(awards, 1) if row[cr]] for cr in range(20)]
    return [sheet for i, text in enumerate(dict.fromkeys(texts)) for sheet in (
        ['1'] * (i % 20) + [text] + ['1'] * (19 - i % 20) + [str(awarding[i % 20][i // 20 % len(awarding[i % 20])])],
        ['1'] * 20 + [text], [text] * 21)]


def shown(r):  # a runner's answer, its texts decoded
    return [f if i == 0 else bytes.fromhex(f).decode('utf-16-be', 'surrogatepass') for i, f in enumerate(r.split('\t'))]


def compare(runners, sheets, what, tally, first=1):
    """Runs the sheets through both runners; stops at the first whose answers differ."""
    hexed = ''.join('\t'.join(text.encode('utf-16-be', 'surrogatepass').hex() for text in sheet) + '\n'
                    for sheet in sheets)
    with ThreadPoolExecutor(2) as pool:
        runs = list(pool.map(lambda command: subprocess.run(command, input=hexed, stdout=subprocess.PIPE, text=True),
                             runners.values()))
    answers = [run.stdout.splitlines() for run in runs]
    for name, run, lines in zip(runners, runs, answers):
        if run.returncode or len(lines) != len(sheets):
            sys.exit(f'differential: the {name} runner ended ({run.returncode}) after {len(lines)} of {len(sheets)}')
    for number, sheet, *results in zip(range(first, first + len(sheets)), sheets, *answers):
        if results[0] != results[1]:
            sys.exit(f'DIFFERENCE at {what} sheet {number}:\n  counts (challenge rating 1 first): '
                     f'{json.dumps(sheet[:20])}\n  party level: {json.dumps(sheet[20])}\n' + ''.join(
                         f'  {name}: {json.dumps(shown(result), ensure_ascii=False)}\n'
                         for name, result in zip(runners, results)))
        kind, *texts = shown(results[0])  # an overflow's kind: the first words of its message's second line
        tally[kind if kind == 'total' else ' '.join(texts[0].split('\n')[1].split()[:4])] += 1


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ('--native', '--core', '--design'):
        parser.add_argument(option, required=True)
    parser.add_argument('--node', default='node')
    parser.add_argument('--sheets', type=int, default=20000, help='how many sheets to generate')
    parser.add_argument('--seed', type=int, default=int.from_bytes(os.urandom(4), 'little'))
    args = parser.parse_args()
    print(f'differential: seed {args.seed}', flush=True)

    here, awards = Path(__file__).resolve().parent, json.loads(Path(args.design).read_text())['awardTable']
    runners = {'native': [args.native], 'web': [args.node, str(here / 'core_runner.mjs'), args.core, args.design]}
    started, tally, generator = time.monotonic(), Counter(), Generator(args.seed, awards)
    tests = [here.parent / f'{n}_test.cpp' for n in 'number_reader experience_calculation entry_conversion'.split()]
    compare(runners, test_sheets(tests, here.parent / 'fuzz' / 'corpus', awards), 'test', tally)
    print(f'differential: {sum(tally.values())} sheets of the tests and the fuzz corpus agree', flush=True)
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
