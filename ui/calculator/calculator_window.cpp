// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "calculator_window.h"

#include "announcer.h"
#include "calculator_design.h"
#include "controls.h"
#include "experience_calculation.h"
#include "look.h"
#include "messages.h"
#include "system_colours.h"
#include "text_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

#include <utility>

namespace xpcalc {
namespace {

// The controls the window's handlers use, by their place in the design: a
// role the design lacks does not compile.
constexpr std::size_t kChartButton = indexOf(kCalculatorControls, Role::ShowChart);
constexpr std::size_t kTotalBox = indexOf(kCalculatorControls, Role::Total);
constexpr std::size_t kCalculateButton = indexOf(kCalculatorControls, Role::Calculate);
constexpr std::size_t kLevelBox = indexOf(kCalculatorControls, Role::PartyLevel);
template <std::size_t... Rating>
constexpr std::array<std::pair<std::size_t, std::size_t>, sizeof...(Rating)> families(std::index_sequence<Rating...>)
{
    return {{{indexOf(kCalculatorControls, Role::Count, Rating + 1),
              indexOf(kCalculatorControls, Role::CountLabel, Rating + 1)}...}};
}
// For each challenge rating from 1, its count box and its label.
constexpr auto kFamilies = families(std::make_index_sequence<kChallengeRatings>());

} // namespace

// The window's font is the platform's, at its fixed size; only the count boxes
// use it, every other control has a font of its own.
CalculatorWindow::CalculatorWindow(QWidget *parent) : DesignedWindow(kCalculatorWindow, parent)
{
    Announcer::installAccessible();
    createControls();
}

// The window's ground is painted rather than set in its palette: the
// controls then share the program's one palette, and with it what the style
// has already drawn for them.
void CalculatorWindow::paintEvent(QPaintEvent * /*event*/)
{
    QPainter(this).fillRect(rect(), paint(kCalculatorWindow.ground));
}

void CalculatorWindow::createControls()
{
    m_controls = build(kCalculatorControls);
    const std::vector<QWidget *> &controls = m_controls;
    m_chartButton = as<QPushButton>(controls[kChartButton]);
    m_totalBox = as<QLineEdit>(controls[kTotalBox]);
    m_calculateButton = as<QPushButton>(controls[kCalculateButton]);
    m_levelBox = as<QLineEdit>(controls[kLevelBox]);
    for (std::size_t i = 0; i < kFamilies.size(); ++i) {
        const auto [box, label] = kFamilies[i];
        m_countBoxes[i] = as<QLineEdit>(controls[box]);
        as<QLabel>(controls[label])->setBuddy(m_countBoxes[i]);
    }

    m_announcer = new Announcer(this);
    m_announcer->readWhatsThisOf(m_totalBox);

    connect(m_calculateButton, &QPushButton::clicked, this, &CalculatorWindow::calculateExperience);
    connect(m_chartButton, &QPushButton::clicked, this, &CalculatorWindow::chartRequested);
}

void CalculatorWindow::calculateExperience()
{
    // The texts go to the calculation exactly as typed: no trimming, no checks.
    std::array<QString, kChallengeRatings> counts;
    EncounterSheet sheet;
    for (std::size_t i = 0; i < m_countBoxes.size(); ++i) {
        counts[i] = m_countBoxes[i]->text();
        sheet.counts[i] = toView(counts[i]);
    }
    const QString level = m_levelBox->text();
    sheet.level = toView(level);

    const Checked<Calculation, OverflowError> result = calculate(sheet);
    if (!result) {
        reportOverflow(result.error());
        return;
    }
    const QString total = toQString(result.value().totalText.view());
    m_totalBox->setText(total);
    m_announcer->announce(toQString(totalAnnouncement(result.value().totalText.view())));
    // The working shows as the total's tooltip to the mouse, and to the
    // keyboard with Shift+F1 and to screen readers as its description.
    const QString working = toQString(workingText(result.value().working));
    m_totalBox->setToolTip(working);
    m_totalBox->setWhatsThis(working);
    m_totalBox->setAccessibleDescription(working);
}

// The calculation could not finish: say where, leave the total as it was and,
// once the user has read it, put them in the box to change. The warning is
// modal to this window but runs no loop of its own.
void CalculatorWindow::reportOverflow(const OverflowError &error)
{
    auto *concerned = as<QLineEdit>(m_controls.at(overflowControl(error)));
    const QString message = toQString(overflowMessage(error));
    auto *warning = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    warning->setAttribute(Qt::WA_DeleteOnClose);
    connect(warning, &QDialog::finished, concerned, [concerned] {
        concerned->setFocus(Qt::OtherFocusReason);
        concerned->selectAll();
    });
    warning->open();
}

} // namespace xpcalc
