// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator's web page in Debian's Chromium, headless, served from
// 127.0.0.1 as a static host serves it (static_server.mjs): each window as
// its design says, centred on a desktop page that does not scroll; the
// user's walk (tools/scenario.json) by the keyboard and, on phones upright
// and on their side, by touch, with what screen readers are told and
// axe-core's WCAG 2.1 A and AA rules and best practices at each shot; on a
// phone, every tap target, box text and text thumb- and eye-sized and
// nothing past the screen or cut off; offline after one visit, a first visit
// fetching no more than its weight counts (weight.mjs), and a next version;
// every text in the site's own faces; a content security policy that holds;
// nothing from elsewhere, no failed request, no console error or warning.
// Usage: node page_test.mjs SITE SCENARIO SHOTS
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

// Beside this file in the build, from bench/web/.
import {serveSite} from './static_server.mjs';
import {siteWeight, weightReport} from './weight.mjs';

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
// axe-core, put into the page to audit it, and the rules it holds the page to.
const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const kAxeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice'];

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

// The site served; `watched.requested`, while an array, gets the path in the
// site of each file asked for.
const serve = (root, watched = {}) => serveSite(root, {onRequest: name => watched.requested?.push(name.slice(1))});

function openBrowser() {
    // Run as root in CI; no calls home, which the closed network refuses.
    return puppeteer.launch({
        executablePath: '/usr/bin/chromium', headless: true,
        args: ['--no-sandbox', '--no-first-run', '--disable-quic', '--disable-background-networking',
               '--disable-component-update', '--disable-sync'],
    });
}

