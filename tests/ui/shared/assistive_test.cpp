// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// What assistive technology and the keyboard meet beyond the design.
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

// A key pressed and released, held back as a screen reader holds it.
void postKey(QObject *to, int key)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(to, new QKeyEvent(type, key, Qt::NoModifier));
}

} // namespace

class AssistiveTest : public QObject {
    Q_OBJECT

    std::unique_ptr<xpcalc::CalculatorWindow> m_calculator;

    Calculator calculator() const { return {m_calculator.get()}; }
    QLineEdit *level() const { return calculator().level(); }
    QLineEdit *total() const { return calculator().total(); }
    void calculate(const char *count3, const char *levelText) { calculator().calculate({{3, count3}}, levelText); }

    // What a screen reader hears as the calculator's notification, if it showed.
    QString announced() const
    {
        auto *announcer = m_calculator->findChild<QWidget *>(QStringLiteral("announcer"));
        if (announcer == nullptr || !announcer->isVisible())
            return {};
        QAccessibleInterface *iface = accessible(announcer);
        return iface->role() == QAccessible::Notification ? iface->text(QAccessible::Name) : QString();
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
    void textBoxesAreOneRunOfText()
    {
        QAccessibleTextInterface *iface = accessible(total())->textInterface();
        QVERIFY(iface != nullptr);
        for (const QString &text : {QStringLiteral("0"), QStringLiteral("1600"), QString()}) {
            total()->setText(text);
            total()->selectAll();
            int start = -1;
            int end = -1;
            for (int offset = 0; offset <= text.size(); ++offset) {
                iface->attributes(offset, &start, &end);
                QCOMPARE(QPoint(start, end), QPoint(0, int(text.size())));
            }
            iface->selection(0, &start, &end);
            QCOMPARE(iface->text(start, end), text);
            QCOMPARE(accessible(total())->text(QAccessible::Value), text);
        }
    }

    void textBoxesEditThroughTheirInterface()
    {
        QLineEdit *box = calculator().count(1);
        QAccessibleEditableTextInterface *edit = accessible(box)->editableTextInterface();
        edit->insertText(1, QStringLiteral("25"));
        QCOMPARE(box->text(), QStringLiteral("025"));
        edit->replaceText(0, 1, QStringLiteral("1"));
        QCOMPARE(box->text(), QStringLiteral("125"));
        edit->deleteText(1, 9); // past the end: up to it
        QCOMPARE(box->text(), QStringLiteral("1"));
    }

    // The total is announced as calculated, again when the same (a notification
    // speaks as it comes into view); an overflow's warning speaks for itself.
    // Shift+F1 in the total announces the working.
    void announcements()
    {
        EventCounter shown(QEvent::Show);
        m_calculator->findChild<QWidget *>(QStringLiteral("announcer"))->installEventFilter(&shown);
        QCOMPARE(announced(), QString());
        calculate("2", "4");
        QCOMPARE(announced(), QStringLiteral("Total experience: 1600"));
        calculate("2", "4");
        QCOMPARE(shown.count, 2);
        calculate("3", "4");
        QCOMPARE(announced(), QStringLiteral("Total experience: 2400"));
        calculate("9e9", "4");
        QWidget *warning = QApplication::activeModalWidget();
        QVERIFY(warning != nullptr);
        warning->close();
        QCOMPARE(announced(), QStringLiteral("Total experience: 2400"));
        total()->setFocus();
        QTest::keyClick(total(), Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY2(announced().contains(QStringLiteral("3 \u00D7 800 = 2400")), qPrintable(announced()));
    }

    // The selections a Tab makes are told by the focus itself; heard too, they
    // would keep a screen reader behind the user. A selection in place is news.
    void onlyTheFocusSpeaksForATab()
    {
        std::vector<std::pair<int, bool>> selections; // of the count box of that CR: whether an echo
        for (const int cr : {2, 3}) {
            QLineEdit *b = calculator().count(cr);
            connect(b, &QLineEdit::selectionChanged, this, [&selections, b, cr] {
                const QAccessibleTextSelectionEvent event(b, b->selectionStart(), b->selectionEnd());
                selections.emplace_back(cr, xpcalc::isFocusMoveEcho(event));
            });
        }
        activate();
        calculator().count(2)->setFocus(Qt::TabFocusReason);
        selections.clear();
        QTest::keyClick(calculator().count(2), Qt::Key_Tab);
        QTest::keyClick(calculator().count(3), Qt::Key_Home, Qt::ShiftModifier);

        QVERIFY(calculator().count(3)->hasFocus());
        // Deselected on leaving, selected whole on arriving, then Shift+Home typed in the box.
        QVERIFY(selections == (std::vector<std::pair<int, bool>>{{2, true}, {3, true}, {3, false}}));
        QVERIFY(!xpcalc::isFocusMoveEcho(QAccessibleEvent(calculator().count(3), QAccessible::Focus)));
    }

    // While a screen reader runs, Qt hands a key on once it has answered for
    // it, to the control focused when it was pressed: a Return right after a
    // Tab to "Calculate Experience" would go to the box the Tab left.
    void keysTypedAheadReachTheFocus()
    {
        activate();
        for (const bool tabFirst : {true, false}) {
            level()->setFocus(Qt::TabFocusReason);
            QSignalSpy pressed(control<QPushButton>(m_calculator.get(), Role::Calculate), &QPushButton::clicked);
            if (tabFirst)
                postKey(level(), Qt::Key_Tab);
            postKey(level(), Qt::Key_Return);
            pressed.wait(1000); // a button pressed by a key shows itself down a moment first
            QVERIFY2(pressed.count() == int(tabFirst), tabFirst ? "Return after Tab" : "Return alone");
        }
    }

    // A Return typed ahead of the overflow warning answers it.
    void keysTypedAheadReachTheWarning()
    {
        activate();
        calculate("9e99", "1");
        QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                    QApplication::focusWidget()->window() == QApplication::activeModalWidget());
        postKey(level(), Qt::Key_Return);
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

    // The keys walk the chart's drawn cells as a screen reader reads them.
    void chartCellsByKeys()
    {
        const QString firstLabel = QStringLiteral("Party level 1-3");
        const struct {
            const char *keys;
            int row;
            int column;
            QString cell;
        } cases[] = {
            {"", 0, 1, "300"},                                     // where it opens
            {"Down Down Down Down Right Right", 4, 3, "525"},      // level 7, CR 3
            {"Right Home", 0, 0, firstLabel},                      // Home: the row's label
            {"Left", 0, 0, firstLabel},                            // left of the first award: the label
            {"End", 0, 10, "10800"},                               // CR 10, the last drawn for 1-3
            {"End Right", 0, 10, "10800"},                         // no CR 11 for 1-3
            {"Up", 0, 1, "300"},                                   // nothing above the first row
            {"Ctrl+End", 17, 20, "6000"},                          // level 20, CR 20
            {"Ctrl+End Home Right", 17, 11, ""},                   // no CR 10 for level 20
            {"Ctrl+End Home Right Left", 17, 0, "Party level 20"}, // left of the row's first award
            {"Ctrl+End Ctrl+Home", 0, 0, firstLabel},
            {"Ctrl+End Up Up Up Home Right Down", 14, 1, ""}, // level 17 down to 18 in CR 1: not drawn
        };
        for (const auto &[keys, row, column, cell] : cases) {
            const auto window = shownWindow<xpcalc::ChartWindow>();
            auto *chart = window->findChild<xpcalc::AwardChartView *>();
            chart->setFocus();
            for (const QString &key : QString::fromLatin1(keys).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                QTest::keyClick(chart, QKeySequence(key)[0].key(), QKeySequence(key)[0].keyboardModifiers());
            QVERIFY2(chart->currentRow() == row && chart->currentColumn() == column, keys);
            QAccessibleTableInterface *table = accessible(chart)->tableInterface();
            QCOMPARE(table->cellAt(row, column)->text(QAccessible::Name), cell);
            QVERIFY2(table->cellAt(row, column)->state().focused, keys);
            QVERIFY2(!table->cellAt(row == 0 ? 1 : 0, column)->state().focused, keys);
        }
    }

    // The current cell shows inverted while the chart has the focus, only then.
    void chartFocusMark()
    {
        const auto window = shownWindow<xpcalc::ChartWindow>();
        auto *chart = window->findChild<xpcalc::AwardChartView *>();
        const QImage unfocused = chart->grab().toImage();
        chart->setFocus();
        const QImage focused = chart->grab().toImage();
        QVERIFY(focused != unfocused);
        // Only around the current cell: rows far below it are untouched.
        QCOMPARE(focused.copy(0, 100, focused.width(), 200), unfocused.copy(0, 100, unfocused.width(), 200));
        QTest::keyClick(chart, Qt::Key_Down);
        QVERIFY(chart->grab().toImage() != focused);
        window->findChild<QPushButton *>()->setFocus();
        QCOMPARE(chart->grab().toImage(), unfocused);
    }

    // The calculator offers no maximize and keeps its one size however asked.
    void onlyTheChartMaximizes()
    {
        const Qt::WindowFlags flags = m_calculator->windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY((flags & Qt::WindowMinimizeButtonHint) && (flags & Qt::WindowCloseButtonHint));
        QVERIFY(shownWindow<xpcalc::ChartWindow>()->windowHandle()->flags() & Qt::WindowMaximizeButtonHint);
        const QSize designed = m_calculator->size();
        m_calculator->showMaximized();
        QTRY_VERIFY(!(m_calculator->windowState() & Qt::WindowMaximized));
        QTRY_COMPARE(m_calculator->size(), designed);
        QCOMPARE(m_calculator->maximumSize(), designed);
    }
};

QTEST_MAIN(AssistiveTest)
#include "assistive_test.moc"
