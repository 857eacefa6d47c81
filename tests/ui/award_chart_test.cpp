// The award chart, checked by its pixels against the award table.
#include "award_chart.h"
#include "award_table.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Where the chart's parts must stand, in pixels.
struct Grid {
    const char *name;
    int firstChallengeRating;
    std::vector<int> levels; // the row of level 3 is labelled "1-3"
    std::array<int, 10> numberRightEdges;
    int firstRowTop;
    double rowPitch;
    std::vector<std::pair<int, int>> bands;
    int bandRight;
};

const Grid kUpper{"upper",
                  1,
                  {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17},
                  {44, 64, 84, 108, 131, 154, 177, 201, 224, 251},
                  37,
                  8.0,
                  {{60, 84}, {109, 132}},
                  256};
// The lower grid's rows: the bands of levels 6 and 18 start at 206 and 301.
const Grid kLower{"lower",
                  11,
                  {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
                  {46, 69, 91, 115, 138, 160, 184, 207, 229, 254},
                  192,
                  (301 - 206) / 12.0,
                  {{206, 230}, {254, 277}, {301, 324}},
                  259};

bool isLettering(QRgb pixel) { return qGray(pixel) < 150; }

// The rightmost pixel column with lettering in a box, if any.
std::optional<int> rightmostLettering(const QImage &image, QRect box)
{
    std::optional<int> right;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (isLettering(image.pixel(x, y)))
                right = std::max(right.value_or(x), x);
    return right;
}

// The pixel rows of data row `row`: its lettering is about 7 pixels high.
QRect rowBox(const Grid &grid, int row, int left, int right)
{
    const int top = grid.firstRowTop + static_cast<int>(std::lround(row * grid.rowPitch));
    return QRect(QPoint(left, top), QPoint(right, top + 6));
}

} // namespace

class AwardChartTest : public QObject {
    Q_OBJECT

    QImage m_chart;

private slots:
    void initTestCase() { m_chart = xpcalc::awardChartImage(1.0).convertToFormat(QImage::Format_RGB32); }

    void hasItsSizeAndWhiteGround()
    {
        QCOMPARE(m_chart.size(), QSize(263, 329));
        // The margins and the blank gap between the grids.
        for (int y = 0; y < m_chart.height(); ++y) {
            QCOMPARE(m_chart.pixelColor(261, y), QColor(Qt::white));
            QCOMPARE(m_chart.pixelColor(262, y), QColor(Qt::white));
        }
        for (int x = 0; x < m_chart.width(); ++x) {
            QCOMPARE(m_chart.pixelColor(x, 0), QColor(Qt::white));
            QCOMPARE(m_chart.pixelColor(x, 160), QColor(Qt::white));
            QCOMPARE(m_chart.pixelColor(x, 328), QColor(Qt::white));
        }
    }

