// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Each window stands as the designs' export (design.json) says: every
// control where the export places it in the window, with its text, face,
// accessible name and colours, stacked in the design's order; and the
// keyboard walks the controls that take the focus by rising tab index.
#include "calculator_window.h"
#include "chart_window.h"
#include "look.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <nlohmann/json.hpp>

#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>

using nlohmann::json;

namespace {

const json &exported()
{
    static const json design = [] {
        std::ifstream file(XPCALC_DESIGN_JSON);
        if (!file)
            qFatal("cannot read %s", XPCALC_DESIGN_JSON);
        return json::parse(file);
    }();
    return design;
}

QString qs(const json &text) { return QString::fromStdString(text.get<std::string>()); }

std::unique_ptr<QWidget> build(const QString &window)
{
    if (window == QLatin1String("calculator"))
        return std::make_unique<xpcalc::CalculatorWindow>();
    return std::make_unique<xpcalc::ChartWindow>();
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

QString hex(const QColor &colour) { return colour.name(QColor::HexRgb).toUpper(); }

// The control an exported row describes, found by its role, as every
// reader finds it.
QWidget *controlOf(const QWidget *window, const json &row)
{
    const json &rating = row["challengeRating"];
    return control(window, row["role"].get<std::string>(), rating.is_null() ? 0 : rating.get<int>());
}

} // namespace

class DesignTest : public QObject {
    Q_OBJECT

    static void windows()
    {
        QTest::addColumn<QString>("window");
        for (const char *window : {"calculator", "chart"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }

private slots:
    void initTestCase() { xpcalc::applyColourScheme(); }

    void windowStandsAsExported_data() { windows(); }
    void windowStandsAsExported()
    {
        QFETCH(QString, window);
        const json &design = exported()[window.toStdString()];
        const std::unique_ptr<QWidget> built = build(window);
        QCOMPARE(built->objectName(), qs(design["name"]));
        QCOMPARE(built->windowTitle(), qs(design["caption"]));
        QCOMPARE(built->accessibleName(), qs(design["accessibleName"]));
        QCOMPARE(built->size(), QSize(design["size"]["width"].get<int>(), design["size"]["height"].get<int>()));
        QCOMPARE(built->minimumSize() == built->maximumSize(), !design["resizable"].get<bool>());
        const json &controls = design["controls"];
        // The design's controls and nothing else, but the calculator's announcer.
        QCOMPARE(built->findChildren<QWidget *>().size() - qsizetype(built->findChild<QWidget *>("announcer") != nullptr),
                 qsizetype(controls.size()));
        // The window's ground shows where no control stands.
        QRegion bare(built->rect());
        for (const json &row : controls)
            bare -= QRect(row["placeInWindow"]["left"], row["placeInWindow"]["top"], row["placeInWindow"]["width"],
                          row["placeInWindow"]["height"]);
        const QPoint ground = bare.begin()->center();
        QCOMPARE(hex(built->grab().toImage().pixelColor(ground)), qs(exported()["colours"][design["ground"].get<std::string>()]));
        QWidget *previous = nullptr;
        for (const json &row : controls) {
            const QString name = qs(row["name"]);
            QWidget *control = controlOf(built.get(), row);
            QCOMPARE(control->objectName(), name);
            const QWidget *container = row["container"].is_null()
                                           ? built.get()
                                           : controlOf(built.get(), controls[row["container"].get<std::size_t>()]);
            QCOMPARE(control->parentWidget(), container);
            const json &place = row["placeInWindow"];
            QCOMPARE(QRect(control->mapTo(built.get(), QPoint(0, 0)), control->size()),
                     QRect(place["left"], place["top"], place["width"], place["height"]));
            if (row["text"].is_string() && row["kind"] != "chart")
                QCOMPARE(shownText(control), qs(row["text"]));
            const json &face = row["font"].is_null() ? design["font"] : row["font"];
            QStringList families;
            for (const json &family : face["families"])
                families << qs(family);
            QVERIFY2(families.contains(control->font().family()), qPrintable(name + ": " + control->font().family()));
            QCOMPARE(control->font().pixelSize(), face["pixelSize"].get<int>());
            QCOMPARE(control->font().bold(), face["bold"].get<bool>());
            QCOMPARE(control->font().italic(), face["italic"].get<bool>());
            if (!row["accessibleName"].is_null())
                QCOMPARE(control->accessibleName(), qs(row["accessibleName"]));
            if (!row["textColour"].is_null())
                QCOMPARE(hex(control->palette().color(QPalette::WindowText)), qs(row["textColour"]));
            if (!row["groundColour"].is_null())
                QCOMPARE(hex(control->palette().color(QPalette::Window)), qs(row["groundColour"]));
            if (const auto *label = qobject_cast<const QLabel *>(control); label != nullptr && row["kind"] == "label")
                QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask,
                         row["alignment"] == "centre" ? Qt::AlignHCenter : Qt::AlignLeft);
            // Created in the design's order: each stacks above its container's earlier children.
            if (previous != nullptr && previous->parentWidget() == control->parentWidget()) {
                const QObjectList &children = control->parentWidget()->children();
                QVERIFY2(children.indexOf(previous) < children.indexOf(control), qPrintable(name));
            }
            previous = control;
        }
    }

    // The window opens with the focus where the export says; Tab then visits
    // every control that takes the focus, each with a higher tab index than
    // the last, and comes round to the first.
    void tabIndexRisesAlongTheWalk_data() { windows(); }
    void tabIndexRisesAlongTheWalk()
    {
        QFETCH(QString, window);
        const json &design = exported()[window.toStdString()];
        const std::unique_ptr<QWidget> built = build(window);
        std::map<const QWidget *, int> tabIndex;
        for (const json &row : design["controls"])
            if (row["takesFocus"].get<bool>())
                tabIndex[controlOf(built.get(), row)] = row["tabIndex"].get<int>();
        built->show();
        QVERIFY(QTest::qWaitForWindowActive(built.get()));
        const QWidget *first = QApplication::focusWidget();
        QCOMPARE(first, controlOf(built.get(), design["controls"][design["firstFocus"].get<std::size_t>()]));
        std::set<const QWidget *> visited;
        int wraps = 0;
        for (std::size_t i = 0; i < tabIndex.size(); ++i) {
            const QWidget *from = QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QWidget *to = QApplication::focusWidget();
            QVERIFY2(tabIndex.count(to) == 1, qPrintable(to->objectName()));
            wraps += tabIndex[to] <= tabIndex[from];
            visited.insert(to);
        }
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(wraps, 1);
        QCOMPARE(visited.size(), tabIndex.size());
    }
};

QTEST_MAIN(DesignTest)
#include "design_test.moc"
