// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The web page's side of the differential test, framed as native/native_runner.cpp frames the desktop's: the
// build's core.js through the page's own interface to it, its boxes found by role in design.json as the page does.
// Usage: node core_runner.mjs CORE_JS DESIGN_JSON < sheets > results
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';
import readline from 'node:readline';

import {calculatorOver} from '../../packaging/web/calculator.js';
import {controlOf, controlsOf} from '../../packaging/web/roles.js';

const [coreJs, designJson] = process.argv.slice(2).map(file => path.resolve(file));
// Its WebAssembly handed over, as Node.js's fetch() takes no file names.
const core = await createRequire(import.meta.url)(coreJs)(
    {wasmBinary: fs.readFileSync(coreJs.replace(/\.js$/, '.wasm'))});
const win = JSON.parse(fs.readFileSync(designJson, 'utf8')).calculator;
const calculator = calculatorOver(core, win);
// The field of a sheet each box shows: the counts by challenge rating, then the party level.
const fieldOf = new Map([...controlsOf(win, 'count'), controlOf(win, 'partyLevel')].map((box, i) => [box, i]));

const hex = text => Buffer.from(text, 'utf16le').toString('hex');
for await (const line of readline.createInterface({input: process.stdin, crlfDelay: Infinity})) {
    const sheet = line.split('\t').map(field => Buffer.from(field, 'hex').toString('utf16le'));
    if (sheet.length !== fieldOf.size || line.length !== sheet.reduce((n, text) => n + 4 * text.length + 1, -1))
        throw new Error(`core_runner: not ${fieldOf.size} fields of hexadecimal UTF-16LE: ${line.slice(0, 80)}`);
    const result = calculator.calculate(control => sheet[fieldOf.get(control)]);
    process.stdout.write('overflow' in result
        ? `overflow\t${hex(result.overflow)}\t${win.controls[result.control].name}\n`
        : `total\t${hex(result.total)}\t${hex(result.said)}\t${hex(result.working)}\n`);
}
