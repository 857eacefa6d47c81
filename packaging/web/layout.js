// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// A window of the designs' export (design.json) as the elements that show
// it: first as a plain description (a tag, its properties, attributes, style,
// handlers and children), which needs no browser, then realised in a
// document. Every place, size, face and word is the export's; nothing here
// converts or composes them. Places, stacking and type sizes go to page.css
// as custom properties (--left, --stack, --font-size ...): it sets the
// window by them on a desktop, and lays it out for a thumb on a phone.
import {keyOf} from './roles.js';

// The generic family a browser falls back on when it has none of a face's.
const kLastResortFamily = 'sans-serif';

// A face of the export, as CSS; its size for page.css to set.
export function fontStyle(font) {
    if (!font)
        return {};
    return {
        fontFamily: [...font.families.map(family => `"${family}"`), kLastResortFamily].join(', '),
        '--font-size': `${font.pixelSize}px`,
        fontWeight: font.bold ? 'bold' : 'normal',
        fontStyle: font.italic ? 'italic' : 'normal',
    };
}

const placeStyle = place => ({'--left': `${place.left}px`, '--top': `${place.top}px`,
                              '--width': `${place.width}px`, '--height': `${place.height}px`});

// The rows and columns the count boxes and their labels stand in, as the
// design arranges them, counted from 1 down and across: a phone keeps them,
// while it reflows the rest of the window. Gives their number, the number of
// families (columns of count boxes, each with its labels' column) and, by
// index in win.controls, each one's {row, column}.
export function countGrid(win) {
    const members = win.controls.map((control, index) => ({control, index}))
        .filter(({control}) => control.role === 'count' || control.role === 'countLabel');
    const ranks = side => {
        const lines = [...new Set(members.map(({control}) => control.placeInWindow[side]))].sort((a, b) => a - b);
        return {count: lines.length, of: control => lines.indexOf(control.placeInWindow[side]) + 1};
    };
    const rows = ranks('top');
    const columns = ranks('left');
    const cells = new Map(members.map(({control, index}) =>
        [index, {row: rows.of(control), column: columns.of(control)}]));
    if (new Set([...cells.values()].map(({row, column}) => `${row},${column}`)).size !== cells.size)
        throw new Error(`${win.name} has count boxes or labels in the same row and column`);
    const families = new Set(members.filter(({control}) => control.role === 'count')
        .map(({control}) => control.placeInWindow.left)).size;
    return {rows: rows.count, columns: columns.count, families, cells};
}

// One control as the element of its kind; `makeChart` draws a chart, the
// one kind the export describes elsewhere.
function kindPlan(control, id, makeChart) {
    switch (control.kind) {
    case 'picture box':
        return {tag: 'div', children: [{tag: 'img', properties: {src: control.picture['1x'], alt: control.accessibleName},
                                         attributes: {srcset: `${control.picture['2x']} 2x`}}]};
    case 'frame':
        // Its caption stands in its top border, and names the group.
        return {tag: 'div', attributes: {'role': 'group', 'aria-labelledby': `${id}-caption`},
                children: [{tag: 'span', properties: {id: `${id}-caption`, className: 'caption'},
                            children: [control.text]}]};
    case 'button':
        return {tag: 'button', properties: {type: 'button'}, children: [control.text]};
    case 'label':
        return {tag: 'div', children: [control.text]};
    case 'text box':
        return {tag: 'input',
                // A number keypad on phones; any text may still be pasted, and is read as typed.
                properties: {type: 'text', value: control.text, inputMode: 'decimal', autocomplete: 'off',
                             spellcheck: false},
                attributes: {'autocapitalize': 'off', 'aria-label': control.accessibleName},
                // Tabbing into a box selects its text, as on the desktop.
                on: {focus: element => element.select()}};
    case 'chart':
        if (!makeChart)
            throw new Error(`there is no chart to draw in ${control.name}`);
        return makeChart();
    default:
        throw new Error(`the export has a control of a kind the page does not know: "${control.kind}" (${control.name})`);
    }
}

// A window of the export: its controls in tab order, which is the order
// keyboards and screen readers meet them in, each stacked as the desktop
// creates them and placed in its container. Each control's element carries
// its role (data-role, data-challenge-rating) and `control`, its index in
// win.controls, for realise() to hand back.
export function windowPlan(win, {colours, makeChart} = {}) {
    if (colours && !(win.ground in colours))
        throw new Error(`${win.name} is painted in "${win.ground}", a colour the export does not have`);
    const counts = countGrid(win);
    const plans = win.controls.map((control, index) => {
        const id = keyOf(control);
        const plan = kindPlan(control, id, makeChart);
        plan.control = index;
        plan.properties = {...plan.properties, id, className: `control ${control.kind.replace(' ', '-')}`};
        plan.attributes = {...plan.attributes, 'data-role': control.role};
        if (control.challengeRating !== null && control.challengeRating !== undefined)
            plan.attributes['data-challenge-rating'] = String(control.challengeRating);
        plan.style = {...placeStyle(control.place), ...fontStyle(control.font), '--stack': String(index + 1)};
        if (control.alignment === 'centre')
            plan.style.textAlign = 'center';
        if (control.textColour)
            plan.style.color = control.textColour;
        if (control.groundColour)
            plan.style.background = control.groundColour;
        const cell = counts.cells.get(index);
        if (cell)
            Object.assign(plan.style, {'--row': String(cell.row), '--column': String(cell.column)});
        plan.children = plan.children ?? [];
        return plan;
    });
    // Its caption heads it, for screen readers, as the desktop's title bar
    // names a window; the page shows no title bar.
    const window = {tag: 'section', properties: {className: 'window'},
                    attributes: {'aria-label': win.accessibleName},
                    style: {'--width': `${win.size.width}px`, '--height': `${win.size.height}px`,
                            background: `var(--${win.ground})`, ...fontStyle(win.font)},
                    children: [{tag: 'h1', properties: {className: 'unseen'}, children: [win.caption]}]};
    const inTabOrder = win.controls.map((control, index) => ({control, index}))
        .sort((a, b) => a.control.tabIndex - b.control.tabIndex);
    for (const {control, index} of inTabOrder) {
        const container = control.container ?? null;
        if (container !== null && win.controls[container]?.kind !== 'frame')
            throw new Error(`${win.name}: ${control.name} sits in ${container}, which is not a frame`);
        (container === null ? window : plans[container]).children.push(plans[index]);
    }
    if (counts.cells.size > 0)
        Object.assign(window.style, {'--count-rows': String(counts.rows), '--count-families': String(counts.families)});
    return window;
}

// The elements of a description, in `document`; `found[i]` is then the
// element of control i.
export function realise(plan, document, found = []) {
    if (typeof plan === 'string')
        return document.createTextNode(plan);
    const element = document.createElement(plan.tag);
    Object.assign(element, plan.properties);
    for (const [name, value] of Object.entries(plan.attributes ?? {}))
        element.setAttribute(name, value);
    for (const [name, value] of Object.entries(plan.style ?? {})) {
        if (name.startsWith('--'))
            element.style.setProperty(name, value);
        else
            element.style[name] = value;
    }
    for (const [event, handler] of Object.entries(plan.on ?? {}))
        element.addEventListener(event, () => handler(element));
    element.append(...(plan.children ?? []).map(child => realise(child, document, found)));
    if (plan.control !== undefined)
        found[plan.control] = element;
    return element;
}
