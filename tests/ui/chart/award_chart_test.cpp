// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The award chart, checked by what a reader sees in its pixels: each award in
// its own cell and blank cells blank, columns aligned, rows, columns, lines
// and grids parted, and the bands behind every other group of three levels.
#include "award_chart.h"
#include "award_table.h"
#include "colours.h"
#include "look.h"

#include <QtTest>

#include <algorithm>
#include <vector>

using xpcalc::chartCellRect;

namespace {

bool isLettering(QRgb pixel) { return qGray(pixel) < 150; }

// The bounding box of the lettering inside a box; empty when there is none.
QRect letteringIn(const QImage &image, QRect box)
{
    box &= image.rect();
    QRect ink;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (isLettering(image.pixel(x, y)))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The pixel rows of a box that hold lettering, as runs of consecutive rows:
// one run a line of lettering.
std::vector<std::pair<int, int>> letteredRuns(const QImage &image, QRect box)
{
    std::vector<std::pair<int, int>> runs;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        if (letteringIn(image, QRect(box.left(), y, box.width(), 1)).isEmpty())
            continue;
        if (!runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else
            runs.emplace_back(y, y);
    }
    return runs;
}

// One cell of a grid: where it stands, and whether it holds lettering (a row
// label, or an award other than 0).
struct Cell {
    int column = 0; // of the chart's table: 0 the labels, then challenge ratings 1 to 20
    QRect room;
    bool lettered = false;
    // The inverted mark of the current cell covers this much: its number, or
    // label, must stand inside it.
    QRect mark() const { return room.adjusted(0, -1, 1, 1); }
};

// One of the two grids: the challenge ratings of its columns, and for each
// chart row it shows, its cells from the label to the last column.
constexpr int kGridColumns = xpcalc::kChallengeRatings / 2;

struct Grid {
    int firstRating = 1;
    std::vector<int> rows;
    std::vector<std::vector<Cell>> cells;
};

Grid grid(int firstRating)
{
    Grid g{firstRating, {}, {}};
    for (int row = 0; row < xpcalc::kChartTableRows; ++row) {
        const QRect first = chartCellRect(row, firstRating);
        if (first.isEmpty())
            continue;
        // Both grids label their rows; the chart's table takes a level's label
        // from the upper grid, so the lower grid's labels stand in the same
        // column, left of the grid's first column.
        QRect label = chartCellRect(row, xpcalc::kChartLabelColumn);
        if (label.top() != first.top())
            label = QRect(QPoint(chartCellRect(0, xpcalc::kChartLabelColumn).left(), first.top()),
                          QPoint(first.left() - 1, first.bottom()));
        std::vector<Cell> cells{{xpcalc::kChartLabelColumn, label, true}};
        for (int column = firstRating; column < firstRating + kGridColumns; ++column)
            cells.push_back(
                {column, chartCellRect(row, column), xpcalc::award(xpcalc::chartRowLevel(row), column) != 0});
        g.rows.push_back(row);
        g.cells.push_back(cells);
    }
    return g;
}

const Grid &upperGrid()
{
    static const Grid g = grid(1);
    return g;
}

const Grid &lowerGrid()
{
    static const Grid g = grid(kGridColumns + 1);
    return g;
}

// The lines of lettering above a grid's first row, up to the grid above, in
// a chart drawn at a pixel ratio; in the chart's right half, clear of the
// title at the left.
std::vector<std::pair<int, int>> headerLines(const QImage &chart, bool upper)
{
    const qreal ratio = chart.devicePixelRatio();
    const int above = upper ? -1 : qCeil((upperGrid().cells.back().front().mark().bottom() + 1) * ratio) - 1;
    const int firstRow = qFloor((upper ? upperGrid() : lowerGrid()).cells.front().front().mark().top() * ratio);
    return letteredRuns(chart, QRect(QPoint(chart.width() / 2, above + 1), QPoint(chart.width() - 1, firstRow - 1)));
}

} // namespace

class AwardChartTest : public QObject {
    Q_OBJECT

    QImage m_chart;

    void addGridRows()
    {
        QTest::addColumn<bool>("upper");
        QTest::newRow("upper") << true;
        QTest::newRow("lower") << false;
    }

private slots:
    void initTestCase() { m_chart = xpcalc::awardChartImage(1.0).convertToFormat(QImage::Format_RGB32); }

