// Start-up, switching between the two windows, and ending the program.
#include "default_instances.h"
#include "start_up.h"
#include "window_switching.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmapCache>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <string>

using xpcalc::defaultForm1;
using xpcalc::defaultForm2;

namespace {

// Resident memory of this process, in KiB.
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

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

void click(xpcalc::DefaultInstance &form, const char *button)
{
    QTest::mouseClick(form.window()->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

void toChartAndBack()
{
    click(defaultForm1(), "Command2");
    click(defaultForm2(), "Command1");
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
        QVERIFY(QTest::qWaitForWindowExposed(defaultForm1().window()));
    }

    void cleanup()
    {
        defaultForm1().unload();
        defaultForm2().unload();
        settle();
    }

    void startsOnTheCalculatorAlone()
    {
        QVERIFY(defaultForm1().isLoaded());
        QVERIFY(!defaultForm2().isLoaded());
        QCOMPARE(visibleWindows(), QWidgetList{defaultForm1().window()});
        QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.01"));
        QVERIFY(!defaultForm1().window()->windowIcon().isNull());
    }

    void chartAndBackBringsAFreshCalculator()
    {
        QWidget *calculator = defaultForm1().window();
        calculator->findChild<QLineEdit *>("cr3")->setText(QStringLiteral("2"));
        calculator->findChild<QLineEdit *>("cr20")->setText(QStringLiteral("7"));
        calculator->findChild<QLineEdit *>("party")->setText(QStringLiteral("4"));
        click(defaultForm1(), "Command1");
        QCOMPARE(calculator->findChild<QLineEdit *>("totalxp")->text(), QStringLiteral("1600"));

        click(defaultForm1(), "Command2");
        QVERIFY(!defaultForm1().isLoaded());
        QVERIFY(defaultForm2().isLoaded());
        QCOMPARE(visibleWindows(), QWidgetList{defaultForm2().window()});
        QVERIFY(!defaultForm2().window()->windowIcon().isNull());

        click(defaultForm2(), "Command1");
        settle();
        QCOMPARE(visibleWindows(), QWidgetList{defaultForm1().window()});
        const auto boxes = defaultForm1().window()->findChildren<QLineEdit *>();
        QCOMPARE(boxes.size(), 22);
        for (const QLineEdit *box : boxes)
            QCOMPARE(box->text(), QStringLiteral("0"));
        QVERIFY(!m_lastWindowClosed);
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

    void closingTheChartEndsTheProgram()
    {
        click(defaultForm1(), "Command2");
        QWidget *chart = defaultForm2().window();
        QVERIFY(QTest::qWaitForWindowExposed(chart));
        QTimer::singleShot(0, chart, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // not ended: fail
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(m_lastWindowClosed);
        settle();
        QVERIFY(!defaultForm2().isLoaded());
    }

    void closingTheCalculatorEndsTheProgram()
    {
        QWidget *calculator = defaultForm1().window();
        QTimer::singleShot(0, calculator, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(m_lastWindowClosed);
        settle();
        QVERIFY(!defaultForm1().isLoaded());
    }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
