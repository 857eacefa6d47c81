// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// What screen readers hear: the live region changes every time, so that the
// same words twice are said twice, and the latest words are the ones left.
import assert from 'node:assert/strict';
import test from 'node:test';

import {announcer, kReannounceDelayMs} from '../../packaging/web/announce.js';

// A live region that writes down each text it is given, and a clock that
// moves only when told.
function fixture() {
    const region = {said: [], set textContent(text) { this.said.push(text); }};
    let now = 0;
    let timers = [];
    const clock = {
        setTimeout(run, ms) { timers.push({run, at: now + ms}); return timers.at(-1); },
        clearTimeout(timer) { timers = timers.filter(t => t !== timer); },
        advance(ms) {
            now += ms;
            const due = timers.filter(t => t.at <= now);
            timers = timers.filter(t => t.at > now);
            due.forEach(t => t.run());
        },
    };
    return {region, clock, announce: announcer(region, clock)};
}

test('the region empties at once, and takes the words only after the delay', () => {
    const {region, clock, announce} = fixture();
    announce('1600 experience');
    assert.deepEqual(region.said, ['']);
    clock.advance(kReannounceDelayMs - 1);
    assert.deepEqual(region.said, ['']);
    clock.advance(1);
    assert.deepEqual(region.said, ['', '1600 experience']);
});

test('the same words twice change the region twice', () => {
    const {region, clock, announce} = fixture();
    announce('1600 experience');
    clock.advance(kReannounceDelayMs);
    announce('1600 experience');
    clock.advance(kReannounceDelayMs);
    assert.deepEqual(region.said, ['', '1600 experience', '', '1600 experience']);
});

test('words asked for before the last ones went in give way to the newer', () => {
    const {region, clock, announce} = fixture();
    announce('the total');
    announce('the working');
    clock.advance(kReannounceDelayMs * 2);
    assert.deepEqual(region.said, ['', '', 'the working']);
});
