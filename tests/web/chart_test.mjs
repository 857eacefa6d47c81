// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The award chart: a table a grid, named and headed as the export says, each
// row a range of party levels, each cell the award of its row's first level
// at its column's challenge rating, blank where none is defined.
import assert from 'node:assert/strict';
import test from 'node:test';

import {chartPlan, chartTables} from '../../packaging/web/chart.js';
import {designs, sample} from './designs.mjs';

const textOf = plan => (typeof plan === 'string' ? plan : (plan.children ?? []).map(textOf).join(''));
const byTag = (plan, tag) => (typeof plan === 'string' ? [] : [
    ...(plan.tag === tag ? [plan] : []), ...(plan.children ?? []).flatMap(child => byTag(child, tag))]);

for (const {about, design: {awardChart, awardTable}} of designs()) {
    test(`${about}: the chart's tables hold what the export and the award table say`, () => {
        const figure = chartPlan(awardChart, awardTable);
        assert.deepEqual([figure.attributes['aria-label'], textOf(byTag(figure, 'figcaption')[0])],
                         [awardChart.title, awardChart.title]);
        const tables = byTag(figure, 'table');
        assert.equal(tables.length, awardChart.grids.length);
        const cells = [];
        awardChart.grids.forEach((grid, i) => {
            const [heading, headers] = byTag(byTag(tables[i], 'thead')[0], 'tr');
            assert.deepEqual({
                name: tables[i].attributes['aria-label'], heading: textOf(heading),
                headers: byTag(headers, 'th').map(th => [th.attributes['aria-label'], textOf(th)]),
                rows: byTag(byTag(tables[i], 'tbody')[0], 'tr').map(tr => [
                    byTag(tr, 'th')[0].attributes['aria-label'], textOf(byTag(tr, 'th')[0]),
                    tr.properties.className === 'band', byTag(tr, 'td').map(textOf)]),
            }, {
                name: grid.heardAs, heading: awardChart.heading,
                headers: [awardChart.levelHeader, ...grid.columns].map(h => [h.heardAs ?? h.text, h.lines.join('')]),
                rows: awardChart.rows.slice(grid.firstRow, grid.firstRow + grid.rows).map(row => [
                    row.heardAs, row.label, row.banded, grid.columns.map(column => {
                        cells.push(awardTable[row.firstLevel - 1][column.challengeRating - 1]);
                        return String(cells.at(-1) || '');
                    })]),
            }, grid.heardAs);
        });
        assert.ok(cells.includes(0) && cells.some(Boolean), 'the chart has both awards and blanks');
    });
}

test('an award the table lacks stops the page', () => {
    const {awardChart, awardTable} = sample();
    assert.throws(() => chartTables(awardChart, awardTable.slice(0, -1)), /no award for party level/);
});
