// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// What screen readers hear: the live region changes every time, so that the
// same words twice are said twice, and the latest words are the ones left.
import assert from 'node:assert/strict';
import test from 'node:test';

import {announcer, kReannounceDelayMs as kDelay} from '../../packaging/web/announce.js';

// Each case: words to announce and milliseconds to let pass, in turn, and
// every text the region is then given.
for (const [about, steps, said] of [
    ['the region empties at once, and the words wait for the delay', ['1600', kDelay - 1], ['']],
    ['after the delay the words go in', ['1600', kDelay], ['', '1600']],
    ['the same words twice change the region twice', ['1600', kDelay, '1600', kDelay], ['', '1600', '', '1600']],
    ['words not yet in give way to newer ones', ['the total', 'the working', 2 * kDelay], ['', '', 'the working']],
]) {
    test(about, () => {
        const region = {said: [], set textContent(text) { this.said.push(text); }};
        let now = 0;
        let timers = [];
        const clock = {
            setTimeout: (run, ms) => timers[timers.push({run, at: now + ms}) - 1],
            clearTimeout: timer => { timers = timers.filter(t => t !== timer); },
        };
        const announce = announcer(region, clock);
        for (const step of steps) {
            if (typeof step === 'string') {
                announce(step);
                continue;
            }
            now += step;
            const due = timers.filter(t => t.at <= now);
            timers = timers.filter(t => t.at > now);
            due.forEach(t => t.run());
        }
        assert.deepEqual(region.said, said);
    });
}
