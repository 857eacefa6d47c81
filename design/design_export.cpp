// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Writes the windows' designs, with everything that follows from them, and
// the award table as JSON, so that scripts, tests and the web page read them
// rather than work them out again.
// Usage: design_export FILE
#include "award_table.h"
#include "calculator_design.h"
#include "chart_design.h"
#include "colours.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>

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

const char *roleName(Role role)
{
    switch (role) {
    case Role::Title:
        return "title";
    case Role::TotalHeading:
        return "totalHeading";
    case Role::PartyLevelHeading:
        return "partyLevelHeading";
    case Role::Instructions:
        return "instructions";
    case Role::HowTo:
        return "howTo";
    case Role::ChartHint:
        return "chartHint";
    case Role::ShowChart:
        return "showChart";
    case Role::Calculate:
        return "calculate";
    case Role::PartyLevel:
        return "partyLevel";
    case Role::Total:
        return "total";
    case Role::Count:
        return "count";
    case Role::CountLabel:
        return "countLabel";
    case Role::Version:
        return "version";
    case Role::Website:
        return "website";
    case Role::Copyright:
        return "copyright";
    case Role::Chart:
        return "chart";
    case Role::Explanation:
        return "explanation";
    case Role::FurtherReading:
        return "furtherReading";
    case Role::ReturnToCalculator:
        return "returnToCalculator";
    }
    return "";
}

json font(const FontFace &face)
{
    json families = json::array();
    for (const std::string_view family : face.families)
        if (!family.empty())
            families.push_back(text(family));
    return {{"families", families}, {"pixelSize", face.pixelSize}, {"bold", face.bold}, {"italic", face.italic}};
}

// As CSS writes it: #RRGGBB.
std::string hex(Rgb rgb)
{
    std::ostringstream written;
    written << '#' << std::uppercase << std::hex << std::setfill('0') << std::setw(2) << unsigned{rgb.red}
            << std::setw(2) << unsigned{rgb.green} << std::setw(2) << unsigned{rgb.blue};
    return written.str();
}

json colour(std::int32_t rgb) { return rgb == kDefaultColour ? json(nullptr) : json(hex(rgbOf(rgb))); }

json rect(const PixelRect &r) { return {{"left", r.left}, {"top", r.top}, {"width", r.width}, {"height", r.height}}; }

json index(std::size_t i) { return i == kNoControl ? json(nullptr) : json(i); }

json picture(const ControlDesign &control)
{
    if (control.kind != Kind::PictureBox)
        return nullptr;
    const std::string name = "assets/" + text(control.text);
    return {{"1x", name + ".png"}, {"2x", name + "@2x.png"}};
}

template <std::size_t N> json window(const WindowDesign &design, const std::array<ControlDesign, N> &controls)
{
    json rows = json::array();
    for (std::size_t i = 0; i < N; ++i) {
        const ControlDesign &control = controls[i];
        const std::string heardAs = accessibleNameOf(control);
        rows.push_back(json{
            {"role", roleName(control.role)},
            {"challengeRating", control.number == 0 ? json(nullptr) : json(control.number)},
            {"name", nameOf(control)},
            {"kind", kindName(control.kind)},
            {"container", index(containerOf(controls, i))},
            {"place", rect(placeOf(control))},
            {"placeInWindow", rect(placeInWindow(controls, i))},
            {"tabIndex", control.tabIndex},
            {"takesFocus", takesFocus(control.kind)},
            {"font", control.face == Typeface::None ? json(nullptr) : font(faceOf(control.face))},
            {"text", control.kind == Kind::PictureBox ? json(nullptr) : json(textOf(control))},
            {"picture", picture(control)},
            {"accessibleName", heardAs.empty() ? json(nullptr) : json(heardAs)},
            {"alignment", control.alignment == Alignment::Centre ? "centre" : "left"},
            {"textColour", colour(control.textColour)},
            {"groundColour", colour(control.groundColour)},
        });
    }
    json walk = json::array();
    for (const std::size_t stop : tabOrder(controls))
        if (stop != kNoControl)
            walk.push_back(stop);
    const PixelSize size = clientSize(design);
    return {
        {"name", text(design.name)},
        {"caption", text(design.caption)},
        {"accessibleName", accessibleNameOf(design)},
        {"size", {{"width", size.width}, {"height", size.height}}},
        {"resizable", design.resizable},
        {"ground", text(paintDesign(design.ground).name)},
        {"font", font(faceOf(design.face))},
        {"firstFocus", firstFocusOf(design, controls)},
        {"tabOrder", walk},
        {"controls", rows},
    };
}

// The award chart's lettering, rows and grids, with what screen readers hear.
json awardChart()
{
    json rows = json::array();
    for (int row = 0; row < kChartRows; ++row)
        rows.push_back({{"firstLevel", chartRow(row).firstLevel},
                        {"lastLevel", chartRow(row).lastLevel},
                        {"label", chartRowLabel(row)},
                        {"heardAs", chartRowHeardAs(row)},
                        {"banded", isBanded(chartRow(row))}});
    json grids = json::array();
    for (const ChartGrid &grid : kChartGrids) {
        json columns = json::array();
        for (int rating = grid.firstChallengeRating; rating <= lastChallengeRating(grid); ++rating)
            columns.push_back({{"challengeRating", rating},
                               {"lines", {text(kChartRatingHeader), std::to_string(rating)}},
                               {"heardAs", chartColumnHeardAs(rating)}});
        grids.push_back({{"heardAs", chartGridHeardAs(grid)},
                         {"firstRow", grid.firstRow},
                         {"rows", grid.rows},
                         {"columns", columns}});
    }
    json levelLines = json::array();
    for (std::size_t from = 0; from <= kChartLevelHeader.size();) {
        const std::size_t space = std::min(kChartLevelHeader.find(' ', from), kChartLevelHeader.size());
        levelLines.push_back(text(kChartLevelHeader.substr(from, space - from)));
        from = space + 1;
    }
    return {
        {"title", text(kChartTitle)},
        {"heading", text(kChartHeading)},
        {"levelHeader", {{"text", text(kChartLevelHeader)}, {"lines", levelLines}}},
        {"rowHeading", text(kChartRowHeading)},
        {"rows", rows},
        {"grids", grids},
    };
}

// The whole export: the two windows, the award chart, the award table and
// the colours, as the Windows default scheme has them.
json designs()
{
    json awards = json::array(); // by party level 1 to 20, challenge ratings 1 to 20
    for (const AwardRow &row : kAwardTable)
        awards.push_back(row);
    json colours = json::object();
    for (const PaintDesign &paint : kPaints)
        colours[text(paint.name)] = hex(defaultPaintColour(paint.paint));
    return {
        {"program", text(kProgramName)},
        {"colours", colours},
        {"calculator", window(kCalculatorWindow, kCalculatorControls)},
        {"chart", window(kChartWindow, kChartControls)},
        {"awardChart", awardChart()},
        {"awardTable", awards},
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