// Everything the page does that it must not, its content security policy's
// refusals among them.
async function watch(page, origin) {
    const faults = [];
    await page.exposeFunction('xpcalcRefused',
                              refused => faults.push(`the content security policy refused ${refused}`));
    await page.evaluateOnNewDocument(() => document.addEventListener('securitypolicyviolation', event =>
        globalThis.xpcalcRefused(`${event.effectiveDirective}: ${event.blockedURI || 'inline'} ` +
                                 `(${event.sourceFile}:${event.lineNumber})`)));
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

// The one control of a window with a role (and challenge rating), as the
// export and the walk name it; and the selector of its element in the shown
// window, by the role the page marks it with.
function controlIn(win, role, challengeRating = null) {
    const found = win.controls.filter(c => c.role === role && (c.challengeRating ?? null) === challengeRating);
    if (found.length !== 1)
        throw new CheckFailed(`${win.name} has ${found.length} controls of role ${role} ${challengeRating ?? ''}`);
    return found[0];
}
const selectorOf = control => `main > section [data-role="${control.role}"]${control.challengeRating === null
    ? ':not([data-challenge-rating])' : `[data-challenge-rating="${control.challengeRating}"]`}`;
const heardAs = control => control.accessibleName ?? control.text;
// A colour of the export as getComputedStyle() gives it.
const rgb = hex => `rgb(${[1, 3, 5].map(i => parseInt(hex.slice(i, i + 2), 16)).join(', ')})`;

// What axe-core finds against the page as it stands, named by `state`.
async function audit(page, state) {
    if (!await page.evaluate(() => typeof globalThis.axe === 'object'))
        await page.evaluate(axeSource);
    const violations = await page.evaluate(tags => globalThis.axe.run(document, {runOnly: {type: 'tag', values: tags}})
        .then(results => results.violations.map(v => `${v.id} (${v.impact}): ${v.help}\n` +
            v.nodes.map(node => `      at ${node.target.join(' ')}`).join('\n'))), kAxeTags);
    if (violations.length > 0)
        throw new CheckFailed(`axe-core finds in ${state}:\n    ${violations.join('\n    ')}`);
}

// The page has started, or else says why not.
async function started(page) {
    await page.waitForFunction(() => document.body?.classList.contains('ready') ||
                                     document.getElementById('status')?.className === 'notice', {timeout: 20000});
    const notice = await page.$eval('#status', e => (e.className === 'notice' ? e.textContent : null));
    if (notice !== null)
        throw new CheckFailed(`the page did not start: ${notice}`);
}

const shownWindow = (page, win) =>
    page.waitForSelector(`section[aria-label="${win.accessibleName}"]`, {timeout: 10000});

// The window stands at its size in its ground; each control where its
// design puts it, within a pixel, with its text and face.
async function checkLayout(page, win) {
    const shown = await page.evaluate(selectors => {
        const windowElement = document.querySelector('main > section');
        const windowBox = windowElement.getBoundingClientRect();
        return {
            size: {width: windowBox.width, height: windowBox.height},
            ground: getComputedStyle(windowElement).backgroundColor,
            controls: selectors.map(selector => {
                const found = document.querySelectorAll(selector);
                if (found.length !== 1)
                    return found.length;
                const [element] = found;
                const box = element.getBoundingClientRect();
                const style = getComputedStyle(element);
                return {
                    place: {left: box.left - windowBox.left, top: box.top - windowBox.top,
                            width: box.width, height: box.height},
                    text: element.tagName === 'INPUT' ? element.value
                        : element.classList.contains('frame') ? element.querySelector('.caption').textContent
                        : element.tagName === 'BUTTON' || element.classList.contains('label') ? element.textContent
                        : null,
                    size: style.fontSize, bold: Number(style.fontWeight) >= 700, italic: style.fontStyle === 'italic',
                    family: style.fontFamily,
                };
            }),
        };
    }, win.controls.map(selectorOf));
    for (const side of ['width', 'height'])
        if (Math.abs(shown.size[side] - win.size[side]) >= 1)
            throw new CheckFailed(`${win.name} is ${JSON.stringify(shown.size)}, not ${JSON.stringify(win.size)}`);
    expect(`${win.name}'s ground`, shown.ground, rgb(design.colours[win.ground]));
    win.controls.forEach((control, i) => {
        const found = shown.controls[i];
        const name = `${win.name}'s ${control.role} ${control.challengeRating ?? ''}`.trim();
        if (typeof found === 'number')
            throw new CheckFailed(`${found} elements of ${name}`);
        for (const [side, value] of Object.entries(control.placeInWindow))
            if (Math.abs(found.place[side] - value) >= 1)
                throw new CheckFailed(`${name} stands at ${JSON.stringify(found.place)}, ` +
                                      `not ${JSON.stringify(control.placeInWindow)}`);
        if (found.text !== null)
            expect(`${name}'s text`, found.text, control.text);
        if (control.font) {
            expect(`${name}'s size`, found.size, `${control.font.pixelSize}px`);
            expect(`${name}'s weight`, found.bold, control.font.bold);
            expect(`${name}'s slant`, found.italic, control.font.italic);
            // The export's faces in its order, the one the site embeds among them.
            if (!found.family.replaceAll('"', '').startsWith(control.font.families.join(', ')) ||
                !found.family.includes('DejaVu Sans'))
                throw new CheckFailed(`${name} is set in ${found.family}`);
        }
    });
}

// The role of the focused control, as the export names controls.
const focused = page => page.evaluate(() => {
    const {role, challengeRating} = document.activeElement?.dataset ?? {};
    return {role, challengeRating: challengeRating === undefined ? null : Number(challengeRating)};
});
const roleOf = control => ({role: control.role, challengeRating: control.challengeRating});

// Tab walks the window's stops in its design's tab order, from its first
// focus; past the last it leaves the page for the browser, as a page should,
// rather than come round and trap the keyboard.
async function checkTabOrder(page, win) {
    const order = win.tabOrder;
    const from = order.indexOf(win.firstFocus);
    const visited = [];
    for (let i = from; i < order.length; ++i) {
        visited.push(await focused(page));
        await page.keyboard.press('Tab');
    }
    expect(`${win.name}'s tab order`, visited, order.slice(from).map(i => roleOf(win.controls[i])));
    await (await page.$(selectorOf(win.controls[win.firstFocus]))).focus();
}

// How a user works the page: by the keyboard, or by touch on a phone.
const byKeyboard = page => ({
    async type(element, text) {
        await element.focus();
        await page.keyboard.down('Control'), await page.keyboard.press('a'), await page.keyboard.up('Control');
        await page.keyboard.type(text);
    },
    async press(element) {
        await element.focus();
        await page.keyboard.press('Space');
    },
    async answer(text) {
        expect('the focus in the warning', await page.evaluate(() => document.activeElement.textContent), text);
        await page.keyboard.press('Enter');
    },
});
const byTouch = page => ({
    async type(element, text) {
        // A tap in a box selects its text, which the keypad's keys replace.
        await element.tap();
        expect('the text selected by a tap', await element.evaluate(e => e.selectionEnd - e.selectionStart),
               await element.evaluate(e => e.value.length));
        await page.keyboard.type(text);
    },
    press: element => element.tap(),
    async answer(text) {
        for (const button of await page.$$('#warning[open] button'))
            if (await button.evaluate(e => e.textContent) === text)
                return button.tap();
        throw new CheckFailed(`the warning has no button ${text}`);
    },
});

// The user's walk, as `user` works the page; at each of its shots,
// atShot(name) if given.
async function replay(page, user, atShot) {
    let win = null;
    const element = async (role, challengeRating) => {
        const found = await page.$(selectorOf(controlIn(win, role, challengeRating ?? null)));
        if (!found)
            throw new CheckFailed(`no ${role} ${challengeRating ?? ''} in ${win.name}`);
        return found;
    };
    const take = async s => {
        if (s.window) {
            win = design[s.window];
            await shownWindow(page, win);
        } else if (s.shot) {
            await atShot?.(s.shot);
        } else if (s.type) {
            await user.type(await element(s.type, s.challengeRating), s.text);
        } else if (s.press) {
            await user.press(await element(s.press, s.challengeRating));
        } else if (s.expect) {
            const control = controlIn(win, s.expect, s.challengeRating ?? null);
            const box = await element(s.expect, s.challengeRating);
            await page.waitForFunction((e, text) => e.value === text, {timeout: 5000}, box, s.text).catch(() => {});
            expect(`${s.expect}'s text`, await box.evaluate(e => e.value), s.text);
            if (s.focused) {
                expect('the focus', await focused(page), roleOf(control));
                expect(`${s.expect}'s selection, whole`, await box.evaluate(e => [e.selectionStart, e.selectionEnd]),
                       [0, s.text.length]);
            }
            if (control.role === 'total' && s.text !== control.text) {
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
            await checkFaces(page, 'the warning');
        } else if (s.answer) {
            await user.answer(s.answer);
            await page.waitForSelector('#warning:not([open])', {timeout: 5000});
        } else {
            throw new CheckFailed(`a step of the walk the test does not know: ${JSON.stringify(s)}`);
        }
    };
    for (const s of scenario.steps) {
        try {
            await take(s);
        } catch (error) {
            error.message = `at the step ${JSON.stringify(s)}: ${error.message}`;
            throw error;
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
        if (role && !nodes.some(n => n.role === role && n.name === heardAs(control)))
            throw new CheckFailed(`no ${role} named ${heardAs(control)} for screen readers`);
    }
    return nodes;
}

// The chart: a table a grid, named as the export names it, with a header for
// each of its rows and columns, and in each row the label and the awards of
// exactly that grid's challenge ratings, blank where none is defined.
async function checkChart(page, nodes) {
    const {awardChart, awardTable} = design;
    const tables = nodes.filter(n => n.role === 'table');
    expect('the chart\'s tables, to a screen reader', tables.map(n => n.name), awardChart.grids.map(g => g.heardAs));
    const headers = nodes.filter(n => n.role === 'columnheader' || n.role === 'rowheader').map(n => n.name);
    for (const grid of awardChart.grids)
        for (const header of [...grid.columns, ...awardChart.rows.slice(grid.firstRow, grid.firstRow + grid.rows)])
            if (!headers.includes(header.heardAs))
                throw new CheckFailed(`the chart has no header ${header.heardAs}`);
    const shown = await page.$$eval(`${selectorOf(controlIn(design.chart, 'chart'))} table`, elements => elements.map(
        table => [...table.tBodies[0].rows].map(row => ({
            cells: [...row.cells].map(cell => cell.textContent), ground: getComputedStyle(row).backgroundColor}))));
    expect('the chart\'s tables', shown.length, awardChart.grids.length);
    awardChart.grids.forEach((grid, g) => {
        const rows = awardChart.rows.slice(grid.firstRow, grid.firstRow + grid.rows);
        expect(`the cells of ${grid.heardAs}`, shown[g].map(row => row.cells), rows.map(row => [
            row.label, ...grid.columns.map(column => String(awardTable[row.firstLevel - 1][column.challengeRating - 1] || ''))]));
        rows.forEach((row, r) => {
            if (row.banded)
                expect(`the band of ${row.heardAs}`, shown[g][r].ground, rgb(design.colours.chartBand));
        });
    });
}

// On a desktop screen the window stands in the middle of the page, which
// needs no scrolling either way: what only screen readers hear takes no room.
async function checkCentred(page, win) {
    const found = await page.evaluate(() => {
        const box = document.querySelector('main > section').getBoundingClientRect();
        const {scrollWidth, scrollHeight} = document.scrollingElement;
        // Margins within what the page shows, a scroll bar's room left out.
        const {clientWidth, clientHeight} = document.documentElement;
        return {scrollWidth, scrollHeight, innerWidth, innerHeight, left: box.left, right: clientWidth - box.right,
                top: box.top, bottom: clientHeight - box.bottom};
    });
    if (found.scrollWidth > found.innerWidth || found.scrollHeight > found.innerHeight)
        throw new CheckFailed(`with ${win.name} the page scrolls: ${JSON.stringify(found)}`);
    if (Math.abs(found.left - found.right) > 1 || Math.abs(found.top - found.bottom) > 1)
        throw new CheckFailed(`${win.name} stands off the middle of the page: ${JSON.stringify(found)}`);
}

// Every text shown is drawn in the faces the site embeds: where a cut-down
// face lacks a character, Chromium draws it in a face of the system instead.
async function checkFaces(page, where) {
    await page.evaluate(() => document.fonts.ready);
    const session = await page.createCDPSession();
    try {
        await session.send('DOM.enable');
        await session.send('CSS.enable');
        // The boxes' texts too, in their shadow trees.
        const {root} = await session.send('DOM.getDocument', {depth: -1, pierce: true});
        const texts = [];
        const walk = node => {
            const text = (node.children ?? []).filter(child => child.nodeType === 3).map(child => child.nodeValue).join('');
            if (node.nodeType === 1 && text.trim())
                texts.push({node, text});
            [...(node.children ?? []), ...(node.shadowRoots ?? [])].forEach(walk);
        };
        walk(root);
        const fallen = [];
        for (const {node, text} of texts) {
            const {fonts} = await session.send('CSS.getPlatformFontsForNode', {nodeId: node.nodeId});
            fallen.push(...fonts.filter(font => !font.isCustomFont)
                .map(font => `${JSON.stringify(text.trim().slice(0, 40))} partly in ${font.familyName}`));
        }
        if (fallen.length > 0)
            throw new CheckFailed(`${where}: drawn in faces the site does not embed:\n  ${fallen.join('\n  ')}`);
    } finally {
        await session.detach();
    }
}

// Each picture of the calculator shown, at the density of the screen.
async function checkPictures(page, density) {
    await page.waitForFunction(() => [...document.images].every(image => image.complete), {timeout: 10000});
    for (const control of design.calculator.controls.filter(c => c.kind === 'picture box')) {
        const shown = await page.$eval(`${selectorOf(control)} img`,
                                       image => ({source: image.currentSrc, width: image.naturalWidth}));
        const expected = control.picture[density >= 2 ? '2x' : '1x'];
        if (!shown.source.endsWith(`/${expected}`) || shown.width === 0)
            throw new CheckFailed(`${control.role} at ${density}x shows ${JSON.stringify(shown)}, not ${expected}`);
    }
}

async function check(origin, browser) {
    const page = await browser.newPage();
    await page.setViewport({width: 1024, height: 768});
    const faults = await watch(page, origin);
    await page.goto(origin);
    await started(page);
    expect('the page title', await page.title(), design.calculator.caption);

    await checkLayout(page, design.calculator);
    await checkCentred(page, design.calculator);
    await checkFaces(page, design.calculator.name);
    await checkTabOrder(page, design.calculator);
    await checkAccessibility(page, design.calculator);
    step('the calculator stands as its design says, in the middle of a page that does not scroll, in its tab ' +
         'order, every box and button named');

    await replay(page, byKeyboard(page), async shot => {
        await page.screenshot({path: path.join(shots, `${shot}.png`)});
        await audit(page, `the desktop's ${shot}`);
    });
    step('the user\'s walk by the keyboard: calculated, announced, warned of the overflow as an alert, the ' +
         'failing box selected, to the chart and back to a fresh calculator; axe-core finds nothing at any shot');

    await (await page.$(selectorOf(controlIn(design.calculator, 'showChart')))).click();
    await shownWindow(page, design.chart);
    await checkLayout(page, design.chart);
    await checkCentred(page, design.chart);
    await checkFaces(page, design.chart.name);
    await checkTabOrder(page, design.chart);
    await checkChart(page, await checkAccessibility(page, design.chart));
    await page.screenshot({path: path.join(shots, 'chart-focused.png')});
    step('the chart stands as its design says, as tables with their headers, each grid\'s awards in its cells');

    // Offline: once the service worker keeps the page, it loads and the walk goes as online.
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload();
    await started(page);
    await page.setOfflineMode(true);
    await page.reload();
    await started(page);
    await checkPictures(page, 1);
    await replay(page, byKeyboard(page));
    await page.setOfflineMode(false);
    step('loads offline after one visit, and the walk goes as online');

    if (faults.length > 0)
        throw new CheckFailed(`the page misbehaved:\n  ${faults.join('\n  ')}`);
    await page.close();
}

// What a thumb and an eye need on a phone.
const kLeastTargetPx = 44; // a tap target's width and height, in CSS pixels
const kLeastBoxTextPx = 16; // a box's text: phones zoom into a box set smaller when it is tapped
const kLeastTextPx = 12; // any text, as it shows on the screen

// Every tap target, box text and text shown thumb- and eye-sized, none of
// them past the screen's sides nor cut off in its box, and the page no wider
// than the screen; gives the least sizes found.
async function checkThumbSized(page, state) {
    const found = await page.evaluate(() => {
        // As the screen shows it: pinch zoom and CSS zoom scale what getComputedStyle() gives.
        const shown = element => parseFloat(getComputedStyle(element).fontSize) * visualViewport.scale *
                                 (element.currentCSSZoom ?? 1);
        // Seen: rendered, and neither it nor any box it stands in shrunk to
        // a pixel, as what only screen readers hear is.
        const seen = element => {
            if (!element.checkVisibility({visibilityProperty: true, opacityProperty: true}))
                return false;
            for (let e = element; e; e = e.parentElement) {
                const box = e.getBoundingClientRect();
                if (box.width <= 1 || box.height <= 1)
                    return false;
            }
            return true;
        };
        const scrolls = element => ['auto', 'scroll'].includes(getComputedStyle(element).overflowX) ||
                                    ['auto', 'scroll'].includes(getComputedStyle(element).overflowY);
        // In a box of its own that scrolls, not the page.
        const inScroller = element => {
            for (let e = element.parentElement; e && e !== document.body; e = e.parentElement)
                if (scrolls(e))
                    return true;
            return false;
        };
        const name = e => `${e.tagName.toLowerCase()}${e.id ? `#${e.id}` : ''} ` +
                          `"${(e.tagName === 'INPUT' ? e.ariaLabel : e.textContent.trim()).slice(0, 30)}"`;
        const targets = [...document.querySelectorAll('button, input, a[href], [tabindex="0"]')].filter(seen);
        const boxes = [...document.querySelectorAll('input')].filter(seen);
        const texts = [];
        const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
        for (let node = walker.nextNode(); node; node = walker.nextNode())
            if (node.data.trim() && seen(node.parentElement) && !texts.includes(node.parentElement))
                texts.push(node.parentElement);
        const outside = [...targets, ...texts, ...document.querySelectorAll('[data-role]')].filter(
            e => seen(e) && !inScroller(e) && (e.getBoundingClientRect().left < -0.5 ||
                                                e.getBoundingClientRect().right > innerWidth + 0.5));
        const cut = texts.filter(e => e.tagName !== 'INPUT' && !scrolls(e) &&
                                      (e.scrollWidth > e.clientWidth + 1 || e.scrollHeight > e.clientHeight + 1));
        return {
            targets: targets.map(e => ({name: name(e), width: e.getBoundingClientRect().width,
                                        height: e.getBoundingClientRect().height})),
            boxes: boxes.map(e => ({name: name(e), size: shown(e)})),
            texts: texts.map(e => ({name: name(e), size: shown(e)})),
            outside: [...new Set(outside)].map(name),
            cut: cut.map(e => `${name(e)}: ${e.scrollWidth}x${e.scrollHeight} in ${e.clientWidth}x${e.clientHeight}`),
            pageWidth: document.scrollingElement.scrollWidth, innerWidth,
        };
    });
    const faults = [
        ...found.targets.filter(t => t.width < kLeastTargetPx || t.height < kLeastTargetPx)
            .map(t => `the tap target ${t.name} is ${t.width}x${t.height} px`),
        ...found.boxes.filter(b => b.size < kLeastBoxTextPx).map(b => `the box ${b.name} is set at ${b.size} px`),
        ...found.texts.filter(t => t.size < kLeastTextPx).map(t => `${t.name} shows at ${t.size} px`),
        ...found.outside.map(name => `${name} stands past the screen's side`),
        ...found.cut.map(cut => `${cut} is cut off`),
        ...(found.pageWidth > found.innerWidth ? [`the page is ${found.pageWidth} px wide`] : []),
    ];
    if (faults.length > 0)
        throw new CheckFailed(`${state}:\n    ${faults.join('\n    ')}`);
    const least = list => Math.min(...list);
    return {target: least(found.targets.flatMap(t => [t.width, t.height])), box: least(found.boxes.map(b => b.size)),
            text: least(found.texts.map(t => t.size))};
}

// The chart on a phone: where its box is shorter or narrower than its
// tables, they scroll in it under their column headers, which stay at its
// top, beside their row headers, which stay at its left; gives whether it
// scrolled.
async function checkChartScrolls(page) {
    return page.$eval(selectorOf(controlIn(design.chart, 'chart')), box => {
        const faults = [];
        let scrolled = false;
        const edge = box.getBoundingClientRect();
        const inner = {top: edge.top + box.clientTop, left: edge.left + box.clientLeft};
        for (const table of box.querySelectorAll('table')) {
            const body = table.tBodies[0];
            // The middle of its body to the box's top, and its right edge to the box's right.
            box.scrollTo(0, 0);
            const from = body.getBoundingClientRect();
            box.scrollTo(box.scrollWidth, (from.top + from.bottom) / 2 - inner.top);
            if (box.scrollTop === 0 && box.scrollLeft === 0)
                continue;
            scrolled = true;
            const head = table.tHead.getBoundingClientRect();
            if (box.scrollTop > 0 && Math.abs(head.top - inner.top) > 1)
                faults.push(`${table.ariaLabel}: its column headers scrolled to ${head.top - inner.top} px`);
            for (const header of table.querySelectorAll('tbody th')) {
                const at = header.getBoundingClientRect();
                if (box.scrollLeft > 0 && Math.abs(at.left - inner.left) > 1)
                    faults.push(`${table.ariaLabel}: ${header.ariaLabel} scrolled to ${at.left - inner.left} px`);
            }
        }
        box.scrollTo(0, 0);
        return {faults, scrolled};
    }).then(({faults, scrolled}) => {
        if (faults.length > 0)
            throw new CheckFailed(`the chart on a phone:\n    ${faults.join('\n    ')}`);
        return scrolled;
    });
}

// The button back to the calculator on screen, at the page's top and foot.
async function checkReturnAtHand(page) {
    for (const to of ['top', 'foot']) {
        const box = await page.$eval(selectorOf(controlIn(design.chart, 'returnToCalculator')), (button, end) => {
            document.scrollingElement.scrollTo(0, end === 'top' ? 0 : document.scrollingElement.scrollHeight);
            const {top, bottom} = button.getBoundingClientRect();
            return {top, bottom, innerHeight};
        }, to);
        if (box.top < 0 || box.bottom > box.innerHeight)
            throw new CheckFailed(`at the page's ${to} the chart's button back stands at ${JSON.stringify(box)}`);
    }
    await page.evaluate(() => document.scrollingElement.scrollTo(0, 0));
}

// Phones held upright and on their side, by touch.
const kPhones = [{name: 'phone', about: 'an upright phone', width: 390, height: 844},
                 {name: 'phone-side', about: 'a phone on its side', width: 844, height: 390}];

// A phone: the windows laid out for a thumb, in their tab order, and the
// walk goes by touch, with the boxes asking for a number keypad.
async function checkPhone(origin, browser, phone) {
    const page = await browser.newPage();
    await page.emulate({viewport: {width: phone.width, height: phone.height, deviceScaleFactor: 3, isMobile: true,
                                   hasTouch: true},
                        userAgent: 'Mozilla/5.0 (Linux; Android 14) Mobile'});
    const faults = await watch(page, origin);
    await page.goto(origin);
    await started(page);
    await checkTabOrder(page, design.calculator);
    const modes = await page.$$eval('input', inputs => [...new Set(inputs.map(i => i.inputMode))]);
    expect('the keypad the boxes ask for', modes, ['decimal']);
    const least = {target: Infinity, box: Infinity, text: Infinity};
    let chartScrolled = false;
    await replay(page, byTouch(page), async shot => {
        // As the screen shows it, and scrolled to the page's foot.
        await page.screenshot({path: path.join(shots, `${phone.name}-${shot}.png`)});
        const at = await page.evaluate(() => {
            const {scrollTop, scrollHeight} = document.scrollingElement;
            document.scrollingElement.scrollTo(0, scrollHeight);
            return scrollTop;
        });
        await page.screenshot({path: path.join(shots, `${phone.name}-${shot}-foot.png`)});
        await page.evaluate(top => document.scrollingElement.scrollTo(0, top), at);
        const sizes = await checkThumbSized(page, `the ${shot} on ${phone.about}`);
        for (const key of Object.keys(least))
            least[key] = Math.min(least[key], sizes[key]);
        if (shot === 'chart') {
            await checkTabOrder(page, design.chart);
            chartScrolled = await checkChartScrolls(page);
            await checkReturnAtHand(page);
        }
        await audit(page, `the ${shot} on ${phone.about}`);
    });
    if (faults.length > 0)
        throw new CheckFailed(`the page misbehaved on ${phone.about}:\n  ${faults.join('\n  ')}`);
    step(`on ${phone.about} (${phone.width}x${phone.height}) the walk goes by touch; the least tap target is ` +
         `${least.target.toFixed(1)} px, box text ${least.box} px, text on screen ${least.text.toFixed(1)} px; the ` +
         `chart ${chartScrolled ? 'scrolls in its box under its headers' : 'fits its box'}; axe-core finds nothing`);
    await page.close();
    return chartScrolled;
}

// Each in a browser context of its own, which no service worker has kept the site in.
async function inFreshContext(browser, origin, prepare, run) {
    const context = await browser.createBrowserContext();
    try {
        const page = await context.newPage();
        await prepare(page);
        await page.goto(origin);
        await page.waitForFunction(() => document.getElementById('status').textContent !== '', {timeout: 10000});
        await run(await page.$eval('#status', e => e.textContent));
    } finally {
        await context.close();
    }
}

async function checkWithoutWebAssembly(origin, browser) {
    await inFreshContext(browser, origin, page => page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; }),
        said => expect('a browser without WebAssembly is told', said,
                       `${design.program} needs a browser that runs WebAssembly.`));
    step('tells a browser without WebAssembly what it lacks');
}

// The page's content security policy holds, and its refusals reach the
// test: a style, a style attribute, a script and a handler attribute put
// into the page are each refused.
async function checkPolicyHolds(origin, browser) {
    const context = await browser.createBrowserContext();
    try {
        const page = await context.newPage();
        const faults = await watch(page, origin);
        await page.goto(origin);
        await started(page);
        const took = await page.evaluate(() => {
            const style = document.createElement('style');
            style.textContent = 'body { visibility: hidden; }';
            document.head.append(style);
            document.body.setAttribute('style', 'visibility: hidden');
            const script = document.createElement('script');
            script.textContent = 'globalThis.xpcalcInline = true;';
            document.head.append(script);
            document.body.setAttribute('onclick', 'globalThis.xpcalcHandler = true;');
            document.body.click();
            return {hidden: getComputedStyle(document.body).visibility === 'hidden',
                    scriptRan: globalThis.xpcalcInline === true, handlerRan: globalThis.xpcalcHandler === true};
        });
        expect('what the page took of an inline style, style attribute, script and handler', took,
               {hidden: false, scriptRan: false, handlerRan: false});
        const kDirectives = ['script-src-attr', 'script-src-elem', 'style-src-attr', 'style-src-elem'];
        const refused = () => [...new Set(faults.filter(f => f.startsWith('the content security policy refused'))
            .map(f => f.match(/refused ([\w-]+):/)[1]))].sort();
        for (let waited = 0; refused().length < kDirectives.length && waited < 2000; waited += 50)
            await pause(50);
        expect('the directives the policy refused by', refused(), kDirectives);
    } finally {
        await context.close();
    }
    step('its content security policy refuses an inline style, style attribute, script and handler, and says so');
}

async function checkUnknownKind(origin, browser) {
    const broken = structuredClone(design);
    const calculate = broken.calculator.controls.find(c => c.role === 'calculate');
    calculate.kind = 'slider';
    await inFreshContext(browser, origin, async page => {
        await page.setRequestInterception(true);
        page.on('request', request => (new URL(request.url()).pathname === '/design.json'
            ? request.respond({status: 200, contentType: 'application/json', body: JSON.stringify(broken)})
            : request.continue()));
    }, said => {
        if (!said.startsWith('The calculator could not start: ') || !said.includes('"slider"'))
            throw new CheckFailed(`with a control of an unknown kind the page says: ${said}`);
    });
    step('an export with a control of an unknown kind stops the page, which says why');
}

// A copy of the site served apart, at an origin of its own, to a page in a
// browser context of its own on a screen of `density`: what it is asked
// for, and what goes wrong on it, are that run's alone, whatever the
// browser's other contexts and workers do meanwhile. `watched.nextVersion()`
// makes the copy a next version of the site, its worker's cache named anew.
async function onOwnServer(browser, density, run) {
    const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'xpcalc-site-'));
    fs.cpSync(site, copy, {recursive: true});
    const worker = path.join(copy, 'sw.js');
    const watched = {requested: null, origin: null, nextVersion: () => fs.writeFileSync(worker,
        fs.readFileSync(worker, 'utf8').replace(/'xpcalc-([0-9a-f]+)'/, '\'xpcalc-$1-next\''))};
    const server = await serve(copy, watched);
    watched.origin = `http://127.0.0.1:${server.address().port}/`;
    const context = await browser.createBrowserContext();
    try {
        const page = await context.newPage();
        await page.setViewport({width: 1024, height: 768, deviceScaleFactor: density});
        const faults = await watch(page, watched.origin);
        await run(page, watched);
        if (faults.length > 0)
            throw new CheckFailed(`the page misbehaved at ${density}x:\n  ${faults.join('\n  ')}`);
    } finally {
        await context.close();
        server.close();
        fs.rmSync(copy, {recursive: true, force: true});
    }
}

