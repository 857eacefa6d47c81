// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The chart window: its design, and that resizing moves nothing.
#include "chart_window.h"
#include "look.h"
#include "window_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <map>
#include <memory>

class ChartWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<xpcalc::ChartWindow> m_window;

    template <class Widget = QWidget> Widget *control(const char *name) const
    {
        return ::control<Widget>(m_window.get(), QLatin1String(name));
    }

private slots:
    // As at start-up: the windows' colour scheme, whatever the desktop's theme.
    void initTestCase() { xpcalc::applyColourScheme(); }

    void init() { m_window = shownWindow<xpcalc::ChartWindow>(); }
    void cleanup() { m_window.reset(); }

    // The window opens with the focus on its button, and shows it there even
    // though no key was pressed.
    void focusShowsOnTheButtonAtOnce()
    {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *button = control<QPushButton>("Command1");
        QVERIFY(button->hasFocus());
        const QImage focused = button->grab().toImage();
        button->clearFocus();
        QVERIFY(focused != button->grab().toImage());
    }

    void windowProperties()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("Form2"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Kestrow's Experience Calculator"));
        QCOMPARE(m_window->size(), QSize(448, 369));
        QVERIFY(m_window->minimumSize() != m_window->maximumSize()); // resizable
        QVERIFY(QStringList({"Verdana", "DejaVu Sans"}).contains(m_window->font().families().value(0)));
        QCOMPARE(m_window->font().pixelSize(), 11);
        QCOMPARE(m_window->findChildren<QWidget *>().size(), 4);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("Command1") << "Command1" << QRect(4200, 3480, 2295, 615) << true << false;
        QTest::newRow("Picture1") << "Picture1" << QRect(0, 120, 3975, 5175) << false << false;
        QTest::newRow("Label2") << "Label2" << QRect(4080, 4320, 2535, 975) << false << true;
        QTest::newRow("Label1") << "Label1" << QRect(4080, 240, 2535, 3015) << false << false;
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QWidget *widget = control(name.toLatin1().constData());
        QCOMPARE(widget->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        QCOMPARE(widget->font().bold(), bold);
        QCOMPARE(widget->font().italic(), italic);
        QCOMPARE(widget->font().pixelSize(), 11);
    }

    void creationOrderAndTexts()
    {
        QStringList order;
        for (QObject *child : m_window->children())
            if (child->isWidgetType())
                order << child->objectName();
        QCOMPARE(order, (QStringList{"Command1", "Picture1", "Label2", "Label1"}));
        QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("Click here to return to the Calculator"));
        QCOMPARE(control<QLabel>("Label1")->text(),
                 QStringLiteral("This chart shows how the experience points are awarded based on party level and "
                                "challenge rating.  As you can see, some challenge ratings are unreachable at lower "
                                "party levels, which is why no award is defined.  At higher party levels, the lower "
                                "challenge ratings do not offer a reward.  This is because it would be nothing for a "
                                "20th level party to kill a group of CR 2 monsters."));
        QCOMPARE(control<QLabel>("Label2")->text(),
                 QStringLiteral("For more information on earning experience, please refer to the Dungeons and Dragons "
                                "3rd Edition Dungeon Master's Guide."));
    }

    // The chart stands inside the 2-pixel sunken border, cut off at the right
    // and with 12 pixels of the box's white ground below it.
    void chartSitsInsideTheBorder()
    {
        auto *box = control<QLabel>("Picture1");
        QCOMPARE(box->frameWidth(), 2);
        QCOMPARE(box->contentsRect(), QRect(2, 2, 261, 341));
        QCOMPARE(box->pixmap().deviceIndependentSize().toSize(), QSize(263, 329));
        const QImage shown = box->grab().toImage();
        for (int y = 2 + 329; y < 2 + 341; ++y)
            QCOMPARE(shown.pixelColor(130, y), QColor(Qt::white));
        QCOMPARE(shown.pixelColor(2 + 3, 2 + 61), QColor(0xE7, 0xE7, 0xE7)); // a band, where the chart puts it
    }

    void resizingMovesNothing()
    {
        std::map<QString, QRect> before;
        for (QWidget *child : m_window->findChildren<QWidget *>())
            before[child->objectName()] = child->geometry();
        for (const QSize size : {QSize(900, 700), QSize(200, 150), QSize(448, 369)}) {
            m_window->resize(size);
            QTRY_COMPARE(m_window->size(), size);
            for (QWidget *child : m_window->findChildren<QWidget *>())
                QCOMPARE(child->geometry(), before[child->objectName()]);
        }
    }
};

QTEST_MAIN(ChartWindowTest)
#include "chart_window_test.moc"
