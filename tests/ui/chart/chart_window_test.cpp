// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The chart window: its design, and that resizing moves nothing.
#include "chart_design.h"
#include "chart_window.h"
#include "colours.h"
#include "look.h"
#include "window_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <map>
#include <memory>

using xpcalc::Role;

class ChartWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<xpcalc::ChartWindow> m_window;

    template <class Widget = QWidget> Widget *control(Role role) const
    {
        return ::control<Widget>(m_window.get(), role);
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
        auto *button = control<QPushButton>(Role::ReturnToCalculator);
        QVERIFY(button->hasFocus());
        const QImage focused = button->grab().toImage();
        button->clearFocus();
        QVERIFY(focused != button->grab().toImage());
    }

    // Tab leads from the button to the chart, and back.
    void tabWalksTheChartAndTheButton()
    {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *button = control(Role::ReturnToCalculator);
        auto *chart = control(Role::Chart);
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(button, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), chart);
        QTest::keyClick(chart, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button);
    }

    void windowProperties()
    {
        QCOMPARE(m_window->findChildren<QWidget *>().size(), qsizetype(xpcalc::kChartControls.size()));
    }

    // The chart stands inside the 2-pixel sunken border, cut off at the right
    // and with 12 pixels of the box's white ground below it.
    void chartSitsInsideTheBorder()
    {
        auto *box = control<QLabel>(Role::Chart);
        QCOMPARE(box->frameWidth(), 2);
        QCOMPARE(box->contentsRect(), QRect(2, 2, 261, 341));
        QCOMPARE(box->pixmap().deviceIndependentSize().toSize(), QSize(263, 329));
        const QImage shown = box->grab().toImage();
        for (int y = 2 + 329; y < 2 + 341; ++y)
            QCOMPARE(shown.pixelColor(130, y), QColor(Qt::white));
        const xpcalc::Rgb band = xpcalc::paintColour(xpcalc::Paint::ChartBand);
        QCOMPARE(shown.pixelColor(2 + 3, 2 + 61),
                 QColor(band.red, band.green, band.blue)); // a band, where the chart puts it
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
