// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The award chart: a table a grid, each holding the grid's rows and columns
// as the export gives them, each cell the award of its row's party level and
// its column's challenge rating, blank where none is defined.
import assert from 'node:assert/strict';
import test from 'node:test';

import {chartPlan, chartTables} from '../../packaging/web/chart.js';
import {designs, sample} from './designs.mjs';

const textOf = plan => (typeof plan === 'string' ? plan : (plan.children ?? []).map(textOf).join(''));
const byTag = (plan, tag) => (typeof plan === 'string' ? [] : [
    ...(plan.tag === tag ? [plan] : []), ...(plan.children ?? []).flatMap(child => byTag(child, tag))]);

for (const {about, design} of designs()) {
    const {awardChart, awardTable} = design;
    const tables = chartTables(awardChart, awardTable);

    test(`${about}: a table a grid, named and headed as the export says`, () => {
        assert.equal(tables.length, awardChart.grids.length);
        tables.forEach((table, i) => {
            assert.equal(table.heardAs, awardChart.grids[i].heardAs);
            assert.deepEqual(table.columns, awardChart.grids[i].columns);
        });
    });

    test(`${about}: each table holds its grid's rows, in order, as the export labels them`, () => {
        tables.forEach((table, i) => {
            const {firstRow, rows} = awardChart.grids[i];
            assert.equal(table.rows.length, rows);
            table.rows.forEach((row, r) => {
                const expected = awardChart.rows[firstRow + r];
                assert.deepEqual([row.label, row.heardAs, row.banded],
                                 [expected.label, expected.heardAs, expected.banded]);
            });
        });
    });

    test(`${about}: each cell is the award of its row's level at its own grid's challenge ratings`, () => {
        let blanks = 0;
        let awards = 0;
        tables.forEach((table, i) => {
            const grid = awardChart.grids[i];
            table.rows.forEach((row, r) => {
                const level = awardChart.rows[grid.firstRow + r].firstLevel;
                assert.equal(row.cells.length, grid.columns.length);
                row.cells.forEach((cell, c) => {
                    const award = awardTable[level - 1][grid.columns[c].challengeRating - 1];
                    assert.equal(cell, award === 0 ? '' : String(award), `${row.label}, ${grid.columns[c].heardAs}`);
                    award === 0 ? ++blanks : ++awards;
                });
            });
        });
        assert.ok(blanks > 0 && awards > 0, 'the chart has both awards and blanks');
    });

    test(`${about}: the chart's elements say what its tables hold`, () => {
        const figure = chartPlan(awardChart, awardTable);
        assert.equal(figure.attributes['aria-label'], awardChart.title);
        assert.equal(textOf(byTag(figure, 'figcaption')[0]), awardChart.title);
        const elements = byTag(figure, 'table');
        assert.equal(elements.length, tables.length);
        elements.forEach((element, i) => {
            const table = tables[i];
            assert.equal(element.attributes['aria-label'], table.heardAs);
            const [heading, headers] = byTag(byTag(element, 'thead')[0], 'tr');
            assert.equal(textOf(heading), awardChart.heading);
            assert.deepEqual(byTag(headers, 'th').map(th => [th.attributes['aria-label'], textOf(th)]),
                             [awardChart.levelHeader, ...table.columns].map(h => [h.heardAs ?? h.text, h.lines.join('')]));
            const rows = byTag(byTag(element, 'tbody')[0], 'tr');
            assert.deepEqual(rows.map(tr => {
                const [label] = byTag(tr, 'th');
                return [label.attributes['aria-label'], textOf(label), tr.properties.className === 'band',
                        byTag(tr, 'td').map(textOf)];
            }), table.rows.map(row => [row.heardAs, row.label, row.banded, row.cells]));
        });
    });
}

test('an award the table lacks stops the page', () => {
    const {awardChart, awardTable} = sample();
    assert.throws(() => chartTables(awardChart, awardTable.slice(0, -1)), /no award for party level/);
});
