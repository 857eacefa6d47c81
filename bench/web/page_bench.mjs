// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Figures of the calculator's web page in Debian's Chromium, served from
// 127.0.0.1 compressed as a static host serves it (static_server.mjs):
// - the page's weight, file by file (weight.mjs);
// - first contentful paint with the core and without it (core.js and
//   core.wasm refused), the median of fresh loads with the cache off, on this
//   machine as it is and on a phone as Lighthouse emulates one (its CPU
//   slowdown and slow 4G, applied by DevTools);
// - calculate-to-shown: from the Enter or click on the Calculate button to
//   the frame that paints the new total;
// - Lighthouse's four categories, its metrics and its failing audits, for a
//   phone (its default) and for a desktop (its desktop config).
// A benchmark, not a test: it prints figures beside their targets and fails
// only where it cannot measure.
// Usage, after npm ci in this folder:
//   node page_bench.mjs SITE [--out DIR] [--loads N] [--runs N] [--no-lighthouse]
//   --out DIR        keep Lighthouse's reports as DIR/lighthouse-{mobile,desktop}.json
//   --loads N        fresh loads per first-paint figure (default 9)
//   --runs N         calculations per calculate-to-shown figure (default 50)
//   --no-lighthouse  the page's own figures alone, in a minute or so
import fs from 'node:fs';
import path from 'node:path';
import {parseArgs} from 'node:util';
import lighthouse, {desktopConfig} from 'lighthouse';
import * as lighthouseConstants from 'lighthouse/core/config/constants.js';
import puppeteer from 'puppeteer-core';
import {serveSite} from './static_server.mjs';
import {siteWeight, weightReport} from './weight.mjs';

const usage = 'usage: node page_bench.mjs SITE [--out DIR] [--loads N] [--runs N] [--no-lighthouse]';
let options;
try {
    options = parseArgs({allowPositionals: true, options: {
        out: {type: 'string'}, loads: {type: 'string', default: '9'}, runs: {type: 'string', default: '50'},
        'no-lighthouse': {type: 'boolean', default: false}}});
} catch (error) {
    console.error(`${error.message}\n${usage}`);
    process.exit(2);
}
const count = (name, text) => {
    const n = Number(text);
    if (!Number.isInteger(n) || n < 1) {
        console.error(`--${name} takes a whole number of at least 1, not ${JSON.stringify(text)}\n${usage}`);
        process.exit(2);
    }
    return n;
};
if (options.positionals.length !== 1) {
    console.error(usage);
    process.exit(2);
}
const site = path.resolve(options.positionals[0]);
if (!fs.existsSync(path.join(site, 'index.html'))) {
    console.error(`${site} has no index.html: build the page first (bash tools/web.sh gives build-web/site)`);
    process.exit(2);
}
const loads = count('loads', options.values.loads);
const runs = count('runs', options.values.runs);
const out = options.values.out === undefined ? null : path.resolve(options.values.out);

// The targets the figures are held to.
const kMostPaintRatio = 1.2;
const kMostCalculateMs = 16;
const kLeastScore = 100;

class BenchFailed extends Error {}
const median = values => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const ms = value => `${value.toFixed(1)} ms`;
const heading = text => console.log(`\n== ${text}`);
const verdict = met => (met ? 'met' : 'NOT MET');

function openBrowser() {
    // Run as root in CI; no calls home, which the closed network refuses. The
    // window's size is left to the emulation each measure sets.
    return puppeteer.launch({
        executablePath: '/usr/bin/chromium', headless: true, defaultViewport: null,
        args: ['--no-sandbox', '--no-first-run', '--disable-quic', '--disable-background-networking',
               '--disable-component-update', '--disable-sync', '--disable-default-apps'],
    });
}

// The page has started, or said why it could not.
const startedOrNoticed = page => page.waitForFunction(
    () => document.body?.classList.contains('ready') || document.getElementById('status')?.className === 'notice',
    {timeout: 60000});

// ---- The weight: what a first visit transfers, file by file.

function weight() {
    heading('Weight');
    console.log(weightReport(siteWeight(site)));
}

