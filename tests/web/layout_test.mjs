// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// A window of the export becomes elements that say what the export says:
// each control where and as it is, in its frame, in tab order, stacked in
// the order the desktop creates them, marked with its role.
import assert from 'node:assert/strict';
import test from 'node:test';

import {countGrid, fontStyle, realise, windowPlan} from '../../packaging/web/layout.js';
import {kFitMarginPx, thumbQuery} from '../../packaging/web/windows.js';
import {designs, sample, windowsOf} from './designs.mjs';

const kChart = {tag: 'figure', children: []};
const planOf = (design, win) => windowPlan(win, {colours: design.colours, makeChart: () => ({...kChart})});

// Each control's description, and the description it is a child of.
function controlsIn(window) {
    const found = [];
    const walk = (plan, parent) => {
        if (typeof plan !== 'object')
            return;
        if (plan.control !== undefined)
            found[plan.control] = {plan, parent};
        (plan.children ?? []).forEach(child => walk(child, plan));
    };
    walk(window, null);
    return found;
}

const textOf = plan => (plan.children ?? []).filter(child => typeof child === 'string').join('');

for (const {about, design} of designs()) {
    for (const [key, win] of windowsOf(design)) {
        const window = planOf(design, win);
        const found = controlsIn(window);

        test(`${about}, ${key}: the window is its size, in its ground and face`, () => {
            assert.equal(window.attributes['aria-label'], win.accessibleName);
            assert.equal(window.style['--width'], `${win.size.width}px`);
            assert.equal(window.style['--height'], `${win.size.height}px`);
            assert.equal(window.style.background, `var(--${win.ground})`);
            assert.equal(window.style['--font-size'], `${win.font.pixelSize}px`);
        });

        test(`${about}, ${key}: the window is headed by its caption, first, as a title bar names it`, () => {
            const [heading] = window.children;
            assert.equal(heading.tag, 'h1');
            assert.equal(textOf(heading), win.caption);
            assert.equal(heading.control, undefined);
        });

        test(`${about}, ${key}: every control stands in its place in its container, once`, () => {
            assert.equal(found.filter(Boolean).length, win.controls.length);
            win.controls.forEach((control, i) => {
                const {plan, parent} = found[i];
                const {left, top, width, height} = control.place;
                assert.deepEqual(['--left', '--top', '--width', '--height'].map(side => plan.style[side]),
                                 [`${left}px`, `${top}px`, `${width}px`, `${height}px`], control.name);
                assert.equal(parent, control.container === null ? window : found[control.container].plan, control.name);
            });
        });

        test(`${about}, ${key}: controls meet the keyboard in tab order, later ones stacked above`, () => {
            const siblings = [window, ...found.map(f => f.plan)].map(plan => plan.children.filter(
                child => child.control !== undefined).map(child => child.control));
            for (const group of siblings)
                assert.deepEqual(group.map(i => win.controls[i].tabIndex),
                                 group.map(i => win.controls[i].tabIndex).sort((a, b) => a - b));
            const stacked = win.controls.map((_, i) => Number(found[i].plan.style['--stack']));
            assert.deepEqual(stacked, [...stacked].sort((a, b) => a - b));
            assert.equal(new Set(stacked).size, stacked.length);
        });

        test(`${about}, ${key}: each control carries its role, and ids are unique`, () => {
            win.controls.forEach((control, i) => {
                const {attributes} = found[i].plan;
                assert.equal(attributes['data-role'], control.role);
                assert.equal(attributes['data-challenge-rating'],
                             control.challengeRating === null ? undefined : String(control.challengeRating));
            });
            const ids = found.map(f => f.plan.properties.id);
            assert.equal(new Set(ids).size, ids.length);
        });

        test(`${about}, ${key}: each control has its face, text and colours`, () => {
            win.controls.forEach((control, i) => {
                const {plan} = found[i];
                if (control.font) {
                    assert.equal(plan.style['--font-size'], `${control.font.pixelSize}px`);
                    assert.equal(plan.style.fontWeight, control.font.bold ? 'bold' : 'normal');
                    assert.equal(plan.style.fontStyle, control.font.italic ? 'italic' : 'normal');
                    assert.ok(plan.style.fontFamily.startsWith(control.font.families.map(f => `"${f}"`).join(', ')));
                } else {
                    assert.equal(plan.style['--font-size'], undefined, `${control.name} takes its window's face`);
                }
                assert.equal(plan.style.color, control.textColour ?? undefined);
                assert.equal(plan.style.background, control.groundColour ?? undefined);
                assert.equal(plan.style.textAlign, control.alignment === 'centre' ? 'center' : undefined);
                switch (control.kind) {
                case 'text box':
                    assert.equal(plan.tag, 'input');
                    assert.equal(plan.properties.value, control.text);
                    assert.equal(plan.properties.inputMode, 'decimal');
                    assert.equal(plan.attributes['aria-label'], control.accessibleName);
                    break;
                case 'button':
                    assert.equal(plan.tag, 'button');
                    assert.equal(textOf(plan), control.text);
                    break;
                case 'label':
                    assert.equal(textOf(plan), control.text);
                    break;
                case 'frame': {
                    const caption = plan.children[0];
                    assert.equal(textOf(caption), control.text);
                    assert.equal(plan.attributes['aria-labelledby'], caption.properties.id);
                    break;
                }
                case 'picture box': {
                    const [picture] = plan.children;
                    assert.equal(picture.properties.src, control.picture['1x']);
                    assert.equal(picture.attributes.srcset, `${control.picture['2x']} 2x`);
                    assert.equal(picture.properties.alt, control.accessibleName);
                    break;
                }
                case 'chart':
                    assert.equal(plan.tag, kChart.tag);
                    break;
                default:
                    assert.fail(`${control.name} is of kind ${control.kind}`);
                }
            });
        });
    }
}

