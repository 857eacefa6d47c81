#pragma once

#include "award_table.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace xpcalc {

class Announcer;
struct OverflowError;

// The calculator window: twenty count boxes, the party level, the total and
// the button that calculates it. It does no arithmetic of its own: it hands
// the texts, exactly as typed, to the calculation and shows what comes back.
// Its controls carry their design names as object names.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

signals:
    void chartRequested(); // "XP Chart"

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void chainTabOrder();
    void calculateExperience(); // "Calculate Experience"
    void reportOverflow(const OverflowError &error);

    // The controls the handlers and the tab order use; the others, once
    // created, are the window's to keep.
    QPushButton *Command2 = nullptr;
    QLineEdit *totalxp = nullptr;
    QPushButton *Command1 = nullptr;
    QLineEdit *party = nullptr;
    std::array<QLineEdit *, kChallengeRatings> cr{}; // cr[0] is `cr1`
    Announcer *m_announcer = nullptr;                // tells screen readers the new total
};

} // namespace xpcalc
