// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The windows' designs state rules, and each window is built as its design
// says. The designs themselves are read, never retyped: a control's place,
// text or font is checked against its row, and the rows against the rules.
#include "calculator_design.h"
#include "calculator_window.h"
#include "chart_design.h"
#include "chart_window.h"
#include "controls.h"
#include "look.h"
#include "text_view.h"
#include "twips.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

using namespace xpcalc;

struct Design {
    const WindowDesign *window;
    std::vector<ControlDesign> controls;
    std::function<std::unique_ptr<QWidget>()> build;
};

Design designNamed(const QString &name)
{
    if (name == QLatin1String("calculator"))
        return {&kCalculatorWindow, {kCalculatorControls.begin(), kCalculatorControls.end()}, [] {
                    return std::unique_ptr<QWidget>(new CalculatorWindow);
                }};
    return {&kChartWindow, {kChartControls.begin(), kChartControls.end()}, [] {
                return std::unique_ptr<QWidget>(new ChartWindow);
            }};
}

// A control's text as its kind shows it.
QString shownText(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->pixmap().isNull() ? label->text() : QString();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    return {};
}

} // namespace

class DesignTest : public QObject {
    Q_OBJECT

    static void windows()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("calculator") << QStringLiteral("calculator");
        QTest::newRow("chart") << QStringLiteral("chart");
    }

private slots:
    void initTestCase() { applyColourScheme(); }

    // Controls side by side touch at most by a pixel's width; a frame's
    // controls lie inside it.
    void noControlsOverlap_data() { windows(); }
    void noControlsOverlap()
    {
        QFETCH(QString, window);
        const Design design = designNamed(window);
        for (std::size_t i = 0; i < design.controls.size(); ++i) {
            for (std::size_t j = i + 1; j < design.controls.size(); ++j) {
                const ControlDesign &a = design.controls[i];
                const ControlDesign &b = design.controls[j];
                if (a.container != b.container || !a.place.overlaps(b.place))
                    continue;
                const int across = std::min(a.place.right(), b.place.right()) - std::max(a.place.left, b.place.left);
                const int down = std::min(a.place.bottom(), b.place.bottom()) - std::max(a.place.top, b.place.top);
                QVERIFY2(std::min(across, down) <= kTwipsPerPixel,
                         qPrintable(designName(a) + QStringLiteral(" overlaps ") + designName(b)));
            }
        }
    }

    // Each control stands where its row puts it, in its container, with the
    // row's text and font, and stacks above the controls created before it.
    void windowFollowsItsDesign_data() { windows(); }
    void windowFollowsItsDesign()
    {
        QFETCH(QString, window);
        const Design design = designNamed(window);
        const std::unique_ptr<QWidget> built = design.build();
        QCOMPARE(built->objectName(), designName(*design.window));
        QCOMPARE(built->windowTitle(), designCaption(*design.window));
        QCOMPARE(built->size(), clientSize(*design.window));
        QCOMPARE(built->minimumSize() == built->maximumSize(), !design.window->resizable);
        std::map<QObject *, QStringList> created; // by container, in creation order
        for (const ControlDesign &row : design.controls) {
            const QString name = designName(row);
            auto *control = built->findChild<QWidget *>(name);
            QVERIFY2(control != nullptr, qPrintable(name));
            const QString container =
                row.container.empty() ? designName(*design.window) : xpcalc::toQString(row.container);
            QCOMPARE(control->parentWidget()->objectName(), container);
            QCOMPARE(control->geometry(), toPixels(row.place));
            if (row.kind != Kind::PictureBox && row.kind != Kind::Chart)
                QCOMPARE(shownText(control), designText(row));
            const QFont font = control->font();
            const QFont designed = fontFor(row.face == Typeface::None ? design.window->face : row.face);
            QCOMPARE(font.family(), designed.family());
            QCOMPARE(font.pixelSize(), designed.pixelSize());
            QCOMPARE(font.bold(), designed.bold());
            QCOMPARE(font.italic(), designed.italic());
            if (!row.accessibleName.empty())
                QCOMPARE(control->accessibleName(), designAccessibleName(row));
            if (row.textColour != kDefaultColour)
                QCOMPARE(control->palette().color(QPalette::WindowText).rgb() & 0xFFFFFFu,
                         static_cast<QRgb>(row.textColour));
            if (row.groundColour != kDefaultColour)
                QCOMPARE(control->palette().color(QPalette::Window).rgb() & 0xFFFFFFu,
                         static_cast<QRgb>(row.groundColour));
            if (const auto *label = qobject_cast<const QLabel *>(control); label != nullptr && row.kind == Kind::Label)
                QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask,
                         row.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
            created[control->parent()] << name;
        }
        for (const auto &[container, names] : created) {
            QStringList children;
            for (const QObject *child : container->children())
                if (names.contains(child->objectName()))
                    children << child->objectName();
            QCOMPARE(children, names);
        }
    }

    // The window opens with the focus where its design says; Tab visits the
    // controls that take the focus in ascending tab index, and comes round.
    void tabOrderRises_data() { windows(); }
    void tabOrderRises()
    {
        QFETCH(QString, window);
        const Design design = designNamed(window);
        std::vector<ControlDesign> stops;
        for (const ControlDesign &row : design.controls)
            if (takesFocus(row.kind))
                stops.push_back(row);
        std::sort(stops.begin(), stops.end(), [](const auto &a, const auto &b) { return a.tabIndex < b.tabIndex; });
        const std::unique_ptr<QWidget> built = design.build();
        built->show();
        QVERIFY(QTest::qWaitForWindowActive(built.get()));
        QWidget *start = QApplication::focusWidget();
        QVERIFY(start != nullptr);
        QCOMPARE(start->objectName().toStdString(), std::string(design.window->firstFocus));
        const auto first = std::find_if(stops.begin(), stops.end(), [&](const ControlDesign &row) {
            return designName(row) == start->objectName();
        });
        QVERIFY2(first != stops.end(), qPrintable(start->objectName()));
        std::rotate(stops.begin(), first, stops.end());
        for (std::size_t i = 0; i <= stops.size(); ++i) {
            QCOMPARE(QApplication::focusWidget()->objectName(), designName(stops[i % stops.size()]));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }
};

QTEST_MAIN(DesignTest)
#include "design_test.moc"