// ---- First contentful paint, with the core and without it.

// A phone as Lighthouse emulates one, its throttling applied by DevTools as
// Lighthouse's own devtools method applies it.
const kPhone = (() => {
    const {mobileSlow4G: slow4G} = lighthouseConstants.throttling;
    const screen = lighthouseConstants.screenEmulationMetrics.mobile;
    return {
        name: `a phone (${screen.width} x ${screen.height}, CPU ${slow4G.cpuSlowdownMultiplier}x slower, ` +
              `${slow4G.requestLatencyMs} ms latency, ${Math.round(slow4G.downloadThroughputKbps)} kbit/s down)`,
        viewport: {width: screen.width, height: screen.height, deviceScaleFactor: screen.deviceScaleFactor,
                   isMobile: true, hasTouch: true},
        userAgent: lighthouseConstants.userAgents.mobile,
        network: {download: slow4G.downloadThroughputKbps * 1024 / 8, upload: slow4G.uploadThroughputKbps * 1024 / 8,
                  latency: slow4G.requestLatencyMs},
        cpu: slow4G.cpuSlowdownMultiplier,
    };
})();
const kDesktop = {name: 'this machine (1024 x 768, no throttling)', viewport: {width: 1024, height: 768}};

const isCore = url => /^core\b[^/]*\.(js|wasm)$/.test(path.posix.basename(new URL(url).pathname));

// One load in a fresh browser context (no service worker, no cache) with
// `device`'s screen and throttling; the core's files refused unless
// `withCore`. Every request goes through interception either way, so that
// both loads bear its cost.
async function firstPaint(browser, origin, device, withCore) {
    const context = await browser.createBrowserContext();
    try {
        const page = await context.newPage();
        await page.setCacheEnabled(false);
        await page.setBypassServiceWorker(true);
        await page.setViewport(device.viewport);
        if (device.userAgent)
            await page.setUserAgent(device.userAgent);
        if (device.network)
            await page.emulateNetworkConditions(device.network);
        if (device.cpu)
            await page.emulateCPUThrottling(device.cpu);
        let refused = 0;
        await page.setRequestInterception(true);
        page.on('request', request => {
            if (!withCore && isCore(request.url())) {
                ++refused;
                request.abort('blockedbyclient');
            } else {
                request.continue();
            }
        });
        await page.goto(origin, {waitUntil: 'load', timeout: 60000});
        await startedOrNoticed(page);
        const shown = await page.evaluate(() => new Promise(resolve => {
            const observer = new PerformanceObserver(list => {
                const entry = list.getEntries().find(e => e.name === 'first-contentful-paint');
                if (entry) {
                    observer.disconnect();
                    resolve(finish(entry.startTime));
                }
            });
            const finish = fcp => ({
                fcp, layout: document.querySelector('main > section') !== null,
                notice: document.getElementById('status')?.className === 'notice'
                    ? document.getElementById('status').textContent : null,
            });
            observer.observe({type: 'paint', buffered: true});
            setTimeout(() => { observer.disconnect(); resolve(finish(null)); }, 10000);
        }));
        if (shown.fcp === null)
            throw new BenchFailed(`no first-contentful-paint entry on ${device.name}`);
        if (!withCore && refused === 0)
            throw new BenchFailed('the page asked for no core.js or core.wasm to refuse');
        return shown;
    } finally {
        await context.close();
    }
}

async function firstPaints(browser, origin) {
    heading(`First contentful paint: median of ${loads} fresh loads each, cache off, no service worker`);
    for (const device of [kDesktop, kPhone]) {
        console.log(`  on ${device.name}:`);
        const figures = {};
        let laidOutWithout = false;
        for (const withCore of [true, false]) {
            const shown = [];
            for (let i = 0; i < loads; ++i)
                shown.push(await firstPaint(browser, origin, device, withCore));
            figures[withCore] = median(shown.map(s => s.fcp));
            const last = shown.at(-1);
            laidOutWithout = !withCore && shown.every(s => s.layout);
            const what = last.layout ? 'the window laid out' : 'NO WINDOW';
            const notice = last.notice === null ? '' : `; the notice "${last.notice}"`;
            console.log(`    ${withCore ? 'with the core:   ' : 'without the core:'} ${ms(figures[withCore]).padStart(9)}` +
                        `  (${what}${notice})`);
        }
        const ratio = figures.true / figures.false;
        console.log(`    with / without:   ${ratio.toFixed(2).padStart(6)}     ` +
                    `(target: at most ${kMostPaintRatio}, the window laid out without the core too: ` +
                    `${verdict(ratio <= kMostPaintRatio && laidOutWithout)})`);
    }
}

