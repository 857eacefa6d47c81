// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator window, driven as a user drives it.
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

    void workedExamples_data()
    {
        QTest::addColumn<Counts>("counts");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("total");
        QTest::newRow("fresh window") << Counts{} << "0"
                                      << "0";
        QTest::newRow("two at CR 3, level 4") << Counts{{3, "2"}} << "4"
                                              << "1600";
        QTest::newRow("level 1, CR 1 and CR 10") << Counts{{1, "1"}, {10, "2"}} << "1"
                                                 << "21900";
        QTest::newRow("CR 11 earns nothing at level 1") << Counts{{1, "1"}, {10, "2"}, {11, "5"}} << "1"
                                                        << "21900";
        QTest::newRow("level 14, CR 10") << Counts{{10, "1"}} << "14"
                                         << "1050";
        QTest::newRow("level 13, CR 20") << Counts{{20, "1"}} << "13"
                                         << "46800";
        QTest::newRow("level 21 has no row") << Counts{{1, "9"}} << "21"
                                             << "0";
        QTest::newRow("negative count") << Counts{{2, "-1"}} << "5"
                                        << "-500";
        QTest::newRow("texts as typed") << Counts{{1, " 1 0 "}, {2, "1,5"}} << "2.5"
                                        << "3600";
        QTest::newRow("largest product") << Counts{{20, "357913"}} << "20"
                                         << "2147478000";
    }

    void workedExamples()
    {
        QFETCH(Counts, counts);
        QFETCH(QString, level);
        QFETCH(QString, total);
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            count(it.key())->selectAll();
            QTest::keyClicks(count(it.key()), it.value());
        }
        box("party")->selectAll();
        QTest::keyClicks(box("party"), level);
        calculate();
        QCOMPARE(box("totalxp")->text(), total);
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

    void windowProperties()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Kestrow's Experience Calculator"));
        QCOMPARE(m_window->size(), QSize(450, 371));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());   // cannot be resized
        QCOMPARE(m_window->findChildren<QWidget *>().size(), 53 + 1); // the design's, and the announcer
        QCOMPARE(m_window->grab().toImage().pixelColor(440, 100),
                 xpcalc::schemeColour(xpcalc::SystemColour::ActiveBorder));
    }

    // Later controls stack above earlier ones, so the order matters where they touch.
    void controlsAreCreatedInDesignOrder()
    {
        const auto namesOfChildren = [](const QObject *parent) {
            QStringList names;
            for (const QObject *child : parent->children())
                if (child->isWidgetType())
                    names << child->objectName();
            return names;
        };
        QStringList onWindow{"Picture3", "Picture2", "Picture1", "Frame1", "totalxp", "Command1", "party"};
        for (int n = 20; n >= 1; --n)
            onWindow << QStringLiteral("cr%1").arg(n);
        onWindow << "Label21"
                 << "Label27"
                 << "Label26";
        for (int n = 20; n >= 1; --n)
            onWindow << QStringLiteral("Label%1").arg(n);
        onWindow << "announcer"; // never drawn
        QCOMPARE(namesOfChildren(m_window.get()), onWindow);
        QCOMPARE(namesOfChildren(control("Frame1")), (QStringList{"Command2", "Label22", "Label24"}));
    }

    // Where each control other than the two families stands in the window,
    // read off the window itself, against the design's twips: 15 to the
    // pixel, each figure rounded down. The frame's controls are designed
    // inside the frame, so their place adds to the frame's.
    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        const auto pixels = [](QRect twips) {
            return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        };
        const QRect frame = pixels({2640, 2880, 3855, 1935});
        const auto row = [&](const char *name, QRect twips, QPoint container = {}) {
            QTest::newRow(name) << QString(name) << pixels(twips).translated(container);
        };
        row("Picture3", {2880, 120, 3255, 615});
        row("Picture2", {3120, 2160, 1335, 615});
        row("Picture1", {3240, 840, 1815, 255});
        row("Frame1", {2640, 2880, 3855, 1935});
        row("Command2", {3000, 1200, 735, 615}, frame.topLeft());
        row("Label22", {120, 1200, 2775, 615}, frame.topLeft());
        row("Label24", {120, 240, 3615, 855}, frame.topLeft());
        row("totalxp", {4440, 2280, 1455, 375});
        row("Command1", {3000, 1320, 3015, 615});
        row("party", {5280, 840, 495, 315});
        row("Label21", {6120, 480, 375, 375});
        row("Label27", {120, 5280, 6375, 255});
        row("Label26", {120, 5040, 6495, 255});
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QWidget *widget = control(name);
        QCOMPARE(QRect(widget->mapTo(m_window.get(), QPoint(0, 0)), widget->size()), pixels);
    }

    // Challenge rating N: row r = N - 1 (N <= 10) or N - 11; box at 120 or
    // 1320 twips, label at 600 or 1800; both at top 120 + 480 r.
    void familiesFollowTheirRule()
    {
        for (int n = 1; n <= 20; ++n) {
            const int r = n <= 10 ? n - 1 : n - 11;
            const int top = (120 + 480 * r) / 15;
            QCOMPARE(count(n)->geometry(), QRect((n <= 10 ? 120 : 1320) / 15, top, 25, 25));
            auto *label = control<QLabel>(QStringLiteral("Label%1").arg(n));
            QCOMPARE(label->geometry(), QRect((n <= 10 ? 600 : 1800) / 15, top, 33, 25));
            QCOMPARE(label->text(), QStringLiteral("CR%1").arg(n));
            QCOMPARE(label->font().pixelSize(), 11);
            QCOMPARE(count(n)->font().pixelSize(), 11);
        }
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

    void texts()
    {
        QCOMPARE(control<QLabel>("Label24")->text(),
                 QStringLiteral("Enter the total number of encounters for each challenge rating, then enter your party "
                                "level.  Finally, click Calculate Experience to determine your total XP."));
        QCOMPARE(control<QLabel>("Label22")->text(),
                 QStringLiteral("For a more detailed explanation of how experience is calculated, click the XP "
                                "Chart button."));
        QCOMPARE(control<QLabel>("Label21")->text(), QStringLiteral("v1.1"));
        QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("Calculate Experience"));
        QCOMPARE(control<QPushButton>("Command2")->text(), QStringLiteral("XP Chart"));
        QCOMPARE(control<QGroupBox>("Frame1")->title(), QStringLiteral("Instructions"));
    }

    // Verdana (or its stand-in) at 8.25 pt = 11 px and 9.75 pt = 13 px at 96 dpi.
    void fonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Frame1") << "Frame1" << 11 << true;
        QTest::newRow("Command2") << "Command2" << 11 << false;
        QTest::newRow("Label22") << "Label22" << 11 << false;
        QTest::newRow("Label24") << "Label24" << 11 << false;
        QTest::newRow("totalxp") << "totalxp" << 13 << false;
        QTest::newRow("Command1") << "Command1" << 13 << true;
        QTest::newRow("party") << "party" << 13 << false;
        QTest::newRow("Label21") << "Label21" << 11 << false;
        QTest::newRow("Label27") << "Label27" << 11 << false;
        QTest::newRow("Label26") << "Label26" << 11 << false;
    }

    void fonts()
    {
        QFETCH(QString, name);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        const QFont font = control(name)->font();
        QVERIFY(QStringList({"Verdana", "DejaVu Sans"}).contains(font.families().value(0))); // or its stand-in
        QCOMPARE(font.pixelSize(), pixels);
        QCOMPARE(font.bold(), bold);
        QVERIFY(!font.italic() && !font.underline());
    }

    void colours()
    {
        const QImage credit = control("Label26")->grab().toImage();
        QCOMPARE(credit.pixelColor(2, 2), QColor(Qt::black));
        QCOMPARE(control("Label26")->palette().color(QPalette::WindowText), QColor(255, 255, 192));
        QCOMPARE(control("Label27")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(control<QLabel>("Label27")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        QCOMPARE(control<QLabel>("Label26")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
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

    void tabOrderRunsThroughTheBoxesThenTheButtons()
    {
        QCOMPARE(QApplication::focusWidget(), count(1));
        QStringList visited;
        for (int i = 0; i < 25; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList expected;
        for (int n = 1; n <= 20; ++n)
            expected << QStringLiteral("cr%1").arg(n);
        expected << "party"
                 << "Command1"
                 << "totalxp"
                 << "Command2"
                 << "cr1";
        QCOMPARE(visited, expected);
    }

    void screenReadersHearWhatEachBoxIsFor()
    {
        for (int n = 1; n <= 20; ++n)
            QCOMPARE(count(n)->accessibleName(), QStringLiteral("Encounters at CR %1").arg(n));
        QCOMPARE(box("party")->accessibleName(), QStringLiteral("Party level"));
        QCOMPARE(box("totalxp")->accessibleName(), QStringLiteral("Total experience"));
    }
};

QTEST_MAIN(CalculatorWindowTest)
#include "calculator_window_test.moc"
