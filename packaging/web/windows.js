// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The page shows one window of the export at a time, in place of the last,
// as the desktop program switches between its two.
import {chartSpec} from './chart.js';
import {realise, windowSpec} from './layout.js';

// Room kept clear either side of a window on a screen narrower than it: its
// edge and shadow stay in sight rather than touching the screen's edge.
export const kFitMarginPx = 8;

// The zoom that fits a window `width` pixels wide on a screen `room` pixels
// wide: it shrinks to fit, and never grows past its design.
export const zoomToFit = (room, width) => Math.min(1, (room - 2 * kFitMarginPx) / width);

// Shows windows of `design` in `desktop`, the element the windows stand in.
export function windowsIn(desktop, design) {
    const document = desktop.ownerDocument;
    const fit = () => {
        const shown = desktop.firstElementChild;
        if (shown)
            shown.style.zoom = String(zoomToFit(document.documentElement.clientWidth, shown.offsetWidth));
    };
    document.defaultView.addEventListener('resize', fit);
    return {
        // Shows the window design[which], with the focus where its design
        // puts it first; gives its controls' elements, by index in its
        // controls.
        show(which) {
            const win = design[which];
            const controls = [];
            const element = realise(windowSpec(win, {
                colours: design.colours,
                makeChart: () => chartSpec(design.awardChart, design.awardTable),
            }), document, controls);
            document.title = win.caption;
            // In place of the last window, before what only screen readers hear.
            const last = desktop.querySelector(':scope > .window');
            if (last)
                last.replaceWith(element);
            else
                desktop.prepend(element);
            fit();
            controls[win.firstFocus].focus();
            return controls;
        },
    };
}
