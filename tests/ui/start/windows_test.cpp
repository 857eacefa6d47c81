// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Start-up, switching between the two windows, and ending the program.
#include "look.h"
#include "resident_memory.h"
#include "start_up.h"
#include "system_colours.h"
#include "window_switching.h"
#include "window_test_support.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmapCache>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using xpcalc::calculatorWindow;
using xpcalc::chartWindow;

namespace {

QWidgetList visibleWindows()
{
    QWidgetList visible;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            visible << window;
    return visible;
}

// Lets unloaded windows be destroyed, as the event loop would.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void click(xpcalc::SwitchedWindow &form, const char *button)
{
    QTest::mouseClick(control<QPushButton>(form.window(), QLatin1String(button)), Qt::LeftButton);
}

// Every text of a window against the ground it stands on, where it is too faint to read.
QStringList faintTexts(const QWidget *window)
{
    QStringList faint;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        QPalette::ColorRole text = QPalette::WindowText;
        QPalette::ColorRole ground = QPalette::Window;
        if (qobject_cast<const QLineEdit *>(w) != nullptr) {
            text = QPalette::Text;
            ground = QPalette::Base;
        } else if (qobject_cast<const QPushButton *>(w) != nullptr) {
            text = QPalette::ButtonText;
            ground = QPalette::Button;
        } else if (const auto *label = qobject_cast<const QLabel *>(w); label != nullptr && label->text().isEmpty()) {
            continue; // a picture
        }
        const double ratio =
            xpcalc::contrastRatio(xpcalc::toRgb(w->palette().color(text)), xpcalc::toRgb(w->palette().color(ground)));
        if (ratio < 4.5)
            faint << QStringLiteral("%1 (%2:1)").arg(w->objectName()).arg(ratio, 0, 'f', 2);
    }
    return faint;
}

void toChartAndBack()
{
    click(calculatorWindow(), "Command2");
    click(chartWindow(), "Command1");
    settle();
}

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    bool m_lastWindowClosed = false;