test('a control of a kind the page does not know stops it, naming the kind', () => {
    const design = sample();
    const win = design.calculator;
    const controls = win.controls.map(control => (control.role === 'calculate' ? {...control, kind: 'slider'} : control));
    assert.throws(() => planOf(design, {...win, controls}), /kind the page does not know: "slider"/);
});

test('a window in a colour the export lacks stops the page', () => {
    const design = sample();
    assert.throws(() => planOf(design, {...design.calculator, ground: 'mauve'}), /"mauve"/);
});

test('a chart with nothing to draw it stops the page', () => {
    const design = sample();
    assert.throws(() => windowPlan(design.chart, {colours: design.colours}), /no chart to draw/);
});

test('a face is its families in order, then a generic one, at its pixel size', () => {
    assert.deepEqual(fontStyle({families: ['Verdana', 'DejaVu Sans'], pixelSize: 13, bold: true, italic: true}),
                     {'fontFamily': '"Verdana", "DejaVu Sans", sans-serif', '--font-size': '13px', 'fontWeight': 'bold',
                      'fontStyle': 'italic'});
    assert.deepEqual(fontStyle(null), {});
});

// The count boxes and labels of a window, by challenge rating, with their
// cells in countGrid()'s grid.
function countCells(win) {
    const grid = countGrid(win);
    const byRating = role => new Map(win.controls.map((control, index) => ({control, index}))
        .filter(({control}) => control.role === role)
        .map(({control, index}) => [control.challengeRating, grid.cells.get(index)]));
    return {grid, boxes: byRating('count'), labels: byRating('countLabel')};
}

for (const {about, design} of designs()) {
    test(`${about}: on a phone the counts keep their design's rows and columns, each label beside its box`, () => {
        const {grid, boxes, labels} = countCells(design.calculator);
        assert.equal(grid.cells.size, boxes.size + labels.size);
        for (const [rating, box] of boxes) {
            assert.deepEqual(labels.get(rating), {row: box.row, column: box.column + 1}, `CR ${rating}`);
            // Down a column the challenge ratings rise, as the design runs them.
            for (const [other, at] of boxes)
                if (at.column === box.column && at.row > box.row)
                    assert.ok(other > rating, `CR ${other} stands under CR ${rating}`);
        }
        const cells = [...grid.cells.values()];
        assert.deepEqual([Math.max(...cells.map(c => c.row)), Math.max(...cells.map(c => c.column))],
                         [grid.rows, grid.columns]);
        // A family: a column of boxes, and beside it their labels'.
        assert.equal(grid.columns, 2 * grid.families);
        assert.equal(new Set([...boxes.values()].map(box => box.column)).size, grid.families);
        assert.equal(new Set(cells.map(c => `${c.row},${c.column}`)).size, cells.length, 'a cell each');
        assert.ok(grid.rows > 1 && grid.columns > 1);
    });

    test(`${about}: each count box and label carries its cell to page.css, and the window the grid's size`, () => {
        const win = design.calculator;
        const window = planOf(design, win);
        const {grid} = countCells(win);
        assert.deepEqual([window.style['--count-rows'], window.style['--count-families']],
                         [String(grid.rows), String(grid.families)]);
        controlsIn(window).forEach(({plan}, index) => {
            const cell = grid.cells.get(index);
            assert.deepEqual([plan.style['--row'], plan.style['--column']],
                             cell ? [String(cell.row), String(cell.column)] : [undefined, undefined],
                             win.controls[index].name);
        });
        assert.equal(planOf(design, design.chart).style['--count-rows'], undefined, 'the chart has no counts');
    });
}