// What a visit fetched that the weight of `visit` leaves out.
function uncountedBy(visit, watched) {
    const counted = visit.files.map(file => file.file);
    const uncounted = [...new Set(watched.requested)].filter(file => !counted.includes(file));
    watched.requested = null;
    return uncounted;
}

// A first visit on a screen of the density of `visit` (siteWeight()), in a
// browser context no service worker has kept the site in: it fetches
// nothing its weight leaves out, the pictures of other densities among them;
// then the page loads offline, its pictures at that density and its texts in
// the site's faces, the chart's too.
async function checkFirstVisit(browser, visit) {
    await onOwnServer(browser, visit.density, async (page, watched) => {
        watched.requested = [];
        await page.goto(watched.origin);
        await started(page);
        await page.evaluate(() => navigator.serviceWorker.ready);
        const uncounted = uncountedBy(visit, watched);
        if (uncounted.length > 0)
            throw new CheckFailed(`a first visit at ${visit.density}x fetched what its weight leaves out: ` +
                                  uncounted.join(', '));
        await page.setOfflineMode(true);
        await page.reload();
        await started(page);
        await checkPictures(page, visit.density);
        await checkFaces(page, `${design.calculator.name}, offline`);
        await (await page.$(selectorOf(controlIn(design.calculator, 'showChart')))).click();
        await shownWindow(page, design.chart);
        await checkFaces(page, `${design.chart.name}, offline`);
    });
    step(`a first visit at ${visit.density}x fetches only what its weight counts (${visit.total.gzip} bytes ` +
         'gzipped), and then shows the page offline, its pictures at that density, every text in its faces');
}

