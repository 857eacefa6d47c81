// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator as a web page: both windows laid out from the designs that
// the desktop windows are built from (design.json), as real inputs, buttons
// and tables; the arithmetic, and every word it gives, from the core in
// WebAssembly (core.js). The page computes nothing itself.
'use strict';

(async () => {
    const status = document.getElementById('status');
    if (typeof WebAssembly !== 'object') {
        status.className = 'notice';
        status.textContent = "Kestrow's Experience Calculator needs a browser that runs WebAssembly.";
        return;
    }
    const [design, core] = await Promise.all([fetch('design.json').then(response => response.json()), createCore()]);
    const desktop = document.getElementById('desktop');
    const px = twips => Math.floor(twips / design.twipsPerPixel);

    // The Windows default colour scheme, which the desktop windows draw in too.
    for (const [name, value] of Object.entries(design.scheme))
        document.documentElement.style.setProperty(`--${name}`, value);

    // A face of the designs, as CSS: Verdana and its stand-in, in pixels at
    // 96 dots per inch, as the desktop sizes them.
    const fontOf = face => face && {
        fontFamily: face.family === 'window' ? '"DejaVu Sans", "MS Sans Serif", sans-serif'
                                             : 'Verdana, "DejaVu Sans", sans-serif',
        fontSize: `${Math.round(face.points * 96 / 72)}px`,
        fontWeight: face.bold ? 'bold' : 'normal',
        fontStyle: face.italic ? 'italic' : 'normal',
    };

    // The core's texts are UTF-16, as JavaScript's strings are.
    const calculate = entries => {
        entries.forEach((text, box) => {
            const at = core._xpcalc_entry(box, text.length);
            core.stringToUTF16(text, at, (text.length + 1) * 2);
        });
        const read = pointer => core.UTF16ToString(pointer);
        if (core._xpcalc_calculate())
            return {total: read(core._xpcalc_total()), said: read(core._xpcalc_announcement()),
                    working: read(core._xpcalc_working())};
        return {overflow: read(core._xpcalc_overflow_message()), box: core._xpcalc_overflow_box()};
    };

    // What screen readers hear without the focus moving. The same words twice
    // in a row are still said again.
    const announce = text => {
        status.textContent = '';
        setTimeout(() => { status.textContent = text; }, 50);
    };

    // One control of a design, as the element of its kind.
    const make = control => {
        let element;
        switch (control.kind) {
        case 'picture box': {
            element = document.createElement('div');
            const picture = document.createElement('img');
            picture.src = `assets/${control.text}.png`;
            picture.srcset = `assets/${control.text}@2x.png 2x`;
            picture.alt = control.accessibleName;
            element.append(picture);
            break;
        }
        case 'frame': {
            // Its caption stands in its top border, and names the group.
            element = document.createElement('div');
            element.setAttribute('role', 'group');
            const caption = document.createElement('span');
            caption.className = 'caption';
            caption.id = `${control.name}-caption`;
            caption.textContent = control.text;
            element.setAttribute('aria-labelledby', caption.id);
            element.append(caption);
            break;
        }
        case 'button':
            element = document.createElement('button');
            element.type = 'button';
            element.textContent = control.text;
            break;
        case 'label':
            element = document.createElement('div');
            element.textContent = control.text;
            break;
        case 'text box':
            element = document.createElement('input');
            element.type = 'text';
            element.value = control.text;
            // A number keypad on phones; any text may still be pasted, and is read as typed.
            element.inputMode = 'decimal';
            element.autocomplete = 'off';
            element.spellcheck = false;
            element.setAttribute('autocapitalize', 'off');
            element.setAttribute('aria-label', control.accessibleName);
            // Tabbing into a box selects its text, as on the desktop.
            element.addEventListener('focus', () => element.select());
            break;
        case 'chart':
            element = chart();
            break;
        }
        element.id = control.name;
        element.className = `control ${control.kind.replace(' ', '-')}`;
        const place = control.twips;
        Object.assign(element.style, {left: `${px(place.left)}px`, top: `${px(place.top)}px`,
                                      width: `${px(place.width)}px`, height: `${px(place.height)}px`},
                      fontOf(control.font) ?? {});
        if (control.alignment === 'centre')
            element.style.textAlign = 'center';
        if (control.textColour)
            element.style.color = control.textColour;
        if (control.groundColour)
            element.style.background = control.groundColour;
        return element;
    };

    // A window of a design: its controls in tab order, which is the order
    // keyboards and screen readers meet them in, each stacked as the
    // desktop creates them.
    const windowOf = win => {
        const element = document.createElement('section');
        element.className = `window ${win.resizable ? 'sizable' : 'fixed'}`;
        element.setAttribute('aria-label', win.accessibleName);
        Object.assign(element.style, {width: `${win.pixels.width}px`, height: `${win.pixels.height}px`},
                      fontOf(win.font) ?? {});
        const built = new Map();
        win.controls.forEach((control, created) => {
            const made = make(control);
            made.style.zIndex = String(created + 1);
            built.set(control.name, {control, made});
        });
        const inTabOrder = [...built.values()].sort((a, b) => a.control.tabIndex - b.control.tabIndex);
        for (const {control, made} of inTabOrder)
            (control.container ? built.get(control.container).made : element).append(made);
        desktop.replaceChildren(element);
        fit();
        const controls = name => built.get(name).made;
        controls(win.firstFocus).focus();
        return controls;
    };

    // The award chart as its design draws it, one table a grid: each row a
    // party level and blank where no award is defined, its rows, bands and
    // lettering from the design.
    const chart = () => {
        const {title, heading, levelHeader, ratingHeader, rows, grids} = design.awardChart;
        const figure = document.createElement('figure');
        const caption = document.createElement('figcaption');
        caption.textContent = title;
        figure.append(caption);
        const header = (text, lines) => {
            const cell = document.createElement('th');
            cell.scope = 'col';
            lines.forEach((line, i) => cell.append(...(i ? [document.createElement('br'), line] : [line])));
            cell.setAttribute('aria-label', text);
            return cell;
        };
        grids.forEach(({firstChallengeRating: first, challengeRatings, firstRow, rows: count}, index) => {
            const last = first + challengeRatings - 1;
            const ratings = Array.from({length: challengeRatings}, (_, i) => first + i);
            const table = document.createElement('table');
            table.className = index === 0 ? 'upper' : 'lower';
            table.setAttribute('aria-label', `${title}, challenge ratings ${first} to ${last}`);
            const head = table.createTHead();
            const headingRow = head.insertRow();
            headingRow.className = 'heading';
            const across = document.createElement('th');
            across.colSpan = challengeRatings;
            across.textContent = heading;
            headingRow.append(document.createElement('th'), across);
            head.insertRow().append(header(levelHeader, levelHeader.split(' ')),
                                    ...ratings.map(cr => header(`${ratingHeader} ${cr}`, [ratingHeader, String(cr)])));
            const body = table.createTBody();
            for (const {firstLevel, lastLevel, banded} of rows.slice(firstRow, firstRow + count)) {
                const row = body.insertRow();
                if (banded)
                    row.className = 'band';
                const label = document.createElement('th');
                label.scope = 'row';
                label.textContent = firstLevel === lastLevel ? String(firstLevel) : `${firstLevel}-${lastLevel}`;
                label.setAttribute('aria-label', `Party level ${label.textContent}`);
                row.append(label);
                for (const cr of ratings) {
                    const award = design.awardTable[firstLevel - 1][cr - 1];
                    row.insertCell().textContent = award ? String(award) : '';
                }
            }
            figure.append(table);
        });
        figure.tabIndex = 0;
        figure.setAttribute('role', 'group');
        figure.setAttribute('aria-label', title);
        return figure;
    };

    // A phone's screen narrower than the window: the window shrinks to fit
    // it; on a larger screen it keeps its size in the middle.
    const fit = () => {
        const shown = desktop.firstElementChild;
        if (!shown)
            return;
        const room = document.documentElement.clientWidth - 16;
        shown.style.zoom = String(Math.min(1, room / shown.offsetWidth));
    };
    window.addEventListener('resize', fit);

    const warning = document.getElementById('warning');
    const showCalculator = () => {
        const win = design.calculator;
        document.title = win.caption;
        const control = windowOf(win);
        const boxes = win.controls.filter(c => c.kind === 'text box' && c.name.startsWith('cr'))
                          .sort((a, b) => a.tabIndex - b.tabIndex).map(c => control(c.name));
        const level = control('party');
        const total = control('totalxp');
        control('Command1').addEventListener('click', () => {
            const result = calculate([...boxes.map(box => box.value), level.value]);
            if (result.overflow !== undefined) {
                const failing = result.box < boxes.length ? boxes[result.box] : level;
                warning.querySelector('p').textContent = result.overflow;
                warning.onclose = () => {
                    failing.focus();
                    failing.select();
                };
                warning.showModal();
                return;
            }
            total.value = result.total;
            total.title = result.working;
            document.getElementById('working').textContent = result.working;
            total.setAttribute('aria-describedby', 'working');
            announce(result.said);
        });
        // The working reaches the keyboard too: Shift+F1 in the total says it.
        total.addEventListener('keydown', event => {
            if (event.key === 'F1' && event.shiftKey && total.title) {
                event.preventDefault();
                announce(total.title);
            }
        });
        control('Command2').addEventListener('click', showChart);
    };
    const showChart = () => {
        const control = windowOf(design.chart);
        control('Command1').addEventListener('click', showCalculator);
    };
    warning.querySelector('h2').textContent = design.calculator.caption;
    warning.querySelector('button').addEventListener('click', () => warning.close());

    showCalculator();
    document.body.classList.add('ready');

    // After one visit the page works offline, and a new version replaces the old whole.
    if ('serviceWorker' in navigator)
        navigator.serviceWorker.register('sw.js');
})().catch(error => {
    const status = document.getElementById('status');
    status.className = 'notice';
    status.textContent = `The calculator could not start: ${error.message}`;
});
