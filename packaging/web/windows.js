// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The page shows one window of the export at a time, in place of the last,
// as the desktop program switches between its two; as its design places it
// on a screen it fits, and laid out for a thumb on a phone.
import {chartPlan} from './chart.js';
import {realise, windowPlan} from './layout.js';

// Room kept clear either side of a window: its edge and shadow stay in sight
// rather than touch the screen's edge.
export const kFitMarginPx = 8;
// A touch screen with a side shorter than this is a phone, upright or on
// its side; tablets' sides are longer, and they hold the windows as their
// designs place them.
export const kPhoneSidePx = 600;

// The screens that lay `win` out for a thumb (page.css, under the class
// "thumb"): those narrower than the window with its margins, and phones,
// where it may fit but be small under a finger.
export const thumbQuery = win => [`(width < ${win.size.width + 2 * kFitMarginPx}px)`,
                                  `(pointer: coarse) and (width < ${kPhoneSidePx}px)`,
                                  `(pointer: coarse) and (height < ${kPhoneSidePx}px)`].join(', ');

// Shows windows of `design` in `desktop`, the element the windows stand in.
export function windowsIn(desktop, design) {
    const document = desktop.ownerDocument;
    const root = document.documentElement;
    let screen = null;
    const follow = () => root.classList.toggle('thumb', screen.matches);
    return {
        // Shows the window design[which], with the focus where its design
        // puts it first; gives its controls' elements, by index in its
        // controls.
        show(which) {
            const win = design[which];
            const controls = [];
            const element = realise(windowPlan(win, {
                colours: design.colours,
                makeChart: () => chartPlan(design.awardChart, design.awardTable),
            }), document, controls);
            document.title = win.caption;
            screen?.removeEventListener('change', follow);
            screen = document.defaultView.matchMedia(thumbQuery(win));
            screen.addEventListener('change', follow);
            follow();
            // In place of the last window, before what only screen readers hear.
            const last = desktop.querySelector(':scope > .window');
            if (last)
                last.replaceWith(element);
            else
                desktop.prepend(element);
            // A window opens at its top, even where the page scrolls and
            // its first stop stands lower.
            controls[win.firstFocus].focus({preventScroll: true});
            document.defaultView.scrollTo(0, 0);
            return controls;
        },
    };
}