// ---- Calculate-to-shown.

// Times, in the page, each press of the Calculate button from the input
// event's time stamp to the paint of the frame that first shows the total's
// new value: each animation frame checks the total, and once it has changed a
// message posted from that frame's callback runs after the frame is painted.
function instrument(calculate, total) {
    const bench = {times: [], pending: false, timedOut: 0};
    const arm = (start, before) => {
        if (bench.pending)
            return;
        bench.pending = true;
        const frame = () => requestAnimationFrame(() => {
            if (total.value === before) {
                if (performance.now() - start > 5000) {
                    bench.pending = false;
                    ++bench.timedOut;
                } else {
                    frame();
                }
                return;
            }
            const channel = new MessageChannel();
            channel.port1.onmessage = () => {
                bench.times.push(performance.now() - start);
                bench.pending = false;
            };
            channel.port2.postMessage(null);
        });
        frame();
    };
    // Capturing, so the time and the old total are taken before the page's
    // own listener runs; Enter's keydown leads, and its click is ignored.
    document.addEventListener('keydown', event => {
        if (event.key === 'Enter' && event.target === calculate)
            arm(event.timeStamp, total.value);
    }, true);
    document.addEventListener('click', event => {
        if (event.target === calculate)
            arm(event.timeStamp, total.value);
    }, true);
    window.calculateBench = bench;
}

async function calculateToShown(browser, origin) {
    heading(`Calculate-to-shown: from the press to the painted new total, ${runs} calculations each, ${kDesktop.name}`);
    const context = await browser.createBrowserContext();
    try {
        const page = await context.newPage();
        await page.setViewport(kDesktop.viewport);
        await page.goto(origin, {waitUntil: 'load'});
        await startedOrNoticed(page);
        const notice = await page.$eval('#status', e => (e.className === 'notice' ? e.textContent : null));
        if (notice !== null)
            throw new BenchFailed(`the page did not start: ${notice}`);
        const inWindow = selector => `main > section ${selector}`;
        const one = async selector => {
            const found = await page.$$(inWindow(selector));
            if (found.length !== 1)
                throw new BenchFailed(`${found.length} elements ${selector} in the calculator`);
            return found[0];
        };
        const calculate = await one('[data-role="calculate"]');
        const total = await one('[data-role="total"]');
        const firstCount = await one('[data-role="count"][data-challenge-rating="1"]');
        const partyLevel = await one('[data-role="partyLevel"]');
        await page.evaluate(instrument, calculate, total);
        await partyLevel.evaluate(e => { e.value = '1'; });

        // Each press a new count of encounters at CR 1, so a new total.
        let encounters = 0;
        const measure = async press => {
            for (let i = 0; i < runs; ++i) {
                await firstCount.evaluate((e, n) => { e.value = String(n); }, ++encounters);
                const done = await page.evaluate(() => calculateBench.times.length + calculateBench.timedOut);
                await press();
                await page.waitForFunction(n => !calculateBench.pending &&
                                                calculateBench.times.length + calculateBench.timedOut > n,
                                           {timeout: 10000}, done);
            }
            const {times, timedOut} = await page.evaluate(() => {
                const taken = {times: calculateBench.times, timedOut: calculateBench.timedOut};
                calculateBench.times = [];
                calculateBench.timedOut = 0;
                return taken;
            });
            if (timedOut > 0)
                throw new BenchFailed(`${timedOut} of ${runs} calculations showed no new total within 5 s`);
            if (await page.$('#warning[open]'))
                throw new BenchFailed('the calculations brought up the overflow warning');
            return times;
        };
        const figures = [
            ['Enter', await measure(async () => { await calculate.focus(); await page.keyboard.press('Enter'); })],
            ['click', await measure(() => calculate.click())],
        ];
        for (const [how, times] of figures) {
            const sorted = [...times].sort((a, b) => a - b);
            const at = share => sorted[Math.min(sorted.length - 1, Math.floor(share * sorted.length))];
            console.log(`  by ${how.padEnd(5)}: median ${ms(median(times))}, fastest ${ms(sorted[0])}, ` +
                        `90th percentile ${ms(at(0.9))}, slowest ${ms(sorted.at(-1))}  ` +
                        `(target: median under ${kMostCalculateMs} ms: ${verdict(median(times) < kMostCalculateMs)})`);
        }
        console.log(`  last total shown: ${await total.evaluate(e => e.value)}`);
    } finally {
        await context.close();
    }
}

