// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator over the core: each box's text reaches the core's entry for
// it, and what the core says comes back, an overflow with the box it names.
// Over a core that writes down what it is given; and, when XPCALC_CORE_JS
// names the build's core.js, over the real core and the build's export.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import test from 'node:test';

import {calculatorOver} from '../../packaging/web/calculator.js';
import {controlOf, controlsOf} from '../../packaging/web/roles.js';
import {designs, sample} from './designs.mjs';

// A core that keeps each text at a pointer of its own (0 being none).
function fakeCore({calculates = true, overflowControl = -1} = {}) {
    const memory = [null];
    const keep = text => memory.push(text) - 1;
    const core = {
        entries: [],
        _xpcalc_entry: (entry, length) => (entry > 20 ? 0 : (core.entries[entry] = {at: keep(null), length}).at),
        stringToUTF16(text, at, bytes) {
            const {length} = core.entries.find(e => e.at === at);
            assert.ok(text.length === length && bytes >= (length + 1) * 2, `room for ${JSON.stringify(text)} and its NUL`);
            memory[at] = text;
        },
        UTF16ToString: at => memory[at],
        _xpcalc_calculate: () => Number(calculates),
        _xpcalc_total: () => keep(`total of ${core.entries.map(e => memory[e.at]).join(',')}`),
        _xpcalc_announcement: () => keep('said'),
        _xpcalc_working: () => keep('working'),
        _xpcalc_overflow_message: () => keep('overflowed'),
        _xpcalc_overflow_control: () => overflowControl,
    };
    return core;
}

// Each box of the window holds a text of its own, the party level's beyond
// the Basic Multilingual Plane.
const textsOf = win => index => (win.controls[index].role === 'partyLevel' ? '4\u{1F3B2}'
    : `${win.controls[index].role}${win.controls[index].challengeRating ?? ''}`);

test('the counts reach the core by challenge rating, then the party level, whole; the total comes back', () => {
    const win = sample().calculator;
    const core = fakeCore();
    const result = calculatorOver(core, win).calculate(textsOf(win));
    assert.deepEqual(core.entries.map(e => core.UTF16ToString(e.at)), ['count1', 'count2', 'count3', '4\u{1F3B2}']);
    assert.deepEqual(result, {total: 'total of count1,count2,count3,4\u{1F3B2}', said: 'said', working: 'working'});
});

test('an overflow comes back with its words and the box the core names', () => {
    const win = sample().calculator;
    for (const control of [...controlsOf(win, 'count'), controlOf(win, 'partyLevel')])
        assert.deepEqual(calculatorOver(fakeCore({calculates: false, overflowControl: control}), win)
            .calculate(textsOf(win)), {overflow: 'overflowed', control});
});

test('an overflow the core puts in no box, or a box the core has no room for, stops the page', () => {
    const win = sample().calculator;
    for (const control of [controlOf(win, 'calculate'), -1, win.controls.length])
        assert.throws(() => calculatorOver(fakeCore({calculates: false, overflowControl: control}), win)
            .calculate(textsOf(win)), /no box of Form1/);
    // More counts than the core has entries for.
    const count = win.controls[controlOf(win, 'count', 1)];
    const many = {...win, controls: [...win.controls, ...Array.from({length: 20}, (_, i) => (
        {...count, challengeRating: 100 + i}))]};
    assert.throws(() => calculatorOver(fakeCore(), many).calculate(() => '0'), /no room for/);
});

const [, build] = designs();
test('the real core and the build\'s export: an overflow names the box that overflowed, as the export numbers it',
     {skip: !(process.env.XPCALC_CORE_JS && build) && 'XPCALC_CORE_JS and XPCALC_DESIGN_JSON name no build'}, async () => {
    const win = build.design.calculator;
    // Its WebAssembly handed over, as Node.js's fetch() takes no file names.
    const core = await createRequire(import.meta.url)(process.env.XPCALC_CORE_JS)(
        {wasmBinary: fs.readFileSync(process.env.XPCALC_CORE_JS.replace(/\.js$/, '.wasm'))});
    const calculator = calculatorOver(core, win);
    const level = controlOf(win, 'partyLevel');
    assert.ok('total' in calculator.calculate(index => (index === level ? '1' : '0')));
    for (const box of [...controlsOf(win, 'count'), level]) {
        // More than a count or a level holds, in this box alone.
        const result = calculator.calculate(index => (index === box ? '99999999999' : '1'));
        assert.equal(result.control, box, win.controls[box].name);
        assert.ok(result.overflow, win.controls[box].name);
    }
});
