// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The characters each face of the page draws, for the build to cut the faces
// down to: each window's texts in the sans face of their design's font (the
// window's where a control has none of its own), the award chart's in the
// serif face page.css sets each part of it in, and in the plain sans face the
// windows' captions, the core's words (a total's working, an overflow's
// warning) and the page's own (index.html). What a user may type into a box
// is the build's to add (font-characters.txt).
// Usage: node faces.mjs DESIGN_JSON MESSAGES_CPP INDEX_HTML FOLDER
// writes FOLDER/FACE.txt, the characters of each face of kFaces.
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {chartPlan} from './chart.js';

export const kFaces = ['sans', 'sans-bold', 'sans-italic', 'sans-bold-italic', 'serif', 'serif-bold',
                       'serif-bold-italic'];

// The chart's faces, by the element a text stands in, as page.css sets them:
// its caption in bold italic, its headings in bold, its awards plain.
const kChartFaces = {figcaption: 'serif-bold-italic', th: 'serif-bold'};

// The sans face of a font of the export.
export const sansFace = font => ['sans', font?.bold && 'bold', font?.italic && 'italic'].filter(Boolean).join('-');

// Every string in a description of elements (chart.js), as [text, face].
const chartTexts = (plan, face = 'serif') => (typeof plan === 'string' ? [[plan, face]]
    : (plan.children ?? []).flatMap(child => chartTexts(child, kChartFaces[plan.tag] ?? face)));

// The words of a C++ source's UTF-16 literals (u"..."), as the program has them.
export function literalsOf(source) {
    const escapes = {n: '\n', t: '\t', '\\': '\\', '"': '"', "'": "'"};
    return [...source.matchAll(/\bu"((?:[^"\\\n]|\\.)*)"/g)].map(([, body]) => body.replace(
        /\\(u[0-9A-Fa-f]{4}|U[0-9A-Fa-f]{8}|.)/g, (escape, what) => {
            if (what.length > 1)
                return String.fromCodePoint(parseInt(what.slice(1), 16));
            if (!(what in escapes))
                throw new Error(`an escape the words' reader does not know: ${escape}`);
            return escapes[what];
        }));
}

// The text a page shows of its HTML: neither its markup nor its scripts.
export function pageWords(html) {
    const entities = {amp: '&', lt: '<', gt: '>', quot: '"', apos: "'", nbsp: '\u00A0'};
    return html.replace(/<!--[\s\S]*?-->/g, '').replace(/<(script|style|title)\b[\s\S]*?<\/\1>/gi, '')
        .replace(/<[^>]*>/g, ' ')
        .replace(/&(#x[0-9a-f]+|#[0-9]+|[a-z]+);/gi, (entity, name) => {
            if (name[0] === '#')
                return String.fromCodePoint(parseInt(name.slice(1).replace(/^x/i, ''), /^#x/i.test(name) ? 16 : 10));
            if (!(name in entities))
                throw new Error(`an entity the words' reader does not know: ${entity}`);
            return entities[name];
        });
}

// The characters of each face, as {face: sorted characters}: for the design
// `design` (the export), `coreWords` (texts the core writes) and `ownWords`
// (the page's own texts).
export function faceCharacters(design, coreWords, ownWords) {
    const faces = Object.fromEntries(kFaces.map(face => [face, new Set()]));
    const add = (face, text) => {
        for (const character of text ?? '')
            if (character >= ' ')
                faces[face].add(character);
    };
    for (const win of [design.calculator, design.chart]) {
        add('sans', win.caption);
        for (const control of win.controls) {
            if (control.kind === 'chart')
                chartTexts(chartPlan(design.awardChart, design.awardTable)).forEach(([text, face]) => add(face, text));
            else if (control.kind !== 'picture box')
                add(sansFace(control.font ?? win.font), control.text);
        }
    }
    add('sans', design.program);
    [...coreWords, ...ownWords].forEach(text => add('sans', text));
    // Whatever a face draws of the page's own words, the warning's sign among
    // them, it has them all: they are few.
    for (const face of kFaces.filter(face => face.startsWith('sans-') && faces[face].size > 0))
        ownWords.forEach(text => add(face, text));
    return Object.fromEntries(Object.entries(faces).map(([face, characters]) => [
        face, [...characters].sort((a, b) => a.codePointAt(0) - b.codePointAt(0)).join('')]));
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const [designFile, messagesFile, pageFile, folder] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node faces.mjs DESIGN_JSON MESSAGES_CPP INDEX_HTML FOLDER');
        process.exit(2);
    }
    const faces = faceCharacters(JSON.parse(fs.readFileSync(designFile, 'utf8')),
                                 literalsOf(fs.readFileSync(messagesFile, 'utf8')),
                                 [pageWords(fs.readFileSync(pageFile, 'utf8'))]);
    fs.mkdirSync(folder, {recursive: true});
    for (const [face, characters] of Object.entries(faces)) {
        const file = path.join(folder, `${face}.txt`);
        // Written only when changed, so that a face is cut again only when its characters change.
        if (!fs.existsSync(file) || fs.readFileSync(file, 'utf8') !== characters)
            fs.writeFileSync(file, characters);
    }
}
