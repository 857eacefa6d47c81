// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The exports the page's module tests hold their rules against: a small
// sample (fixtures/design.json, whose count boxes are created last first and
// whose design names say other challenge ratings than theirs), and the
// build's own design.json when XPCALC_DESIGN_JSON names it.
import fs from 'node:fs';

const read = file => JSON.parse(fs.readFileSync(file, 'utf8'));

export const sample = () => read(new URL('fixtures/design.json', import.meta.url));

export function designs() {
    const found = [{about: 'the sample export', design: sample()}];
    if (process.env.XPCALC_DESIGN_JSON)
        found.push({about: 'the build\'s export', design: read(process.env.XPCALC_DESIGN_JSON)});
    return found;
}

// Each window of an export, as [key, window].
export const windowsOf = design => [['calculator', design.calculator], ['chart', design.chart]];
