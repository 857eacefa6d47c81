// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator's web page in Debian's Chromium, headless, over the DevTools
// protocol, served from 127.0.0.1 as any static host would serve it:
// - each window laid out as its design says (design.json): every control at
//   its place and size, with its text and face, in the design's tab order;
// - the user's walk (tools/scenario.json) by the keyboard, with what screen
//   readers are told: the new total, the overflow warning as an alert, and
//   the failing box selected after OK;
// - what Chromium's accessibility tree holds: named boxes and buttons, and
//   the chart as tables with row and column headers;
// - on a phone: the window fits the screen's width, works by touch, and its
//   boxes ask for a number keypad;
// - offline after one visit, by its service worker;
// - nothing loaded from elsewhere, no failed request, no console error or
//   warning; and a line for a browser without WebAssembly.
// Usage: node page_test.mjs SITE SCENARIO SHOTS
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

const [siteArgument, scenarioArgument, shotsArgument] = process.argv.slice(2);
if (!shotsArgument) {
    console.error('usage: node page_test.mjs SITE SCENARIO SHOTS');
    process.exit(2);
}
const site = path.resolve(siteArgument);
const shots = path.resolve(shotsArgument);
fs.mkdirSync(shots, {recursive: true});
const design = JSON.parse(fs.readFileSync(path.join(site, 'design.json'), 'utf8'));
const scenario = JSON.parse(fs.readFileSync(scenarioArgument, 'utf8'));
// The whole page, gzipped, as a phone on a slow line fetches it.
const kMostBytes = 400000;

class CheckFailed extends Error {}
const step = text => console.log(`web: ${text}`);
// As JSON with the keys of every object in one order, to compare.
const canonical = value => JSON.stringify(value, (key, v) => (v && typeof v === 'object' && !Array.isArray(v)
    ? Object.fromEntries(Object.entries(v).sort(([a], [b]) => a.localeCompare(b))) : v));
function expect(what, actual, expected) {
    if (canonical(actual) !== canonical(expected))
        throw new CheckFailed(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
}
const pause = ms => new Promise(resolve => setTimeout(resolve, ms));

const kTypes = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.json': 'application/json',
    '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.png': 'image/png', '.woff2': 'font/woff2',
    '.webmanifest': 'application/manifest+json',
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

function openBrowser() {
    // Run as root in CI; no calls home, which the closed network refuses.
    return puppeteer.launch({
        executablePath: '/usr/bin/chromium', headless: true,
        args: ['--no-sandbox', '--no-first-run', '--disable-quic', '--disable-background-networking',
               '--disable-component-update', '--disable-sync'],
    });
}

// Everything the page does that it must not.
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
    page.on('requestfailed', request => {
        if (!request.failure()?.errorText.includes('ERR_INTERNET_DISCONNECTED'))
            faults.push(`failed request: ${request.url()} ${request.failure()?.errorText}`);
    });
    page.on('response', response => {
        if (response.status() >= 400)
            faults.push(`HTTP ${response.status()}: ${response.url()}`);
    });
    return faults;
}

const shownWindow = (page, win) =>
    page.waitForSelector(`section[aria-label="${win.accessibleName}"]`, {timeout: 10000});

// Each control stands where its design puts it, with its text and face.
async function checkLayout(page, win) {
    const shown = await page.evaluate(names => {
        const windowBox = document.querySelector('main > section').getBoundingClientRect();
        return names.map(name => {
            const element = document.getElementById(name);
            if (!element)
                return null;
            const box = element.getBoundingClientRect();
            const style = getComputedStyle(element);
            return {
                place: {left: Math.round(box.left - windowBox.left), top: Math.round(box.top - windowBox.top),
                        width: Math.round(box.width), height: Math.round(box.height)},
                text: element.tagName === 'INPUT' ? element.value
                    : element.classList.contains('frame') ? element.querySelector('.caption').textContent
                    : element.tagName === 'BUTTON' || element.classList.contains('label') ? element.textContent : null,
                size: style.fontSize, bold: Number(style.fontWeight) >= 700, italic: style.fontStyle === 'italic',
                family: style.fontFamily,
            };
        });
    }, win.controls.map(control => control.name));
    win.controls.forEach((control, i) => {
        const found = shown[i];
        if (!found)
            throw new CheckFailed(`${win.name}: no control named ${control.name}`);
        expect(`${control.name}'s place`, found.place, control.pixels);
        if (found.text !== null)
            expect(`${control.name}'s text`, found.text, control.text);
        if (control.font) {
            expect(`${control.name}'s size`, found.size, `${Math.round(control.font.points * 96 / 72)}px`);
            expect(`${control.name}'s weight`, found.bold, control.font.bold);
            expect(`${control.name}'s slant`, found.italic, control.font.italic);
            if (!found.family.includes('DejaVu Sans'))
                throw new CheckFailed(`${control.name} is set in ${found.family}`);
        }
    });
}

