// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Start-up, switching between the two windows, the user's walk through
// both, and ending the program.
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
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <string>

using nlohmann::json;
using xpcalc::calculatorWindow;
using xpcalc::chartWindow;
using xpcalc::Role;

namespace {

// Lets unloaded windows be destroyed, as the event loop would.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void click(xpcalc::SwitchedWindow &form, Role button)
{
    QTest::mouseClick(control<QPushButton>(form.window(), button), Qt::LeftButton);
}

// Every text of a window against the ground it stands on, where it is too faint to read.
QStringList faintTexts(const QWidget *window)
{
    QStringList faint;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<const QLabel *>(w);
        if (label != nullptr && label->text().isEmpty())
            continue; // a picture
        const bool box = qobject_cast<const QLineEdit *>(w) != nullptr;
        const bool button = qobject_cast<const QPushButton *>(w) != nullptr;
        const QPalette::ColorRole text = box ? QPalette::Text : button ? QPalette::ButtonText : QPalette::WindowText;
        const QPalette::ColorRole ground = box ? QPalette::Base : button ? QPalette::Button : QPalette::Window;
        const double ratio =
            xpcalc::contrastRatio(xpcalc::toRgb(w->palette().color(text)), xpcalc::toRgb(w->palette().color(ground)));
        if (ratio < 4.5)
            faint << QStringLiteral("%1 (%2:1)").arg(w->objectName()).arg(ratio, 0, 'f', 2);
    }
    return faint;
}

void toChartAndBack()
{
    click(calculatorWindow(), Role::ShowChart);
    click(chartWindow(), Role::ReturnToCalculator);
    settle();
}

QString qs(const json &text) { return QString::fromStdString(text.get<std::string>()); }

// The user's walk (tools/scenario.json) on the windows as the program loads
// and switches them; buttons pressed by the mouse, or by a key with the focus.
struct ScenarioPlayer {
    Qt::Key m_key; // Qt::Key_unknown: the mouse
    Qt::KeyboardModifiers m_modifiers;
    xpcalc::SwitchedWindow *m_window = nullptr;

    // Plays the steps in order, up to the first that fails.
    void replay(const json &steps)
    {
        for (const json &step : steps) {
            play(step);
            if (QTest::currentTestFailed())
                return qWarning("the walk failed at %s", step.dump().c_str());
        }
    }

    void play(const json &step)
    {
        if (step.contains("window")) {
            window(step["window"].get<std::string>());
        } else if (step.contains("type")) { // the text typed into the box in place of its own
            auto *box = control<QLineEdit>(step, "type");
            box->selectAll();
            QTest::keyClicks(box, qs(step.at("text")));
            QCOMPARE(box->text(), qs(step.at("text")));
        } else if (step.contains("press")) {
            press(control<QPushButton>(step, "press"));
        } else if (step.contains("expect")) {
            const auto *box = control<QLineEdit>(step, "expect");
            QCOMPARE(box->text(), qs(step.at("text")));
            if (step.value("focused", false))
                QTRY_COMPARE(box->window()->focusWidget(), box);
        } else if (step.contains("warning")) { // a warning shows, modal, whose text says that
            QTRY_VERIFY(shownWarning() != nullptr);
            const QMessageBox *box = shownWarning();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QVERIFY2(box->text().contains(qs(step["warning"])), qPrintable(box->text()));
        } else if (step.contains("answer")) { // the warning answered with its button of that caption, and gone
            QVERIFY(shownWarning() != nullptr);
            const QList<QAbstractButton *> offered = shownWarning()->buttons();
            const auto button = std::find_if(offered.begin(), offered.end(), [&step](QAbstractButton *b) {
                return b->text().remove(QLatin1Char('&')) == qs(step["answer"]);
            });
            QVERIFY2(button != offered.end(), step.dump().c_str());
            press(*button);
            QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        } else { // a shot only marks a point in the walk: the pictures are the screenshot script's
            QVERIFY2(step.contains("shot"), step.dump().c_str());
        }
    }