// ---- Lighthouse.

const kCategories = ['performance', 'accessibility', 'best-practices', 'seo'];
const kMetrics = [
    ['first-contentful-paint', 'FCP'], ['largest-contentful-paint', 'LCP'], ['total-blocking-time', 'TBT'],
    ['cumulative-layout-shift', 'CLS'], ['speed-index', 'Speed Index'],
];
// Lighthouse's own line between a pass and a fail of a scored audit.
const kPassScore = 0.9;

const clip = (text, most = 110) => {
    const flat = String(text).replace(/\s*\n\s*/g, ' ').trim();
    return flat.length > most ? `${flat.slice(0, most - 1)}…` : flat;
};
// An audit's details as lines of text, a line a row of its tables, each cell
// shown as its heading's type says: an element by its selector, a file by its
// path on the site, times and sizes with their units.
function detailLines(details, origin) {
    const local = url => String(url).replace(origin, '/');
    const cell = (value, valueType) => {
        if (value === null || value === undefined)
            return null;
        if (typeof value === 'object')
            switch (value.type) {
            case 'node': return value.selector || value.nodeLabel || null;
            case 'url': return local(value.value);
            case 'source-location': return `${local(value.url)}:${value.line + 1}`;
            default: return value.value === undefined ? null : cell(value.value, value.type);
            }
        if (typeof value === 'number')
            return valueType === 'ms' || valueType === 'timespanMs' ? `${Math.round(value)} ms`
                : valueType === 'bytes' ? `${(value / 1024).toFixed(1)} KiB` : String(Math.round(value * 100) / 100);
        return valueType === 'url' ? local(value) : String(value);
    };
    const longestChain = chains => {
        const names = [];
        let last = null;
        for (let level = chains; level && Object.keys(level).length > 0;) {
            last = Object.values(level).find(c => c.isLongest) ?? Object.values(level)[0];
            names.push(local(last.url));
            level = last.children;
        }
        return names.length === 0 ? [] : [`longest chain: ${names.join(' > ')} (${Math.round(last.navStartToEndTime)} ms)`];
    };
    switch (details?.type) {
    case 'table':
    case 'opportunity':
        return details.items.map(item => details.headings.filter(h => h.key)
            .map(h => cell(item[h.key], h.valueType)).filter(v => v !== null && v !== '').join('  '));
    case 'list':
        return details.items.flatMap(item => detailLines(item, origin));
    case 'list-section':
        return detailLines(details.value, origin);
    case 'network-tree':
        return longestChain(details.chains);
    case 'checklist':
        return Object.values(details.items).filter(item => !item.value).map(item => item.label);
    default:
        return [];
    }
}

