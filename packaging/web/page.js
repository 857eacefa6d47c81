// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator as a web page: both windows laid out from the designs that
// the desktop windows are built from (design.json), as real inputs, buttons
// and tables; the arithmetic, and every word it gives, from the core in
// WebAssembly (core.js, loaded before this module). The page computes
// nothing itself.
import {announcer} from './announce.js';
import {calculatorOver} from './calculator.js';
import {controlOf} from './roles.js';
import {windowsIn} from './windows.js';

const status = document.getElementById('status');
const notice = text => {
    status.className = 'notice';
    status.textContent = text;
};

async function start() {
    const design = await fetch('design.json').then(response => {
        if (!response.ok)
            throw new Error(`design.json: ${response.status} ${response.statusText}`);
        return response.json();
    });
    if (typeof WebAssembly !== 'object') {
        notice(`${design.program} needs a browser that runs WebAssembly.`);
        return;
    }
    // The windows are laid out while the core loads: the page shows itself
    // at once, and Calculate answers once the core is there.
    const core = typeof createCore === 'function' ? createCore() : Promise.reject(new Error('core.js did not load'));

    // The colours, named by what they paint, for page.css.
    for (const [name, value] of Object.entries(design.colours))
        document.documentElement.style.setProperty(`--${name}`, value);

    const windows = windowsIn(document.getElementById('desktop'), design);
    const calculator = core.then(module => calculatorOver(module, design.calculator));
    const announce = announcer(status);
    const warning = document.getElementById('warning');
    warning.querySelector('h2').textContent = design.calculator.caption;
    warning.querySelector('button').addEventListener('click', () => warning.close());

    const showCalculator = () => {
        const win = design.calculator;
        const controls = windows.show('calculator');
        const control = role => controls[controlOf(win, role)];
        const total = control('total');
        control('calculate').addEventListener('click', async () => {
            const result = (await calculator).calculate(index => controls[index].value);
            if (result.overflow !== undefined) {
                const failing = controls[result.control];
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
        control('showChart').addEventListener('click', showChart);
    };
    const showChart = () => {
        const controls = windows.show('chart');
        controls[controlOf(design.chart, 'returnToCalculator')].addEventListener('click', showCalculator);
    };

    showCalculator();
    await calculator;
    document.body.classList.add('ready');

    // After one visit the page works offline, and a new version replaces the
    // old whole. The worker keeps the pictures at the density this screen
    // shows, from the browser's cache: it starts once they are in.
    if ('serviceWorker' in navigator) {
        await Promise.all([...document.images].map(image => image.decode().catch(() => {})));
        navigator.serviceWorker.register('sw.js');
    }
}

start().catch(error => notice(`The calculator could not start: ${error.message}`));