// A next version of the site, found by a screen of twice the density that
// has visited once: the new worker fetches nothing the first visit would not
// (the plain pictures least of all), the old cache goes, and the page still
// shows offline at that density.
async function checkUpdate(browser, visit) {
    await onOwnServer(browser, visit.density, async (page, watched) => {
        await page.goto(watched.origin);
        await started(page);
        await page.evaluate(() => navigator.serviceWorker.ready);
        watched.nextVersion();
        watched.requested = [];
        await page.evaluate(async () => {
            const registration = await navigator.serviceWorker.getRegistration();
            await registration.update();
            const worker = registration.installing ?? registration.waiting;
            if (!worker)
                throw new Error('no next version found');
            await new Promise((resolve, reject) => {
                const settled = () => (worker.state === 'activated' ? resolve()
                    : worker.state === 'redundant' ? reject(new Error('the next version did not install')) : null);
                worker.addEventListener('statechange', settled);
                settled();
            });
        });
        const uncounted = uncountedBy(visit, watched);
        if (uncounted.length > 0)
            throw new CheckFailed(`the next version at ${visit.density}x fetched what a visit leaves out: ` +
                                  uncounted.join(', '));
        const kept = await page.evaluate(() => caches.keys());
        if (kept.length !== 1 || !kept[0].endsWith('-next'))
            throw new CheckFailed(`after the next version the site keeps the caches ${JSON.stringify(kept)}`);
        await page.setOfflineMode(true);
        await page.reload();
        await started(page);
        await checkPictures(page, visit.density);
    });
    step(`a next version found at ${visit.density}x keeps the pictures at that density, afresh, and nothing more; ` +
         'the old cache goes');
}