function printFailing(lhr, origin) {
    const failing = new Map();
    for (const id of kCategories)
        for (const ref of lhr.categories[id]?.auditRefs ?? []) {
            const audit = lhr.audits[ref.id];
            if (!audit || !['binary', 'numeric', 'metricSavings'].includes(audit.scoreDisplayMode) ||
                audit.score === null || audit.score >= kPassScore)
                continue;
            if (!failing.has(ref.id))
                failing.set(ref.id, {audit, categories: []});
            failing.get(ref.id).categories.push(id);
        }
    if (failing.size === 0) {
        console.log('  failing audits: none');
        return;
    }
    console.log(`  failing audits (score under ${kPassScore}):`);
    for (const [id, {audit, categories}] of failing) {
        const value = audit.displayValue ? `: ${clip(audit.displayValue, 60)}` : '';
        console.log(`    ${id} [${categories.join(', ')}] score ${audit.score.toFixed(2)} - ${audit.title}${value}`);
        const items = detailLines(audit.details, origin).filter(Boolean);
        items.slice(0, 3).forEach(text => console.log(`        ${clip(text)}`));
        if (items.length > 3)
            console.log(`        and ${items.length - 3} more`);
    }
}

async function runLighthouse(origin, form) {
    const browser = await openBrowser();
    try {
        const page = await browser.newPage();
        const flags = {logLevel: 'error', output: 'json', onlyCategories: kCategories};
        const result = await lighthouse(origin, flags, form === 'desktop' ? desktopConfig : undefined, page);
        if (!result?.lhr)
            throw new BenchFailed(`Lighthouse gave no report for ${form}`);
        const {lhr} = result;
        heading(`Lighthouse ${lhr.lighthouseVersion}, ${form} (${lhr.configSettings.formFactor}, ` +
                `${lhr.configSettings.throttlingMethod}d throttling), ${await browser.version()}`);
        if (lhr.runtimeError)
            console.log(`  Lighthouse could not run the page: ${lhr.runtimeError.code}: ${lhr.runtimeError.message}`);
        for (const warning of lhr.runWarnings ?? [])
            console.log(`  Lighthouse warns: ${clip(warning, 200)}`);
        console.log(`  scores (target: at least ${kLeastScore} each):`);
        for (const id of kCategories) {
            const score = lhr.categories[id]?.score;
            const shown = score === null || score === undefined ? 'n/a' : String(Math.round(score * 100));
            console.log(`    ${lhr.categories[id]?.title.padEnd(15) ?? id}${shown.padStart(4)}` +
                        `${score >= kLeastScore / 100 ? '' : '  (below target)'}`);
        }
        console.log('  metrics:');
        for (const [id, name] of kMetrics) {
            const audit = lhr.audits[id];
            console.log(`    ${name.padEnd(12)}${(audit?.displayValue ?? 'n/a').padStart(10)}` +
                        `   score ${audit?.score === null || audit?.score === undefined ? 'n/a' : audit.score.toFixed(2)}`);
        }
        printFailing(lhr, origin);
        if (out) {
            fs.mkdirSync(out, {recursive: true});
            const file = path.join(out, `lighthouse-${form}.json`);
            fs.writeFileSync(file, typeof result.report === 'string' ? result.report : JSON.stringify(lhr, null, 2));
            console.log(`  report: ${file}`);
        }
    } finally {
        await browser.close();
    }
}

// ---- All of it.

const codings = new Map();
const server = await serveSite(site, {onRequest: (name, coding) => codings.set(name, coding)});
const origin = `http://127.0.0.1:${server.address().port}/`;
let browser = null;
try {
    console.log(`The page at ${site}, served at ${origin}`);
    weight();
    browser = await openBrowser();
    await firstPaints(browser, origin);
    await calculateToShown(browser, origin);
    await browser.close();
    browser = null;
    const sent = [...codings.values()];
    console.log(`\n  (files sent to Chromium: ${sent.filter(c => c === 'br').length} in Brotli, ` +
                `${sent.filter(c => c === 'gzip').length} gzipped, ${sent.filter(c => c === 'identity').length} as they are: pictures and faces, compressed already)`);
    if (!options.values['no-lighthouse'])
        for (const form of ['mobile', 'desktop'])
            await runLighthouse(origin, form);
} catch (error) {
    console.error(`\nweb bench: ${error instanceof BenchFailed ? error.message : error.stack}`);
    process.exitCode = 1;
} finally {
    await browser?.close();
    server.closeAllConnections();
    server.close();
}
