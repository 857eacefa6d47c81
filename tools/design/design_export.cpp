// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Writes the windows' designs and the award table as JSON, so that scripts,
// tests and the web page read them rather than retype them.
// Usage: design_export FILE
#include "award_table.h"
#include "calculator_design.h"
#include "chart_design.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace xpcalc;

QString text(std::string_view view) { return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size())); }

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::PictureBox:
        return "picture box";
    case Kind::Frame:
        return "frame";
    case Kind::Button:
        return "button";
    case Kind::Label:
        return "label";
    case Kind::TextBox:
        return "text box";
    case Kind::Chart:
        return "chart";
    }
    return "";
}

// A face as CSS would name it: the design's family, size and weight.
QJsonValue font(Typeface face)
{
    const auto verdana = [](double points, bool bold, bool italic) {
        return QJsonObject{{"family", "Verdana"}, {"points", points}, {"bold", bold}, {"italic", italic}};
    };
    switch (face) {
    case Typeface::None:
        return QJsonValue::Null;
    case Typeface::WindowFont:
        return QJsonObject{{"family", "window"}, {"points", 8.0}, {"bold", false}, {"italic", false}};
    case Typeface::Small:
        return verdana(8.25, false, false);
    case Typeface::SmallBold:
        return verdana(8.25, true, false);
    case Typeface::SmallItalic:
        return verdana(8.25, false, true);
    case Typeface::Large:
        return verdana(9.75, false, false);
    case Typeface::LargeBold:
        return verdana(9.75, true, false);
    }
    return QJsonValue::Null;
}

QJsonValue colour(std::int32_t rgb)
{
    if (rgb == kDefaultColour)
        return QJsonValue::Null;
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

QJsonObject rect(int left, int top, int width, int height)
{
    return {{"left", left}, {"top", top}, {"width", width}, {"height", height}};
}

QString text(const std::string &value) { return QString::fromStdString(value); }

template <std::size_t N> QJsonObject window(const WindowDesign &design, const std::array<ControlDesign, N> &controls)
{
    QJsonArray rows;
    for (const ControlDesign &control : controls) {
        // In pixels, from the window's client area, a frame's controls included.
        int left = control.place.left;
        int top = control.place.top;
        for (const ControlDesign &frame : controls)
            if (!control.container.empty() && frame.name == control.container) {
                left += frame.place.left;
                top += frame.place.top;
            }
        const std::string heardAs = accessibleNameOf(control);
        rows.append(QJsonObject{
            {"name", text(nameOf(control))},
            {"kind", kindName(control.kind)},
            {"container", control.container.empty() ? QJsonValue::Null : QJsonValue(text(control.container))},
            {"twips", rect(control.place.left, control.place.top, control.place.width, control.place.height)},
            {"pixels", rect(left / kTwipsPerPixel, top / kTwipsPerPixel, control.place.width / kTwipsPerPixel,
                            control.place.height / kTwipsPerPixel)},
            {"tabIndex", control.tabIndex},
            {"takesFocus", takesFocus(control.kind)},
            {"font", font(control.face)},
            {"text", text(textOf(control))},
            {"accessibleName", heardAs.empty() ? QJsonValue::Null : QJsonValue(text(heardAs))},
            {"alignment", control.alignment == Alignment::Centre ? "centre" : "left"},
            {"textColour", colour(control.textColour)},
            {"groundColour", colour(control.groundColour)},
        });
    }
    // The keyboard's walk: the controls that take the focus, by tab index.
    std::vector<const ControlDesign *> stops;
    for (const ControlDesign &control : controls)
        if (takesFocus(control.kind))
            stops.push_back(&control);
    std::sort(stops.begin(), stops.end(), [](auto *a, auto *b) { return a->tabIndex < b->tabIndex; });
    QJsonArray tabOrder;
    for (const ControlDesign *control : stops)
        tabOrder.append(text(nameOf(*control)));
    return {
        {"name", text(design.name)},
        {"caption", text(design.caption)},
        {"twips", QJsonObject{{"width", design.width}, {"height", design.height}}},
        {"pixels", QJsonObject{{"width", design.width / kTwipsPerPixel}, {"height", design.height / kTwipsPerPixel}}},
        {"resizable", design.resizable},
        {"font", font(design.face)},
        {"firstFocus", text(design.firstFocus)},
        {"controls", rows},
        {"tabOrder", tabOrder},
    };
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: design_export FILE\n", stderr);
        return 2;
    }
    QJsonArray awards; // by party level 1 to 20, challenge ratings 1 to 20
    for (const AwardRow &row : kAwardTable) {
        QJsonArray cells;
        for (const std::int32_t award : row)
            cells.append(award);
        awards.append(cells);
    }
    const QJsonObject design{
        {"twipsPerPixel", kTwipsPerPixel},
        {"calculator", window(kCalculatorWindow, kCalculatorControls)},
        {"chart", window(kChartWindow, kChartControls)},
        {"awardTable", awards},
    };
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(QJsonDocument(design).toJson()) < 0 ||
        !file.commit()) {
        std::fprintf(stderr, "design_export: cannot write %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
