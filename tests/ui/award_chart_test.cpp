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
                const QRect cell = rowBox(*grid, static_cast<int>(row), left, right + 4);
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

    void everyRowHasItsLabel()
    {
        for (const Grid *grid : {&kUpper, &kLower}) {
            for (std::size_t row = 0; row < grid->levels.size(); ++row) {
                const QRect label = rowBox(*grid, static_cast<int>(row), 6, 26);
                QVERIFY2(rightmostLettering(m_chart, label).has_value(),
                         qPrintable(QStringLiteral("%1 grid, row %2").arg(grid->name).arg(row)));
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
