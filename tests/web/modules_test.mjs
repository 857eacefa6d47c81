// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The modules over a sample export whose counts come last first, and over the build's export and core when named.
import assert from 'node:assert/strict';
import crypto from 'node:crypto';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import test from 'node:test';
import zlib from 'node:zlib';

import {kBudgetBytes, siteWeight, weightReport} from '../../bench/web/weight.mjs';
import {announcer, kReannounceDelayMs as kDelay} from '../../packaging/web/announce.js';
import {calculatorOver} from '../../packaging/web/calculator.js';
import {chartPlan, chartTables} from '../../packaging/web/chart.js';
import {faceCharacters, kFaces, literalsOf, pageWords, sansFace} from '../../packaging/web/faces.mjs';
import {countGrid, realise, windowPlan} from '../../packaging/web/layout.js';
import {controlOf, controlsOf, keyOf} from '../../packaging/web/roles.js';
import {kFitMarginPx, thumbQuery} from '../../packaging/web/windows.js';

const read = file => fs.readFileSync(new URL(file, import.meta.url), 'utf8');
const sample = () => JSON.parse(read('fixtures/design.json'));
const build = process.env.XPCALC_DESIGN_JSON && JSON.parse(fs.readFileSync(process.env.XPCALC_DESIGN_JSON, 'utf8'));
const planOf = (design, win) => windowPlan(win, {colours: design.colours, makeChart: () => ({tag: 'figure'})});
// The words a description shows, but those of the controls in it.
const textOf = plan => (typeof plan === 'string' ? plan
    : (plan.children ?? []).filter(child => child.control === undefined).map(textOf).join(''));
const px = value => `${value}px`;
const rising = list => assert.deepEqual(list, [...new Set(list)].sort((a, b) => a - b));
const controlsIn = plan => plan.children.filter(child => child.control >= 0).flatMap(c => [c, ...controlsIn(c)]);
// A control as its description shows it, and as the export has it.
function shown({tag, style, attributes, properties, children}) {
    const img = children.find(child => child.tag === 'img');
    const label = children.find(child => child.properties?.id === (attributes['aria-labelledby'] ?? {}));
    return [tag, ['--left', '--top', '--width', '--height'].map(side => style[side]), attributes['data-role'],
            attributes['data-challenge-rating'], style.fontFamily?.match(/"[^"]*"/g), style['--font-size'],
            style.fontWeight, style.fontStyle, style.color, style.background, style.textAlign, properties.inputMode,
            properties.value ?? textOf({children}), img ? [img.properties.src, img.attributes.srcset] : null,
            attributes['aria-label'] ?? img?.properties.alt ?? (label && textOf(label))];
}
const kTags = {'text box': 'input', 'button': 'button', 'chart': 'figure'};
const exported = ({kind, place, font, picture, ...c}) => [
    kTags[kind] ?? 'div', [place.left, place.top, place.width, place.height].map(px), c.role,
    c.challengeRating === null ? undefined : String(c.challengeRating), font?.families.map(name => `"${name}"`),
    ...(font ? [px(font.pixelSize), font.bold ? 'bold' : 'normal', font.italic ? 'italic' : 'normal']
        : [undefined, undefined, undefined]),
    c.textColour ?? undefined, c.groundColour ?? undefined, c.alignment === 'centre' ? 'center' : undefined,
    kind === 'text box' ? 'decimal' : undefined, c.text ?? '', picture && [picture['1x'], `${picture['2x']} 2x`],
    {'text box': c.accessibleName, 'picture box': c.accessibleName, 'frame': c.text}[kind]];

// Whether a screen {width, height, pointer} matches a media query of thumbQuery()'s forms.
const matches = (query, screen) => query.split(', ').some(any => any.split(' and ').every(feature =>
    feature === `(pointer: ${screen.pointer})` || screen[feature.match(/\w+/)[0]] < parseFloat(feature.split('<')[1])));

