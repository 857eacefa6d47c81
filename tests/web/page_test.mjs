// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Drives the calculator's web page in Debian's Chromium, headless, over the
// DevTools protocol, as a keyboard user does: it serves the site from
// 127.0.0.1, calculates, meets the overflow warning, opens the chart and
// comes back, and takes screenshots. The page must load nothing from
// elsewhere, fail no request and log no error or warning to the console.
//   node page_test.mjs check SITE SHOTS DESIGN  the checks; screenshots into SHOTS
//   node page_test.mjs first-paint SITE         milliseconds from navigation to the
//                                               first paint of the window, median of 5
// DESIGN is the windows' designs as the build exports them (design.json):
// their sizes and tab orders.
// The canvas has no accessibility tree to find controls by name in (not in
// Qt 6.4), so the drive walks the calculator by Tab, keeping track of the
// focus, and reads a box by copying its text, as windows.sh does under Wine.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {PNG} from 'pngjs';
import puppeteer from 'puppeteer-core';

const kViewport = {width: 1024, height: 768};
// Qt's ground around the windows, and the page's while it loads.
const kGround = [0x33, 0x33, 0x33];

const [mode, siteArgument, shotsArgument, designArgument] = process.argv.slice(2);
if (!['check', 'first-paint'].includes(mode) || !siteArgument || (mode === 'check' && !designArgument)) {
    console.error('usage: node page_test.mjs check SITE SHOTS DESIGN | first-paint SITE');
    process.exit(2);
}
const site = path.resolve(siteArgument);
const design = mode === 'check' ? JSON.parse(fs.readFileSync(designArgument, 'utf8')) : null;
const kCalculatorSize = design?.calculator.pixels;
const kChartSize = design?.chart.pixels;

class CheckFailed extends Error {}
const step = text => console.log(`web: ${text}`);
function expect(what, actual, expected) {
    if (actual !== expected)
        throw new CheckFailed(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
}

// A static host for the site, as any would serve it.
const kTypes = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript',
    '.wasm': 'application/wasm',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
};
function serve() {
    const server = http.createServer((request, response) => {
        let file = decodeURIComponent(new URL(request.url, 'http://host').pathname);
        if (file.endsWith('/'))
            file += 'index.html';
        file = path.join(site, file);
        if (!file.startsWith(site + path.sep) || !fs.statSync(file, {throwIfNoEntry: false})?.isFile()) {
            response.writeHead(404);
            response.end();
            return;
        }
        response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] ?? 'application/octet-stream'});
        fs.createReadStream(file).pipe(response);
    });
    return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function openBrowser() {
    return puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        defaultViewport: kViewport,
        // Run as root in CI; no calls home, which the closed network refuses;
        // WebGL, which Qt draws with, in software.
        args: ['--no-sandbox', '--no-first-run', '--disable-quic', '--disable-background-networking',
               '--disable-component-update', '--disable-sync', '--use-angle=swiftshader',
               '--enable-unsafe-swiftshader'],
    });
}

// The page's pixels, and where something other than the ground shows.
async function screenshot(page, file) {
    const data = await page.screenshot(file ? {path: file} : {});
    return PNG.sync.read(Buffer.from(data));
}
function pixel(png, x, y) {
    const i = (y * png.width + x) * 4;
    return [png.data[i], png.data[i + 1], png.data[i + 2]];
}
function isGround(png, x, y) {
    return pixel(png, x, y).every((value, i) => value === kGround[i]);
}
function shownArea(png) {
    let left = png.width, top = png.height, right = -1, bottom = -1;
    for (let y = 0; y < png.height; ++y)
        for (let x = 0; x < png.width; ++x)
            if (!isGround(png, x, y)) {
                left = Math.min(left, x);
                right = Math.max(right, x);
                top = Math.min(top, y);
                bottom = Math.max(bottom, y);
            }
    return right < 0 ? null : {x: left, y: top, width: right - left + 1, height: bottom - top + 1};
}

// Loads the page and waits for the first paint of a window over the middle
// of the page; returns the milliseconds it took from navigation.
async function load(page, url) {
    const started = Date.now();
    await page.goto(url);
    const centre = [kViewport.width / 2, kViewport.height / 2];
    for (;;) {
        if (!isGround(await screenshot(page), ...centre))
            return Date.now() - started;
        if (Date.now() - started > 60000)
            throw new CheckFailed('no window was painted in the middle of the page within 60 s');
        await new Promise(resolve => setTimeout(resolve, 20));
    }
}