    // The rows name every level once, in order; a row naming several levels
    // shows awards they all share; every award other than 0 has a cell.
    void rowsShowEveryLevelAndAward()
    {
        int next = 1;
        for (int row = 0; row < xpcalc::kChartTableRows; ++row) {
            const QStringList levels = QString::fromStdString(xpcalc::chartRowLabel(row)).split(QLatin1Char('-'));
            const int first = levels.front().toInt();
            const int last = levels.back().toInt();
            QCOMPARE(first, next);
            QCOMPARE(xpcalc::chartRowLevel(row), first);
            for (int level = first + 1; level <= last; ++level)
                QVERIFY(xpcalc::awardRow(level) == xpcalc::awardRow(first));
            next = last + 1;
            for (int column = 1; column < xpcalc::kChartTableColumns; ++column)
                QVERIFY2(xpcalc::award(first, column) == 0 || !chartCellRect(row, column).isEmpty(),
                         qPrintable(QStringLiteral("row %1, CR %2").arg(row).arg(column)));
        }
        QCOMPARE(next, xpcalc::kLevels + 1);
    }

    void hasItsSizeAndAWhiteMargin()
    {
        QCOMPARE(m_chart.size(), xpcalc::kAwardChartSize);
        const QRect inside = m_chart.rect().adjusted(1, 1, -1, -1);
        for (int y = 0; y < m_chart.height(); ++y)
            for (int x = 0; x < m_chart.width(); ++x)
                if (!inside.contains(x, y))
                    QVERIFY2(m_chart.pixelColor(x, y) == Qt::white, qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
    }

    void cellsShowExactlyTheNonZeroAwards_data() { addGridRows(); }

    // An award's number stands inside its cell, right-aligned with the rest of
    // its column; a cell whose award is 0 stays blank.
    void cellsShowExactlyTheNonZeroAwards()
    {
        QFETCH(bool, upper);
        const Grid &g = upper ? upperGrid() : lowerGrid();
        for (int column = 1; column <= kGridColumns; ++column) {
            std::vector<int> rightEdges;
            for (std::size_t i = 0; i < g.rows.size(); ++i) {
                const Cell &cell = g.cells[i][static_cast<std::size_t>(column)];
                const QString where = QStringLiteral("row %1, CR %2").arg(g.rows[i]).arg(cell.column);
                // The pixel column at the left may hold the end of the number before.
                const QRect ink = letteringIn(m_chart, cell.room.adjusted(1, 0, 0, 0));
                QVERIFY2(ink.isEmpty() != cell.lettered, qPrintable(where));
                if (cell.lettered)
                    rightEdges.push_back(letteringIn(m_chart, cell.mark()).right());
            }
            const auto [least, most] = std::minmax_element(rightEdges.begin(), rightEdges.end());
            QVERIFY2(
                *most - *least <= 1,
                qPrintable(
                    QStringLiteral("CR %1 ends at %2 to %3").arg(g.firstRating + column - 1).arg(*least).arg(*most)));
        }
    }

    void noLetteringOutsideTheCells_data() { addGridRows(); }

    // Between a grid's first and last rows, every lettered pixel belongs to a
    // label or an award: it lies where that cell's mark would cover it.
    void noLetteringOutsideTheCells()
    {
        QFETCH(bool, upper);
        const Grid &g = upper ? upperGrid() : lowerGrid();
        std::vector<QRect> marks;
        for (const std::vector<Cell> &row : g.cells)
            for (const Cell &cell : row)
                if (cell.lettered)
                    marks.push_back(cell.mark());
        const int top = g.cells.front().front().mark().top();
        const int bottom = g.cells.back().front().mark().bottom();
        for (int y = top; y <= bottom; ++y) {
            for (int x = 0; x < m_chart.width(); ++x) {
                if (!isLettering(m_chart.pixel(x, y)))
                    continue;
                const bool inACell =
                    std::any_of(marks.begin(), marks.end(), [&](const QRect &mark) { return mark.contains(x, y); });
                QVERIFY2(inACell, qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            }
        }
    }

    void neighboursStandApart_data() { addGridRows(); }

    // Cells follow their columns' order without overlapping, and a clear
    // pixel column parts neighbouring numbers, a clear pixel row the rows.
    void neighboursStandApart()
    {
        QFETCH(bool, upper);
        const Grid &g = upper ? upperGrid() : lowerGrid();
        for (std::size_t i = 0; i < g.rows.size(); ++i) {
            QRect before;
            QRect inkBefore;
            for (std::size_t j = 0; j < g.cells[i].size(); ++j) {
                const Cell &cell = g.cells[i][j];
                const QString where = QStringLiteral("row %1, column %2").arg(g.rows[i]).arg(cell.column);
                QVERIFY2(before.isNull() || cell.room.left() > before.right(), qPrintable(where));
                QVERIFY2(before.isNull() || cell.room.top() == before.top(), qPrintable(where));
                before = cell.room;
                if (!cell.lettered)
                    continue;
                const QRect ink = letteringIn(m_chart, cell.mark());
                QVERIFY2(inkBefore.isNull() || ink.left() > inkBefore.right() + 1, qPrintable(where));
                inkBefore = ink;
                if (i > 0) {
                    const Cell &above = g.cells[i - 1][j];
                    QVERIFY2(cell.room.top() > above.room.bottom(), qPrintable(where));
                    if (above.lettered)
                        QVERIFY2(ink.top() > letteringIn(m_chart, above.mark()).bottom() + 1, qPrintable(where));
                }
            }
        }
    }

    // The labels stand centred in one column, within hinting's pixel either
    // way: "1-3" no less than "4" or "20".
    void labelsCentredInTheirColumn()
    {
        std::vector<int> centres; // doubled, to stay whole
        for (const Grid *g : {&upperGrid(), &lowerGrid()}) {
            for (const std::vector<Cell> &row : g->cells) {
                const QRect ink = letteringIn(m_chart, row.front().mark());
                QVERIFY(!ink.isEmpty());
                centres.push_back(ink.left() + ink.right());
            }
        }
        const auto [least, most] = std::minmax_element(centres.begin(), centres.end());
        QVERIFY2(*most - *least <= 4, qPrintable(QStringLiteral("%1 to %2").arg(*least / 2.0).arg(*most / 2.0)));
    }

    // The lower grid, its heading first, stands wholly below the upper one,
    // parted from it by a clear pixel row at least.
    void gridsStandApart()
    {
        const int upperBottom = upperGrid().cells.back().front().mark().bottom();
        const int lowerTop = lowerGrid().cells.front().front().mark().top();
        QVERIFY(upperBottom < lowerTop);
        const std::vector<std::pair<int, int>> between =
            letteredRuns(m_chart, QRect(QPoint(0, upperBottom + 1), QPoint(m_chart.width() - 1, lowerTop - 1)));
        QVERIFY(!between.empty());
        QVERIFY2(between.front().first > upperBottom + 1, qPrintable(QString::number(between.front().first)));
    }

    void bandsBehindEveryOtherGroupOfThreeLevels_data() { addGridRows(); }

    // Grey behind levels 6 to 8, 12 to 14 and 18 to 20, in one piece across
    // each group and under the whole row; white behind the other levels.
    void bandsBehindEveryOtherGroupOfThreeLevels()
    {
        QFETCH(bool, upper);
        const Grid &g = upper ? upperGrid() : lowerGrid();
        // The design's band colour, and black lettering stays readable on it.
        const QColor band = xpcalc::paint(xpcalc::Paint::ChartBand);
        QVERIFY(xpcalc::contrastRatio(xpcalc::toRgb(band), xpcalc::paintColour(xpcalc::Paint::ChartInk)) >=
                xpcalc::kReadableContrast);
        const auto isBand = [&band](QColor colour) { return colour == band; };
        // From level 6 on, every other group of three levels.
        const auto banded = [&g](std::size_t i) {
            const int level = xpcalc::chartRowLevel(g.rows[i]);
            return level >= 6 && (level - 6) / 3 % 2 == 0;
        };
        for (std::size_t i = 0; i < g.rows.size(); ++i) {
            const QRect &label = g.cells[i].front().room;
            const int left = label.left();
            const int right = g.cells[i].back().mark().right() + 1;
            const bool nextBanded = i + 1 < g.rows.size() && banded(i + 1);
            // A band runs on through the gap to the next row of its group.
            const int bottom = banded(i) && nextBanded ? g.cells[i + 1].front().room.top() - 1 : label.bottom();
            for (int y = label.top(); y <= bottom; ++y) {
                const QString where = QStringLiteral("row %1, y %2").arg(g.rows[i]).arg(y);
                if (banded(i)) {
                    for (int x = left; x <= right; ++x)
                        QVERIFY2(m_chart.pixelColor(x, y) != Qt::white, qPrintable(where));
                } else {
                    QVERIFY2(m_chart.pixelColor(left, y) == Qt::white, qPrintable(where));
                    QVERIFY2(m_chart.pixelColor(right, y) == Qt::white, qPrintable(where));
                }
                QVERIFY2(m_chart.pixelColor(left - 1, y) == Qt::white, qPrintable(where));
            }
            if (banded(i)) {
                QVERIFY(isBand(m_chart.pixelColor(left, label.top())));
                QVERIFY(isBand(m_chart.pixelColor(right, label.bottom())));
            }
        }
    }

    // Above each grid's first row stand three lines, the heading "Challenge
    // Rating", the "CR" line and the ratings, each parted from the next by a
    // clear pixel row (the heading's descenders too) at the usual pixel ratios.
    void headerLinesStandApart_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("upper");
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            QTest::addRow("upper at %.1fx", ratio) << ratio << true;
            QTest::addRow("lower at %.1fx", ratio) << ratio << false;
        }
    }