for (const [about, design] of [['the sample', sample()], ...(build ? [['the build\'s export', build]] : [])]) {
    for (const win of [design.calculator, design.chart]) {
        test(`${about}, ${win.name}: the window, each control as the export says, in tab order, for a thumb`, () => {
            const window = planOf(design, win);
            const found = controlsIn(window).sort((a, b) => a.control - b.control);
            assert.deepEqual([window.attributes['aria-label'], window.children[0].tag, textOf(window.children[0]),
                              ...['--width', '--height', 'background', '--font-size'].map(key => window.style[key])],
                             [win.accessibleName, 'h1', win.caption, px(win.size.width), px(win.size.height),
                              `var(--${win.ground})`, px(win.font.pixelSize)]);
            win.controls.forEach((c, i) => {
                assert.deepEqual(shown(found[i]), exported(c), c.name);
                assert.ok((c.container === null ? window : found[c.container]).children.includes(found[i]), c.name);
                assert.equal(controlOf(win, c.role, c.challengeRating), i, c.name);
            });
            const tabIndex = ({control}) => win.controls[control]?.tabIndex ?? [];
            [window, ...found].forEach(plan => rising(plan.children.flatMap(tabIndex)));
            rising(found.map(plan => Number(plan.style['--stack'])));
            assert.equal(new Set(win.controls.map(keyOf)).size, win.controls.length);
            // On a phone the counts keep their rows and columns, each label beside its box, ratings rising down.
            const cell = i => ['--row', '--column'].map(side => Number(found[i].style[side]));
            const boxes = controlsOf(win, 'count').map(cell);
            const labels = controlsOf(win, 'countLabel').map(cell);
            assert.deepEqual(labels, boxes.map(([row, column]) => [row, column + 1]));
            for (const column of new Set(boxes.map(box => box[1])))
                rising(boxes.filter(box => box[1] === column).map(box => box[0]));
            const cells = found.map((_, i) => cell(i)).filter(([row]) => row);
            assert.deepEqual([cells.length, new Set(cells.map(String)).size], [2 * boxes.length, 2 * boxes.length]);
            const most = side => Math.max(...cells.map(at => at[side]));
            assert.deepEqual([window.style['--count-rows'], window.style['--count-families']].filter(Boolean),
                             boxes.length ? [most(0), most(1) / 2].map(String) : []);
            const fits = win.size.width + 2 * kFitMarginPx;
            for (const [width, height, pointer, thumb] of [
                [1024, 768, 'fine', false], [fits, 768, 'fine', false], [fits - 1, 768, 'fine', true],
                [1024, 300, 'fine', false], [1024, 768, 'coarse', false], [744, 1133, 'coarse', false],
                [390, 844, 'coarse', true], [844, 390, 'coarse', true]])
                assert.equal(matches(thumbQuery(win), {width, height, pointer}), thumb, `${width}x${height}`);
        });
    }

    test(`${about}: the chart's tables, row by row, as the export and the award table say`, () => {
        const {awardChart: {title, heading, levelHeader, rows, grids}, awardTable} = design;
        const figure = chartPlan(design.awardChart, awardTable);
        const [caption, ...tables] = figure.children;
        assert.deepEqual([figure.attributes['aria-label'], caption.tag, textOf(caption)], [title, 'figcaption', title]);
        // Each table's name, then its rows: whether banded, then each cell's name and words.
        const cell = ({attributes, children}) => [attributes?.['aria-label'], textOf({children})];
        const shownRows = table => table.children.flatMap(part => part.children)
            .map(tr => [tr.properties?.className === 'band', ...tr.children.map(cell)]);
        const award = row => col => [undefined, `${awardTable[row.firstLevel - 1][col.challengeRating - 1] || ''}`];
        assert.deepEqual(tables.map(table => [table.attributes['aria-label'], ...shownRows(table)]), grids.map(grid => [
            grid.heardAs, [false, [undefined, ''], [undefined, heading]],
            [false, ...[levelHeader, ...grid.columns].map(h => [h.heardAs ?? h.text, h.lines.join('')])],
            ...rows.slice(grid.firstRow, grid.firstRow + grid.rows).map(row => [row.banded, [row.heardAs, row.label],
                                                                                ...grid.columns.map(award(row))])]));
    });

    test(`${about}: each face holds what is drawn in it, and nothing else`, () => {
        // Own captions and program name, a picture's name and line ends no face draws, labels in the window's face.
        const named = Object.assign(structuredClone(design), {program: '\u03A9'});
        Object.assign(named.calculator, {caption: '\u0394', font: {...named.calculator.font, bold: true}});
        named.chart.caption = '\u03A3';
        for (const c of named.calculator.controls)
            Object.assign(c, {'picture box': {text: 'a_picture~'}, label: {text: `${c.text}\n\t`, font: null}}[c.kind]);
        const faces = faceCharacters(named, ['\u00D7'], ['OK \u2713']);
        const {title, heading, levelHeader, rows, grids} = design.awardChart;
        const drawn = {'sans': '\u03A9\u0394\u03A3\u00D7OK \u2713', 'serif-bold-italic': title,
                       'serif-bold': [heading, levelHeader.lines, rows.map(row => row.label),
                                      grids.map(grid => grid.columns.map(column => column.lines))],
                       'serif': chartTables(design.awardChart, design.awardTable).map(t => t.rows.map(r => r.cells))};
        for (const win of [named.calculator, named.chart])
            for (const c of win.controls.filter(c => !['picture box', 'chart'].includes(c.kind)))
                drawn[sansFace(c.font ?? win.font)] = `${drawn[sansFace(c.font ?? win.font)] ?? ''}${c.text}OK \u2713`;
        for (const face of kFaces)
            assert.deepEqual(new Set(faces[face]), new Set([drawn[face] ?? ''].flat(4).join('').replace(/\n|\t/g, '')));
    });
}

