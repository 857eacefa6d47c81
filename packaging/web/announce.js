// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// What screen readers hear without the focus moving: the words are put in a
// live region (role="status"), which they read out when its text changes.

// How long the region stays empty before the new words go in. Screen readers
// say a live region's text only when it changes, so the same words twice in
// a row would be said once; emptied first, it changes each time. Set at once,
// the empty state may never reach the accessibility tree: the browser updates
// it once per frame or less, so the words wait a few frames.
export const kReannounceDelayMs = 50;

// announce(text) says text in `region`; words asked for before the last
// ones went in give way to them. `timers` is where setTimeout lives.
export function announcer(region, timers = globalThis) {
    let pending = null;
    return text => {
        timers.clearTimeout(pending);
        region.textContent = '';
        pending = timers.setTimeout(() => {
            pending = null;
            region.textContent = text;
        }, kReannounceDelayMs);
    };
}
