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

// A core that keeps each text at a pointer of its own.
function fakeCore({calculates = true, overflowControl = -1} = {}) {
    const memory = new Map();
    let next = 8;
    const keep = text => {
        memory.set(next, text);
        return (next += 8) - 8;
    };
    const core = {
        entries: [],
        _xpcalc_entry(entry, length) {
            if (entry > 20)
                return 0;
            const at = keep('\0'.repeat(length));
            core.entries[entry] = {at, length};
            return at;
        },
        stringToUTF16(text, at, bytes) {
            const entry = core.entries.find(e => e.at === at);
            assert.ok(bytes >= (entry.length + 1) * 2, `room for ${JSON.stringify(text)} and its NUL`);
            assert.equal(text.length, entry.length);
            memory.set(at, text);
        },
        UTF16ToString: at => memory.get(at),
        _xpcalc_calculate: () => (calculates ? 1 : 0),
        _xpcalc_total: () => keep(`total of ${core.entries.map(e => memory.get(e.at)).join(',')}`),
        _xpcalc_announcement: () => keep('said'),
        _xpcalc_working: () => keep('working'),
        _xpcalc_overflow_message: () => keep('overflowed'),
        _xpcalc_overflow_control: () => overflowControl,
    };
    return core;
}

// Each box of the window holds a text of its own.
const textsOf = win => index => `${win.controls[index].role}${win.controls[index].challengeRating ?? ''}`;

test('the counts reach the core by challenge rating, then the party level', () => {
    const win = sample().calculator;
    const core = fakeCore();
    calculatorOver(core, win).calculate(textsOf(win));
    const boxes = [...controlsOf(win, 'count'), controlOf(win, 'partyLevel')];
    assert.deepEqual(core.entries.map(e => core.UTF16ToString(e.at)), boxes.map(textsOf(win)));
    assert.deepEqual(core.entries.map(e => core.UTF16ToString(e.at)), ['count1', 'count2', 'count3', 'partyLevel']);
});

test('a text reaches the core whole, in UTF-16 code units, surrogate pairs and all', () => {
    const win = sample().calculator;
    const core = fakeCore();
    calculatorOver(core, win).calculate(index => (win.controls[index].role === 'partyLevel' ? '4\u{1F3B2}' : ''));
    assert.equal(core.UTF16ToString(core.entries.at(-1).at), '4\u{1F3B2}');
    assert.equal(core.entries.at(-1).length, 3);
});

test('a total comes back with what is said of it and its working', () => {
    const win = sample().calculator;
    const result = calculatorOver(fakeCore(), win).calculate(textsOf(win));
    assert.deepEqual(result, {total: 'total of count1,count2,count3,partyLevel', said: 'said', working: 'working'});
});

test('an overflow comes back with its words and the box the core names', () => {
    const win = sample().calculator;
    for (const control of [...controlsOf(win, 'count'), controlOf(win, 'partyLevel')]) {
        const result = calculatorOver(fakeCore({calculates: false, overflowControl: control}), win)
            .calculate(textsOf(win));
        assert.deepEqual(result, {overflow: 'overflowed', control});
    }
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