    // The walk's window shows alone, with the icon, the other unloaded; a
    // calculator the walk starts in or comes back to is fresh, every box "0".
    void window(const std::string &name)
    {
        QVERIFY2(name == "calculator" || name == "chart", name.c_str());
        xpcalc::SwitchedWindow *shown = name == "calculator" ? &calculatorWindow() : &chartWindow();
        QTRY_VERIFY(shown->isLoaded() && shown->window()->isVisible());
        settle();
        QVERIFY(!(shown == &calculatorWindow() ? chartWindow() : calculatorWindow()).isLoaded());
        QCOMPARE(visibleWindows(), QWidgetList{shown->window()});
        QVERIFY(!shown->window()->windowIcon().isNull());
        if (shown == &calculatorWindow() && shown != m_window) {
            const auto boxes = shown->window()->findChildren<QLineEdit *>();
            QCOMPARE(boxes.size(), 22);
            for (const QLineEdit *box : boxes)
                QCOMPARE(box->text(), QStringLiteral("0"));
        }
        m_window = shown;
    }

    void press(QAbstractButton *button)
    {
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        if (m_key == Qt::Key_unknown) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, m_key, m_modifiers);
        }
        // A button pressed by a key shows itself down a moment first.
        QTRY_COMPARE(clicked.count(), 1);
    }

    template <class Widget> Widget *control(const json &step, const char *kind) const
    {
        if (m_window == nullptr)
            qFatal("the walk names a control before its window");
        return ::control<Widget>(m_window->window(), step[kind].get<std::string>(), step.value("challengeRating", 0));
    }
};

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    bool m_lastWindowClosed = false;

private slots:
    void initTestCase()
    {
        // Qt's styles cache drawn pieces of controls (10 MB unless told), which
        // fills as windows are drawn: a small bound lets the round trips look past it.
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

    // Buttons pressed by the mouse and by each key that presses a focused
    // one: Return and keypad Enter, as on Windows, and Space.
    void theUsersWalk_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("mouse") << Qt::Key_unknown << Qt::KeyboardModifiers();
        QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("Space") << Qt::Key_Space << Qt::KeyboardModifiers();
    }

    void theUsersWalk()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.01"));
        std::ifstream scenario(XPCALC_SCENARIO_JSON);
        QVERIFY2(scenario, XPCALC_SCENARIO_JSON);
        ScenarioPlayer{key, modifiers}.replay(json::parse(scenario).at("steps"));
        QVERIFY(!m_lastWindowClosed);
    }

    // A dark desktop theme does not reach the windows: every text stays readable.
    void textsStayReadableUnderADarkDesktopTheme()
    {
        calculatorWindow().unload();
        settle();
        const QPalette desktop = QApplication::palette();
        QPalette dark(QColor(230, 230, 230), QColor(50, 50, 50), QColor(80, 80, 80), QColor(20, 20, 20),
                      QColor(40, 40, 40), QColor(230, 230, 230), Qt::white, QColor(30, 30, 30), QColor(50, 50, 50));
        QApplication::setPalette(dark);
        xpcalc::startUp();
        QStringList faint = faintTexts(calculatorWindow().window());
        click(calculatorWindow(), Role::ShowChart);
        faint += faintTexts(chartWindow().window());
        QApplication::setPalette(desktop);
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(", ")));
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

    // Built-in pictures carry no file times: two builds are alike byte for byte.
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

    // Closing either window ends the program, and unloads the window.
    void closingAWindowEndsTheProgram_data()
    {
        QTest::addColumn<bool>("chart");
        QTest::newRow("the calculator") << false;
        QTest::newRow("the chart") << true;
    }
    void closingAWindowEndsTheProgram()
    {
        QFETCH(bool, chart);
        if (chart)
            click(calculatorWindow(), Role::ShowChart);
        xpcalc::SwitchedWindow &closed = chart ? chartWindow() : calculatorWindow();
        QVERIFY(QTest::qWaitForWindowExposed(closed.window()));
        QTimer::singleShot(0, closed.window(), &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // not ended: fail
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(m_lastWindowClosed);
        settle();
        QVERIFY(!closed.isLoaded());
    }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
