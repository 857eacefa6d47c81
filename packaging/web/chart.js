// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The award chart as its design draws it, one table a grid: each row a range
// of party levels, each column a challenge rating, each cell that award, and
// blank where none is defined; rows, bands, headings and what screen readers
// call each of them as the export gives them.

// The tables of the chart (awardChart and awardTable of the export).
export function chartTables(awardChart, awardTable) {
    return awardChart.grids.map(grid => ({
        heardAs: grid.heardAs,
        columns: grid.columns,
        rows: awardChart.rows.slice(grid.firstRow, grid.firstRow + grid.rows).map(row => ({
            label: row.label, heardAs: row.heardAs, banded: row.banded,
            cells: grid.columns.map(column => {
                const award = awardTable[row.firstLevel - 1]?.[column.challengeRating - 1];
                if (award === undefined)
                    throw new Error(`the award table has no award for party level ${row.firstLevel} ` +
                                    `at challenge rating ${column.challengeRating}`);
                return award ? String(award) : '';
            }),
        })),
    }));
}

// A heading of a column, its lines one under another.
const header = (heardAs, lines) => ({
    tag: 'th', properties: {scope: 'col'}, attributes: {'aria-label': heardAs},
    children: lines.flatMap((line, i) => (i ? [{tag: 'br'}, line] : [line])),
});

// The chart, as layout.js describes an element: a figure of its tables. The
// first table is set larger than the rest, as the design letters them.
export function chartPlan(awardChart, awardTable) {
    const {title, heading, levelHeader} = awardChart;
    const tables = chartTables(awardChart, awardTable).map((table, index) => ({
        tag: 'table', properties: {className: index === 0 ? 'upper' : 'lower'},
        attributes: {'aria-label': table.heardAs},
        children: [
            {tag: 'thead', children: [
                // Over the row headers' column, a corner that heads nothing.
                {tag: 'tr', properties: {className: 'heading'}, children: [
                    {tag: 'td'},
                    {tag: 'th', properties: {colSpan: table.columns.length}, children: [heading]}]},
                {tag: 'tr', children: [header(levelHeader.text, levelHeader.lines),
                                       ...table.columns.map(column => header(column.heardAs, column.lines))]}]},
            {tag: 'tbody', children: table.rows.map(row => ({
                tag: 'tr', properties: row.banded ? {className: 'band'} : {},
                children: [{tag: 'th', properties: {scope: 'row'}, attributes: {'aria-label': row.heardAs},
                            children: [row.label]},
                           ...row.cells.map(cell => ({tag: 'td', children: cell ? [cell] : []}))],
            }))},
        ],
    }));
    return {tag: 'figure', properties: {tabIndex: 0}, attributes: {'role': 'group', 'aria-label': title},
            children: [{tag: 'figcaption', children: [title]}, ...tables]};
}
