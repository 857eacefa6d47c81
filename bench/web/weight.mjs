// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// What a first visit to the web page transfers, file by file: raw, gzipped
// (level 9) and in Brotli (quality 11), against the budget of 100,000 bytes
// gzipped. A first visit is the page (index.html), its service worker
// (sw.js), and what the worker keeps on installing, as sw.js itself lists it:
// the files every visit needs, and each picture at one of its densities, the
// one the page fetched. A screen of the plainest density is the budget's; one
// of each higher density is shown beside it, and held to the budget too.
// Exits with 1 over the budget.
// Usage: node bench/web/weight.mjs SITE
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import vm from 'node:vm';
import zlib from 'node:zlib';

// The most a first visit may transfer, gzipped.
export const kBudgetBytes = 100000;

// The lists sw.js keeps, read by running it with nothing to listen to.
export function serviceWorkerLists(site) {
    const source = fs.readFileSync(path.join(site, 'sw.js'), 'utf8');
    const self = {addEventListener() {}};
    const lists = vm.runInNewContext(`${source}\n;({files: kFiles, pictures: kPictures});`, {self});
    // Out of the context, as plain arrays.
    return JSON.parse(JSON.stringify(lists));
}

// A file of the site as its path in the site: './' is the page.
const siteFile = url => {
    const file = url.replace(/^\.\//, '');
    return file === '' ? 'index.html' : file;
};

function weigh(site, file) {
    const bytes = fs.readFileSync(path.join(site, file));
    return {
        file, raw: bytes.length,
        gzip: zlib.gzipSync(bytes, {level: 9}).length,
        brotli: zlib.brotliCompressSync(bytes, {params: {
            [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
            [zlib.constants.BROTLI_PARAM_SIZE_HINT]: bytes.length}}).length,
    };
}

const sum = files => Object.fromEntries(
    ['raw', 'gzip', 'brotli'].map(key => [key, files.reduce((total, file) => total + file[key], 0)]));

// The weight of a first visit to SITE on a screen of each density the
// pictures come in: {visits: [{density, files, total}], budget, withinBudget},
// the first visit being the plainest density's; files as {file, raw, gzip,
// brotli}.
export function siteWeight(site) {
    const {files, pictures} = serviceWorkerLists(site);
    const kept = [...new Set(['index.html', 'sw.js', ...files.map(siteFile)])];
    const densities = Math.max(1, ...pictures.map(densitiesOf => densitiesOf.length));
    const visits = [];
    for (let density = 0; density < densities; ++density) {
        const shown = pictures.map(densitiesOf => siteFile(densitiesOf[Math.min(density, densitiesOf.length - 1)]));
        const weighed = [...new Set([...kept, ...shown])].map(file => weigh(site, file));
        visits.push({density: density + 1, files: weighed, total: sum(weighed)});
    }
    return {visits, budget: kBudgetBytes, withinBudget: visits.every(visit => visit.total.gzip <= kBudgetBytes)};
}

// The weight as a table, one line a file of the first visit, then the total
// of each visit and the budget.
export function weightReport(weight) {
    const [first, ...denser] = weight.visits;
    const width = Math.max(...first.files.map(({file}) => file.length), 36);
    const row = (name, {raw, gzip, brotli}) =>
        `${name.padEnd(width)} ${String(raw).padStart(8)} ${String(gzip).padStart(8)} ${String(brotli).padStart(8)}`;
    const lines = [`${'file'.padEnd(width)} ${'raw'.padStart(8)} ${'gzip'.padStart(8)} ${'brotli'.padStart(8)}`,
                   ...first.files.map(file => row(file.file, file)),
                   row('a first visit', first.total)];
    for (const visit of denser) {
        const own = visit.files.filter(({file}) => !first.files.some(other => other.file === file));
        lines.push(...own.map(file => row(`  ${visit.density}x: ${file.file}`, file)));
        lines.push(row(`a first visit at ${visit.density}x`, visit.total));
    }
    lines.push(`budget: ${weight.budget} bytes gzipped, ${weight.withinBudget ? 'kept' : 'EXCEEDED'}`);
    return lines.join('\n');
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const [site] = process.argv.slice(2);
    if (!site) {
        console.error('usage: node bench/web/weight.mjs SITE');
        process.exit(2);
    }
    const weight = siteWeight(path.resolve(site));
    console.log(weightReport(weight));
    process.exitCode = weight.withinBudget ? 0 : 1;
}