// Everything the page does that it must not: requests that leave the site
// or fail, and console errors and warnings.
function watch(page, origin) {
    const faults = [];
    page.on('console', message => {
        if (['error', 'warn', 'warning', 'assert'].includes(message.type()))
            faults.push(`console ${message.type()}: ${message.text()}`);
    });
    page.on('pageerror', error => faults.push(`uncaught: ${error.message}`));
    page.on('request', request => {
        if (!request.url().startsWith(origin) && !request.url().startsWith('data:'))
            faults.push(`a request off the site: ${request.url()}`);
    });
    page.on('requestfailed', request => faults.push(`failed request: ${request.url()}`));
    page.on('response', response => {
        if (response.status() >= 400)
            faults.push(`HTTP ${response.status()}: ${response.url()}`);
    });
    return faults;
}

async function firstPaint() {
    const server = await serve();
    const browser = await openBrowser();
    try {
        const times = [];
        for (let run = 0; run < 5; ++run) {
            const page = await browser.newPage();
            // Each run loads the site afresh, as a first visit does.
            await page.setCacheEnabled(false);
            times.push(await load(page, `http://127.0.0.1:${server.address().port}/`));
            await page.close();
        }
        times.sort((a, b) => a - b);
        console.log(times[2]);
    } finally {
        await browser.close();
        server.close();
    }
}

