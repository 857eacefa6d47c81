// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The faces are cut down to what the page draws in each: every text in the
// face its design sets it in, the chart's in the serif faces page.css sets
// its parts in, the core's and the page's own words in the plain face; and
// nothing the page never draws.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import test from 'node:test';

import {chartTables} from '../../packaging/web/chart.js';
import {faceCharacters, kFaces, literalsOf, pageWords, sansFace} from '../../packaging/web/faces.mjs';
import {designs, sample, windowsOf} from './designs.mjs';

const missing = (characters, text) => [...new Set(text)].filter(c => c >= ' ' && !characters.includes(c)).join('');

for (const {about, design} of designs()) {
    test(`${about}: each text is in the face it is drawn in, and each sans face has the page's own words`, () => {
        const named = structuredClone(design);
        Object.assign(named, {program: 'The \u03A9 program'});
        named.calculator.caption = 'The \u0394 calculator';
        named.chart.caption = 'The \u03A3 chart';
        const faces = faceCharacters(named, ['Total: 1 \u00D7 2'], ['OK \u2713']);
        const {title, heading, levelHeader, rows, grids} = design.awardChart;
        const awards = chartTables(design.awardChart, design.awardTable).flatMap(t => t.rows).flatMap(r => r.cells);
        const drawn = [
            ...windowsOf(design).flatMap(([key, win]) => win.controls.filter(c => !['picture box', 'chart'].includes(c.kind))
                .map(c => [`${key}'s ${c.name}`, sansFace(c.font ?? win.font), c.text])),
            ['the chart\'s caption', 'serif-bold-italic', title],
            ['the chart\'s headings', 'serif-bold', [heading, ...levelHeader.lines, ...rows.map(row => row.label),
                                                     ...grids.flatMap(g => g.columns.flatMap(c => c.lines))].join('')],
            ['the awards', 'serif', awards.join('')],
            ['the captions, the program\'s name, the core\'s and the page\'s words', 'sans', '\u03A9\u0394\u03A3\u00D7\u2713'],
            ...kFaces.filter(face => face.startsWith('sans') && faces[face] !== '').map(face => [face, face, 'OK \u2713']),
        ];
        for (const [what, face, text] of drawn)
            assert.equal(missing(faces[face], text), '', `${what} in ${face}`);
        assert.match(faces.serif, /^[0-9]+$/, 'nothing but the awards is set plain');
    });
}

test('a face holds only what some text of it draws, the window\'s face for controls with none of their own', () => {
    const design = sample();
    design.calculator.font.bold = true;
    for (const [, win] of windowsOf(design))
        for (const control of win.controls) {
            control.font = null;
            if (control.kind === 'picture box')
                control.text = 'a_picture~name';
            if (control.kind === 'label')
                control.text += '\n\t';
        }
    const faces = faceCharacters(design, [], ['OK']);
    const texts = design.calculator.controls.filter(c => c.kind !== 'picture box').map(c => c.text).join('');
    assert.equal(missing(faces['sans-bold'], texts), '');
    assert.equal(faces['sans-italic'], '');
    for (const face of kFaces)
        assert.doesNotMatch(faces[face], /[_~\n\t]/, `${face}: a picture's name is not drawn, nor a line's end`);
});

test('the core\'s words are read from its UTF-16 literals, the page\'s from its text, escapes and all', () => {
    assert.deepEqual(literalsOf('f(u"CR " + n + u" \\u00D7 " + a);\nconst char *s = "not these";\nu"a\\nb\\\\ \\"c\\""'),
                     ['CR ', ' \u00D7 ', 'a\nb\\ "c"']);
    assert.equal(pageWords('<title>T</title><p class="x">A &amp; B&#x21;&#63;</p><script>let q;</script><!-- c -->')
        .replace(/\s+/g, ' ').trim(), 'A & B!?');
    assert.throws(() => literalsOf('u"\\x41"'), /escape the words' reader does not know: \\x/);
    assert.throws(() => pageWords('&bogus;'), /entity the words' reader does not know: &bogus;/);
    const words = [literalsOf(fs.readFileSync(new URL('../../calc/messages.cpp', import.meta.url), 'utf8')).join(''),
                   pageWords(fs.readFileSync(new URL('../../packaging/web/index.html', import.meta.url), 'utf8'))];
    for (const word of ['\u00D7', 'The calculation overflowed.'])
        assert.ok(words[0].includes(word), word);
    assert.ok(words[1].includes('OK') && words[1].includes('!') && !words[1].includes('<'), words[1]);
});
