// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// A window of the export becomes elements that say what the export says:
// each control where and as it is, in its frame, in tab order, stacked in
// the order the desktop creates them, marked with its role.
import assert from 'node:assert/strict';
import test from 'node:test';

import {fontStyle, realise, windowSpec} from '../../packaging/web/layout.js';
import {zoomToFit, kFitMarginPx} from '../../packaging/web/windows.js';
import {designs, sample, windowsOf} from './designs.mjs';

const kChart = {tag: 'figure', children: []};
const specOf = (design, win) => windowSpec(win, {colours: design.colours, makeChart: () => ({...kChart})});

// Each control's description, and the description it is a child of.
function controlsIn(window) {
    const found = [];
    const walk = (spec, parent) => {
        if (typeof spec !== 'object')
            return;
        if (spec.control !== undefined)
            found[spec.control] = {spec, parent};
        (spec.children ?? []).forEach(child => walk(child, spec));
    };
    walk(window, null);
    return found;
}

const textOf = spec => (spec.children ?? []).filter(child => typeof child === 'string').join('');

for (const {about, design} of designs()) {
    for (const [key, win] of windowsOf(design)) {
        const window = specOf(design, win);
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
                const {spec, parent} = found[i];
                const {left, top, width, height} = control.place;
                assert.deepEqual(['--left', '--top', '--width', '--height'].map(side => spec.style[side]),
                                 [`${left}px`, `${top}px`, `${width}px`, `${height}px`], control.name);
                assert.equal(parent, control.container === null ? window : found[control.container].spec, control.name);
            });
        });

        test(`${about}, ${key}: controls meet the keyboard in tab order, later ones stacked above`, () => {
            const siblings = [window, ...found.map(f => f.spec)].map(spec => spec.children.filter(
                child => child.control !== undefined).map(child => child.control));
            for (const group of siblings)
                assert.deepEqual(group.map(i => win.controls[i].tabIndex),
                                 group.map(i => win.controls[i].tabIndex).sort((a, b) => a - b));
            const stacked = win.controls.map((_, i) => Number(found[i].spec.style['--stack']));
            assert.deepEqual(stacked, [...stacked].sort((a, b) => a - b));
            assert.equal(new Set(stacked).size, stacked.length);
        });

        test(`${about}, ${key}: each control carries its role, and ids are unique`, () => {
            win.controls.forEach((control, i) => {
                const {attributes} = found[i].spec;
                assert.equal(attributes['data-role'], control.role);
                assert.equal(attributes['data-challenge-rating'],
                             control.challengeRating === null ? undefined : String(control.challengeRating));
            });
            const ids = found.map(f => f.spec.properties.id);
            assert.equal(new Set(ids).size, ids.length);
        });

        test(`${about}, ${key}: each control has its face, text and colours`, () => {
            win.controls.forEach((control, i) => {
                const {spec} = found[i];
                if (control.font) {
                    assert.equal(spec.style['--font-size'], `${control.font.pixelSize}px`);
                    assert.equal(spec.style.fontWeight, control.font.bold ? 'bold' : 'normal');
                    assert.equal(spec.style.fontStyle, control.font.italic ? 'italic' : 'normal');
                    assert.ok(spec.style.fontFamily.startsWith(control.font.families.map(f => `"${f}"`).join(', ')));
                } else {
                    assert.equal(spec.style['--font-size'], undefined, `${control.name} takes its window's face`);
                }
                assert.equal(spec.style.color, control.textColour ?? undefined);
                assert.equal(spec.style.background, control.groundColour ?? undefined);
                assert.equal(spec.style.textAlign, control.alignment === 'centre' ? 'center' : undefined);
                switch (control.kind) {
                case 'text box':
                    assert.equal(spec.tag, 'input');
                    assert.equal(spec.properties.value, control.text);
                    assert.equal(spec.properties.inputMode, 'decimal');
                    assert.equal(spec.attributes['aria-label'], control.accessibleName);
                    break;
                case 'button':
                    assert.equal(spec.tag, 'button');
                    assert.equal(textOf(spec), control.text);
                    break;
                case 'label':
                    assert.equal(textOf(spec), control.text);
                    break;
                case 'frame': {
                    const caption = spec.children[0];
                    assert.equal(textOf(caption), control.text);
                    assert.equal(spec.attributes['aria-labelledby'], caption.properties.id);
                    break;
                }
                case 'picture box': {
                    const [picture] = spec.children;
                    assert.equal(picture.properties.src, control.picture['1x']);
                    assert.equal(picture.attributes.srcset, `${control.picture['2x']} 2x`);
                    assert.equal(picture.properties.alt, control.accessibleName);
                    break;
                }
                case 'chart':
                    assert.equal(spec.tag, kChart.tag);
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
    assert.throws(() => specOf(design, {...win, controls}), /kind the page does not know: "slider"/);
});

test('a window in a colour the export lacks stops the page', () => {
    const design = sample();
    assert.throws(() => specOf(design, {...design.calculator, ground: 'mauve'}), /"mauve"/);
});

test('a chart with nothing to draw it stops the page', () => {
    const design = sample();
    assert.throws(() => windowSpec(design.chart, {colours: design.colours}), /no chart to draw/);
});

test('a face is its families in order, then a generic one, at its pixel size', () => {
    assert.deepEqual(fontStyle({families: ['Verdana', 'DejaVu Sans'], pixelSize: 13, bold: true, italic: true}),
                     {'fontFamily': '"Verdana", "DejaVu Sans", sans-serif', '--font-size': '13px', 'fontWeight': 'bold',
                      'fontStyle': 'italic'});
    assert.deepEqual(fontStyle(null), {});
});

test('a window keeps its size on a wide screen, and shrinks to fit a narrow one with room either side', () => {
    assert.equal(zoomToFit(1024, 450), 1);
    assert.equal(zoomToFit(450 + 2 * kFitMarginPx, 450), 1);
    for (const room of [390, 320]) {
        const zoom = zoomToFit(room, 450);
        assert.ok(zoom < 1);
        assert.ok(Math.abs(450 * zoom + 2 * kFitMarginPx - room) < 1e-9, `${room}: ${zoom}`);
    }
});

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
