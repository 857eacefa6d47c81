// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// A window of the export becomes elements that say what the export says:
// each control where and as it is, in its frame, in tab order, stacked in
// the order the desktop creates them, marked with its role; on a phone, the
// counts in their design's rows and columns.
import assert from 'node:assert/strict';
import test from 'node:test';

import {countGrid, realise, windowPlan} from '../../packaging/web/layout.js';
import {kFitMarginPx, thumbQuery} from '../../packaging/web/windows.js';
import {designs, sample, windowsOf} from './designs.mjs';

const planOf = (design, win) => windowPlan(win, {colours: design.colours, makeChart: () => ({tag: 'figure'})});
const textOf = plan => (plan.children ?? []).filter(child => typeof child === 'string').join('');
const px = value => (value === undefined ? undefined : `${value}px`);

// Each control's description, and the description it is a child of.
function controlsIn(window) {
    const found = [];
    const walk = (plan, parent) => {
        if (plan.control !== undefined)
            found[plan.control] = {plan, parent};
        (plan.children ?? []).filter(child => typeof child === 'object').forEach(child => walk(child, plan));
    };
    walk(window, null);
    return found;
}

// What a control of each kind shows of the export: [shown, expected] pairs.
const kKinds = {
    'text box': (plan, c) => [[plan.tag, 'input'], [plan.properties.value, c.text],
                              [plan.properties.inputMode, 'decimal'], [plan.attributes['aria-label'], c.accessibleName]],
    'button': (plan, c) => [[plan.tag, 'button'], [textOf(plan), c.text]],
    'label': (plan, c) => [[textOf(plan), c.text]],
    'frame': (plan, c) => [[textOf(plan.children[0]), c.text],
                           [plan.attributes['aria-labelledby'], plan.children[0].properties.id]],
    'picture box': ({children: [img]}, c) => [[img.properties.src, c.picture['1x']],
                                              [img.attributes.srcset, `${c.picture['2x']} 2x`],
                                              [img.properties.alt, c.accessibleName]],
    'chart': plan => [[plan.tag, 'figure']],
};

