// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The web page's side of the differential test, reading and writing as native/native_runner.cpp does: the build's
// core.js through the page's own interface to it, its boxes found by role in design.json as the page does.
// Usage: node core_runner.mjs CORE_JS DESIGN_JSON < sheets > answers
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';

import {calculatorOver} from '../../packaging/web/calculator.js';
import {controlOf, controlsOf} from '../../packaging/web/roles.js';

const [coreJs, designJson] = process.argv.slice(2).map(file => path.resolve(file));
// Its WebAssembly handed over, as Node.js's fetch() takes no file names.
const core = await createRequire(import.meta.url)(coreJs)(
    {wasmBinary: fs.readFileSync(coreJs.replace(/\.js$/, '.wasm'))});
const win = JSON.parse(fs.readFileSync(designJson, 'utf8')).calculator;
const calculator = calculatorOver(core, win);
const boxes = [...controlsOf(win, 'count'), controlOf(win, 'partyLevel')]; // in a sheet's order
const hex = text => '\t' + Buffer.from(text, 'utf16le').swap16().toString('hex');
process.stdout.write(fs.readFileSync(0, 'latin1').split('\n').slice(0, -1).map(line => {
    const sheet = line.split('\t').map(text => Buffer.from(text, 'hex').swap16().toString('utf16le'));
    const result = calculator.calculate(control => sheet[boxes.indexOf(control)]);
    return 'overflow' in result ? `overflow${hex(result.overflow)}${hex(win.controls[result.control].name)}\n`
                                : `total${hex(result.total)}${hex(result.said)}${hex(result.working)}\n`;
}).join(''));
