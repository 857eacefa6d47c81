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
import {designs, windowsOf} from './designs.mjs';

const kMessages = new URL('../../calc/messages.cpp', import.meta.url);
const kPage = new URL('../../packaging/web/index.html', import.meta.url);
const has = (characters, text) => [...text].filter(c => c >= ' ').every(c => characters.includes(c));
const missing = (characters, text) => [...new Set(text)].filter(c => c >= ' ' && !characters.includes(c)).join('');

for (const {about, design} of designs()) {
    const faces = faceCharacters(design, ['Total: 1 \u00D7 2'], ['OK !']);

    test(`${about}: each control's text is in the face of its font, or of its window's where it has none`, () => {
        for (const [key, win] of windowsOf(design))
            for (const control of win.controls.filter(c => !['picture box', 'chart'].includes(c.kind))) {
                const face = sansFace(control.font ?? win.font);
                assert.equal(missing(faces[face], control.text), '', `${key}'s ${control.name} in ${face}`);
            }
    });

    test(`${about}: the chart's caption is in bold italic serif, its headings in bold, its awards plain`, () => {
        const {title, heading, levelHeader, rows, grids} = design.awardChart;
        assert.equal(missing(faces['serif-bold-italic'], title), '');
        const headings = [heading, ...levelHeader.lines, ...rows.map(row => row.label),
                          ...grids.flatMap(grid => grid.columns.flatMap(column => column.lines))].join('');
        assert.equal(missing(faces['serif-bold'], headings), '');
        const awards = chartTables(design.awardChart, design.awardTable).flatMap(table => table.rows)
            .flatMap(row => row.cells).join('');
        assert.equal(missing(faces.serif, awards), '');
        // Nothing but the awards is set plain.
        assert.match(faces.serif, /^[0-9]+$/);
    });

    test(`${about}: the captions, the program's name, the core's and the page's own words are in the plain face`, () => {
        const named = structuredClone(design);
        named.program = 'The \u03A9 program';
        named.calculator.caption = 'The \u0394 calculator';
        named.chart.caption = 'The \u03A3 chart';
        const plain = faceCharacters(named, ['Total: 1 \u00D7 2'], ['OK \u2713']).sans;
        for (const text of ['\u03A9', '\u0394', '\u03A3', '\u00D7', '\u2713'])
            assert.ok(plain.includes(text), text);
    });

    test(`${about}: each sans face a text is set in has the page's own words too, the warning's sign among them`, () => {
        for (const face of kFaces.filter(face => face.startsWith('sans')))
            assert.equal(has(faces[face], 'OK!'), faces[face] !== '' || face === 'sans', face);
    });
}

test('a control with no font of its own is set in its window\'s', () => {
    const [{design}] = designs();
    const bold = structuredClone(design);
    bold.calculator.font.bold = true;
    const unset = bold.calculator.controls.filter(c => !c.font && c.kind === 'text box');
    assert.ok(unset.length > 0, 'the sample has boxes with no font of their own');
    const faces = faceCharacters(bold, [], []);
    for (const control of unset)
        assert.equal(missing(faces['sans-bold'], control.text), '', control.name);
});

test('a face holds only what some text of it draws', () => {
    const [{design}] = designs();
    const plain = structuredClone(design);
    for (const [, win] of windowsOf(plain))
        for (const control of win.controls) {
            control.font = null;
            if (control.kind === 'picture box')
                control.text = 'a_picture~name';
        }
    const faces = faceCharacters(plain, [], []);
    assert.equal(faces['sans-bold'], '');
    assert.equal(faces['sans-italic'], '');
    for (const face of kFaces)
        assert.doesNotMatch(faces[face], /[_~]/, `${face}: a picture's name is not drawn`);
});

test('the core\'s words are read from its UTF-16 literals, escapes and all', () => {
    assert.deepEqual(literalsOf('f(u"CR " + n + u" \\u00D7 " + a);\nconst char *s = "not these";\nu"a\\nb\\\\ \\"c\\""'),
                     ['CR ', ' \u00D7 ', 'a\nb\\ "c"']);
    assert.throws(() => literalsOf('u"\\x41"'), /escape the words' reader does not know: \\x/);
    const words = literalsOf(fs.readFileSync(kMessages, 'utf8')).join('');
    assert.ok(words.includes('\u00D7'), 'the working\'s multiplication sign');
    assert.ok(words.includes('The calculation overflowed.'));
});

test('the page\'s own words are its text, without markup, scripts or title', () => {
    assert.equal(pageWords('<title>T</title><p class="x">A &amp; B&#x21;</p><script>let q;</script><!-- c -->')
        .replace(/\s+/g, ' ').trim(), 'A & B!');
    assert.throws(() => pageWords('&bogus;'), /entity the words' reader does not know: &bogus;/);
    const words = pageWords(fs.readFileSync(kPage, 'utf8'));
    assert.ok(words.includes('OK') && words.includes('!'), 'the warning\'s button and sign');
    assert.ok(!words.includes('<'));
});
