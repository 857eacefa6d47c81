// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "chart_window.h"

#include "award_chart_view.h"
#include "award_table_accessible.h"
#include "chart_design.h"
#include "controls.h"
#include "look.h"
#include "system_colours.h"

#include <QPushButton>

namespace xpcalc {
namespace {

constexpr std::size_t kReturnButton = indexOf(kChartControls, Role::ReturnToCalculator);
constexpr std::size_t kChart = indexOf(kChartControls, Role::Chart);

} // namespace

ChartWindow::ChartWindow(QWidget *parent) : DesignedWindow(kChartWindow, parent)
{
    installAwardTableAccessible();
    // No layout: resizing the window neither moves nor scales anything.
    const std::vector<QWidget *> controls =
        build(kChartControls, [](QWidget *chartParent) -> QWidget * { return new AwardChartView(chartParent); });
    // The chart at its natural size from the top-left inside the sunken
    // border, on the chart's ground; the box clips what does not fit.
    setGround(controls[kChart], paint(Paint::ChartGround));
    auto *returnButton = as<QPushButton>(controls[kReturnButton]);
    connect(returnButton, &QPushButton::clicked, this, &ChartWindow::calculatorRequested);
}

} // namespace xpcalc