// A core that keeps what it is given, each text at a pointer of its own, and overflows in `overflow` if given.
const fakeCore = (overflow, given = []) => ({
    given, UTF16ToString: said => said, _xpcalc_calculate: () => overflow === undefined,
    _xpcalc_entry: (entry, length) => entry < 20 && given.push({entry, length}),
    stringToUTF16: (text, at, bytes) => Object.assign(given[at - 1], {text, bytes}),
    _xpcalc_total: () => 'total', _xpcalc_announcement: () => 'said', _xpcalc_working: () => 'how',
    _xpcalc_overflow_message: () => 'over', _xpcalc_overflow_control: () => overflow});
// Each box's own text, the party level's beyond the Basic Multilingual Plane.
const textsOf = ({controls}) => i => (controls[i].role === 'count' ? `c${controls[i].challengeRating}` : '4\u{1F3B2}');

test('the counts reach the core by challenge rating, then the party level, whole; what it says comes back', () => {
    const win = sample().calculator;
    const core = fakeCore();
    assert.deepEqual(calculatorOver(core, win).calculate(textsOf(win)), {total: 'total', said: 'said', working: 'how'});
    assert.deepEqual(core.given, ['c1', 'c2', 'c3', '4\u{1F3B2}'].map(
        (text, entry) => ({entry, length: text.length, text, bytes: 2 * text.length + 2})));
    for (const control of [...controlsOf(win, 'count'), controlOf(win, 'partyLevel')])
        assert.deepEqual(calculatorOver(fakeCore(control), win).calculate(textsOf(win)), {overflow: 'over', control});
});

test('the build\'s core names the box that overflowed as the build\'s export numbers it',
     {skip: !(process.env.XPCALC_CORE_JS && build) && 'no build named'}, async () => {
    // Its WebAssembly handed over, as Node.js's fetch() takes no file names.
    const core = await createRequire(import.meta.url)(process.env.XPCALC_CORE_JS)(
        {wasmBinary: fs.readFileSync(process.env.XPCALC_CORE_JS.replace(/\.js$/, '.wasm'))});
    const calculator = calculatorOver(core, build.calculator);
    const boxes = [...controlsOf(build.calculator, 'count'), controlOf(build.calculator, 'partyLevel')];
    assert.ok('total' in calculator.calculate(i => (i === boxes.at(-1) ? '1' : '0')));
    for (const box of boxes)
        assert.equal(calculator.calculate(i => (i === box ? '99999999999' : '1')).control, box);
});