for (const {about, design} of designs()) {
    for (const [key, win] of windowsOf(design)) {
        const window = planOf(design, win);
        const found = controlsIn(window);

        test(`${about}, ${key}: the window, headed by its caption, at its size in its ground and face`, () => {
            const [heading] = window.children;
            assert.deepEqual([window.attributes['aria-label'], heading.tag, textOf(heading), heading.control,
                              window.style['--width'], window.style['--height'], window.style.background,
                              window.style['--font-size']],
                             [win.accessibleName, 'h1', win.caption, undefined, px(win.size.width),
                              px(win.size.height), `var(--${win.ground})`, px(win.font.pixelSize)]);
        });

        test(`${about}, ${key}: each control once, in its container, where and as the export says`, () => {
            assert.equal(found.filter(Boolean).length, win.controls.length);
            win.controls.forEach((c, i) => {
                const {plan, parent} = found[i];
                const {style, attributes} = plan;
                assert.deepEqual({
                    parent, place: ['--left', '--top', '--width', '--height'].map(side => style[side]),
                    role: attributes['data-role'], rating: attributes['data-challenge-rating'],
                    font: [style['--font-size'], style.fontWeight, style.fontStyle],
                    family: style.fontFamily?.startsWith(c.font?.families.map(f => `"${f}"`).join(', ')),
                    colours: [style.color, style.background, style.textAlign], kind: kKinds[c.kind](plan, c),
                }, {
                    parent: c.container === null ? window : found[c.container].plan,
                    place: [c.place.left, c.place.top, c.place.width, c.place.height].map(px),
                    role: c.role, rating: c.challengeRating === null ? undefined : String(c.challengeRating),
                    font: c.font ? [px(c.font.pixelSize), c.font.bold ? 'bold' : 'normal',
                                    c.font.italic ? 'italic' : 'normal'] : [undefined, undefined, undefined],
                    family: c.font ? true : undefined,
                    colours: [c.textColour ?? undefined, c.groundColour ?? undefined,
                              c.alignment === 'centre' ? 'center' : undefined],
                    kind: kKinds[c.kind](plan, c).map(([, expected]) => [expected, expected]),
                }, c.name);
            });
        });

        test(`${about}, ${key}: controls meet the keyboard in tab order, later ones stacked above`, () => {
            for (const plan of [window, ...found.map(f => f.plan)]) {
                const tabs = plan.children.filter(child => child.control !== undefined)
                    .map(child => win.controls[child.control].tabIndex);
                assert.deepEqual(tabs, [...tabs].sort((a, b) => a - b));
            }
            const stacked = found.map(f => Number(f.plan.style['--stack']));
            assert.deepEqual(stacked, [...new Set(stacked)].sort((a, b) => a - b));
        });
    }

    test(`${about}: on a phone the counts keep their design's rows and columns, each label beside its box`, () => {
        const win = design.calculator;
        const window = planOf(design, win);
        const cells = new Map(controlsIn(window).map(({plan}, i) => [i, {row: Number(plan.style['--row']),
                                                                         column: Number(plan.style['--column'])}]));
        const at = (role, rating) => cells.get(win.controls.findIndex(c => c.role === role && c.challengeRating === rating));
        const boxes = win.controls.filter(c => c.role === 'count').map(c => c.challengeRating);
        for (const rating of boxes) {
            const box = at('count', rating);
            assert.deepEqual(at('countLabel', rating), {row: box.row, column: box.column + 1}, `CR ${rating}`);
            // Down a column the challenge ratings rise, as the design runs them.
            for (const other of boxes)
                if (at('count', other).column === box.column && at('count', other).row > box.row)
                    assert.ok(other > rating, `CR ${other} stands under CR ${rating}`);
        }
        const used = [...cells.values()].filter(cell => cell.row);
        assert.equal(used.length, 2 * boxes.length, 'a cell for each box and label, and nothing else');
        assert.equal(new Set(used.map(c => `${c.row},${c.column}`)).size, used.length, 'a cell each');
        assert.deepEqual([window.style['--count-rows'], window.style['--count-families']],
                         [Math.max(...used.map(c => c.row)), Math.max(...used.map(c => c.column)) / 2].map(String));
        assert.ok(boxes.length > 1, 'more than one count to hold the rule to');
        assert.equal(planOf(design, design.chart).style['--count-rows'], undefined, 'the chart has no counts');
    });

    // Whether a screen matches a media query of thumbQuery()'s forms.
    const matches = (query, screen) => query.split(', ').some(alternative => alternative.split(' and ').every(
        feature => (feature.startsWith('(pointer') ? feature === `(pointer: ${screen.pointer})`
            : screen[feature.match(/\((\w+) </)[1]] < Number(feature.match(/< ([\d.]+)px/)[1]))));
    for (const [key, win] of windowsOf(design)) {
        test(`${about}, ${key}: phones, and screens narrower than the window, lay it out for a thumb`, () => {
            const fits = win.size.width + 2 * kFitMarginPx;
            // width, height, pointer, laid out for a thumb
            for (const screen of [[1024, 768, 'fine', false], [fits, 768, 'fine', false], [fits - 1, 768, 'fine', true],
                                  [1024, 300, 'fine', false], [1024, 768, 'coarse', false],
                                  [744, 1133, 'coarse', false], [390, 844, 'coarse', true],
                                  [844, 390, 'coarse', true], [932, 430, 'coarse', true]]) {
                const [width, height, pointer, thumb] = screen;
                assert.equal(matches(thumbQuery(win), {width, height, pointer}), thumb, `${screen}`);
            }
        });
    }
}

test('an export the page cannot show stops it, saying why', () => {
    const design = sample();
    const win = design.calculator;
    const changed = (role, rating, change) => ({...win, controls: win.controls.map(
        c => (c.role === role && c.challengeRating === rating ? {...c, ...change(c)} : c))});
    for (const [show, error] of [
        [() => planOf(design, changed('calculate', null, () => ({kind: 'slider'}))),
         /kind the page does not know: "slider"/],
        [() => planOf(design, {...win, ground: 'mauve'}), /"mauve"/],
        [() => windowPlan(design.chart, {colours: design.colours}), /no chart to draw/],
        [() => countGrid(changed('countLabel', 2, c => ({placeInWindow: {...c.placeInWindow, top: 8}}))),
         /in the same row and column/]])
        assert.throws(show, error);
});

test('a description becomes its elements: custom properties set as such, the rest as style, controls found', () => {
    const document = {
        createTextNode: data => ({data}),
        createElement: tag => ({
            tag, attributes: {}, children: [], style: {custom: new Map(), setProperty(n, v) { this.custom.set(n, v); }},
            setAttribute(name, value) { this.attributes[name] = value; },
            append(...children) { this.children.push(...children); },
        }),
    };
    const found = [];
    const element = realise({tag: 'section', style: {'--width': '10px', 'background': 'red'}, children: [
        {tag: 'div', control: 0, properties: {id: 'a'}, attributes: {'data-role': 'count'}, children: ['CR1']}]},
    document, found);
    assert.deepEqual([element.style.custom.get('--width'), element.style['--width'], element.style.background],
                     ['10px', undefined, 'red']);
    assert.equal(found[0], element.children[0]);
    assert.deepEqual([found[0].id, found[0].attributes['data-role'], found[0].children[0].data], ['a', 'count', 'CR1']);
});
