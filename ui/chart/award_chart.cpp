// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "award_chart.h"

#include "award_table.h"
#include "chart_design.h"
#include "chart_lettering.h"
#include "look.h"
#include "text_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace xpcalc {
namespace {

constexpr int kColumns = kChartGridColumns;

// Where one grid's parts stand, in pixels of the chart.
struct GridLayout {
    int firstChallengeRating = 1;
    int firstRow = 0; // the chart's row that the grid's first row shows
    int rows = 0;
    std::array<int, kColumns> headerCentres{};    // the "CR" headers' centres
    std::array<int, kColumns> numberRightEdges{}; // where the awards end
    int headingTop = 0;                           // "Challenge Rating"
    std::array<int, 2> headerTops{};              // "Party"/"CR" and "Level"/number
    int headerHeight = 0;
    int firstRowTop = 0;
    qreal rowPitch = 0;
    int numberHeight = 0; // height of the digits in the cells
    int bandRight = 0;
};

const GridLayout kUpper = [] {
    GridLayout grid;
    grid.firstChallengeRating = kChartGrids[0].firstChallengeRating;
    grid.firstRow = kChartGrids[0].firstRow;
    grid.rows = kChartGrids[0].rows;
    grid.headerCentres = {39, 60, 80, 101, 125, 148, 171, 195, 218, 243};
    grid.numberRightEdges = {44, 64, 84, 108, 131, 154, 177, 201, 224, 251};
    grid.headingTop = 13;
    grid.headerTops = {21, 28};
    grid.headerHeight = 6;
    grid.firstRowTop = 37;
    grid.rowPitch = 8.0;
    grid.numberHeight = 7;
    grid.bandRight = 256;
    return grid;
}();

const GridLayout kLower = [] {
    GridLayout grid;
    grid.firstChallengeRating = kChartGrids[1].firstChallengeRating;
    grid.firstRow = kChartGrids[1].firstRow;
    grid.rows = kChartGrids[1].rows;
    grid.headerCentres = {41, 64, 87, 110, 133, 156, 179, 202, 225, 248};
    grid.numberRightEdges = {46, 69, 91, 115, 138, 160, 184, 207, 229, 254};
    grid.headingTop = 168;
    grid.headerTops = {177, 184};
    grid.headerHeight = 5;
    grid.firstRowTop = 192;
    grid.rowPitch = 95 / 12.0; // from the rows of levels 6 and 18
    grid.numberHeight = 6;
    grid.bandRight = 259;
    return grid;
}();

constexpr int kBandLeft = 3;
constexpr int kLabelCentre = 16; // the row-label column
constexpr int kCellGap = 2;      // least space between neighbouring numbers
constexpr int kHeadingHeight = 6;
constexpr QRect kTitle{2, 3, 94, 8}; // capitals' box; descenders reach row 12

// The award of a cell of a grid: its row in the grid, its column from 0.
std::int32_t gridAward(const GridLayout &grid, int row, int column)
{
    return award(chartRowLevel(grid.firstRow + row), grid.firstChallengeRating + column);
}

int rowTop(const GridLayout &grid, int row) { return grid.firstRowTop + qRound(row * grid.rowPitch); }

// Where the widest row label of a grid ends.
qreal labelRight(const GridLayout &grid, const Face &label)
{
    const QFontMetricsF metrics(label.font);
    qreal widest = 0;
    for (int row = 0; row < grid.rows; ++row)
        widest = std::max(widest, metrics.horizontalAdvance(toQString(chartRowLabel(grid.firstRow + row))));
    return kLabelCentre + widest / 2;
}

// The face of a grid's numbers: as tall as the design asks, or a pixel or two
// smaller where the widest number would otherwise not keep its gap to the
// next; narrowed evenly only where even that is not enough.
struct NumberFace {
    Face face;
    qreal condense = 1.0;
};

NumberFace numberFace(const Lettering &lettering, const GridLayout &grid, qreal firstColumnLeft)
{
    std::vector<std::pair<QString, qreal>> cells;
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const std::int32_t entry = gridAward(grid, row, column);
            const int right = grid.numberRightEdges[static_cast<std::size_t>(column)];
            const qreal leftLimit =
                column == 0 ? firstColumnLeft : grid.numberRightEdges[static_cast<std::size_t>(column - 1)];
            if (entry != 0)
                cells.emplace_back(QString::number(entry), right - leftLimit - kCellGap);
        }
    }
    constexpr int kMostPixelsSmaller = 2;
    QFont font = serifFont(grid.numberHeight, false);
    const int designed = font.pixelSize();
    Face face;
    for (int pixels = designed; pixels >= designed - kMostPixelsSmaller; --pixels) {
        font.setPixelSize(pixels);
        // Digits hinted fully have their stems on whole pixels: solid black.
        face = faceOf(lettering, font, QFont::PreferFullHinting, grid.numberHeight);
        if (condenseToFit(face, cells) >= 1.0)
            return {face, 1.0};
    }
    return {face, condenseToFit(face, cells)};
}

