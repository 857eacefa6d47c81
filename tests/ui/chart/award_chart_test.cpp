// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The award chart, checked by what a reader sees in its pixels, and the chart
// window around it.
#include "award_chart.h"
#include "award_table.h"
#include "chart_window.h"
#include "colours.h"
#include "look.h"
#include "window_test_support.h"

#include <QLabel>
#include <QtTest>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

using xpcalc::chartCellRect;
using xpcalc::Role;

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

// The runs of pixel rows of a box that hold lettering: one a line.
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

// A cell of a grid, and whether it holds lettering (a label, an award not 0).
struct Cell {
    int column = 0; // of the chart's table: 0 the labels, then challenge ratings 1 to 20
    QRect room;
    bool lettered = false;
    // What the current cell's inverted mark covers: its lettering must stand inside.
    QRect mark() const { return room.adjusted(0, -1, 1, 1); }
};

constexpr int kGridColumns = xpcalc::kChallengeRatings / 2;

// One of the two grids: for each chart row it shows, its label and cells.
struct Grid {
    std::vector<int> rows;
    std::vector<std::vector<Cell>> cells;
};

Grid grid(int firstRating)
{
    Grid g;
    for (int row = 0; row < xpcalc::kChartTableRows; ++row) {
        const QRect first = chartCellRect(row, firstRating);
        if (first.isEmpty())
            continue;
        // The chart's table takes a level's label from the upper grid; the
        // lower grid's labels stand in the same column, left of its first column.
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

const std::array<Grid, 2> &grids()
{
    static const std::array<Grid, 2> both{grid(1), grid(kGridColumns + 1)};
    return both;
}

// The lines of lettering above a grid's first row, up to the grid above, in
// the chart's right half, clear of the title.
std::vector<std::pair<int, int>> headerLines(const QImage &chart, std::size_t g)
{
    const qreal ratio = chart.devicePixelRatio();
    const int above = g == 0 ? -1 : qCeil((grids()[0].cells.back().front().mark().bottom() + 1) * ratio) - 1;
    const int firstRow = qFloor(grids()[g].cells.front().front().mark().top() * ratio);
    return letteredRuns(chart, QRect(QPoint(chart.width() / 2, above + 1), QPoint(chart.width() - 1, firstRow - 1)));
}

QString at(int a, int b) { return QStringLiteral("%1, %2").arg(a).arg(b); }

} // namespace

class AwardChartTest : public QObject {
    Q_OBJECT

    QImage m_chart;

private slots:
    void initTestCase()
    {
        xpcalc::applyColourScheme();
        m_chart = xpcalc::awardChartImage(1.0).convertToFormat(QImage::Format_RGB32);
    }

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
                         qPrintable(at(row, column)));
        }
        QCOMPARE(next, xpcalc::kLevels + 1);
    }

    void hasItsSizeAndAWhiteMargin()
    {
        QCOMPARE(m_chart.size(), xpcalc::kAwardChartSize);
        const QRect inside = m_chart.rect().adjusted(1, 1, -1, -1);
        for (int y = 0; y < m_chart.height(); ++y)
            for (int x = 0; x < m_chart.width(); ++x)
                QVERIFY2(inside.contains(x, y) || m_chart.pixelColor(x, y) == Qt::white, qPrintable(at(x, y)));
    }

    // Awards stand in their cells, right-aligned in their columns, 0 blank;
    // a clear pixel column parts neighbouring numbers, a clear pixel row the
    // rows. The labels stand centred in one column, within hinting's pixel
    // either way. Anti-aliased type squeezed into narrow columns turns grey:
    // here every number has near-black ink, a typical digit several pixels.
    void cellsShowExactlyTheNonZeroAwardsApart()
    {
        const auto spread = [](const std::vector<int> &values) {
            const auto [least, most] = std::minmax_element(values.begin(), values.end());
            return *most - *least;
        };
        std::vector<int> labelCentres; // doubled, to stay whole
        for (const Grid &g : grids()) {
            std::map<int, std::vector<int>> rightEdges; // by column
            std::vector<double> inkPerDigit;
            for (std::size_t i = 0; i < g.rows.size(); ++i) {
                QRect before;
                QRect inkBefore;
                for (std::size_t j = 0; j < g.cells[i].size(); ++j) {
                    const Cell &cell = g.cells[i][j];
                    const QString where = at(g.rows[i], cell.column);
                    // The pixel column at the left may hold the end of the number before.
                    QVERIFY2(letteringIn(m_chart, cell.room.adjusted(1, 0, 0, 0)).isEmpty() != cell.lettered,
                             qPrintable(where));
                    QVERIFY2(before.isNull() || cell.room.left() > before.right(), qPrintable(where));
                    QVERIFY2(before.isNull() || cell.room.top() == before.top(), qPrintable(where));
                    before = cell.room;
                    if (!cell.lettered)
                        continue;
                    const QRect ink = letteringIn(m_chart, cell.mark());
                    if (j == 0) {
                        labelCentres.push_back(ink.left() + ink.right());
                    } else {
                        rightEdges[cell.column].push_back(ink.right());
                        int dark = 0;
                        for (int y = ink.top(); y <= ink.bottom(); ++y)
                            for (int x = ink.left(); x <= ink.right(); ++x)
                                dark += qGray(m_chart.pixel(x, y)) < 96;
                        QVERIFY2(dark >= 2, qPrintable(where));
                        const int award = xpcalc::award(xpcalc::chartRowLevel(g.rows[i]), cell.column);
                        inkPerDigit.push_back(dark / double(QString::number(award).size()));
                    }
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
            for (const auto &[column, edges] : rightEdges)
                QVERIFY2(spread(edges) <= 1, qPrintable(QStringLiteral("CR %1").arg(column)));
            std::sort(inkPerDigit.begin(), inkPerDigit.end());
            const double median = inkPerDigit[inkPerDigit.size() / 2];
            QVERIFY2(median >= 3.5, qPrintable(QString::number(median)));
        }
        QVERIFY2(spread(labelCentres) <= 4, qPrintable(QString::number(spread(labelCentres))));
    }

    // Within a grid, every lettered pixel lies under some cell's mark.
    void noLetteringOutsideTheCells()
    {
        for (const Grid &g : grids()) {
            std::vector<QRect> marks;
            for (const std::vector<Cell> &row : g.cells)
                for (const Cell &cell : row)
                    if (cell.lettered)
                        marks.push_back(cell.mark());
            for (int y = g.cells.front().front().mark().top(); y <= g.cells.back().front().mark().bottom(); ++y)
                for (int x = 0; x < m_chart.width(); ++x)
                    QVERIFY2(
                        !isLettering(m_chart.pixel(x, y)) ||
                            std::any_of(marks.begin(), marks.end(), [&](const QRect &m) { return m.contains(x, y); }),
                        qPrintable(at(x, y)));
        }
    }

    // Grey behind levels 6 to 8, 12 to 14 and 18 to 20, in one piece across
    // each group and under the whole row; white behind the other levels.
    void bandsBehindEveryOtherGroupOfThreeLevels()
    {
        const QColor band = xpcalc::paint(xpcalc::Paint::ChartBand);
        QVERIFY(xpcalc::contrastRatio(xpcalc::toRgb(band), xpcalc::paintColour(xpcalc::Paint::ChartInk)) >=
                xpcalc::kReadableContrast);
        for (const Grid &g : grids()) {
            const auto banded = [&g](std::size_t i) {
                const int level = xpcalc::chartRowLevel(g.rows[i]);
                return level >= 6 && (level - 6) / 3 % 2 == 0;
            };
            for (std::size_t i = 0; i < g.rows.size(); ++i) {
                const QRect &label = g.cells[i].front().room;
                const int left = label.left();
                const int right = g.cells[i].back().mark().right() + 1;
                // A band runs on through the gap to the next row of its group.
                const bool runsOn = banded(i) && i + 1 < g.rows.size() && banded(i + 1);
                const int bottom = runsOn ? g.cells[i + 1].front().room.top() - 1 : label.bottom();
                for (int y = label.top(); y <= bottom; ++y) {
                    const QString where = at(g.rows[i], y);
                    for (int x = left; x <= right; x += banded(i) ? 1 : right - left)
                        QVERIFY2((m_chart.pixelColor(x, y) == Qt::white) != banded(i), qPrintable(where));
                    QVERIFY2(m_chart.pixelColor(left - 1, y) == Qt::white, qPrintable(where));
                }
                if (banded(i)) {
                    QCOMPARE(m_chart.pixelColor(left, label.top()), band);
                    QCOMPARE(m_chart.pixelColor(right, label.bottom()), band);
                }
            }
        }
    }

    // Above each grid, three lines parted by clear pixel rows at the usual
    // ratios (the lower grid's from the upper too): the heading, taller and
    // its descenders whole, then "CR" and the ratings, alike, no taller than the awards.
    void headerLines()
    {
        for (std::size_t g = 0; g < grids().size(); ++g) {
            for (const qreal ratio : {1.5, 2.0})
                QCOMPARE(::headerLines(xpcalc::awardChartImage(ratio), g).size(), std::size_t{3});
            const std::vector<std::pair<int, int>> lines = ::headerLines(m_chart, g);
            QCOMPARE(lines.size(), std::size_t{3});
            if (g == 1) {
                const int upperBottom = grids()[0].cells.back().front().mark().bottom();
                QVERIFY2(lines[0].first > upperBottom + 1, qPrintable(at(lines[0].first, upperBottom)));
            }
            const auto height = [](const std::pair<int, int> &line) { return line.second - line.first + 1; };
            int tallestAward = 0;
            for (const std::vector<Cell> &row : grids()[g].cells)
                for (std::size_t column = 1; column < row.size(); ++column)
                    if (row[column].lettered)
                        tallestAward = std::max(tallestAward, letteringIn(m_chart, row[column].mark()).height());
            QCOMPARE(height(lines[1]), height(lines[2]));
            QVERIFY2(height(lines[2]) <= tallestAward, qPrintable(at(height(lines[2]), tallestAward)));
            QVERIFY2(height(lines[0]) > height(lines[1]), qPrintable(at(height(lines[0]), height(lines[1]))));
        }
    }

    // The title is the top line, at the left, where the label column starts.
    void titleStandsTopLeft()
    {
        const std::vector<std::pair<int, int>> runs = letteredRuns(m_chart, m_chart.rect());
        QVERIFY(!runs.empty());
        const QRect title = letteringIn(m_chart, QRect(0, runs.front().first, m_chart.width(), 3));
        QVERIFY2(title.left() <= chartCellRect(0, xpcalc::kChartLabelColumn).left(),
                 qPrintable(QString::number(title.left())));
        QVERIFY2(title.right() < m_chart.width() / 2, qPrintable(QString::number(title.right())));
    }

    // Drawn at full resolution on dense screens, not scaled up: some lettering
    // edges are one device pixel wide, which a doubled picture never has.
    void staysSharpOnDenseScreens()
    {
        const QImage dense = xpcalc::awardChartImage(2.0);
        QCOMPARE(dense.size(), xpcalc::kAwardChartSize * 2);
        QCOMPARE(dense.deviceIndependentSize().toSize(), xpcalc::kAwardChartSize);
        int oddEdges = 0;
        for (int y = 0; y < dense.height(); ++y)
            for (int x = 1; x < dense.width(); x += 2)
                oddEdges += isLettering(dense.pixel(x - 1, y)) != isLettering(dense.pixel(x, y));
        QVERIFY(oddEdges > 100);
    }

    // The window opens with the focus shown on its button; the chart stands in
    // its box's sunken border, cut off at the right, white below; resizing moves nothing.
    void chartWindow()
    {
        const auto window = shownWindow<xpcalc::ChartWindow>();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QWidget *button = control(window.get(), Role::ReturnToCalculator);
        const QImage focused = button->grab().toImage();
        button->clearFocus();
        QVERIFY(focused != button->grab().toImage());

        auto *box = control<QLabel>(window.get(), Role::Chart);
        QCOMPARE(box->frameWidth(), 2);
        QCOMPARE(box->contentsRect(), QRect(2, 2, 261, 341));
        QCOMPARE(box->pixmap().deviceIndependentSize().toSize(), xpcalc::kAwardChartSize);
        const QImage shown = box->grab().toImage();
        for (int y = 2 + xpcalc::kAwardChartSize.height(); y < 2 + 341; ++y)
            QCOMPARE(shown.pixelColor(130, y), QColor(Qt::white));
        QCOMPARE(shown.pixelColor(2 + 3, 2 + 61), xpcalc::paint(xpcalc::Paint::ChartBand)); // a band, as drawn

        std::map<QString, QRect> before;
        for (QWidget *child : window->findChildren<QWidget *>())
            before[child->objectName()] = child->geometry();
        for (const QSize size : {QSize(900, 700), QSize(200, 150), QSize(448, 369)}) {
            window->resize(size);
            QTRY_COMPARE(window->size(), size);
            for (QWidget *child : window->findChildren<QWidget *>())
                QCOMPARE(child->geometry(), before[child->objectName()]);
        }
    }
};

QTEST_MAIN(AwardChartTest)
#include "award_chart_test.moc"