// Tab walks the window's stops in its design's tab order, from its first
// focus; past the last it leaves the page for the browser, as a page should,
// rather than come round and trap the keyboard.
async function checkTabOrder(page, win) {
    const order = win.tabOrder;
    const from = order.indexOf(win.firstFocus);
    const visited = [];
    for (let i = from; i < order.length; ++i) {
        visited.push(await page.evaluate(() => document.activeElement?.id));
        await page.keyboard.press('Tab');
    }
    expect(`${win.name}'s tab order`, visited, order.slice(from));
    await (await page.$(`#${win.firstFocus}`)).focus();
}

// The user's walk, by the keyboard.
async function replay(page) {
    let win = null;
    const element = name => page.$(`#${name}`);
    for (const s of scenario.steps) {
        if (s.window) {
            win = design[s.window];
            await shownWindow(page, win);
        } else if (s.shot) {
            await page.screenshot({path: path.join(shots, `${s.shot}.png`)});
        } else if (s.type) {
            await (await element(s.type)).focus();
            await page.keyboard.down('Control'), await page.keyboard.press('a'), await page.keyboard.up('Control');
            await page.keyboard.type(s.text);
        } else if (s.press) {
            await (await element(s.press)).focus();
            await page.keyboard.press('Space');
        } else if (s.expect) {
            await page.waitForFunction((name, text) => document.getElementById(name)?.value === text,
                                       {timeout: 5000}, s.expect, s.text).catch(() => {});
            expect(`${s.expect}'s text`, await page.$eval(`#${s.expect}`, e => e.value), s.text);
            if (s.focused) {
                expect('the focus', await page.evaluate(() => document.activeElement.id), s.expect);
                expect(`${s.expect}'s selection, whole`, await page.$eval(`#${s.expect}`,
                       e => [e.selectionStart, e.selectionEnd]), [0, s.text.length]);
            }
            if (s.expect === 'totalxp' && s.text !== '0') {
                // A new total is announced, and the announcement names it.
                await page.waitForFunction(t => document.getElementById('status').textContent.includes(t),
                                           {timeout: 5000}, s.text).catch(() => {});
                const said = await page.$eval('#status', e => e.textContent);
                if (!said.includes(s.text))
                    throw new CheckFailed(`a screen reader is told ${JSON.stringify(said)} of the total ${s.text}`);
            }
        } else if (s.warning) {
            await page.waitForSelector('#warning[open]', {timeout: 5000});
            const alert = await page.accessibility.snapshot({root: await page.$('#warning'), interestingOnly: false});
            expect('the warning, to a screen reader', alert?.role, 'alertdialog');
            const said = await page.$eval('#warning-text', e => e.textContent);
            if (!said.includes(s.warning))
                throw new CheckFailed(`the warning says ${JSON.stringify(said)}`);
        } else if (s.answer) {
            expect('the focus in the warning', await page.evaluate(() => document.activeElement.textContent), s.answer);
            await page.keyboard.press('Enter');
            await page.waitForSelector('#warning:not([open])', {timeout: 5000});
        }
    }
}

// What Chromium's accessibility tree holds of a window.
async function checkAccessibility(page, win) {
    const tree = await page.accessibility.snapshot({interestingOnly: false});
    const nodes = [];
    const walk = node => { nodes.push(node); (node.children ?? []).forEach(walk); };
    walk(tree);
    for (const control of win.controls) {
        const role = {'text box': 'textbox', 'button': 'button'}[control.kind];
        if (role && !nodes.some(n => n.role === role && n.name === (control.accessibleName ?? control.text)))
            throw new CheckFailed(`no ${role} named ${control.accessibleName ?? control.text} for screen readers`);
    }
    return nodes;
}

