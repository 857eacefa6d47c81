// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator window, driven as a user drives it.
#include "calculator_design.h"
#include "calculator_window.h"
#include "experience_calculation.h"
#include "look.h"
#include "system_colours.h"
#include "text_view.h"
#include "window_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <map>
#include <memory>

using xpcalc::CalculatorWindow;
using Counts = QMap<int, QString>; // challenge rating -> text typed into its box

// The ground of labels, frames and picture boxes: the colour scheme's button
// face, whatever the desktop's theme.
const QColor kButtonFace = xpcalc::schemeColour(xpcalc::SystemColour::ButtonFace);

namespace {

// What a modal message box said before the test closed it.
struct MessageSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool shown = false;
};

} // namespace

class CalculatorWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CalculatorWindow> m_window;

    template <class Widget = QWidget> Widget *control(const QString &name) const
    {
        return ::control<Widget>(m_window.get(), name);
    }
    QLineEdit *box(const QString &name) const { return control<QLineEdit>(name); }
    QLineEdit *count(int cr) const { return box(QStringLiteral("cr%1").arg(cr)); }

    void calculate() { QTest::mouseClick(control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton); }

    // Presses "Calculate Experience" and answers the message box it opens.
    MessageSeen calculateExpectingMessage()
    {
        calculate();
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return {};
        MessageSeen seen{box->windowTitle(), box->text(), box->icon(), true};
        QTest::keyClick(box, Qt::Key_Return);
        return seen;
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

    void freshWindowShowsZeroInEveryBox()
    {
        for (int cr = 1; cr <= 20; ++cr)
            QCOMPARE(count(cr)->text(), QStringLiteral("0"));
        QCOMPARE(box("party")->text(), QStringLiteral("0"));
        QCOMPARE(box("totalxp")->text(), QStringLiteral("0"));
        QVERIFY(box("totalxp")->toolTip().isEmpty());
    }

    // The window hands the texts over exactly as typed and shows what the
    // calculation returns; the calculation's own tests hold the worked examples.
    void showsWhatTheCalculationReturns_data()
    {
        QTest::addColumn<Counts>("counts");
        QTest::addColumn<QString>("level");
        QTest::newRow("fresh window") << Counts{} << "0";
        QTest::newRow("first and last boxes") << Counts{{1, "1"}, {20, "2"}} << "20";
        QTest::newRow("texts as typed") << Counts{{1, " 1 0 "}, {2, "1,5"}, {11, "5"}} << "2.5";
    }
    void showsWhatTheCalculationReturns()
    {
        QFETCH(Counts, counts);
        QFETCH(QString, level);
        std::array<QString, xpcalc::kChallengeRatings> texts;
        xpcalc::EncounterSheet sheet;
        for (int cr = 1; cr <= xpcalc::kChallengeRatings; ++cr) {
            texts[static_cast<std::size_t>(cr - 1)] = counts.value(cr, QStringLiteral("0"));
            count(cr)->selectAll();
            QTest::keyClicks(count(cr), texts[static_cast<std::size_t>(cr - 1)]);
            sheet.counts[static_cast<std::size_t>(cr - 1)] = xpcalc::toView(texts[static_cast<std::size_t>(cr - 1)]);
        }
        box("party")->selectAll();
        QTest::keyClicks(box("party"), level);
        sheet.level = xpcalc::toView(level);
        calculate();
        const auto expected = xpcalc::calculate(sheet);
        QVERIFY(expected.ok());
        QCOMPARE(box("totalxp")->text(), xpcalc::toQString(expected.value().totalText.view()));
    }

    void totalIsReplacedNeverAddedTo()
    {
        count(3)->setText("2");
        box("party")->setText("4");
        calculate();
        calculate();
        QCOMPARE(box("totalxp")->text(), QStringLiteral("1600"));
        box("totalxp")->selectAll();
        QTest::keyClicks(box("totalxp"), "99999");
        QCOMPARE(box("totalxp")->text(), QStringLiteral("99999"));
        calculate();
        QCOMPARE(box("totalxp")->text(), QStringLiteral("1600"));
    }

    void pastedLongTextIsKeptWholeAndRead()
    {
        // 100,000 characters: one digit, blanks, another digit. It reads 25.
        const QString text = QLatin1Char('2') + QString(99'998, QLatin1Char(' ')) + QLatin1Char('5');
        QApplication::clipboard()->setText(text);
        count(1)->selectAll();
        count(1)->paste();
        QCOMPARE(count(1)->text().size(), 100'000);
        QCOMPARE(count(1)->text(), text);
        box("party")->setText("1");
        calculate();
        QCOMPARE(box("totalxp")->text(), QStringLiteral("7500"));
    }

    void overflowIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("range"); // the true range of what failed
        const QString counts = QStringLiteral("(-2147483648 to 2147483647)");
        QTest::newRow("count") << "cr7"
                               << "2147483648"
                               << "1"
                               << "CR 7" << counts;
        QTest::newRow("level") << "party"
                               << "32768"
                               << "32768"
                               << "party level" << QStringLiteral("(-32768 to 32767)");
        QTest::newRow("product") << "cr20"
                                 << "357914"
                                 << "20"
                                 << "CR 20" << counts;
        QTest::newRow("running total") << "cr19"
                                       << "500000"
                                       << "20"
                                       << "CR 20" << counts;
    }

    void overflowIsReportedAndChangesNothing()
    {
        QFETCH(QString, boxName);
        QFETCH(QString, boxText);
        QFETCH(QString, level);
        QFETCH(QString, where);
        QFETCH(QString, range);

        // A first, good calculation sets the total and its working.
        count(1)->setText("1");
        box("party")->setText("1");
        calculate();
        QCOMPARE(box("totalxp")->text(), QStringLiteral("300"));
        const QString working = box("totalxp")->toolTip();

        box(boxName)->setText(boxText);
        box("party")->setText(level);
        if (boxName == "cr19")
            count(20)->setText("357000");
        const MessageSeen seen = calculateExpectingMessage();
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Kestrow's Experience Calculator"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QVERIFY2(seen.text.contains("overflowed"), qPrintable(seen.text));
        QVERIFY2(seen.text.contains(where), qPrintable(seen.text));
        QVERIFY2(seen.text.contains(range), qPrintable(seen.text));
        QVERIFY2(seen.text.contains("total was not changed"), qPrintable(seen.text));

        QCOMPARE(box("totalxp")->text(), QStringLiteral("300"));
        QCOMPARE(box("totalxp")->toolTip(), working);
        QVERIFY(m_window->isVisible());
        const QString concerned = boxName == "cr19" ? QStringLiteral("cr20") : boxName;
        QTRY_COMPARE(m_window->focusWidget(), box(concerned));
        QCOMPARE(box(concerned)->selectedText(), box(concerned)->text());
    }

    void tooltipShowsTheWorking()
    {
        count(1)->setText("1");
        count(10)->setText("2");
        count(11)->setText("5");
        box("party")->setText("1");
        calculate();
        const QString working = box("totalxp")->toolTip();
        QVERIFY2(working.contains(QStringLiteral("CR 1: 1 \u00D7 300 = 300")), qPrintable(working));
        QVERIFY2(working.contains(QStringLiteral("CR 10: 2 \u00D7 10800 = 21600")), qPrintable(working));
        QVERIFY2(!working.contains(QStringLiteral("CR 11")), qPrintable(working));

        box("party")->setText("21");
        calculate();
        const QString noRow = box("totalxp")->toolTip();
        QVERIFY2(noRow.contains("no row") && noRow.contains("total is 0"), qPrintable(noRow));
    }

    // The working reaches the keyboard too: Shift+F1 in the total shows it,
    // and a screen reader reads it as the total's description.
    void workingReachableFromTheKeyboard()
    {
        count(1)->setText("1");
        box("party")->setText("1");
        calculate();
        box("totalxp")->setFocus();
        QTest::keyClick(box("totalxp"), Qt::Key_F1, Qt::ShiftModifier);
        bool shown = false;
        for (QWidget *window : QApplication::topLevelWidgets())
            shown = shown || (window != m_window.get() && window->isVisible());
        QVERIFY(shown);
        QCOMPARE(box("totalxp")->accessibleDescription(), box("totalxp")->toolTip());
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
        auto *box = ::control<QLineEdit>(&window, QStringLiteral("cr12"));
        QVERIFY(QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("12")) < box->width() - 6);
    }

    void windowProperties()
    {
        // The design's controls, and the announcer.
        QCOMPARE(m_window->findChildren<QWidget *>().size(), qsizetype(xpcalc::kCalculatorControls.size() + 1));
        QCOMPARE(m_window->grab().toImage().pixelColor(440, 100),
                 xpcalc::schemeColour(xpcalc::SystemColour::ActiveBorder));
    }

    void colours()
    {
        const QImage credit = control("Label26")->grab().toImage();
        QCOMPARE(credit.pixelColor(2, 2), QColor(Qt::black));
        QCOMPARE(control("Label21")->grab().toImage().pixelColor(22, 22), kButtonFace);
    }

    // The frame is opaque, and its caption stands in its top border: the
    // border's line runs to the right of the caption but not through it.
    void frameCaptionInterruptsTheBorder()
    {
        auto *frame = control<QGroupBox>("Frame1");
        const QImage shown = frame->grab().toImage();
        const int line = QFontMetrics(frame->font()).height() / 2;
        QCOMPARE(shown.pixelColor(frame->width() / 2, 1), kButtonFace);
        QVERIFY(shown.pixelColor(frame->width() - 20, line) != kButtonFace);
        int inked = 0;
        for (int x = 10; x < 60; ++x)
            inked += shown.pixelColor(x, line) == shown.pixelColor(frame->width() - 20, line);
        QVERIFY2(inked < 10, qPrintable(QString::number(inked)));
    }

    // Pictures stand at natural size from the top-left; where a box is larger,
    // button face shows; where smaller, the picture is cut off.
    void pictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("title") << "Picture3" << QSize(217, 43);
        QTest::newRow("total") << "Picture2" << QSize(82, 38);
        QTest::newRow("party level") << "Picture1" << QSize(127, 21);
    }

    void pictures()
    {
        QFETCH(QString, name);
        QFETCH(QSize, pictureSize);
        auto *box = control<QLabel>(name);
        const QPixmap picture = box->pixmap();
        QCOMPARE(picture.deviceIndependentSize().toSize(), pictureSize);
        const QImage shown = box->grab().toImage();
        const QColor ground(132, 152, 179);
        QCOMPARE(shown.pixelColor(0, 0), ground);
        if (box->width() > pictureSize.width()) {
            QCOMPARE(shown.pixelColor(box->width() - 1, 0), kButtonFace);
        }
        QCOMPARE(shown.size(), box->size());
    }
};

QTEST_MAIN(CalculatorWindowTest)
#include "calculator_window_test.moc"
