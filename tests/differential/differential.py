#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The differential test of the two cores: the desktop's, built for this
machine (native/native_runner.cpp), and the web page's, core.js and its
WebAssembly under Node.js (core_runner.mjs), must show the same for every
sheet: the same total, announcement and working, or the same overflow
message naming the same box.

Both runners read the same sheets and write one line each; any line that
differs stops the run with the sheet and both results. The sheets: texts
derived from the fuzz corpus files, the texts and sheets of the core's
number-reading and calculation tests, then generated sheets from a seeded
generator (the seed is printed, so a run can be repeated)."""

import argparse
import decimal
import json
import os
import random
import re
import subprocess
import sys
import threading
import time
from pathlib import Path

INT32 = 2**31
BATCH = 2000  # sheets sent to both runners before their answers are read

BLANKS = ' \t\n'
# Characters that stand where a number might go on, and end it instead.
ENDERS = [',', '$', '#', '%', "'", '_', 'x', '/', '\r', '\v', '\f', '\0', '\u00a0', '\u2007', '\u202f', '\u3000',
          '\ufeff', '\ud800', '\udbff', '\udc00', '\udfff', '\u2212']
# The zeros of other scripts' digits, the last two beyond the Basic
# Multilingual Plane (a surrogate pair each).
FOREIGN_ZEROS = [0xFF10, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0E50, 0x1040, 0x2070, 0x2080, 0x1D7CE, 0x1FBF0]
# What a number is made of, for garbage that comes close to being one.
NUMBER_ALPHABET = '0123456789+-.eEdD&HhOo ,\t\n'
SPECIAL_NUMBERS = [
    '1E308', '1E309', '-1E309', '1.7976931348623157E308', '1.7976931348623158E308', '1.8E308', '1E400', '1E-400',
    '5E-324', '2.4703282292062327E-324', '2.4703282292062328E-324', '1E-330', '9E99999999999999999',
    '0E999999999999', '1E-999999999999', '1E', '1E-', '1E+', 'E5', '1 E 2', '1e3x', '25E-1', '2d2', '1D3',
    '9007199254740993', '9007199254740995', '2147483647.5', '2147483646.5', '-2147483648.5', '-2147483647.5',
    '32767.5', '-32768.5', '32766.5', '2147483647.4999999999', '-2147483648.5000000001', '&H8000', '&HFFFF',
    '&H7FFF', '&H10000', '&HFFFFFFFF', '&H80000000', '&H7FFFFFFF', '&H100000000', '&O177777', '&O37777777777',
    '&O40000000000', '-&H10', '& H 1 0', '&', '&12', '&HG', '&O78', '-0', '+0', '.', '-', '+', '-.', '.5', '5.',
    '0.000', '1.2.3', '+-8', '--8', '- 8']


def utf16_hex(text):
    return text.encode('utf-16-le', 'surrogatepass').hex()


def from_hex(field):
    return bytes.fromhex(field).decode('utf-16-le', 'surrogatepass')


class Generator:
    """Sheets from a seeded generator: plausible ones, ones at the edges of
    reading, rounding and the 32-bit and 16-bit ranges, ones that aim at an
    overflow of a product or of the running total, and garbage."""

    def __init__(self, seed, awards):
        self.r = random.Random(seed)
        self.awards = awards  # by party level 1 to 20, then challenge rating 1 to 20
        r = self.r
        self.count_kinds = [
            (30, self.small), (10, self.typical), (8, self.int32_edge), (8, self.half), (6, self.decimal),
            (6, self.exponent), (6, lambda: r.choice(SPECIAL_NUMBERS)), (4, self.huge), (5, self.radix),
            (4, self.signs), (4, self.foreign), (5, self.garbage), (3, self.blanks), (3, lambda: ''),
            (1, self.long)]
        self.count_weights = [w for w, _ in self.count_kinds]

    # -- texts

    def spell(self, value):
        """An integer as an entry might give it: signed or not, with leading
        zeros, a fraction of zeros, or an exponent."""
        r = self.r
        digits = str(abs(value))
        sign = '-' if value < 0 else r.choice(('', '', '', '+'))
        k = r.random()
        if k < 0.6:
            return sign + digits
        if k < 0.7:
            return sign + '0' * r.randint(1, 6) + digits
        if k < 0.8:
            return sign + digits + '.' + '0' * r.randint(0, 3)
        exponent = r.randint(-4, len(digits) + 3)
        mantissa = format(decimal.Decimal(abs(value)).scaleb(-exponent), 'f')
        plus = r.choice(('', '+')) if exponent >= 0 else ''
        return sign + mantissa + r.choice('EeDd') + plus + str(exponent)

    def small(self):
        return self.spell(self.r.randint(-30, 30))

    def typical(self):
        return self.spell(self.r.randint(0, 100000))

    def int32_edge(self):
        r = self.r
        if r.random() < 0.2:
            return self.spell(r.randint(-INT32, INT32 - 1))
        return self.spell(r.choice((INT32 - 1, -INT32, 32767, -32768)) + r.randint(-3, 3))

    def half(self):
        """Halfway between two integers, and a hair either side of it, in more
        digits than a double holds."""
        r = self.r
        whole = r.choice((r.randint(-30, 30), r.randint(-INT32, INT32), r.choice((INT32 - 1, -INT32, 32767))))
        sign = '-' if whole < 0 else ''
        tail = r.choice(('5', '5' + '0' * r.randint(1, 30) + '1', '4' + '9' * r.randint(1, 30),
                         '5' + '0' * r.randint(1, 30)))
        return f'{sign}{abs(whole)}.{tail}'

    def decimal(self):
        r = self.r
        return (r.choice(('', '-', '+')) + ''.join(r.choices('0123456789', k=r.randint(0, 12))) + '.' +
                ''.join(r.choices('0123456789', k=r.randint(0, 20))))

    def exponent(self):
        r = self.r
        mantissa = ''.join(r.choices('0123456789', k=r.randint(1, 20)))
        if r.random() < 0.5:
            point = r.randint(0, len(mantissa))
            mantissa = mantissa[:point] + '.' + mantissa[point:]
        power = r.choice((r.randint(-30, 30), r.randint(-400, 400), r.randint(-10**20, 10**20)))
        return r.choice(('', '-', '+')) + mantissa + r.choice('EeDd') + r.choice(('', '+') if power >= 0 else ('',)) + \
            str(power)

    def huge(self):
        r = self.r
        length = r.randint(10, 400)
        if r.random() < 0.3:
            return r.choice(('', '-')) + '1' + '0' * length
        return r.choice(('', '-')) + ''.join(r.choices('0123456789', k=length))

    def radix(self):
        r = self.r
        marker = r.choice('HhOo')
        alphabet = '0123456789abcdefABCDEFG' if marker in 'Hh' else '012345678'
        digits = '0' * r.choice((0, 0, r.randint(1, 12))) + ''.join(r.choices(alphabet, k=r.randint(0, 12)))
        return r.choice(('', '', '', '-', ' ')) + '&' + marker + digits

    def signs(self):
        r = self.r
        return r.choice(('+', '-', '+-', '-+', '--', '++', '- ', ' -', '.', '-.', '+.', '')) + \
            r.choice(('', '0', '7', '12', '.5', 'E3'))

    def foreign(self):
        """Digits of other scripts, alone or among ASCII ones."""
        r = self.r
        text = self.spell(r.randint(-1000, 1000))
        out = []
        for c in text:
            if c.isdigit() and r.random() < 0.5:
                out.append(chr(r.choice(FOREIGN_ZEROS) + int(c)))
            else:
                out.append(c)
        return ''.join(out)

    def garbage(self):
        r = self.r
        length = r.randint(0, 30)
        if r.random() < 0.5:
            return ''.join(r.choices(NUMBER_ALPHABET, k=length))
        if r.random() < 0.5:
            return ''.join(r.choices(NUMBER_ALPHABET + ''.join(ENDERS), k=length))
        return ''.join(chr(r.randrange(0x10000)) for _ in range(length))

    def blanks(self):
        r = self.r
        return ''.join(r.choices(BLANKS, k=r.randint(1, 8)))

    def long(self):
        """Texts longer than the 768 digits the reader keeps, now and then far
        longer, and long runs of blanks or zeros."""
        r = self.r
        k = r.randint(700, 6000) if r.random() < 0.99 else r.randint(100000, 300000)
        kind = r.randrange(5)
        if kind == 0:
            digits = ''.join(r.choices('0123456789', k=k))
            return digits + 'E-' + str(k - r.randint(-3, 12))
        if kind == 1:  # halfway between two doubles, decided far out
            return '9007199254740993' + r.choice(('.', '')) + '0' * k + r.choice(('', '1', ',1', ' 1'))
        if kind == 2:
            return '0.' + '0' * k + '1E' + str(k + r.randint(-5, 12))
        if kind == 3:
            return ' ' * k + str(r.randint(-100, 100)) + '\t' * r.randint(0, k)
        return '1' + ''.join(r.choice(('000 0', '0000', '\t00')) for _ in range(k // 4)) + 'E-' + str(k)

    def mutate(self, text):
        """Blanks around and inside, and something after that ends the number."""
        r = self.r
        k = r.random()
        if k < 0.8:
            return text
        if k < 0.87:
            return r.choice(('', ' ', '  ', '\t', '\n')) + text + r.choice(('', ' ', '\t', '\n '))
        if k < 0.93 and text:
            at = r.randint(0, len(text))
            return text[:at] + r.choice(BLANKS) * r.randint(1, 3) + text[at:]
        return text + r.choice(ENDERS) + r.choice(('', '5', '000', 'abc', '\ud83c\udfb2'))

    def count(self):
        kind = self.r.choices(self.count_kinds, self.count_weights)[0][1]
        return self.mutate(kind())

    def level(self):
        r = self.r
        k = r.random()
        if k < 0.6:
            return self.mutate(self.spell(r.randint(1, 20)))
        if k < 0.75:
            return self.mutate(self.spell(r.choice((0, 21, 22, 23, 24, 25, -1, -20))))
        if k < 0.88:
            return self.mutate(r.choice((self.spell(r.choice((32767, 32768, -32768, -32769, 65535, 65536))),
                                         f'{r.randint(0, 20)}.5', f'{r.randint(0, 20)}.4999999999999999',
                                         f'{r.randint(0, 20)}.50000000000000001', '&H8000', '&HFFFF', '&H7FFF',
                                         '&O100000', '')))
        return self.count()

    # -- sheets

    def sheet(self):
        r = self.r
        style = r.random()
        level = self.level()
        if style < 0.3:  # plausible: mostly zeros, a few small counts
            counts = ['0' if r.random() < 0.7 else self.small() for _ in range(20)]
        elif style < 0.65:  # every kind of text, among zeros
            counts = [self.count() if r.random() < 0.25 else self.small() for _ in range(20)]
        elif style < 0.9:
            return self.overflowing()
        else:  # nothing plausible at all
            counts = [self.count() for _ in range(20)]
        return counts + [level]

    def overflowing(self):
        """A product or a running total at an end of the 32-bit range: just
        inside, on it, or just past it."""
        r = self.r
        level = r.randint(1, 20)
        row = self.awards[level - 1]
        awarded = [cr for cr in range(20) if row[cr]]
        counts = ['0'] * 20
        limit = r.choice((INT32 - 1, -INT32))
        if r.random() < 0.4:
            cr = r.choice(awarded)
            counts[cr] = self.spell(limit // row[cr] + r.randint(-1, 2))
        else:
            chosen = r.sample(awarded, min(len(awarded), r.randint(2, 5)))
            rest = limit
            for cr in chosen[:-1]:
                counts[cr] = str(round(limit / len(chosen) / row[cr]) + r.randint(-2, 2))
                rest -= int(counts[cr]) * row[cr]
            last = chosen[-1]
            counts[last] = str(rest // row[last] + r.randint(-1, 2))
            # Something that ends it or takes it back on either side.
            if r.random() < 0.3:
                other = r.choice(awarded)
                counts[other] = self.spell(-int(counts[other]) if counts[other] != '0' else r.randint(-5, 5))
        return [self.mutate(c) for c in counts] + [self.mutate(self.spell(level))]


# -- the sheets of the corpora and the tables

class FuzzedData:
    """A fuzz input handing out integers as libFuzzer's FuzzedDataProvider
    does: bytes from the end, the first taken most significant, as many as
    the range needs, then reduced into it."""

    def __init__(self, data):
        self.data = data
        self.remaining = len(data)

    def integral(self, low, high, bits):
        span, value, taken = high - low, 0, 0
        while taken < bits and span >> taken and self.remaining:
            self.remaining -= 1
            value = value << 8 | self.data[self.remaining]
            taken += 8
        return low + (value % (span + 1) if span < 2**64 - 1 else value)

    def text(self, longest=4096):
        """consumeText() of tests/fuzz/fuzz_text.h, at its kLongText."""
        length = self.integral(0, longest, 64)
        units = []
        while len(units) < length and self.remaining >= 2:
            units.append(self.integral(0, 0xFFFF, 16))
        return b''.join(unit.to_bytes(2, 'little') for unit in units).decode('utf-16-le', 'surrogatepass')


def corpus_texts(folder):
    """Each fuzz corpus file's text as the reader's fuzz target reads it
    (tests/fuzz/reader_fuzz.cpp: a flag, then the text), and the file read
    every way it might hold a text as written: as bytes, as UTF-8, and as
    UTF-16LE at either byte alignment."""
    texts = []
    for path in sorted(Path(folder).iterdir()):
        data = path.read_bytes()
        fuzzed = FuzzedData(data)
        fuzzed.integral(0, 255, 8)
        readings = [fuzzed.text(), data.decode('latin-1'), data.decode('utf-8', 'replace')]
        for start in (0, 1):
            units = data[start:start + (len(data) - start) // 2 * 2]
            readings.append(units.decode('utf-16-le', 'surrogatepass'))
        texts += list(dict.fromkeys(readings))
    return texts


def corpus_sheets(folder):
    """Each fuzz corpus file's sheet as the calculation's fuzz target reads
    it (consumeEntry() of tests/fuzz/calculation_fuzz.cpp, for each box)."""
    sheets = []
    for path in sorted(Path(folder).iterdir()):
        fuzzed = FuzzedData(path.read_bytes())
        sheet = []
        for _ in range(21):
            kind = fuzzed.integral(0, 3, 32)
            if kind == 0:
                sheet.append(fuzzed.text())
            elif kind == 1:
                sheet.append(str(fuzzed.integral(-INT32, INT32 - 1, 32)))
            elif kind == 2:
                sheet.append(str(fuzzed.integral(-30, 30, 32)))
            else:
                sheet.append('0')
        sheets.append(sheet)
    return sheets


ESCAPES = {'n': '\n', 't': '\t', 'r': '\r', 'v': '\v', 'f': '\f', 'a': '\a', 'b': '\b', '0': '\0', '\\': '\\',
           '"': '"', "'": "'", '?': '?'}
LITERAL = r'u"((?:[^"\\\n]|\\.)*)"'


def cpp_literal(body):
    """The UTF-16 text of the body of a C++ u"" literal."""
    out = []
    for m in re.finditer(r'\\(u[0-9A-Fa-f]{4}|U[0-9A-Fa-f]{8}|x[0-9A-Fa-f]+|[0-7]{1,3}|.)|([^\\])', body, re.S):
        escape, plain = m.groups()
        if plain is not None:
            out.append(plain)
        elif escape[0] in 'uUx':
            code = int(escape[1:], 16)
            # \x and \u give one code unit each, so a lone surrogate is one.
            out.append(chr(code))
        elif escape[0] in '01234567':
            out.append(chr(int(escape, 8)))
        else:
            out.append(ESCAPES[escape])
    return ''.join(out)


def table_texts(sources):
    """Every text in the tests' u"" literals, adjacent literals joined as the
    compiler joins them."""
    texts = []
    for source in sources:
        code = Path(source).read_text()
        for group in re.finditer(rf'{LITERAL}(?:\s*{LITERAL})*', code):
            texts.append(''.join(cpp_literal(m.group(1)) for m in re.finditer(LITERAL, group.group(0))))
    return list(dict.fromkeys(texts))


def table_sheets(source):
    """The calculation tests' sheets: {{{challenge rating, u"count"}, ...},
    u"level"}, every other count "0", as the window starts."""
    code = Path(source).read_text()
    entry = rf'\{{\s*(\d+)\s*,\s*{LITERAL}\s*\}}'
    found = re.findall(rf'\{{\{{((?:\s*{entry}\s*,?)*)\s*\}}\s*,\s*{LITERAL}\s*\}}', code)
    sheets = []
    for counts, *_, level in found:
        sheet = ['0'] * 20 + [cpp_literal(level)]
        for cr, text in re.findall(entry, counts):
            sheet[int(cr) - 1] = cpp_literal(text)
        sheets.append(sheet)
    # Every case and every sheet of a test must be read: one left out means
    # the tests have a form this does not know yet.
    written = len(re.findall(r'\b(?:total|overflow)\("', code)) + len(re.findall(r'\bSheet sheet\{', code))
    defaults = len(re.findall(r'"\s*,\s*\{\}\s*,', code))
    if len(sheets) + defaults != written or not sheets:
        sys.exit(f'differential: read {len(sheets)} sheets and {defaults} default ones from {source}, '
                 f'which has {written}: teach table_sheets its new form')
    return [['0'] * 20 + ['0']] * defaults + sheets


def sheets_of_texts(texts, awards):
    """Each text in a count box, at a party level whose row awards it, as
    the party level, and in every box at once."""
    sheets = []
    for i, text in enumerate(texts):
        cr = i % 20
        levels = [level for level in range(1, 21) if awards[level - 1][cr]]
        counts = ['1'] * 20
        counts[cr] = text
        sheets += [counts + [str(levels[i // 20 % len(levels)])], ['1'] * 20 + [text], [text] * 21]
    return sheets


# -- running both cores

class Runner:
    """A runner, fed a batch of sheets while its answers are read."""

    def __init__(self, name, command):
        self.name = name
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def send(self, lines):
        def write():
            try:
                self.process.stdin.write(lines)
                self.process.stdin.flush()
            except BrokenPipeError:
                pass  # it stopped; reading its answers says so
        # A daemon: a runner that stopped reading must not keep the driver from ending.
        threading.Thread(target=write, daemon=True).start()

    def answers(self, count):
        lines = [self.process.stdout.readline() for _ in range(count)]
        if not lines[-1].endswith(b'\n'):
            self.process.kill()
            sys.exit(f'differential: the {self.name} runner stopped before answering every sheet '
                     f'(exit status {self.process.wait()})')
        return lines

    def stop(self):
        self.process.kill()
        self.process.wait()

    def close(self):
        self.process.stdin.close()
        status = self.process.wait()
        if status != 0:
            sys.exit(f'differential: the {self.name} runner ended with status {status}')


def readable(result):
    kind, *fields = result.decode(errors='replace').rstrip('\n').split('\t')
    if kind == 'total' and len(fields) == 3:
        return {'total': from_hex(fields[0]), 'said': from_hex(fields[1]), 'working': from_hex(fields[2])}
    if kind == 'overflow' and len(fields) == 2:
        return {'overflow': from_hex(fields[0]), 'box': fields[1]}
    return {'unreadable': result.decode(errors='replace')}


def compare(runners, sheets, what, first, tally):
    """Runs the sheets through both runners, a batch at a time. At the first
    result that differs, shows the sheet, numbered from `first`, and both
    results, and says so."""
    for start in range(0, len(sheets), BATCH):
        batch = sheets[start:start + BATCH]
        lines = ''.join('\t'.join(utf16_hex(text) for text in sheet) + '\n' for sheet in batch).encode()
        for runner in runners:
            runner.send(lines)
        native, web = (runner.answers(len(batch)) for runner in runners)
        for i, (a, b) in enumerate(zip(native, web)):
            if a != b:
                sheet = batch[i]
                print(f'DIFFERENCE at {what} sheet {first + start + i}:\n'
                      f'  counts (challenge rating 1 first): {json.dumps(sheet[:20])}\n'
                      f'  party level: {json.dumps(sheet[20])}\n'
                      f'  {runners[0].name}: {json.dumps(readable(a), ensure_ascii=False)}\n'
                      f'  {runners[1].name}: {json.dumps(readable(b), ensure_ascii=False)}')
                return False
            kind = a.split(b'\t', 1)[0].decode()
            if kind == 'overflow':  # which overflow: the first words of its second line
                kind = ' '.join(readable(a)['overflow'].split('\n')[1].split()[:4])
            tally[kind] = tally.get(kind, 0) + 1
    return True


def main():
    here = Path(__file__).resolve().parent
    tests = here.parent
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--native', required=True, help='the native runner (native/native_runner.cpp, built)')
    parser.add_argument('--core', required=True, help="the web page's core.js, beside its core.wasm")
    parser.add_argument('--design', required=True, help="the build's export of the designs (design.json)")
    parser.add_argument('--node', default='node', help='Node.js')
    parser.add_argument('--sheets', type=int, default=20000, help='how many sheets to generate')
    parser.add_argument('--seed', type=int, help='the seed of the generated sheets (default: a new one, printed)')
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else int.from_bytes(os.urandom(4), 'little')
    print(f'differential: seed {seed}', flush=True)

    awards = json.loads(Path(args.design).read_text())['awardTable']
    started = time.monotonic()
    runners = [Runner('native', [args.native]),
               Runner('web', [args.node, str(here / 'core_runner.mjs'), args.core, args.design])]
    tally = {}
    fixed = [
        ('fuzz corpus', corpus_sheets(tests / 'fuzz' / 'corpus') +
         sheets_of_texts(corpus_texts(tests / 'fuzz' / 'corpus'), awards)),
        ('test table', sheets_of_texts(table_texts([tests / 'number_reader_test.cpp',
                                                    tests / 'experience_calculation_test.cpp',
                                                    tests / 'entry_conversion_test.cpp']), awards)),
        ('calculation test', table_sheets(tests / 'experience_calculation_test.cpp')),
    ]
    compared = 0
    def stop():
        for runner in runners:
            runner.stop()
        sys.exit(1)

    for what, sheets in fixed:
        if not compare(runners, sheets, what, 1, tally):
            stop()
        compared += len(sheets)
        print(f'differential: {len(sheets)} {what} sheets agree', flush=True)

    generator = Generator(seed, awards)
    done = 0
    while done < args.sheets:
        batch = [generator.sheet() for _ in range(min(BATCH * 10, args.sheets - done))]
        if not compare(runners, batch, f'generated (seed {seed})', done + 1, tally):
            stop()
        done += len(batch)
        compared += len(batch)
        if done % 100000 < len(batch):
            print(f'differential: {done} generated sheets agree ({time.monotonic() - started:.0f} s)', flush=True)
    for runner in runners:
        runner.close()
    print(f'differential: {compared} sheets, 0 differences, in {time.monotonic() - started:.1f} s; results: '
          + ', '.join(f'{kind} {n}' for kind, n in sorted(tally.items(), key=lambda item: -item[1])))


if __name__ == '__main__':
    main()
