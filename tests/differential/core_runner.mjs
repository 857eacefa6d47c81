// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The web page's side of the differential test: the same framing as
// native/native_runner.cpp, over the build's core.js through the page's own
// interface to it (packaging/web/calculator.js) and the build's export of
// the designs, which the page finds its boxes and their order by.
// Usage: node core_runner.mjs CORE_JS DESIGN_JSON < sheets > results
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';
import readline from 'node:readline';

import {calculatorOver} from '../../packaging/web/calculator.js';
import {controlOf, controlsOf} from '../../packaging/web/roles.js';

const [coreJs, designJson] = process.argv.slice(2).map(file => file && path.resolve(file));
if (!coreJs || !designJson) {
    console.error('usage: node core_runner.mjs CORE_JS DESIGN_JSON');
    process.exit(2);
}
// Its WebAssembly handed over, as Node.js's fetch() takes no file names.
const core = await createRequire(import.meta.url)(coreJs)(
    {wasmBinary: fs.readFileSync(coreJs.replace(/\.js$/, '.wasm'))});
const win = JSON.parse(fs.readFileSync(designJson, 'utf8')).calculator;
const calculator = calculatorOver(core, win);

// Which field of a sheet each box shows: the counts by challenge rating,
// then the party level.
const fieldOf = new Map([...controlsOf(win, 'count'), controlOf(win, 'partyLevel')].map((box, i) => [box, i]));
const fields = fieldOf.size;

const hex = text => Buffer.from(text, 'utf16le').toString('hex');
const fromHex = field => {
    if (!/^(?:[0-9a-f]{4})*$/.test(field))
        throw new Error(`not hexadecimal UTF-16LE: ${field.slice(0, 40)}`);
    return Buffer.from(field, 'hex').toString('utf16le');
};

let number = 0;
for await (const line of readline.createInterface({input: process.stdin, crlfDelay: Infinity})) {
    ++number;
    const texts = line.split('\t');
    if (texts.length !== fields) {
        console.error(`core_runner: line ${number} has ${texts.length} fields, not ${fields}`);
        process.exit(2);
    }
    const sheet = texts.map(fromHex);
    const result = calculator.calculate(control => sheet[fieldOf.get(control)]);
    process.stdout.write('overflow' in result
        ? `overflow\t${hex(result.overflow)}\t${win.controls[result.control].name}\n`
        : `total\t${hex(result.total)}\t${hex(result.said)}\t${hex(result.working)}\n`);
}
