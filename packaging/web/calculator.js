// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The core in WebAssembly (core.js, from core_module.cpp) as the calculator
// window uses it: the texts of its boxes in, and out either the total with
// what screen readers are told of it and its working, or the words of an
// overflow and the box it concerns. The arithmetic, and every word, is the
// core's.
import {controlOf, controlsOf} from './roles.js';

// `core` is the module createCore() gives, `win` the export's calculator.
export function calculatorOver(core, win) {
    // The core's entries: the counts by challenge rating, then the party level.
    const boxes = [...controlsOf(win, 'count'), controlOf(win, 'partyLevel')];
    // The core's texts are NUL-terminated UTF-16, as JavaScript's strings are.
    const read = pointer => core.UTF16ToString(pointer);
    return {
        // textOf(i) is the text of control i, as written; the result is
        // {total, said, working} or {overflow, control}, control being the
        // index in win.controls of the box the overflow concerns.
        calculate(textOf) {
            boxes.forEach((control, entry) => {
                const text = textOf(control);
                const at = core._xpcalc_entry(entry, text.length);
                if (!at)
                    throw new Error(`the core has no room for ${win.controls[control].name}`);
                core.stringToUTF16(text, at, (text.length + 1) * 2);
            });
            if (core._xpcalc_calculate())
                return {total: read(core._xpcalc_total()), said: read(core._xpcalc_announcement()),
                        working: read(core._xpcalc_working())};
            const control = core._xpcalc_overflow_control();
            if (!boxes.includes(control))
                throw new Error(`the core says an overflow arose in control ${control}, which is no box of ${win.name}`);
            return {overflow: read(core._xpcalc_overflow_message()), control};
        },
    };
}