private slots:
    void initTestCase()
    {
        // Qt's styles keep drawn pieces of controls in a bounded pixmap cache
        // (10 MB unless told otherwise), which fills as new windows are drawn.
        // A small bound lets the round-trip test look past that cache.
        QPixmapCache::setCacheLimit(1024);
        connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] { m_lastWindowClosed = true; });
    }

    void init()
    {
        m_lastWindowClosed = false;
        xpcalc::startUp();
        QVERIFY(QTest::qWaitForWindowExposed(calculatorWindow().window()));
    }

    void cleanup()
    {
        calculatorWindow().unload();
        chartWindow().unload();
        settle();
    }

    void startsOnTheCalculatorAlone()
    {
        QVERIFY(calculatorWindow().isLoaded());
        QVERIFY(!chartWindow().isLoaded());
        QCOMPARE(visibleWindows(), QWidgetList{calculatorWindow().window()});
        QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.01"));
        QVERIFY(!calculatorWindow().window()->windowIcon().isNull());
    }

    void chartAndBackBringsAFreshCalculator()
    {
        QWidget *calculator = calculatorWindow().window();
        control<QLineEdit>(calculator, QStringLiteral("cr3"))->setText(QStringLiteral("2"));
        control<QLineEdit>(calculator, QStringLiteral("cr20"))->setText(QStringLiteral("7"));
        control<QLineEdit>(calculator, QStringLiteral("party"))->setText(QStringLiteral("4"));
        click(calculatorWindow(), "Command1");
        QCOMPARE(control<QLineEdit>(calculator, QStringLiteral("totalxp"))->text(), QStringLiteral("1600"));

        click(calculatorWindow(), "Command2");
        QVERIFY(!calculatorWindow().isLoaded());
        QVERIFY(chartWindow().isLoaded());
        QCOMPARE(visibleWindows(), QWidgetList{chartWindow().window()});
        QVERIFY(!chartWindow().window()->windowIcon().isNull());

        click(chartWindow(), "Command1");
        settle();
        QCOMPARE(visibleWindows(), QWidgetList{calculatorWindow().window()});
        const auto boxes = calculatorWindow().window()->findChildren<QLineEdit *>();
        QCOMPARE(boxes.size(), 22);
        for (const QLineEdit *box : boxes)
            QCOMPARE(box->text(), QStringLiteral("0"));
        QVERIFY(!m_lastWindowClosed);
    }

    // Return and keypad Enter press the focused button, as on Windows, and
    // Space still does: on each of the three buttons.
    void keysPressTheFocusedButton_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("Space") << Qt::Key_Space << Qt::KeyboardModifiers();
    }

    void keysPressTheFocusedButton()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        const auto press = [&](xpcalc::SwitchedWindow &form, const char *name) {
            auto *button = control<QPushButton>(form.window(), QLatin1String(name));
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, key, modifiers);
        };

        QWidget *calculator = calculatorWindow().window();
        control<QLineEdit>(calculator, QStringLiteral("cr3"))->setText(QStringLiteral("2"));
        control<QLineEdit>(calculator, QStringLiteral("party"))->setText(QStringLiteral("4"));
        press(calculatorWindow(), "Command1");
        QTRY_COMPARE(control<QLineEdit>(calculator, QStringLiteral("totalxp"))->text(), QStringLiteral("1600"));

        press(calculatorWindow(), "Command2");
        QTRY_VERIFY(chartWindow().isLoaded() && !calculatorWindow().isLoaded());
        settle();
        press(chartWindow(), "Command1");
        QTRY_VERIFY(calculatorWindow().isLoaded() && !chartWindow().isLoaded());
    }

    // A dark desktop theme does not reach the windows: every text keeps its
    // contrast against its ground.
    void textsStayReadableUnderADarkDesktopTheme()
    {
        calculatorWindow().unload();
        settle();
        const QPalette desktop = QApplication::palette();
        QPalette dark(QColor(230, 230, 230), QColor(50, 50, 50), QColor(80, 80, 80), QColor(20, 20, 20),
                      QColor(40, 40, 40), QColor(230, 230, 230), Qt::white, QColor(30, 30, 30), QColor(50, 50, 50));
        QApplication::setPalette(dark);
        xpcalc::startUp();
        const QStringList faintOnCalculator = faintTexts(calculatorWindow().window());
        click(calculatorWindow(), "Command2");
        const QStringList faintOnChart = faintTexts(chartWindow().window());
        QApplication::setPalette(desktop);
        QVERIFY2(faintOnCalculator.isEmpty(), qPrintable(faintOnCalculator.join(", ")));
        QVERIFY2(faintOnChart.isEmpty(), qPrintable(faintOnChart.join(", ")));
    }

    void manyRoundTripsLeaveOneWindowAndGrowNothing()
    {
        for (int i = 0; i < 300; ++i) // fill the caches first
            toChartAndBack();
        const auto widgets = QApplication::allWidgets().size();
        const long memory = residentKiB();
        for (int i = 0; i < 1000; ++i) {
            toChartAndBack();
            QCOMPARE(visibleWindows().size(), 1);
        }
        QCOMPARE(QApplication::topLevelWidgets().size(), 1);
        QCOMPARE(QApplication::allWidgets().size(), widgets);
        QVERIFY(!m_lastWindowClosed);
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer holds freed memory back; its leak check covers this build");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        QSKIP("the address sanitizer holds freed memory back; its leak check covers this build");
#endif
#endif
        // A thousand windows' worth would be tens of megabytes.
        QVERIFY2(residentKiB() - memory < 1024, qPrintable(QString::number(residentKiB() - memory)));
    }

    // The pictures and icons built into the program carry no file times, so
    // that two builds of the same sources are alike byte for byte.
    void embeddedPicturesCarryNoTimeStamp()
    {
        int pictures = 0;
        for (QDirIterator it(QStringLiteral(":/assets"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            QVERIFY2(!QFileInfo(path).lastModified().isValid(), qPrintable(path));
            ++pictures;
        }
        QCOMPARE(pictures, 12); // three pictures at two sizes, the icon at six
    }

    void closingTheChartEndsTheProgram()
    {
        click(calculatorWindow(), "Command2");
        QWidget *chart = chartWindow().window();
        QVERIFY(QTest::qWaitForWindowExposed(chart));
        QTimer::singleShot(0, chart, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // not ended: fail
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(m_lastWindowClosed);
        settle();
        QVERIFY(!chartWindow().isLoaded());
    }

    void closingTheCalculatorEndsTheProgram()
    {
        QWidget *calculator = calculatorWindow().window();
        QTimer::singleShot(0, calculator, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(m_lastWindowClosed);
        settle();
        QVERIFY(!calculatorWindow().isLoaded());
    }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