    void bandsStandAtTheirRowsAndColumns_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("right");
        for (const Grid *grid : {&kUpper, &kLower})
            for (const auto &[first, last] : grid->bands)
                QTest::addRow("%s %d-%d", grid->name, first, last) << first << last << grid->bandRight;
    }

    void bandsStandAtTheirRowsAndColumns()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, right);
        const QColor band(0xE7, 0xE7, 0xE7);
        for (int y = first; y <= last; ++y) {
            QCOMPARE(m_chart.pixelColor(3, y), band);
            QCOMPARE(m_chart.pixelColor(right, y), band);
            QCOMPARE(m_chart.pixelColor(2, y), QColor(Qt::white));
            QCOMPARE(m_chart.pixelColor(right + 1, y), QColor(Qt::white));
        }
        // Just outside the band, where no lettering stands, the ground is white.
        for (int x : {3, 4, 5, right - 1, right}) {
            QCOMPARE(m_chart.pixelColor(x, first - 1), QColor(Qt::white));
            QCOMPARE(m_chart.pixelColor(x, last + 1), QColor(Qt::white));
        }
    }

    void cellsShowExactlyTheNonZeroAwards_data()
    {
        QTest::addColumn<bool>("upper");
        QTest::newRow("upper") << true;
        QTest::newRow("lower") << false;
    }

    void cellsShowExactlyTheNonZeroAwards()
    {
        QFETCH(bool, upper);
        const Grid *grid = upper ? &kUpper : &kLower;
        for (std::size_t row = 0; row < grid->levels.size(); ++row) {
            const int level = grid->levels[row];
            for (int column = 0; column < 10; ++column) {
                const int right = grid->numberRightEdges[static_cast<std::size_t>(column)];
                const int left = column == 0 ? 28 : grid->numberRightEdges[static_cast<std::size_t>(column - 1)] + 3;
                const QRect cell = rowBox(*grid, static_cast<int>(row), left, right + 2);
                const std::optional<int> lettering = rightmostLettering(m_chart, cell);
                const int cr = grid->firstChallengeRating + column;
                const QByteArray where = "level " + QByteArray::number(level) + ", CR " + QByteArray::number(cr);
                if (xpcalc::award(level, cr) == 0) {
                    QVERIFY2(!lettering, where.constData());
                } else {
                    QVERIFY2(lettering.has_value(), where.constData());
                    QVERIFY2(std::abs(*lettering - right) <= 2,
                             (where + ": ends at " + QByteArray::number(*lettering)).constData());
                }
            }
        }
    }

    // Every row has its label, parted by a clear pixel row from the one above.
    void everyRowHasItsLabel()
    {
        for (const Grid *grid : {&kUpper, &kLower}) {
            for (std::size_t row = 0; row < grid->levels.size(); ++row) {
                const QString where = QStringLiteral("%1 grid, row %2").arg(grid->name).arg(row);
                const QRect label = rowBox(*grid, static_cast<int>(row), 6, 26);
                QVERIFY2(rightmostLettering(m_chart, label).has_value(), qPrintable(where));
                const QRect above(QPoint(6, label.top() - 1), QPoint(26, label.top() - 1));
                QVERIFY2(!rightmostLettering(m_chart, above).has_value(), qPrintable(where));
            }
        }
    }

    void titleStandsTopLeft()
    {
        const std::optional<int> right = rightmostLettering(m_chart, QRect(QPoint(0, 3), QPoint(120, 10)));
        QVERIFY(right.has_value());
        QVERIFY2(std::abs(*right - 95) <= 2, qPrintable(QString::number(*right)));
        QVERIFY(rightmostLettering(m_chart, QRect(QPoint(2, 0), QPoint(95, 2))) == std::nullopt);
    }

    // A clear pixel row parts each grid's heading from its header row, and
    // every number is set in solid dark ink, at the usual pixel ratios.
    void headingsClearOfTheHeaderRow_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("headingTop");
        QTest::addColumn<int>("headerTop");
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            QTest::addRow("upper at %.1fx", ratio) << ratio << 13 << 21;
            QTest::addRow("lower at %.1fx", ratio) << ratio << 168 << 177;
        }
    }

    void headingsClearOfTheHeaderRow()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, headingTop);
        QFETCH(int, headerTop);
        const QImage chart = xpcalc::awardChartImage(ratio);
        const auto blankRow = [&](int y) {
            for (int x = 0; x < chart.width(); ++x)
                if (isLettering(chart.pixel(x, y)))
                    return false;
            return true;
        };
        bool parted = false;
        for (int y = qRound((headingTop + 4) * ratio); y < qRound(headerTop * ratio); ++y)
            parted = parted || blankRow(y);
        QVERIFY(parted);
    }

    // Each header line ("CR" and the challenge ratings) starts on its row and
    // is as tall as designed, or a pixel taller where hinting rounds it up.
    void headerLinesStandTheirDesignedHeight_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("height");
        QTest::newRow("upper CR") << 21 << 6;
        QTest::newRow("upper ratings") << 28 << 6;
        QTest::newRow("lower CR") << 177 << 5;
        QTest::newRow("lower ratings") << 184 << 5;
    }

    void headerLinesStandTheirDesignedHeight()
    {
        QFETCH(int, top);
        QFETCH(int, height);
        const auto inked = [&](int y) { return rightmostLettering(m_chart, QRect(QPoint(28, y), QPoint(260, y))); };
        QVERIFY(!inked(top - 1));
        int rows = 0;
        while (inked(top + rows))
            ++rows;
        QVERIFY2(rows == height || rows == height + 1, qPrintable(QString::number(rows)));
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
                const QRect cell = xpcalc::chartCellRect(row, column).adjusted(0, -1, 1, 1);
                if (award == 0 || cell.isEmpty())
                    continue;
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
        QCOMPARE(dense.size(), QSize(526, 658));
        QCOMPARE(dense.deviceIndependentSize().toSize(), QSize(263, 329));
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