// A band reaches from a pixel above its first row's digits to the foot of its
// last row's, closing the gaps between its rows.
void drawBands(QPainter &p, const GridLayout &grid)
{
    for (const ChartBand &band : chartBands({grid.firstChallengeRating, grid.firstRow, grid.rows})) {
        const int top = rowTop(grid, band.firstRow - grid.firstRow) - 1;
        const int bottom = rowTop(grid, band.lastRow - grid.firstRow) + grid.numberHeight;
        p.fillRect(QRect(QPoint(kBandLeft, top), QPoint(grid.bandRight, bottom)), paint(Paint::ChartBand));
    }
}

void drawGrid(QPainter &p, const Lettering &lettering, const GridLayout &grid)
{
    drawBands(p, grid);

    // The heading's descenders stop a clear pixel row above the header row,
    // at any pixel ratio.
    const qreal headingCentre = (grid.headerCentres.front() + grid.headerCentres.back()) / 2.0;
    p.save();
    p.setClipRect(QRectF(0, 0, kAwardChartSize.width(), grid.headerTops[0] - 1));
    drawLine(p, lettering, toQString(kChartHeading), serif(lettering, kHeadingHeight, true), headingCentre,
             Qt::AlignHCenter, grid.headingTop);
    p.restore();

    const Face header = serif(lettering, grid.headerHeight, true);
    const QStringList levelHeader = toQString(kChartLevelHeader).split(QLatin1Char(' '));
    for (std::size_t line = 0; line < grid.headerTops.size(); ++line)
        drawLine(p, lettering, levelHeader.value(static_cast<qsizetype>(line)), header, kLabelCentre, Qt::AlignHCenter,
                 grid.headerTops[line]);
    for (int column = 0; column < kColumns; ++column) {
        const int centre = grid.headerCentres[static_cast<std::size_t>(column)];
        drawLine(p, lettering, toQString(kChartRatingHeader), header, centre, Qt::AlignHCenter, grid.headerTops[0]);
        drawLine(p, lettering, QString::number(grid.firstChallengeRating + column), header, centre, Qt::AlignHCenter,
                 grid.headerTops[1]);
    }

    const Face label = serif(lettering, grid.numberHeight, true);
    const NumberFace numbers = numberFace(lettering, grid, labelRight(grid, label));
    for (int row = 0; row < grid.rows; ++row) {
        const int top = rowTop(grid, row);
        drawLine(p, lettering, toQString(chartRowLabel(grid.firstRow + row)), label, kLabelCentre, Qt::AlignHCenter,
                 top);
        for (int column = 0; column < kColumns; ++column) {
            const std::int32_t entry = gridAward(grid, row, column);
            if (entry == 0)
                continue; // no award defined: the cell stays blank
            drawLine(p, lettering, QString::number(entry), numbers.face,
                     grid.numberRightEdges[static_cast<std::size_t>(column)] + 1, Qt::AlignRight, top,
                     numbers.condense);
        }
    }
}

} // namespace

QImage awardChartImage(qreal devicePixelRatio)
{
    QImage image(kAwardChartSize * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(paint(Paint::ChartInk));

    const Lettering lettering{devicePixelRatio <= 1.0};
    const Face title = serif(lettering, kTitle.height(), true, true);
    const QString titleText = toQString(kChartTitle);
    drawLine(p, lettering, titleText, title, kTitle.left(), Qt::AlignLeft, kTitle.top(),
             condenseToFit(title, {{titleText, kTitle.width()}}));
    drawGrid(p, lettering, kUpper);
    drawGrid(p, lettering, kLower);
    return image;
}

QPixmap drawAwardChart(qreal devicePixelRatio) { return QPixmap::fromImage(awardChartImage(devicePixelRatio)); }

int chartRowLevel(int row) { return chartRow(row).firstLevel; }

QRect chartCellRect(int row, int column)
{
    if (row < 0 || row >= kChartTableRows || column < 0 || column >= kChartTableColumns)
        return {};
    const auto rowInGrid = [row](const GridLayout &grid) {
        const int gridRow = row - grid.firstRow;
        return gridRow < grid.rows ? gridRow : -1;
    };
    const bool upper = column == kChartLabelColumn ? rowInGrid(kUpper) >= 0 : column <= kColumns;
    const GridLayout &grid = upper ? kUpper : kLower;
    const int gridRow = rowInGrid(grid);
    if (gridRow < 0)
        return {};
    // Where the first column's room starts: past the widest row label.
    static const std::array<int, 2> firstColumnLefts = [] {
        const auto left = [](const GridLayout &g) {
            return qCeil(labelRight(g, serif(Lettering{}, g.numberHeight, true)));
        };
        return std::array<int, 2>{left(kUpper), left(kLower)};
    }();
    const int firstColumnLeft = firstColumnLefts[upper ? 0 : 1];
    const int top = rowTop(grid, gridRow);
    const int bottom = top + grid.numberHeight - 1;
    if (column == kChartLabelColumn)
        return {QPoint(kBandLeft, top), QPoint(firstColumnLeft - 1, bottom)};
    const int inGrid = (column - 1) % kColumns;
    const int left = inGrid == 0 ? firstColumnLeft : grid.numberRightEdges[static_cast<std::size_t>(inGrid - 1)] + 1;
    return {QPoint(left, top), QPoint(grid.numberRightEdges[static_cast<std::size_t>(inGrid)], bottom)};
}

} // namespace xpcalc
