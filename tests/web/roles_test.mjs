// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The page finds each control by what it does, whatever it is called.
import assert from 'node:assert/strict';
import test from 'node:test';

import {controlOf, controlsOf, keyOf} from '../../packaging/web/roles.js';
import {designs, sample, windowsOf} from './designs.mjs';

for (const {about, design} of designs()) {
    for (const [key, win] of windowsOf(design)) {
        test(`${about}, ${key}: each control is the one found by its role`, () => {
            win.controls.forEach((control, index) =>
                assert.equal(controlOf(win, control.role, control.challengeRating), index, control.name));
        });
        test(`${about}, ${key}: each control's key is its own`, () => {
            const keys = win.controls.map(keyOf);
            assert.equal(new Set(keys).size, keys.length, keys.join(' '));
        });
    }
    test(`${about}: the count boxes come by challenge rating, from 1 with none left out`, () => {
        const ratings = controlsOf(design.calculator, 'count').map(i => design.calculator.controls[i].challengeRating);
        assert.deepEqual(ratings, ratings.map((_, i) => i + 1));
    });
}

test('the design names play no part: given each other\'s names, the same controls are found', () => {
    const win = sample().calculator;
    const renamed = {...win, controls: win.controls.map((control, i, all) => ({...control, name: all.at(i - 1).name}))};
    renamed.controls.forEach((control, index) =>
        assert.equal(controlOf(renamed, control.role, control.challengeRating), index));
    assert.deepEqual(controlsOf(renamed, 'count'), controlsOf(win, 'count'));
});

test('the count boxes come by challenge rating whatever the order they are created in', () => {
    const win = sample().calculator;
    for (const controls of [win.controls, [...win.controls].reverse()]) {
        const ratings = controlsOf({...win, controls}, 'count').map(i => controls[i].challengeRating);
        assert.deepEqual(ratings, [...ratings].sort((a, b) => a - b));
        assert.ok(ratings.length > 1);
    }
});

test('a role the window lacks, or has twice, stops the page with its name', () => {
    const win = sample().calculator;
    assert.throws(() => controlOf(win, 'undo'), /Form1 has no controls of role "undo"/);
    assert.throws(() => controlOf(win, 'count', 99), /"count" at challenge rating 99/);
    assert.throws(() => controlOf(win, 'count'), /no controls of role "count"/);
    const twice = {...win, controls: [...win.controls, win.controls[controlOf(win, 'total')]]};
    assert.throws(() => controlOf(twice, 'total'), /has 2 controls of role "total"/);
});
