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
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <memory>

using xpcalc::CalculatorWindow;
using xpcalc::ControlRef;
using xpcalc::Role;
using Counts = QMap<int, QString>; // challenge rating -> text typed into its box

// The ground of labels, frames and picture boxes: the colour scheme's button
// face, whatever the desktop's theme.
const QColor kButtonFace = xpcalc::schemeColour(xpcalc::SystemColour::ButtonFace);

class CalculatorWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CalculatorWindow> m_window;

    template <class Widget = QWidget> Widget *control(Role role, int challengeRating = 0) const
    {
        return ::control<Widget>(m_window.get(), role, challengeRating);
    }
    QLineEdit *count(int cr) const { return control<QLineEdit>(Role::Count, cr); }
    QLineEdit *level() const { return control<QLineEdit>(Role::PartyLevel); }
    QLineEdit *total() const { return control<QLineEdit>(Role::Total); }

    void calculate() { QTest::mouseClick(control<QPushButton>(Role::Calculate), Qt::LeftButton); }
    void calculate(const Counts &counts, const QString &levelText)
    {
        for (auto typed = counts.cbegin(); typed != counts.cend(); ++typed)
            count(typed.key())->setText(typed.value());
        level()->setText(levelText);
        calculate();
    }

private slots:
    // As at start-up: the windows' colour scheme, whatever the desktop's theme.
    void initTestCase() { xpcalc::applyColourScheme(); }

    void init()
    {
        m_window = std::make_unique<CalculatorWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // The keyboard walks the count boxes from CR 1 to CR 20, then the party
    // level, "Calculate Experience", the total and "XP Chart", and comes
    // round to CR 1, where the window opens.
    void tabWalksTheBoxesThenTheButtons()
    {
        QWidgetList walk;
        for (int cr = 1; cr <= xpcalc::kChallengeRatings; ++cr)
            walk << count(cr);
        walk << level() << control(Role::Calculate) << total() << control(Role::ShowChart) << count(1);
        QCOMPARE(QApplication::focusWidget(), walk.front());
        for (qsizetype i = 1; i < walk.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == walk[i], qPrintable(QStringLiteral("stop %1").arg(i)));
        }
    }

    // The window hands the texts over exactly as typed and shows the total.
    // Each row's total is worked by hand from the award table and the rules
    // of reading an entry: blanks are skipped, the number ends at the first
    // character that cannot continue it, halves round to even, "&H" is hex,
    // and only levels 1 to 20 have a row.
    void showsTheTotalOfTheTextsAsTyped()
    {
        const struct {
            Counts counts;
            const char *level;
            const char *total;
        } cases[] = {
            // Level 0 has no row: nothing is earned.
            {{}, "0", "0"},
            // Level 20: CR 1 earns nothing, CR 20 6000: 1 x 0 + 2 x 6000.
            {{{1, "1"}, {20, "2"}}, "20", "12000"},
            // Level 8: CR 1 earns 200, CR 20 nothing: 3 x 200 + 2 x 0.
            {{{1, "3"}, {20, "2"}}, "8", "600"},
            // " 1 0 " is 10, "1,5" is 1 and level "2.5" is 2, whose row gives CR 1
            // 300, CR 2 600 and CR 11 nothing: 10 x 300 + 1 x 600 + 5 x 0.
            {{{1, " 1 0 "}, {2, "1,5"}, {11, "5"}}, "2.5", "3600"},
            // "1.5" is 2 and level "3.5" is 4, where CR 10 earns 9600: 2 x 9600.
            {{{10, "1.5"}}, "3.5", "19200"},
            // "&H10" is 16 and level "&HC" is 12, where CR 5 earns 300: 16 x 300.
            {{{5, "&H10"}}, "&HC", "4800"},
            // Level 5: CR 1 earns 300, CR 2 500: 4 x 300 - 1 x 500.
            {{{1, "4"}, {2, "-1"}}, "5", "700"},
        };
        for (const auto &typed : cases) {
            for (int cr = 1; cr <= xpcalc::kChallengeRatings; ++cr) {
                count(cr)->selectAll();
                QTest::keyClicks(count(cr), typed.counts.value(cr, QStringLiteral("0")));
            }
            level()->selectAll();
            QTest::keyClicks(level(), typed.level);
            calculate();
            QVERIFY2(total()->text() == QLatin1String(typed.total), typed.total);
        }
    }

    // Level 14 earns 1050 at CR 10: once, however often calculated, and
    // whatever the user typed into the total.
    void totalIsReplacedNeverAddedTo()
    {
        calculate({{10, "1"}}, "14");
        calculate();
        QCOMPARE(total()->text(), QStringLiteral("1050"));
        total()->selectAll();
        QTest::keyClicks(total(), "99999");
        QCOMPARE(total()->text(), QStringLiteral("99999"));
        calculate();
        QCOMPARE(total()->text(), QStringLiteral("1050"));
    }

    void pastedLongTextIsKeptWholeAndRead()
    {
        // 100,000 characters: one digit, blanks, another digit. It reads 25.
        const QString text = QLatin1Char('2') + QString(99'998, QLatin1Char(' ')) + QLatin1Char('5');
        QApplication::clipboard()->setText(text);
        count(1)->selectAll();
        count(1)->paste();
        QCOMPARE(count(1)->text(), text);
        level()->setText("1");
        calculate();
        QCOMPARE(total()->text(), QStringLiteral("7500"));
    }

    void overflowIsReportedAndChangesNothing()
    {
        const QString int32 = QStringLiteral("(-2147483648 to 2147483647)");
        const struct {
            Counts counts;
            const char *level;
            QString where;
            QString range;        // the true range of what failed
            ControlRef concerned; // the box the user is put in to change
        } cases[] = {
            {{{7, "2147483648"}}, "1", "CR 7", int32, {Role::Count, 7}},
            {{}, "32768", "party level", "(-32768 to 32767)", {Role::PartyLevel, 0}},
            // Level 20, CR 20: 357914 x 6000 passes 2^31.
            {{{20, "357914"}}, "20", "CR 20", int32, {Role::Count, 20}},
            // Level 20: 500000 x 4000 at CR 19 fits, and with 357000 x 6000 at CR
            // 20 the sum passes 2^31 there.
            {{{19, "500000"}, {20, "357000"}}, "20", "CR 20", int32, {Role::Count, 20}},
        };
        for (const auto &[typed, levelText, where, range, concerned] : cases) {
            cleanup();
            init();
            // A first, good calculation sets the total and its working.
            calculate({{1, "1"}}, "1");
            QCOMPARE(total()->text(), QStringLiteral("300"));
            const QString working = total()->toolTip();

            calculate(typed, levelText);
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
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
            auto *concernedBox = control<QLineEdit>(concerned.role, concerned.number);
            QTRY_COMPARE(m_window->focusWidget(), concernedBox);
            QCOMPARE(concernedBox->selectedText(), concernedBox->text());
        }
    }

    // The working shows as the total's tooltip, and reaches the keyboard
    // too: Shift+F1 in the total shows it, and a screen reader reads it as
    // the total's description.
    void totalShowsTheWorking()
    {
        QVERIFY(total()->toolTip().isEmpty());
        calculate({{1, "1"}, {10, "2"}, {11, "5"}}, "1");
        const QString working = total()->toolTip();
        QVERIFY2(working.contains(QStringLiteral("CR 1: 1 \u00D7 300 = 300")), qPrintable(working));
        QVERIFY2(working.contains(QStringLiteral("CR 10: 2 \u00D7 10800 = 21600")), qPrintable(working));
        QVERIFY2(!working.contains(QStringLiteral("CR 11")), qPrintable(working));
        QCOMPARE(total()->accessibleDescription(), working);
        total()->setFocus();
        QTest::keyClick(total(), Qt::Key_F1, Qt::ShiftModifier);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::any_of(windows.begin(), windows.end(),
                            [this](const QWidget *w) { return w != m_window.get() && w->isVisible(); }));

        calculate({}, "21");
        const QString noRow = total()->toolTip();
        QVERIFY2(noRow.contains("no row") && noRow.contains("total is 0"), qPrintable(noRow));
    }

    // The count boxes keep the window font's fixed size, whatever font the
    // desktop asks for, so that two digits still fit their width.
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

    // The window's ground is the scheme's active border, as the program's
    // own colour, not as the design's export (which follows the design) says.
    void colours()
    {
        QCOMPARE(m_window->grab().toImage().pixelColor(440, 100),
                 xpcalc::schemeColour(xpcalc::SystemColour::ActiveBorder));
        QCOMPARE(control(Role::Copyright)->grab().toImage().pixelColor(2, 2), QColor(Qt::black));
        QCOMPARE(control(Role::Version)->grab().toImage().pixelColor(22, 22), kButtonFace);
    }

    // The frame is opaque, and its caption stands in its top border: the
    // border's line runs to the right of the caption but not through it.
    void frameCaptionInterruptsTheBorder()
    {
        auto *frame = control<QGroupBox>(Role::Instructions);
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

    // Pictures stand at natural size from the top-left; where a box is larger,
    // button face shows; where smaller, the picture is cut off.
    void pictures()
    {
        for (const auto &[role, size] :
             {std::pair{Role::Title, QSize(217, 43)}, std::pair{Role::TotalHeading, QSize(82, 38)},
              std::pair{Role::PartyLevelHeading, QSize(127, 21)}}) {
            auto *box = control<QLabel>(role);
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