test('two counts in one cell stop the page', () => {
    const win = sample().calculator;
    const controls = win.controls.map(control => (control.role === 'countLabel' && control.challengeRating === 2
        ? {...control, placeInWindow: {...control.placeInWindow, top: 8}} : control));
    assert.throws(() => countGrid({...win, controls}), /in the same row and column/);
});

// Whether a screen matches a media query of the forms thumbQuery() writes:
// queries joined by commas, each of features joined by "and".
function matches(query, screen) {
    return query.split(',').some(alternative => alternative.split(' and ').every(feature => {
        const range = feature.trim().match(/^\((width|height) < ([\d.]+)px\)$/);
        if (range)
            return screen[range[1]] < Number(range[2]);
        const pointer = feature.trim().match(/^\(pointer: (\w+)\)$/);
        if (pointer)
            return screen.pointer === pointer[1];
        throw new Error(`a feature the test cannot weigh: ${feature}`);
    }));
}

for (const {about, design} of designs()) {
    for (const [key, win] of windowsOf(design)) {
        test(`${about}, ${key}: phones, and screens narrower than the window, lay it out for a thumb`, () => {
            const query = thumbQuery(win);
            const fits = win.size.width + 2 * kFitMarginPx;
            const screens = [
                {about: 'a desktop', width: 1024, height: 768, pointer: 'fine', thumb: false},
                {about: 'a desktop window just wide enough', width: fits, height: 768, pointer: 'fine', thumb: false},
                {about: 'a narrower desktop window', width: fits - 1, height: 768, pointer: 'fine', thumb: true},
                {about: 'a short desktop window', width: 1024, height: 300, pointer: 'fine', thumb: false},
                {about: 'a tablet', width: 1024, height: 768, pointer: 'coarse', thumb: false},
                {about: 'an upright phone', width: 390, height: 844, pointer: 'coarse', thumb: true},
                {about: 'a small tablet upright', width: 744, height: 1133, pointer: 'coarse', thumb: false},
                {about: 'a phone on its side', width: 844, height: 390, pointer: 'coarse', thumb: true},
                {about: 'a large phone on its side', width: 932, height: 430, pointer: 'coarse', thumb: true},
            ];
            for (const screen of screens)
                assert.equal(matches(query, screen), screen.thumb, `${screen.about}: ${query}`);
        });
    }
}

// A document just rich enough for realise().
const fakeDocument = () => ({
    createTextNode: data => ({data}),
    createElement: tag => {
        const custom = new Map();
        return {
            tag, attributes: {}, children: [],
            style: {custom, setProperty: (name, value) => custom.set(name, value)},
            setAttribute(name, value) { this.attributes[name] = value; },
            addEventListener() {},
            append(...children) { this.children.push(...children); },
        };
    },
});

test('a description becomes its elements: custom properties set as such, the rest as style, controls found', () => {
    const found = [];
    const element = realise({tag: 'section', style: {'--width': '10px', 'background': 'red'}, children: [
        {tag: 'div', control: 0, properties: {id: 'a'}, attributes: {'data-role': 'count'}, children: ['CR1']}]},
    fakeDocument(), found);
    assert.equal(element.style.custom.get('--width'), '10px');
    assert.equal(element.style['--width'], undefined);
    assert.equal(element.style.background, 'red');
    assert.equal(found[0], element.children[0]);
    assert.deepEqual([found[0].id, found[0].attributes['data-role'], found[0].children[0].data], ['a', 'count', 'CR1']);
});