    void headerLinesStandApart()
    {
        QFETCH(qreal, ratio);
        QFETCH(bool, upper);
        QCOMPARE(headerLines(xpcalc::awardChartImage(ratio), upper).size(), std::size_t{3});
    }

    void headerLinesSetAlike_data() { addGridRows(); }

    // The "CR" line and the ratings are set alike, no taller than the awards;
    // the heading above them is taller, its descenders whole.
    void headerLinesSetAlike()
    {
        QFETCH(bool, upper);
        const Grid &g = upper ? upperGrid() : lowerGrid();
        const std::vector<std::pair<int, int>> lines = headerLines(m_chart, upper);
        QCOMPARE(lines.size(), std::size_t{3});
        const auto height = [](const std::pair<int, int> &line) { return line.second - line.first + 1; };
        const int heading = height(lines[0]);
        const int crLine = height(lines[1]);
        const int ratings = height(lines[2]);
        int tallestAward = 0;
        for (const std::vector<Cell> &row : g.cells)
            for (std::size_t column = 1; column < row.size(); ++column)
                if (row[column].lettered)
                    tallestAward = std::max(tallestAward, letteringIn(m_chart, row[column].mark()).height());
        QCOMPARE(crLine, ratings);
        QVERIFY2(ratings <= tallestAward, qPrintable(QStringLiteral("%1 over %2").arg(ratings).arg(tallestAward)));
        QVERIFY2(heading > crLine, qPrintable(QStringLiteral("%1 over %2").arg(heading).arg(crLine)));
    }

