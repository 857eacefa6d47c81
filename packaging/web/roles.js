// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Finding a window's controls by what they do (their role, and the challenge
// rating of a count box and its label), never by their design names, which
// are the desktop's and say nothing the page may rely on.

// The index in win.controls of the one control with `role` (at
// `challengeRating`, for the roles that have one). A window that has none, or
// more than one, is not the window the page was written for.
export function controlOf(win, role, challengeRating = null) {
    const found = [];
    win.controls.forEach((control, index) => {
        if (control.role === role && (control.challengeRating ?? null) === challengeRating)
            found.push(index);
    });
    if (found.length !== 1) {
        const what = challengeRating === null ? `"${role}"` : `"${role}" at challenge rating ${challengeRating}`;
        throw new Error(`${win.name} has ${found.length === 0 ? 'no' : found.length} controls of role ${what}`);
    }
    return found[0];
}

// The indices of every control with `role`, by challenge rating.
export function controlsOf(win, role) {
    return win.controls.map((control, index) => ({control, index}))
        .filter(({control}) => control.role === role)
        .sort((a, b) => a.control.challengeRating - b.control.challengeRating)
        .map(({index}) => index);
}

// A name for a control's element, unique in its window, that says what it
// does: "calculate", "count-3".
export function keyOf(control) {
    return control.challengeRating === null || control.challengeRating === undefined
        ? control.role : `${control.role}-${control.challengeRating}`;
}
