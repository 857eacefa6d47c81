// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The weight of a first visit: the page, its service worker and what the
// worker keeps, as its own lists say, each picture at one density a visit;
// nothing the worker leaves to be fetched on demand.
import assert from 'node:assert/strict';
import crypto from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import test from 'node:test';
import zlib from 'node:zlib';

import {kBudgetBytes, siteWeight, weightReport} from '../../bench/web/weight.mjs';

// A site of `files` ({name: contents}), with a worker that keeps `kept` and
// the pictures `pictures` (each its densities).
function site(files, kept, pictures) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'xpcalc-weight-'));
    const lists = `const kFiles = ${JSON.stringify(kept)};\nconst kPictures = ${JSON.stringify(pictures)};\n` +
                  'self.addEventListener(\'install\', () => {});\n';
    for (const [name, contents] of Object.entries({...files, 'sw.js': lists})) {
        fs.mkdirSync(path.dirname(path.join(folder, name)), {recursive: true});
        fs.writeFileSync(path.join(folder, name), contents);
    }
    return folder;
}
const gzipped = contents => zlib.gzipSync(contents, {level: 9}).length;
const names = visit => visit.files.map(file => file.file).sort();

test('a first visit is the page, the worker and what it keeps, each picture at one density', () => {
    const files = {'index.html': '<p>page</p>', 'a.js': 'let a = 1;'.repeat(50), 'fonts/f.woff2': 'face',
                   'p.png': 'plain picture', 'p@2x.png': 'denser picture'.repeat(3), 'big.png': 'install icon'};
    const weight = siteWeight(site(files, ['./', './index.html', './a.js', './fonts/f.woff2'], [['./p.png', './p@2x.png']]));
    assert.deepEqual(weight.visits.map(visit => visit.density), [1, 2]);
    const [plain, dense] = weight.visits;
    assert.deepEqual(names(plain), ['a.js', 'fonts/f.woff2', 'index.html', 'p.png', 'sw.js']);
    assert.deepEqual(names(dense), ['a.js', 'fonts/f.woff2', 'index.html', 'p@2x.png', 'sw.js']);
    const a = plain.files.find(file => file.file === 'a.js');
    assert.equal(a.raw, files['a.js'].length);
    assert.equal(a.gzip, gzipped(files['a.js']));
    assert.ok(a.brotli > 0 && a.brotli < a.raw, 'repetitive text compresses');
    for (const visit of weight.visits)
        for (const key of ['raw', 'gzip', 'brotli'])
            assert.equal(visit.total[key], visit.files.reduce((sum, file) => sum + file[key], 0));
    assert.equal(weight.withinBudget, true);
    const report = weightReport(weight);
    assert.match(report, /^a first visit +\d+ +\d+ +\d+$/m);
    assert.match(report, /^ {2}2x: p@2x\.png/m);
    assert.match(report, /budget: 100000 bytes gzipped, kept$/);
});

test('a visit over the budget, at any density, is over it', () => {
    const noise = crypto.randomBytes(kBudgetBytes / 2);
    const plainOver = siteWeight(site({'index.html': crypto.randomBytes(kBudgetBytes + 1), 'p.png': 'p', 'p@2x.png': 'q'},
                                      ['./'], [['./p.png', './p@2x.png']]));
    assert.equal(plainOver.withinBudget, false);
    const denseOver = siteWeight(site({'index.html': noise, 'p.png': 'p', 'p@2x.png': noise},
                                      ['./'], [['./p.png', './p@2x.png']]));
    assert.ok(denseOver.visits[0].total.gzip <= kBudgetBytes);
    assert.equal(denseOver.withinBudget, false);
    assert.match(weightReport(denseOver), /EXCEEDED$/);
});
