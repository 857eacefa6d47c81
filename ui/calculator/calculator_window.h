// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "award_table.h"
#include "designed_window.h"

#include <array>

class QLineEdit;
class QPushButton;

namespace xpcalc {

class Announcer;
struct OverflowError;

// The calculator window: twenty count boxes, the party level, the total and
// the button that calculates it. It does no arithmetic of its own: it hands
// the texts, exactly as typed, to the calculation and shows what comes back.
class CalculatorWindow : public DesignedWindow {
    Q_OBJECT
public:
    explicit CalculatorWindow(QWidget *parent = nullptr);

signals:
    void chartRequested(); // "XP Chart"

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void calculateExperience(); // "Calculate Experience"
    void reportOverflow(const OverflowError &error);

    // The controls the handlers use; the others, once created, are the
    // window's to keep.
    QPushButton *m_chartButton = nullptr;
    QLineEdit *m_totalBox = nullptr;
    QPushButton *m_calculateButton = nullptr;
    QLineEdit *m_levelBox = nullptr;
    std::array<QLineEdit *, kChallengeRatings> m_countBoxes{}; // m_countBoxes[0] counts CR 1
    std::vector<QWidget *> m_controls;                         // every control, in the design's order
    Announcer *m_announcer = nullptr;                          // tells screen readers the new total, and warnings
};

} // namespace xpcalc
