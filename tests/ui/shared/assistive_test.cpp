// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// What assistive technology and the keyboard meet beyond the design: text
// boxes read whole, the total and the working announced, the chart walked
// cell by cell, and a calculator no title bar can resize.
#include "accessibility.h"
#include "award_chart_view.h"
#include "calculator_window.h"
#include "chart_window.h"
#include "look.h"
#include "text_box.h"
#include "window_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

using xpcalc::Role;

namespace {

QAccessibleInterface *accessible(QObject *object) { return QAccessible::queryAccessibleInterface(object); }

// What a screen reader hears as the window's notification, if it showed.
QString announced(const QWidget *window)
{
    const auto *announcer = window->findChild<QWidget *>(QStringLiteral("announcer"));
    if (announcer == nullptr || !announcer->isVisible())
        return {};
    QAccessibleInterface *iface = accessible(const_cast<QWidget *>(announcer)); // NOLINT
    return iface->role() == QAccessible::Notification ? iface->text(QAccessible::Name) : QString();
}

// Counts the events of one type that reach the objects it watches.
struct EventCounter : QObject {
    explicit EventCounter(QEvent::Type counted) : type(counted) {}
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        count += event->type() == type;
        return false;
    }
    QEvent::Type type;
    int count = 0;
};

} // namespace

class AssistiveTest : public QObject {
    Q_OBJECT

    std::unique_ptr<xpcalc::CalculatorWindow> m_calculator;

    QLineEdit *box(Role role, int challengeRating = 0) const
    {
        return control<QLineEdit>(m_calculator.get(), role, challengeRating);
    }
    QLineEdit *count(int cr) const { return box(Role::Count, cr); }
    QLineEdit *level() const { return box(Role::PartyLevel); }
    QLineEdit *total() const { return box(Role::Total); }
    QPushButton *calculateButton() const { return control<QPushButton>(m_calculator.get(), Role::Calculate); }

    void calculate(const char *count3, const char *levelText)
    {
        count(3)->setText(QLatin1String(count3));
        level()->setText(QLatin1String(levelText));
        calculateButton()->click();
    }

    // The keyboard's window, as on a desktop.
    void activate()
    {
        m_calculator->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_calculator.get()));
    }

