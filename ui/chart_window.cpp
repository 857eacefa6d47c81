// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "chart_window.h"

#include "award_chart_view.h"
#include "controls.h"
#include "look.h"
#include "system_colours.h"
#include "twips.h"
#include "wrapping_button.h"

#include <QLabel>

namespace xpcalc {
namespace {

// The design of the window: each control's name, its place in twips and its
// tab index. A screen reader meets the chart, then the explanation, the
// rule-book pointer and the button.
constexpr QSize kClientSize = toPixels(6720, 5535);
const ControlDesign kReturnButton{QStringLiteral("Command1"), {4200, 3480, 2295, 615}, 3};
const ControlDesign kChart{QStringLiteral("Picture1"), {0, 120, 3975, 5175}, 0};
const ControlDesign kRuleBook{QStringLiteral("Label2"), {4080, 4320, 2535, 975}, 2};
const ControlDesign kExplanation{QStringLiteral("Label1"), {4080, 240, 2535, 3015}, 1};

constexpr qreal kFontPoints = 8.25;

const char *const kCaption = "Kestrow's Experience Calculator";
const char *const kReturnText = "Click here to return to the Calculator";
const char *const kExplanationText =
    "This chart shows how the experience points are awarded based on party level and challenge rating.  As you can "
    "see, some challenge ratings are unreachable at lower party levels, which is why no award is defined.  At higher "
    "party levels, the lower challenge ratings do not offer a reward.  This is because it would be nothing for a 20th "
    "level party to kill a group of CR 2 monsters.";
const char *const kRuleBookText =
    "For more information on earning experience, please refer to the Dungeons and Dragons "
    "3rd Edition Dungeon Master's Guide.";

} // namespace

ChartWindow::ChartWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QLatin1String(kCaption));
    setAccessibleName(tr("Kestrow's Experience Calculator: award chart"));
    setFont(verdana(kFontPoints));
    resize(kClientSize);

    // Created in the design's order. No layout: resizing the window neither
    // moves nor scales anything.
    auto *returnButton = place(new WrappingButton(QLatin1String(kReturnText), this), kReturnButton);
    returnButton->setFont(verdana(kFontPoints, QFont::Bold));

    // The chart at its natural size from the top-left inside the sunken
    // border; the box clips what does not fit.
    auto *chart = place(new AwardChartView(this), kChart);
    setGround(chart, schemeColour(SystemColour::CaptionText));

    QLabel *ruleBook = designLabel(this, kRuleBook, QLatin1String(kRuleBookText));
    ruleBook->setFont(verdana(kFontPoints, QFont::Normal, QFont::StyleItalic));
    designLabel(this, kExplanation, QLatin1String(kExplanationText));

    chainTabOrder(this);
    // The button is the one control that does anything, so the focus starts there.
    returnButton->setFocus();
    connect(returnButton, &QPushButton::clicked, this, &ChartWindow::calculatorRequested);
}

} // namespace xpcalc
