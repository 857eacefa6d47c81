// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Writes the windows' designs and the award table as JSON, so that scripts,
// tests and the web page read them rather than retype them.
// Usage: design_export FILE
#include "award_table.h"
#include "calculator_design.h"
#include "chart_design.h"

#include "system_colours.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <vector>

namespace {

using namespace xpcalc;
using nlohmann::json;

std::string text(std::string_view view) { return std::string(view); }

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
json font(Typeface face)
{
    const auto verdana = [](double points, bool bold, bool italic) {
        return json{{"family", "Verdana"}, {"points", points}, {"bold", bold}, {"italic", italic}};
    };
    switch (face) {
    case Typeface::None:
        return nullptr;
    case Typeface::WindowFont:
        return json{{"family", "window"}, {"points", 8.0}, {"bold", false}, {"italic", false}};
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
    return nullptr;
}

// As CSS writes it: #RRGGBB.
std::string hex(unsigned rgb)
{
    std::ostringstream written;
    written << '#' << std::uppercase << std::hex << std::setw(6) << std::setfill('0') << (rgb & 0xFFFFFFU);
    return written.str();
}

json colour(std::int32_t rgb)
{
    if (rgb == kDefaultColour)
        return nullptr;
    return hex(static_cast<unsigned>(rgb));
}

json rect(int left, int top, int width, int height)
{
    return {{"left", left}, {"top", top}, {"width", width}, {"height", height}};
}

template <std::size_t N> json window(const WindowDesign &design, const std::array<ControlDesign, N> &controls)
{
    json rows = json::array();
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
        rows.push_back(json{
            {"name", nameOf(control)},
            {"kind", kindName(control.kind)},
            {"container", control.container.empty() ? json(nullptr) : json(text(control.container))},
            {"twips", rect(control.place.left, control.place.top, control.place.width, control.place.height)},
            {"pixels", rect(left / kTwipsPerPixel, top / kTwipsPerPixel, control.place.width / kTwipsPerPixel,
                            control.place.height / kTwipsPerPixel)},
            {"tabIndex", control.tabIndex},
            {"takesFocus", takesFocus(control.kind)},
            {"font", font(control.face)},
            {"text", textOf(control)},
            {"accessibleName", heardAs.empty() ? json(nullptr) : json(heardAs)},
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
    json tabOrder = json::array();
    for (const ControlDesign *control : stops)
        tabOrder.push_back(nameOf(*control));
    return {
        {"name", text(design.name)},
        {"caption", text(design.caption)},
        {"accessibleName", text(design.accessibleName)},
        {"twips", {{"width", design.width}, {"height", design.height}}},
        {"pixels", {{"width", design.width / kTwipsPerPixel}, {"height", design.height / kTwipsPerPixel}}},
        {"resizable", design.resizable},
        {"font", font(design.face)},
        {"firstFocus", text(design.firstFocus)},
        {"controls", rows},
        {"tabOrder", tabOrder},
    };
}

// The award chart's lettering, rows and grids.
json awardChart()
{
    json rows = json::array();
    for (int row = 0; row < kChartRows; ++row)
        rows.push_back({{"firstLevel", chartRow(row).firstLevel},
                        {"lastLevel", chartRow(row).lastLevel},
                        {"banded", isBanded(chartRow(row))}});
    json grids = json::array();
    for (const ChartGrid &grid : kChartGrids)
        grids.push_back({{"firstChallengeRating", grid.firstChallengeRating},
                         {"challengeRatings", kChartGridColumns},
                         {"firstRow", grid.firstRow},
                         {"rows", grid.rows}});
    return {
        {"title", text(kChartTitle)},
        {"heading", text(kChartHeading)},
        {"levelHeader", text(kChartLevelHeader)},
        {"ratingHeader", text(kChartRatingHeader)},
        {"rows", rows},
        {"grids", grids},
    };
}

// The whole export: the two windows, the award chart, the award table and
// the colour scheme.
json designs()
{
    json awards = json::array(); // by party level 1 to 20, challenge ratings 1 to 20
    for (const AwardRow &row : kAwardTable)
        awards.push_back(row);
    // The colours of the Windows default scheme, by their names in the
    // registry, as the windows draw in them away from Windows.
    json scheme = json::object();
    for (const SchemeColour &colour : defaultScheme())
        scheme[colour.registryName] =
            hex((unsigned{colour.value.red} << 16U) | (unsigned{colour.value.green} << 8U) | colour.value.blue);
    return {
        {"twipsPerPixel", kTwipsPerPixel},
        {"calculator", window(kCalculatorWindow, kCalculatorControls)},
        {"chart", window(kChartWindow, kChartControls)},
        {"awardChart", awardChart()},
        {"awardTable", awards},
        {"scheme", scheme},
    };
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: design_export FILE\n";
        return 2;
    }
    try {
        std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
        file << designs().dump(2) << '\n';
        if (!file.flush()) {
            std::cerr << "design_export: cannot write " << argv[1] << '\n';
            return 1;
        }
    } catch (const std::exception &error) { // out of memory, or text that is not UTF-8
        std::cerr << "design_export: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