// What stops the page says why: an export it cannot show, a core that says what cannot be.
test('what the modules read, and what they refuse', () => {
    const design = sample(), win = design.calculator;
    const changed = (i, change) => ({...win, controls: win.controls.map((c, j) => (j === i ? {...c, ...change} : c))});
    const count = win.controls[controlOf(win, 'count', 1)];
    const more = n => ({...win, controls: [...win.controls, ...Array.from({length: n}, () => count)]});
    for (const [call, gives] of [
        [() => literalsOf('f(u"CR " + n + u" \\u00D7 \\U0001F3B2");\nchar *s = "not";\nu"a\\nb\\\\ \\"c\\""'),
         ['CR ', ' \u00D7 \u{1F3B2}', 'a\nb\\ "c"']],
        [() => pageWords('<title>T</title><p class="x">A &amp; B&#x21;&#63;</p><script>q</script><!--c-->'), ' A & B!? '],
        [() => literalsOf(read('../../calc/messages.cpp')).join('').includes('The calculation overflowed.'), true],
        [() => /^[^<]*OK[^<]*$/.test(pageWords(read('../../packaging/web/index.html'))), true],
        [() => planOf(design, changed(controlOf(win, 'calculate'), {kind: 'slider'})), /not know: "slider"/],
        [() => planOf(design, {...win, ground: 'mauve'}), /"mauve"/],
        [() => windowPlan(design.chart, {colours: design.colours}), /no chart to draw/],
        [() => countGrid(changed(controlOf(win, 'countLabel', 2), {placeInWindow: count.placeInWindow})),
         /in the same row and column/],
        [() => controlOf(win, 'undo'), /Form1 has no controls of role "undo"/],
        [() => controlOf(win, 'count', 99), /no controls of role "count" at challenge rating 99/],
        [() => controlOf(more(1), 'count', 1), /has 2 controls of role "count"/],
        [() => chartTables(design.awardChart, design.awardTable.slice(0, -1)), /no award for party level/],
        [() => literalsOf('u"\\x41"'), /escape the words' reader does not know: \\x/],
        [() => pageWords('&bogus;'), /entity the words' reader does not know: &bogus;/],
        ...[controlOf(win, 'calculate'), -1, win.controls.length].map(control => [
            () => calculatorOver(fakeCore(control), win).calculate(textsOf(win)), /no box of Form1/]),
        [() => calculatorOver(fakeCore(), more(20)).calculate(() => '0'), /no room for/]])
        (gives instanceof RegExp ? assert.throws(call, gives) : assert.deepEqual(call(), gives));
});

test('a description becomes its elements: custom properties set as such, the rest as style, controls found', () => {
    const document = {createTextNode: data => ({data}), createElement: tag => ({
        tag, attributes: {}, children: [], style: {custom: {}, setProperty(name, value) { this.custom[name] = value; }},
        setAttribute(name, value) { this.attributes[name] = value; },
        append(...more) { this.children.push(...more); }})};
    const found = [], div = {tag: 'i', control: 0, properties: {id: 'a'}, attributes: {x: 'c'}, children: ['1']};
    const {style, children} = realise({tag: 'p', style: {'--w': 1, 'color': 'red'}, children: [div]}, document, found);
    assert.deepEqual([style.custom, style['--w'], style.color], [{'--w': 1}, undefined, 'red']);
    assert.deepEqual([found[0] === children[0], found[0].id, found[0].attributes, found[0].children],
                     [true, 'a', div.attributes, [{data: '1'}]]);
});

test('a live region empties at once and takes the words after the delay, the latest words only', () => {
    // Words to announce and milliseconds to let pass, in turn; every text the region is then given.
    for (const [steps, said] of [[['a', kDelay - 1], ['']], [['a', kDelay, 'a', kDelay], ['', 'a', '', 'a']],
                                 [['the total', 'the working', 2 * kDelay], ['', '', 'the working']]]) {
        let [now, timers] = [0, []];
        const region = {said: [], set textContent(text) { this.said.push(text); }};
        const announce = announcer(region, {setTimeout: (run, ms) => timers[timers.push({run, at: now + ms}) - 1],
                                            clearTimeout: timer => { timers = timers.filter(t => t !== timer); }});
        for (const step of steps)
            (step.length ? announce(step) : (now += step, timers = timers.filter(t => t.at > now || t.run())));
        assert.deepEqual(region.said, said);
    }
});

// The weight of a site of `files`, whose worker keeps `kept` and the picture p at two densities.
function weightOf(files, kept = ['./']) {
    const folder = fs.mkdtempSync(`${os.tmpdir()}/xpcalc-weight-`);
    files['sw.js'] = `const kFiles = ${JSON.stringify(kept)};\nconst kPictures = [['./p.png', './p@2x.png']];\n`;
    Object.entries(files).forEach(([name, contents]) => fs.writeFileSync(`${folder}/${name}`, contents));
    try {
        return siteWeight(folder);
    } finally {
        fs.rmSync(folder, {recursive: true});
    }
}

test('a first visit is the page, the worker and what it keeps, each picture at one density, held to the budget', () => {
    const script = 'let a = 1;'.repeat(50);
    const weight = weightOf({'index.html': '<p>page</p>', 'a.js': script, 'f.woff2': 'face', 'p.png': 'plain',
                             'p@2x.png': 'dense', 'big.png': 'icon'}, ['./', './a.js', './f.woff2']);
    assert.deepEqual(weight.visits.map(visit => [visit.density, visit.files.map(file => file.file).sort()]),
                     ['p.png', 'p@2x.png'].map((p, i) => [i + 1, ['a.js', 'f.woff2', 'index.html', p, 'sw.js']]));
    const a = weight.visits[0].files.find(file => file.file === 'a.js');
    assert.ok(a.raw === 500 && a.gzip === zlib.gzipSync(script, {level: 9}).length && a.brotli < a.raw);
    for (const {files, total} of weight.visits)
        assert.deepEqual(Object.values(total), Object.keys(total).map(key => files.reduce((sum, f) => sum + f[key], 0)));
    assert.match(weightReport(weight), /^a first visit( +\d+){3}\n {2}2x: p@2x\.png[^]*: 100000 bytes gzipped, kept$/m);
    // Within the budget on a plain screen, over it on a dense one.
    const noise = crypto.randomBytes(kBudgetBytes / 2);
    assert.match(weightReport(weightOf({'index.html': noise, 'p.png': 'p', 'p@2x.png': noise})), /EXCEEDED$/);
});