    // The title is the top line, at the left, where the label column starts.
    void titleStandsTopLeft()
    {
        const std::vector<std::pair<int, int>> runs = letteredRuns(m_chart, m_chart.rect());
        QVERIFY(!runs.empty());
        const int top = runs.front().first;
        const QRect title = letteringIn(m_chart, QRect(0, top, m_chart.width(), 3));
        const QRect label = chartCellRect(0, xpcalc::kChartLabelColumn);
        QVERIFY2(title.left() <= label.left(), qPrintable(QString::number(title.left())));
        QVERIFY2(title.right() < m_chart.width() / 2, qPrintable(QString::number(title.right())));
    }

    void numbersInSolidDarkInk()
    {
        // Anti-aliased type squeezed into narrow columns turns grey. Here
        // every number has near-black ink, and in each grid a digit typically
        // has several pixels of it.
        std::array<std::vector<double>, 2> inkPerDigit; // upper grid, lower grid
        for (int row = 0; row < xpcalc::kChartTableRows; ++row) {
            for (int column = 1; column < xpcalc::kChartTableColumns; ++column) {
                const std::int32_t award = xpcalc::award(xpcalc::chartRowLevel(row), column);
                if (award == 0 || chartCellRect(row, column).isEmpty())
                    continue;
                const QRect cell = chartCellRect(row, column).adjusted(0, -1, 1, 1);
                int dark = 0;
                for (int y = cell.top(); y <= cell.bottom(); ++y)
                    for (int x = cell.left(); x <= cell.right(); ++x)
                        dark += qGray(m_chart.pixel(x, y)) < 96;
                QVERIFY2(dark >= 2, qPrintable(QStringLiteral("row %1, CR %2").arg(row).arg(column)));
                inkPerDigit[column <= 10 ? 0 : 1].push_back(dark / static_cast<double>(QString::number(award).size()));
            }
        }
        for (std::vector<double> &grid : inkPerDigit) {
            std::sort(grid.begin(), grid.end());
            const double median = grid[grid.size() / 2];
            QVERIFY2(median >= 3.5, qPrintable(QString::number(median)));
        }
    }

    void staysSharpOnDenseScreens()
    {
        const QImage dense = xpcalc::awardChartImage(2.0);
        QCOMPARE(dense.size(), xpcalc::kAwardChartSize * 2);
        QCOMPARE(dense.deviceIndependentSize().toSize(), xpcalc::kAwardChartSize);
        // Drawn at full resolution, not scaled up: some lettering edges are
        // one device pixel wide, which a doubled picture never has.
        int oddEdges = 0;
        for (int y = 0; y < dense.height(); ++y)
            for (int x = 1; x < dense.width(); x += 2)
                oddEdges += isLettering(dense.pixel(x - 1, y)) != isLettering(dense.pixel(x, y));
        QVERIFY(oddEdges > 100);
    }
};

QTEST_MAIN(AwardChartTest)
#include "award_chart_test.moc"
