// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The page finds each control by what it does, whatever it is called and in
// whatever order it is created.
import assert from 'node:assert/strict';
import test from 'node:test';

import {controlOf, controlsOf, keyOf} from '../../packaging/web/roles.js';
import {designs, sample, windowsOf} from './designs.mjs';

for (const {about, design} of designs()) {
    test(`${about}: each control is the one found by its role, under a key of its own`, () => {
        for (const [, win] of windowsOf(design)) {
            win.controls.forEach((c, i) => assert.equal(controlOf(win, c.role, c.challengeRating), i, c.name));
            const keys = win.controls.map(keyOf);
            assert.equal(new Set(keys).size, keys.length, keys.join(' '));
        }
        const ratings = controlsOf(design.calculator, 'count').map(i => design.calculator.controls[i].challengeRating);
        assert.deepEqual(ratings, ratings.map((_, i) => i + 1), 'the counts by challenge rating, from 1');
    });
}

test('neither the design names nor the order of creation play a part', () => {
    const win = sample().calculator;
    for (const controls of [win.controls.map((c, i, all) => ({...c, name: all.at(i - 1).name})),
                            [...win.controls].reverse()]) {
        const changed = {...win, controls};
        controls.forEach((c, i) => assert.equal(controlOf(changed, c.role, c.challengeRating), i, c.name));
        assert.deepEqual(controlsOf(changed, 'count').map(i => controls[i].challengeRating), [1, 2, 3]);
    }
});

test('a role the window lacks, or has twice, stops the page with its name', () => {
    const win = sample().calculator;
    const twice = {...win, controls: [...win.controls, win.controls[controlOf(win, 'total')]]};
    for (const [find, error] of [[() => controlOf(win, 'undo'), /Form1 has no controls of role "undo"/],
                                 [() => controlOf(win, 'count', 99), /"count" at challenge rating 99/],
                                 [() => controlOf(win, 'count'), /no controls of role "count"/],
                                 [() => controlOf(twice, 'total'), /has 2 controls of role "total"/]])
        assert.throws(find, error);
});