async function check() {
    const shots = path.resolve(shotsArgument);
    fs.mkdirSync(shots, {recursive: true});
    const server = await serve();
    const origin = `http://127.0.0.1:${server.address().port}/`;
    const browser = await openBrowser();
    try {
        const page = await browser.newPage();
        const faults = watch(page, origin);

        const paint = await load(page, origin);
        step(`first paint after ${paint} ms`);
        expect('the page title', await page.title(), "Kestrow's Experience Calculator");
        const icon = await page.evaluate(() => document.querySelector('link[rel=icon]')?.href);
        expect('the page icon', (await fetch(icon)).status, 200);

        // Copies reach the page as copy events; the last copied text is kept.
        await page.evaluate(() => {
            document.addEventListener('copy', event => {
                window.copiedText = event.clipboardData.getData('text/plain');
            });
        });
        const key = async (...keys) => {
            for (const name of keys) {
                const [modifier, plain] = name.includes('+') ? name.split('+') : [null, name];
                if (modifier)
                    await page.keyboard.down(modifier);
                await page.keyboard.press(plain);
                if (modifier)
                    await page.keyboard.up(modifier);
            }
            // Qt takes each key in the page's next frame or so.
            await new Promise(resolve => setTimeout(resolve, 150));
        };
        const copied = async () => {
            await page.evaluate(() => { window.copiedText = undefined; });
            await key('Control+c');
            return page.evaluate(() => window.copiedText);
        };
        // The window in the middle of the page, of the size given.
        const shot = async (name, size) => {
            const png = await screenshot(page, path.join(shots, `${name}.png`));
            const area = shownArea(png);
            if (area === null)
                throw new CheckFailed(`${name}: nothing shows on the page`);
            if (size) {
                expect(`${name}: the window's width`, area.width, size.width);
                expect(`${name}: the window's height`, area.height, size.height);
            }
            const off = [area.x * 2 + area.width - png.width, area.y * 2 + area.height - png.height];
            if (Math.abs(off[0]) > 1 || Math.abs(off[1]) > 1)
                throw new CheckFailed(`${name}: the window is not centred (${area.width}x${area.height} at ` +
                                      `${area.x},${area.y} on a ${png.width}x${png.height} page)`);
            return area;
        };

        // The calculator's controls in tab order, by their design names.
        const tabOrder = design.calculator.tabOrder;
        const opened = design.calculator.firstFocus; // where the calculator puts the focus when it opens
        let focus = opened;
        const focusOn = async name => {
            const to = tabOrder.indexOf(name);
            const tabs = (to - tabOrder.indexOf(focus) + tabOrder.length) % tabOrder.length;
            await key(...Array(tabs).fill('Tab'));
            focus = name;
        };
        const typeInto = async (name, text) => {
            await focusOn(name);
            await key('Control+a');
            await page.keyboard.type(text);
        };
        const press = async name => {
            await focusOn(name);
            await key('Space');
        };
        // What a screen reader hears from the page's live region of that id
        // and role, once it begins with `start`: its text, as Chromium's
        // accessibility tree holds it.
        const heard = async (region, role, start) => {
            await page.waitForFunction((id, text) => document.getElementById(id).textContent.startsWith(text),
                                       {timeout: 5000}, region, start).catch(() => {});
            const node = await page.accessibility.snapshot({root: await page.$(`#${region}`), interestingOnly: false});
            expect(`the role of the region ${region}`, node?.role, role);
            return (node.children ?? []).map(child => child.name).join('');
        };
        const textOf = async name => {
            await focusOn(name);
            await key('Control+a');
            return copied();
        };

        // A screen reader meets the program as one named application, whose
        // keys it passes on rather than taking them for its own reading.
        const program = await page.accessibility.snapshot({root: await page.$('canvas')});
        expect('the program, to a screen reader', program && `${program.role}: ${program.name}`,
               "application: Kestrow's Experience Calculator");

        // Keys go to the canvas, as they do once the user has clicked on it.
        await page.focus('canvas');
        await shot('calculator-fresh', kCalculatorSize);

        await typeInto('cr3', '2');
        await typeInto('party', '4');
        await press('Command1');
        expect('what a screen reader hears after Calculate', await heard('said', 'status', 'Total'),
               'Total experience: 1600');
        expect('the total of 2 encounters at CR 3 for level 4', await textOf('totalxp'), '1600');
        await key('Shift+F1'); // on the total box: the working
        expect('what a screen reader hears on Shift+F1', await heard('said', 'status', 'Party'),
               'Party level 4: CR 3: 2 \u00d7 800 = 1600');
        await key('Escape');
        await shot('calculator', kCalculatorSize);
        step('calculates 1600 for 2 encounters at CR 3 and level 4, and says so to screen readers');

        await typeInto('cr1', '99999999999'); // beyond a 32-bit count
        await press('Command1');
        // The warning box, wider than the calculator, stands over its middle.
        // (Its text cannot be copied: Qt copies a message box on Windows only.)
        const warning = await shot('overflow');
        if (warning.width <= kCalculatorSize.width)
            throw new CheckFailed(`no warning shows over the calculator (${warning.width}x${warning.height})`);
        const alert = await heard('warned', 'alert', 'The calculation');
        if (!/^The calculation overflowed\.\s+The number of encounters at CR 1 is outside/.test(alert))
            throw new CheckFailed(`a screen reader is warned: ${JSON.stringify(alert)}`);
        await key('Enter');
        focus = 'cr1'; // the box that overflowed
        // The failing box holds the focus, its text selected: a copy takes it whole.
        expect('the selection in the failing box after OK', await copied(), '99999999999');
        expect('the total after the overflow', await textOf('totalxp'), '1600');
        step('warns of the overflow, screen readers too, then selects the failing box');

        await press('Command2');
        await shot('chart', kChartSize);
        // The chart window opens with the focus on its button back.
        expect("the chart's first focus", design.chart.firstFocus, 'Command1');
        await key('Space');
        focus = opened;
        await shot('calculator-again', kCalculatorSize);
        step('opens the chart and comes back');

        // A smaller browser window: the calculator keeps to the middle.
        await page.setViewport({width: 800, height: 600});
        await new Promise(resolve => setTimeout(resolve, 500));
        await shot('calculator-smaller-page', kCalculatorSize);
        step('keeps to the middle of a page that changes size');

        if (faults.length > 0)
            throw new CheckFailed(`the page misbehaved:\n  ${faults.join('\n  ')}`);
        step(`no console errors or warnings, nothing loaded from elsewhere; screenshots in ${shots}`);
    } finally {
        await browser.close();
    }

    // A browser without WebAssembly gets a line saying what it lacks.
    const bare = await openBrowser();
    try {
        const page = await bare.newPage();
        await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
        await page.goto(origin);
        const said = await page.$eval('#status', element => element.textContent);
        if (!/needs a browser that runs WebAssembly/.test(said))
            throw new CheckFailed(`a browser without WebAssembly is told: ${said}`);
        step('tells a browser without WebAssembly what it lacks');
    } finally {
        await bare.close();
        server.close();
    }
}

try {
    await (mode === 'check' ? check() : firstPaint());
} catch (error) {
    console.error(`web: ${error instanceof CheckFailed ? error.message : error.stack}`);
    process.exit(1);
}
