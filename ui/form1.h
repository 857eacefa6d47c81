#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace xpcalc {

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

private:
    void createControls();
    void chainTabOrder();
    void calculateExperience(); // "Calculate Experience"
    void reportOverflow(const OverflowError &error);

    QLabel *Picture3 = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *Picture1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label22 = nullptr;
    QLabel *Label24 = nullptr;
    QLineEdit *totalxp = nullptr;
    QPushButton *Command1 = nullptr;
    QLineEdit *party = nullptr;
    std::array<QLineEdit *, 20> cr{}; // cr[0] is `cr1`
    QLabel *Label21 = nullptr;
    QLabel *Label27 = nullptr;
    QLabel *Label26 = nullptr;
    std::array<QLabel *, 20> crLabel{}; // crLabel[0] is `Label1`
};

} // namespace xpcalc