private slots:
    void initTestCase()
    {
        xpcalc::applyColourScheme();
        xpcalc::installAccessibility();
    }

    void init() { m_calculator = shownWindow<xpcalc::CalculatorWindow>(); }
    void cleanup() { m_calculator.reset(); }

    // Qt's own interface reports a run of no characters at each offset; a
    // screen reader splitting the text by runs then drops its last character.
    void textBoxesAreOneRunOfText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one digit") << QStringLiteral("0");
        QTest::newRow("a total") << QStringLiteral("1600");
        QTest::newRow("empty") << QString();
    }
    void textBoxesAreOneRunOfText()
    {
        QFETCH(QString, text);
        QLineEdit *box = total();
        box->setText(text);
        box->selectAll();
        QAccessibleTextInterface *iface = accessible(box)->textInterface();
        QVERIFY(iface != nullptr);
        for (int offset = 0; offset <= text.size(); ++offset) {
            int start = -1;
            int end = -1;
            iface->attributes(offset, &start, &end);
            QCOMPARE(start, 0);
            QCOMPARE(end, text.size());
        }
        int start = -1;
        int end = -1;
        iface->selection(0, &start, &end);
        QCOMPARE(iface->text(start, end), text);
        QCOMPARE(accessible(box)->text(QAccessible::Value), text);
    }

    void textBoxesEditThroughTheirInterface()
    {
        QLineEdit *box = count(1);
        QAccessibleEditableTextInterface *edit = accessible(box)->editableTextInterface();
        edit->insertText(1, QStringLiteral("25"));
        QCOMPARE(box->text(), QStringLiteral("025"));
        edit->replaceText(0, 1, QStringLiteral("1"));
        QCOMPARE(box->text(), QStringLiteral("125"));
        edit->deleteText(1, 9); // past the end: up to it
        QCOMPARE(box->text(), QStringLiteral("1"));
    }

    void calculateAnnouncesTheTotal()
    {
        QCOMPARE(announced(m_calculator.get()), QString());
        calculate("2", "4");
        QCOMPARE(announced(m_calculator.get()), QStringLiteral("Total experience: 1600"));
        calculate("3", "4");
        QCOMPARE(announced(m_calculator.get()), QStringLiteral("Total experience: 2400"));
    }

    // A screen reader speaks the notification as it comes into view, so the
    // same total calculated again must come into view again.
    void theSameTotalIsAnnouncedAgain()
    {
        EventCounter shown(QEvent::Show);
        auto *announcer = m_calculator->findChild<QWidget *>(QStringLiteral("announcer"));
        QVERIFY(announcer != nullptr);
        announcer->installEventFilter(&shown);
        calculate("2", "4");
        calculate("2", "4");
        QCOMPARE(shown.count, 2);
    }

    void anOverflowAnnouncesNothingOfItsOwn()
    {
        calculate("2", "4");
        // The warning box speaks for itself; the last total stands.
        calculate("9e9", "4");
        QWidget *warning = QApplication::activeModalWidget();
        QVERIFY(warning != nullptr);
        warning->close();
        QCOMPARE(announced(m_calculator.get()), QStringLiteral("Total experience: 1600"));
    }

    void shiftF1AnnouncesTheWorking()
    {
        calculate("2", "4");
        total()->setFocus();
        QTest::keyClick(total(), Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY2(announced(m_calculator.get()).contains(QStringLiteral("2 \u00D7 800 = 1600")),
                 qPrintable(announced(m_calculator.get())));
    }

    // Tabbing from box to box deselects one and selects the other: events a
    // screen reader learns from the focus itself, and that would keep it
    // behind a user tabbing at a steady pace. A selection made in a box that
    // has the focus is news.
    void onlyTheFocusSpeaksForATab()
    {
        struct Selection {
            int challengeRating; // of the count box
            bool echo;
            bool operator==(const Selection &other) const
            {
                return challengeRating == other.challengeRating && echo == other.echo;
            }
        };
        std::vector<Selection> selections;
        for (const int cr : {2, 3}) {
            QLineEdit *b = count(cr);
            connect(b, &QLineEdit::selectionChanged, this, [&selections, b, cr] {
                const QAccessibleTextSelectionEvent event(b, b->selectionStart(), b->selectionEnd());
                selections.push_back({cr, xpcalc::isFocusMoveEcho(event)});
            });
        }
        activate();
        count(2)->setFocus(Qt::TabFocusReason);
        selections.clear();
        QTest::keyClick(count(2), Qt::Key_Tab);
        QTest::keyClick(count(3), Qt::Key_Home, Qt::ShiftModifier);

        QVERIFY(count(3)->hasFocus());
        const std::vector<Selection> expected{
            {2, true},  // deselected on leaving
            {3, true},  // selected whole on arriving
            {3, false}, // Shift+Home, typed in the box
        };
        QVERIFY(selections == expected);
        QVERIFY(!xpcalc::isFocusMoveEcho(QAccessibleEvent(count(3), QAccessible::Focus)));
    }

    // While a screen reader runs, Qt hands each key on only once the screen
    // reader has answered for it, to the control that had the focus when it
    // was pressed: a Return typed right after the Tab to "Calculate
    // Experience" is handed to the party level box the Tab left.
    void keysTypedAheadReachTheFocus_data()
    {
        QTest::addColumn<bool>("tabFirst");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Return after Tab presses the button") << true << 1;
        QTest::newRow("Return alone stays in the box") << false << 0;
    }
    void keysTypedAheadReachTheFocus()
    {
        QFETCH(bool, tabFirst);
        QFETCH(int, clicks);
        activate();
        QLineEdit *levelBox = level();
        levelBox->setFocus(Qt::TabFocusReason);
        QSignalSpy pressed(calculateButton(), &QPushButton::clicked);
        const auto hold = [levelBox](QEvent::Type type, int key) {
            QCoreApplication::postEvent(levelBox, new QKeyEvent(type, key, Qt::NoModifier));
        };
        if (tabFirst) {
            hold(QEvent::KeyPress, Qt::Key_Tab);
            hold(QEvent::KeyRelease, Qt::Key_Tab);
        }
        hold(QEvent::KeyPress, Qt::Key_Return);
        hold(QEvent::KeyRelease, Qt::Key_Return);
        pressed.wait(1000); // a button pressed by a key shows itself down a moment first
        QCOMPARE(pressed.count(), clicks);
    }

    // A Return typed ahead while Calculate opens the overflow warning answers
    // the warning, rather than going to the box behind it.
    void keysTypedAheadReachTheWarning()
    {
        activate();
        count(1)->setText(QStringLiteral("9e99"));
        level()->setText(QStringLiteral("1"));
        calculateButton()->click();
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                    QApplication::focusWidget()->window() == QApplication::activeModalWidget());
        QCoreApplication::postEvent(level(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        QCoreApplication::postEvent(level(), new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier));
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(level()->text(), QStringLiteral("1"));
    }

    // A key the box has no use for goes on to its window, once.
    void keysTypedAheadGoOnToTheWindow()
    {
        EventCounter keys(QEvent::KeyPress);
        activate();
        level()->setFocus(Qt::TabFocusReason);
        m_calculator->installEventFilter(&keys);
        QCoreApplication::postEvent(level(), new QKeyEvent(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier));
        QCoreApplication::processEvents();
        QCOMPARE(keys.count, 1);
    }

    // The keyboard walks the chart as a screen reader reads it: the row's
    // label, then its awards; only the cells the chart draws.
    void chartCellsByKeys_data()
    {
        QTest::addColumn<QList<int>>("keys"); // key, modifiers, key, modifiers, ...
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cell");
        const auto keys = [](std::initializer_list<int> list) { return QList<int>(list); };
        const int none = Qt::NoModifier;
        QTest::newRow("opens on level 1-3, CR 1") << keys({}) << 0 << 1 << "300";
        QTest::newRow("level 7, CR 3") << keys({Qt::Key_Down, none, Qt::Key_Down, none, Qt::Key_Down, none,
                                                Qt::Key_Down, none, Qt::Key_Right, none, Qt::Key_Right, none})
                                       << 4 << 3 << "525";
        QTest::newRow("Home: the row's label")
            << keys({Qt::Key_Right, none, Qt::Key_Home, none}) << 0 << 0 << "Party level 1-3";
        QTest::newRow("left of the first award: the label")
            << keys({Qt::Key_Left, none}) << 0 << 0 << "Party level 1-3";
        QTest::newRow("End of 1-3: CR 10, the last drawn") << keys({Qt::Key_End, none}) << 0 << 10 << "10800";
        QTest::newRow("no CR 11 for 1-3") << keys({Qt::Key_End, none, Qt::Key_Right, none}) << 0 << 10 << "10800";
        QTest::newRow("nothing above the first row") << keys({Qt::Key_Up, none}) << 0 << 1 << "300";
        QTest::newRow("Ctrl+End: level 20, CR 20") << keys({Qt::Key_End, Qt::ControlModifier}) << 17 << 20 << "6000";
        QTest::newRow("no CR 10 for level 20")
            << keys({Qt::Key_End, Qt::ControlModifier, Qt::Key_Home, none, Qt::Key_Right, none}) << 17 << 11 << "";
        QTest::newRow("Ctrl+Home: the first label")
            << keys({Qt::Key_End, Qt::ControlModifier, Qt::Key_Home, Qt::ControlModifier}) << 0 << 0
            << "Party level 1-3";
        QTest::newRow("level 17 down to 18 in CR 1: not drawn")
            << keys({Qt::Key_End, Qt::ControlModifier, Qt::Key_Up, none, Qt::Key_Up, none, Qt::Key_Up, none,
                     Qt::Key_Home, none, Qt::Key_Right, none, Qt::Key_Down, none})
            << 14 << 1 << "";
    }
    void chartCellsByKeys()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, cell);
        xpcalc::ChartWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *chart = window.findChild<xpcalc::AwardChartView *>();
        chart->setFocus();
        for (int i = 0; i + 1 < keys.size(); i += 2)
            QTest::keyClick(chart, static_cast<Qt::Key>(keys[i]), static_cast<Qt::KeyboardModifiers>(keys[i + 1]));
        QCOMPARE(chart->currentRow(), row);
        QCOMPARE(chart->currentColumn(), column);
        QAccessibleInterface *current = accessible(chart)->tableInterface()->cellAt(row, column);
        QCOMPARE(current->text(QAccessible::Name), cell);
        QVERIFY(current->state().focused);
        QVERIFY(!accessible(chart)->tableInterface()->cellAt(row == 0 ? 1 : 0, column)->state().focused);
    }

    // The current cell shows inverted while the chart has the focus;
    // without it, the chart is exactly as drawn.
    void chartFocusMark()
    {
        xpcalc::ChartWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *chart = window.findChild<xpcalc::AwardChartView *>();
        const QImage unfocused = chart->grab().toImage();
        chart->setFocus();
        const QImage focused = chart->grab().toImage();
        QVERIFY(focused != unfocused);
        // Only around the current cell: rows far below it are untouched.
        QCOMPARE(focused.copy(0, 100, focused.width(), 200), unfocused.copy(0, 100, unfocused.width(), 200));
        QTest::keyClick(chart, Qt::Key_Down);
        QVERIFY(chart->grab().toImage() != focused);
        window.findChild<QPushButton *>()->setFocus();
        QCOMPARE(chart->grab().toImage(), unfocused);
    }

    // Fixed in size, so no title bar offers to maximize it.
    void onlyTheChartOffersToMaximize()
    {
        QVERIFY(!(m_calculator->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(m_calculator->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(m_calculator->windowFlags() & Qt::WindowCloseButtonHint);
        xpcalc::ChartWindow chart;
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QVERIFY(chart.windowHandle()->flags() & Qt::WindowMaximizeButtonHint);
    }

    // However it is asked, it comes back at its one size.
    void refusesToStayMaximized()
    {
        const QSize designed = m_calculator->size();
        m_calculator->showMaximized();
        QTRY_VERIFY(!(m_calculator->windowState() & Qt::WindowMaximized));
        QTRY_COMPARE(m_calculator->size(), designed);
        QCOMPARE(m_calculator->maximumSize(), designed);
    }
};

QTEST_MAIN(AssistiveTest)
#include "assistive_test.moc"
