// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator window, driven as a user drives it.
#include "calculator_design.h"
#include "calculator_window.h"
#include "look.h"
#include "system_colours.h"
#include "window_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include <memory>

using xpcalc::CalculatorWindow;
using xpcalc::ControlRef;
using xpcalc::Role;

// The ground of labels, frames and picture boxes: the colour scheme's button
// face, whatever the desktop's theme.
const QColor kButtonFace = xpcalc::schemeColour(xpcalc::SystemColour::ButtonFace);

class CalculatorWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CalculatorWindow> m_window;
    Calculator m_calculator{nullptr};

    QLineEdit *count(int cr) const { return m_calculator.count(cr); }
    QLineEdit *total() const { return m_calculator.total(); }

private slots:
    // As at start-up: the windows' colour scheme, whatever the desktop's theme.
    void initTestCase() { xpcalc::applyColourScheme(); }

    void init()
    {
        m_window = std::make_unique<CalculatorWindow>();
        m_calculator.window = m_window.get();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // Tab walks the count boxes from CR 1, where the window opens, then the
    // level, "Calculate Experience", the total and "XP Chart", and comes round.
    void tabWalksTheBoxesThenTheButtons()
    {
        QWidgetList walk;
        for (int cr = 1; cr <= xpcalc::kChallengeRatings; ++cr)
            walk << count(cr);
        walk << m_calculator.level() << control(m_window.get(), Role::Calculate) << total()
             << control(m_window.get(), Role::ShowChart) << count(1);
        QCOMPARE(QApplication::focusWidget(), walk.front());
        for (qsizetype i = 1; i < walk.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == walk[i], qPrintable(QStringLiteral("stop %1").arg(i)));
        }
    }

    // The texts go over exactly as typed ("0" where a case has none); totals
    // worked by hand from the award table and the rules of reading an entry.
    // Each total replaces the last, never adds to it.
    void showsTheTotalOfTheTextsAsTyped()
    {
        const struct {
            QMap<int, QString> counts;
            const char *level;
            const char *total;
        } cases[] = {
            {{}, "0", "0"},                         // level 0 has no row
            {{{1, "1"}, {20, "2"}}, "20", "12000"}, // 1 x 0 + 2 x 6000
            {{{1, "3"}, {20, "2"}}, "8", "600"},    // 3 x 200 + 2 x 0
            // Blanks are skipped, a number ends where it cannot go on, halves
            // go to even: 10 x 300 + 1 x 600 + 5 x 0 at level 2.
            {{{1, " 1 0 "}, {2, "1,5"}, {11, "5"}}, "2.5", "3600"},
            {{{10, "1.5"}}, "3.5", "19200"},     // halves to even: 2 x 9600 at level 4
            {{{5, "&H10"}}, "&HC", "4800"},      // hex: 16 x 300 at level 12
            {{{1, "4"}, {2, "-1"}}, "5", "700"}, // 4 x 300 - 1 x 500
        };
        for (const auto &typed : cases) {
            for (int cr = 1; cr <= xpcalc::kChallengeRatings; ++cr) {
                count(cr)->selectAll();
                QTest::keyClicks(count(cr), typed.counts.value(cr, QStringLiteral("0")));
            }
            m_calculator.level()->selectAll();
            QTest::keyClicks(m_calculator.level(), typed.level);
            m_calculator.calculate();
            QVERIFY2(total()->text() == QLatin1String(typed.total), typed.total);
        }
    }

    void pastedLongTextIsKeptWholeAndRead()
    {
        // 100,000 characters: one digit, blanks, another digit. It reads 25.
        const QString text = QLatin1Char('2') + QString(99'998, QLatin1Char(' ')) + QLatin1Char('5');
        QApplication::clipboard()->setText(text);
        count(1)->selectAll();
        count(1)->paste();
        QCOMPARE(count(1)->text(), text);
        m_calculator.calculate({}, "1");
        QCOMPARE(total()->text(), QStringLiteral("7500"));
    }

    // A warning names what failed and its true range; the total and its
    // working stand, and the user is put in the box to change.
    void overflowIsReportedAndChangesNothing()
    {
        const QString int32 = QStringLiteral("(-2147483648 to 2147483647)");
        const struct {
            QMap<int, QString> counts;
            const char *level;
            QString where;
            QString range;
            ControlRef concerned;
        } cases[] = {
            {{{7, "2147483648"}}, "1", "CR 7", int32, {Role::Count, 7}},
            {{}, "32768", "party level", "(-32768 to 32767)", {Role::PartyLevel, 0}},
            {{{20, "357914"}}, "20", "CR 20", int32, {Role::Count, 20}}, // 357914 x 6000 passes 2^31
            // 500000 x 4000 at CR 19 fits; with 357000 x 6000 at CR 20 the sum does not.
            {{{19, "500000"}, {20, "357000"}}, "20", "CR 20", int32, {Role::Count, 20}},
        };
        for (const auto &[typed, levelText, where, range, concerned] : cases) {
            cleanup();
            init();
            m_calculator.calculate({{1, "1"}}, "1");
            QCOMPARE(total()->text(), QStringLiteral("300"));
            const QString working = total()->toolTip();

            m_calculator.calculate(typed, levelText);
            QMessageBox *box = shownWarning();
            QVERIFY(box != nullptr);
            QCOMPARE(box->windowTitle(), QStringLiteral("Kestrow's Experience Calculator"));
            QCOMPARE(box->icon(), QMessageBox::Warning);
            for (const QString &says :
                 {QStringLiteral("overflowed"), where, range, QStringLiteral("total was not changed")})
                QVERIFY2(box->text().contains(says), qPrintable(box->text()));
            QTest::keyClick(box, Qt::Key_Return);

            QCOMPARE(total()->text(), QStringLiteral("300"));
            QCOMPARE(total()->toolTip(), working);
            QVERIFY(m_window->isVisible());
            auto *concernedBox = control<QLineEdit>(m_window.get(), concerned.role, concerned.number);
            QTRY_COMPARE(m_window->focusWidget(), concernedBox);
            QCOMPARE(concernedBox->selectedText(), concernedBox->text());
        }
    }

    // The working is the total's tooltip, shown by Shift+F1 too, and its
    // description to a screen reader.
    void totalShowsTheWorking()
    {
        QVERIFY(total()->toolTip().isEmpty());
        m_calculator.calculate({{1, "1"}, {10, "2"}, {11, "5"}}, "1");
        const QString working = total()->toolTip();
        for (const char *line : {"CR 1: 1 \u00D7 300 = 300", "CR 10: 2 \u00D7 10800 = 21600"})
            QVERIFY2(working.contains(QString::fromUtf8(line)), qPrintable(working));
        QVERIFY2(!working.contains(QStringLiteral("CR 11")), qPrintable(working));
        QCOMPARE(total()->accessibleDescription(), working);
        total()->setFocus();
        QTest::keyClick(total(), Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(visibleWindows().size() > 1);

        m_calculator.calculate({}, "21");
        const QString noRow = total()->toolTip();
        QVERIFY2(noRow.contains("no row") && noRow.contains("total is 0"), qPrintable(noRow));
    }

    // Whatever the desktop's font, two digits still fit a count box.
    void countBoxesIgnoreTheDesktopFont()
    {
        const QFont desktop = QApplication::font();
        QFont large = desktop;
        large.setPointSize(18);
        QApplication::setFont(large);
        CalculatorWindow window;
        QApplication::setFont(desktop);
        auto *box = ::control<QLineEdit>(&window, Role::Count, 12);
        QVERIFY(QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("12")) < box->width() - 6);
    }

    // The ground is the scheme's active border (the export follows the design);
    // labels fill their own ground over it.
    void colours()
    {
        const QImage shown = m_window->grab().toImage();
        const auto at = [&](Role role, QPoint inside) {
            return shown.pixelColor(control(m_window.get(), role)->geometry().topLeft() + inside);
        };
        QCOMPARE(shown.pixelColor(440, 100), xpcalc::schemeColour(xpcalc::SystemColour::ActiveBorder));
        QCOMPARE(at(Role::Copyright, {2, 2}), QColor(Qt::black));
        QCOMPARE(at(Role::Version, {22, 22}), kButtonFace);
    }

    // The frame is opaque, its caption interrupting its top border's line.
    void frameCaptionInterruptsTheBorder()
    {
        auto *frame = control<QGroupBox>(m_window.get(), Role::Instructions);
        const QImage shown = frame->grab().toImage();
        const int line = QFontMetrics(frame->font()).height() / 2;
        const QColor border = shown.pixelColor(frame->width() - 20, line);
        QCOMPARE(shown.pixelColor(frame->width() / 2, 1), kButtonFace);
        QVERIFY(border != kButtonFace);
        int inked = 0;
        for (int x = 10; x < 60; ++x)
            inked += shown.pixelColor(x, line) == border;
        QVERIFY2(inked < 10, qPrintable(QString::number(inked)));
    }

    // Pictures stand at natural size from the top-left, cut off or on button face.
    void pictures()
    {
        for (const auto &[role, size] : {std::pair{Role::Title, QSize(217, 43)},
                                         {Role::TotalHeading, QSize(82, 38)},
                                         {Role::PartyLevelHeading, QSize(127, 21)}}) {
            auto *box = control<QLabel>(m_window.get(), role);
            QCOMPARE(box->pixmap().deviceIndependentSize().toSize(), size);
            const QImage shown = box->grab().toImage();
            QCOMPARE(shown.size(), box->size());
            QCOMPARE(shown.pixelColor(0, 0), QColor(132, 152, 179));
            if (box->width() > size.width())
                QCOMPARE(shown.pixelColor(box->width() - 1, 0), kButtonFace);
        }
    }
};

QTEST_MAIN(CalculatorWindowTest)
#include "calculator_window_test.moc"