const server = await serve(site);
const origin = `http://127.0.0.1:${server.address().port}/`;
const browser = await openBrowser();
try {
    const weight = siteWeight(site);
    step(`a first visit weighs ${weight.visits.map(v => `${v.total.gzip} bytes gzipped at ${v.density}x`).join(', ')} ` +
         `(at most ${weight.budget})`);
    if (!weight.withinBudget)
        throw new CheckFailed(`a first visit weighs more than its budget:\n${weightReport(weight)}`);
    await check(origin, browser);
    const scrolled = [];
    for (const phone of kPhones)
        scrolled.push(await checkPhone(origin, browser, phone));
    if (!scrolled.includes(true))
        throw new CheckFailed('on no phone does the chart scroll in its box: its headers were never put to the test');
    await checkPolicyHolds(origin, browser);
    await checkWithoutWebAssembly(origin, browser);
    await checkUnknownKind(origin, browser);
    for (const visit of weight.visits)
        await checkFirstVisit(browser, visit);
    await checkUpdate(browser, weight.visits.at(-1));
    step(`no console errors or warnings, nothing loaded from elsewhere; screenshots in ${shots}`);
} catch (error) {
    console.error(`web: ${error instanceof CheckFailed ? error.message : error.stack}`);
    process.exitCode = 1;
} finally {
    await browser.close();
    server.close();
}