async function check(origin, browser) {
    const page = await browser.newPage();
    await page.setViewport({width: 1024, height: 768});
    const faults = watch(page, origin);
    await page.goto(origin);
    await page.waitForSelector('body.ready', {timeout: 20000});
    expect('the page title', await page.title(), design.calculator.caption);

    await checkLayout(page, design.calculator);
    await checkTabOrder(page, design.calculator);
    await checkAccessibility(page, design.calculator);
    step('the calculator stands as its design says, in its tab order, every box and button named');

    await replay(page);
    step('the user\'s walk: calculated, announced, warned of the overflow as an alert, the failing box ' +
         'selected, to the chart and back to a fresh calculator');

    await (await page.$('#Command2')).click();
    await shownWindow(page, design.chart);
    await checkLayout(page, design.chart);
    await checkTabOrder(page, design.chart);
    const nodes = await checkAccessibility(page, design.chart);
    expect('the chart, as tables', nodes.filter(n => n.role === 'table').length, 2);
    for (const header of ['CR 1', 'CR 20', 'Party level 1-3', 'Party level 20'])
        if (!nodes.some(n => (n.role === 'columnheader' || n.role === 'rowheader') && n.name.startsWith(header)))
            throw new CheckFailed(`the chart has no header ${header}`);
    // Each cell holds its award, and a blank one stands where none is defined.
    const cells = await page.$$eval('#Picture1 tbody tr', rows => rows.map(
        row => [row.cells[0].textContent, ...[...row.cells].slice(1).map(cell => cell.textContent)]));
    for (const [label, ...awards] of cells) {
        const level = Number(label.split('-')[0]);
        const row = design.awardTable[level - 1];
        const upper = row.slice(0, 10).map(a => (a ? String(a) : ''));
        const lower = row.slice(10).map(a => (a ? String(a) : ''));
        if (JSON.stringify(awards) !== JSON.stringify(upper) && JSON.stringify(awards) !== JSON.stringify(lower))
            throw new CheckFailed(`the chart's row ${label} shows ${awards}`);
    }
    await page.screenshot({path: path.join(shots, 'chart-focused.png')});
    step('the chart stands as its design says, as two tables with their headers, each award in its cell');

    // Offline: once the service worker keeps the page, it loads and calculates with no network.
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload();
    await page.waitForSelector('body.ready', {timeout: 20000});
    await page.setOfflineMode(true);
    await page.reload();
    await page.waitForSelector('body.ready', {timeout: 20000});
    await (await page.$('#cr3')).focus();
    await page.keyboard.type('2');
    await (await page.$('#party')).focus();
    await page.keyboard.type('4');
    await (await page.$('#Command1')).click();
    await page.waitForFunction(() => document.getElementById('totalxp').value !== '0', {timeout: 5000});
    await page.setOfflineMode(false);
    step('loads and calculates offline after one visit');

    if (faults.length > 0)
        throw new CheckFailed(`the page misbehaved:\n  ${faults.join('\n  ')}`);
    await page.close();
}

// A phone: the window shrinks to fit the screen's width, and works by touch.
async function checkPhone(origin, browser) {
    const page = await browser.newPage();
    await page.emulate({viewport: {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true},
                        userAgent: 'Mozilla/5.0 (Linux; Android 14) Mobile'});
    await page.goto(origin);
    await page.waitForSelector('body.ready', {timeout: 20000});
    const box = await page.$eval('main > section', e => {
        const r = e.getBoundingClientRect();
        return {left: r.left, right: window.innerWidth - r.right, width: r.width};
    });
    if (box.width > 390 || box.left < 0 || Math.abs(box.left - box.right) > 2)
        throw new CheckFailed(`on a phone the window stands at ${JSON.stringify(box)}`);
    const modes = await page.$$eval('input', inputs => [...new Set(inputs.map(i => i.inputMode))]);
    expect('the keypad the boxes ask for', modes, ['decimal']);
    await page.tap('#Command2');
    await shownWindow(page, design.chart);
    await page.tap('#Command1');
    await shownWindow(page, design.calculator);
    await page.screenshot({path: path.join(shots, 'phone.png')});
    step(`on a 390 px wide phone the window fits (${Math.round(box.width)} px), and works by touch`);
    await page.close();
}

async function checkWithoutWebAssembly(origin, browser) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
    await page.goto(origin);
    await page.waitForFunction(() => document.getElementById('status').textContent !== '', {timeout: 10000});
    const said = await page.$eval('#status', e => e.textContent);
    if (!/needs a browser that runs WebAssembly/.test(said))
        throw new CheckFailed(`a browser without WebAssembly is told: ${said}`);
    step('tells a browser without WebAssembly what it lacks');
    await page.close();
}

function siteBytes() {
    let total = 0;
    const walk = folder => {
        for (const entry of fs.readdirSync(folder, {withFileTypes: true})) {
            const file = path.join(folder, entry.name);
            if (entry.isDirectory())
                walk(file);
            else
                total += zlib.gzipSync(fs.readFileSync(file), {level: 9}).length;
        }
    };
    walk(site);
    return total;
}

const server = await serve();
const origin = `http://127.0.0.1:${server.address().port}/`;
const browser = await openBrowser();
try {
    const bytes = siteBytes();
    step(`the page and all it loads: ${bytes} bytes gzipped (at most ${kMostBytes})`);
    if (bytes > kMostBytes)
        throw new CheckFailed(`the page weighs ${bytes} bytes gzipped`);
    await check(origin, browser);
    await checkPhone(origin, browser);
    await checkWithoutWebAssembly(origin, browser);
    step(`no console errors or warnings, nothing loaded from elsewhere; screenshots in ${shots}`);
} catch (error) {
    console.error(`web: ${error instanceof CheckFailed ? error.message : error.stack}`);
    process.exitCode = 1;
} finally {
    await browser.close();
    server.close();
}
