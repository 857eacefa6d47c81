// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "chart_design.h"

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

namespace xpcalc {

// The award chart: the award table drawn as two grids (challenge ratings 1 to
// 10 above, 11 to 20 below), with a title, headings, bold row labels and the
// awards right-aligned in their columns; a cell whose award is 0 stays blank.
// Drawn from the award table itself, so it always agrees with the calculation.
//
// Black serif lettering on white, light-grey bands behind every other group of
// three levels. 263 x 329 pixels, drawn at the given device pixel ratio so it
// stays sharp on dense screens.
constexpr QSize kAwardChartSize{263, 329};

QImage awardChartImage(qreal devicePixelRatio);
QPixmap drawAwardChart(qreal devicePixelRatio);

// The chart read as one table, as a screen reader presents it and the
// keyboard walks it: a row per party level, levels 1 to 3 sharing the first
// as the chart draws them; the column of row labels ("Party Level"), then a
// column per challenge rating, so column N is challenge rating N.
constexpr int kChartTableRows = kChartRows;
constexpr int kChartLabelColumn = 0;
constexpr int kChartTableColumns = 21;
int chartRowLevel(int row); // the level whose awards a row shows
// Where a cell's label or number stands in the chart, in its pixels; empty
// for the cells the chart leaves out (levels 18 to 20 above, 1 to 3 below).
// A level with rows in both grids has its label in the upper one.
QRect chartCellRect(int row, int column);

} // namespace xpcalc
