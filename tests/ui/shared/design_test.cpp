// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Each window stands as the designs' export (design.json) says: its controls
// alone, placed, lettered, named and coloured, stacked in order, on its ground;
// and from the first focus Tab walks them by rising tab index, and comes round.
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

QRect rect(const json &place) { return {place["left"], place["top"], place["width"], place["height"]}; }

// The control an exported row describes, found by its role as every reader finds it.
QWidget *controlOf(const QWidget *window, const json &row)
{
    const json &rating = row["challengeRating"];
    return control(window, row["role"].get<std::string>(), rating.is_null() ? 0 : rating.get<int>());
}

} // namespace

class DesignTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { xpcalc::applyColourScheme(); }

    void windowStandsAsExported_data()
    {
        QTest::addColumn<bool>("calculator");
        QTest::newRow("calculator") << true;
        QTest::newRow("chart") << false;
    }
    void windowStandsAsExported()
    {
        QFETCH(bool, calculator);
        const json &design = exported()[calculator ? "calculator" : "chart"];
        const std::unique_ptr<QWidget> built = calculator ? std::unique_ptr<QWidget>(new xpcalc::CalculatorWindow)
                                                          : std::make_unique<xpcalc::ChartWindow>();
        QCOMPARE(built->objectName(), qs(design["name"]));
        QCOMPARE(built->windowTitle(), qs(design["caption"]));
        QCOMPARE(built->accessibleName(), qs(design["accessibleName"]));
        QCOMPARE(built->size(), QSize(design["size"]["width"].get<int>(), design["size"]["height"].get<int>()));
        QCOMPARE(built->minimumSize() == built->maximumSize(), !design["resizable"].get<bool>());
        const json &controls = design["controls"];
        // But the calculator's announcer, which has no place.
        const bool announcer = built->findChild<QWidget *>(QStringLiteral("announcer")) != nullptr;
        QCOMPARE(built->findChildren<QWidget *>().size(), qsizetype(controls.size() + announcer));
        QRegion bare(built->rect());
        for (const json &row : controls)
            bare -= rect(row["placeInWindow"]);
        QCOMPARE(hex(built->grab().toImage().pixelColor(bare.begin()->center())),
                 qs(exported()["colours"][design["ground"].get<std::string>()]));
        QWidget *previous = nullptr;
        std::map<const QWidget *, int> tabIndex; // of the controls that take the focus
        for (const json &row : controls) {
            const QString name = qs(row["name"]);
            QWidget *control = controlOf(built.get(), row);
            if (row["takesFocus"].get<bool>())
                tabIndex[control] = row["tabIndex"].get<int>();
            QCOMPARE(control->objectName(), name);
            const QWidget *container = row["container"].is_null()
                                           ? built.get()
                                           : controlOf(built.get(), controls[row["container"].get<std::size_t>()]);
            QCOMPARE(control->parentWidget(), container);
            QCOMPARE(QRect(control->mapTo(built.get(), QPoint(0, 0)), control->size()), rect(row["placeInWindow"]));
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
