// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "calculator_window.h"

#include "announcer.h"
#include "caption_frame.h"
#include "controls.h"
#include "experience_calculation.h"
#include "look.h"
#include "overflow_message.h"
#include "pictures.h"
#include "system_colours.h"
#include "text_box.h"
#include "text_view.h"
#include "twips.h"
#include "window_placement.h"
#include "working_text.h"
#include "wrapping_button.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>

namespace xpcalc {
namespace {

// The design of the window: each control's name, its place in twips (inside
// the frame for the frame's controls) and its tab index. The focus runs
// through the controls that take it in ascending tab index: the count boxes,
// the party level, "Calculate Experience", the total and "XP Chart"; the
// picture boxes take none, since they show lettering and react to nothing.
constexpr QSize kClientSize = toPixels(6750, 5565);
const ControlDesign kTitlePicture{QStringLiteral("Picture3"), {2880, 120, 3255, 615}, 49};
const ControlDesign kTotalPicture{QStringLiteral("Picture2"), {3120, 2160, 1335, 615}, 48};
const ControlDesign kLevelPicture{QStringLiteral("Picture1"), {3240, 840, 1815, 255}, 47};
const ControlDesign kInstructionsFrame{QStringLiteral("Frame1"), {2640, 2880, 3855, 1935}, 43};
const ControlDesign kChartButton{QStringLiteral("Command2"), {3000, 1200, 735, 615}, 51};
const ControlDesign kChartHint{QStringLiteral("Label22"), {120, 1200, 2775, 615}, 52};
const ControlDesign kInstructions{QStringLiteral("Label24"), {120, 240, 3615, 855}, 44};
const ControlDesign kTotalBox{QStringLiteral("totalxp"), {4440, 2280, 1455, 375}, 42};
const ControlDesign kCalculateButton{QStringLiteral("Command1"), {3000, 1320, 3015, 615}, 41};
const ControlDesign kLevelBox{QStringLiteral("party"), {5280, 840, 495, 315}, 40};
const ControlDesign kVersion{QStringLiteral("Label21"), {6120, 480, 375, 375}, 50};
const ControlDesign kWebAddress{QStringLiteral("Label27"), {120, 5280, 6375, 255}, 46};
const ControlDesign kCredit{QStringLiteral("Label26"), {120, 5040, 6495, 255}, 45};

// The two families: challenge ratings 1 to 10 in the left column, 11 to 20 in
// the right, each count box with its "CR" label just to its right.
constexpr int kPerColumn = kChallengeRatings / 2;
constexpr bool leftColumn(int rating) { return rating <= kPerColumn; }
constexpr int familyRow(int rating) { return leftColumn(rating) ? rating - 1 : rating - 1 - kPerColumn; }
ControlDesign countBox(int rating)
{
    return {QStringLiteral("cr%1").arg(rating),
            {leftColumn(rating) ? 120 : 1320, 120 + 480 * familyRow(rating), 375, 375},
            rating - 1};
}
ControlDesign countLabel(int rating)
{
    return {QStringLiteral("Label%1").arg(rating),
            {leftColumn(rating) ? 600 : 1800, 120 + 480 * familyRow(rating), 495, 375},
            rating + 19};
}

constexpr qreal kSmall = 8.25; // points
constexpr qreal kLarge = 9.75; // points
const QColor kLinkBlue(0, 0, 255);
const QColor kCreditColour(255, 255, 192);

const char *const kCaption = "Kestrow's Experience Calculator";
const char *const kInstructionsText = "Enter the total number of encounters for each challenge rating, then enter your "
                                      "party level.  Finally, click Calculate Experience to determine your total XP.";
const char *const kChartHintText =
    "For a more detailed explanation of how experience is calculated, click the XP Chart button.";
const char *const kVersionText = "v1.1";
const char16_t *const kCreditText = u"\u00A9 2026 Kestrow";
const char *const kWebAddressText = "www.kestrow.example";

QLabel *label(QWidget *parent, const ControlDesign &design, const QString &text, const QFont &font)
{
    QLabel *l = designLabel(parent, design, text);
    l->setFont(font);
    return l;
}

// A picture box: the picture at its natural size from the top-left corner,
// clipped by the box, the rest of the box in button face.
QLabel *pictureBox(QWidget *parent, const ControlDesign &design, Picture which)
{
    auto *box = place(new QLabel(parent), design);
    box->setPixmap(picture(which, parent->devicePixelRatioF()));
    box->setAccessibleName(lettering(which));
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGround(box, buttonFace());
    return box;
}

QLineEdit *textBox(QWidget *parent, const ControlDesign &design, const QString &accessibleName)
{
    auto *box = place(new TextBox(QStringLiteral("0"), parent), design);
    box->setAccessibleName(accessibleName);
    return box;
}

} // namespace

CalculatorWindow::CalculatorWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QLatin1String(kCaption));
    setAccessibleName(tr("Kestrow's Experience Calculator: calculator"));
    fixSize(this, kClientSize);
    // The window's font is the platform's, at its fixed size; only the count
    // boxes use it, every other control has a font of its own.
    setFont(windowFont());
    createControls();
    chainTabOrder(this);
    m_countBoxes[0]->setFocus();
}

// The window's ground is painted rather than set in its palette: the
// controls then share the program's one palette, and with it what the style
// has already drawn for them.
void CalculatorWindow::paintEvent(QPaintEvent * /*event*/)
{
    QPainter(this).fillRect(rect(), schemeColour(SystemColour::ActiveBorder));
}

void CalculatorWindow::createControls()
{
    // Created in the design's order, so later controls stack above earlier ones.
    pictureBox(this, kTitlePicture, Picture::Title);
    pictureBox(this, kTotalPicture, Picture::Total);
    pictureBox(this, kLevelPicture, Picture::PartyLevel);

    QGroupBox *instructions = place(new CaptionFrame(QStringLiteral("Instructions"), this), kInstructionsFrame);
    instructions->setFont(verdana(kSmall, QFont::Bold));
    m_chartButton = place(new WrappingButton(QStringLiteral("XP Chart"), instructions), kChartButton);
    m_chartButton->setFont(verdana(kSmall));
    label(instructions, kChartHint, QLatin1String(kChartHintText), verdana(kSmall));
    label(instructions, kInstructions, QLatin1String(kInstructionsText), verdana(kSmall));

    m_totalBox = textBox(this, kTotalBox, tr("Total experience"));
    m_totalBox->setFont(verdana(kLarge));
    m_calculateButton = place(new WrappingButton(QStringLiteral("Calculate Experience"), this), kCalculateButton);
    m_calculateButton->setFont(verdana(kLarge, QFont::Bold));
    m_levelBox = textBox(this, kLevelBox, tr("Party level"));
    m_levelBox->setFont(verdana(kLarge));
    for (int n = kChallengeRatings; n >= 1; --n)
        m_countBoxes[static_cast<std::size_t>(n - 1)] = textBox(this, countBox(n), tr("Encounters at CR %1").arg(n));

    label(this, kVersion, QLatin1String(kVersionText), verdana(kSmall));
    QLabel *webAddress = label(this, kWebAddress, QLatin1String(kWebAddressText), verdana(kSmall));
    webAddress->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(webAddress, kLinkBlue);
    QLabel *credit = label(this, kCredit, QString::fromUtf16(kCreditText), verdana(kSmall));
    credit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setGround(credit, Qt::black);
    setTextColour(credit, kCreditColour);
    for (int n = kChallengeRatings; n >= 1; --n) {
        QLabel *l = label(this, countLabel(n), QStringLiteral("CR%1").arg(n), verdana(kSmall));
        l->setBuddy(m_countBoxes[static_cast<std::size_t>(n - 1)]);
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
    m_announcer->announce(tr("Total experience: %1").arg(total));
    // The working shows as the total's tooltip to the mouse, and to the
    // keyboard with Shift+F1 and to screen readers as its description.
    const QString working = workingText(result.value().working);
    m_totalBox->setToolTip(working);
    m_totalBox->setWhatsThis(working);
    m_totalBox->setAccessibleDescription(working);
}

// The calculation could not finish: say where, leave the total as it was and,
// once the user has read it, put them in the box to change. The warning is
// modal to this window but runs no loop of its own, which the browser, where
// nothing may wait, cannot give it.
void CalculatorWindow::reportOverflow(const OverflowError &error)
{
    QLineEdit *concerned = error.site == OverflowError::Site::LevelText
                               ? m_levelBox
                               : m_countBoxes[static_cast<std::size_t>(error.challengeRating - 1)];
    const QString message = overflowMessage(error);
    auto *warning = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    warning->setAttribute(Qt::WA_DeleteOnClose);
    connect(warning, &QDialog::finished, concerned, [concerned] {
#ifdef Q_OS_WASM
        // Desktops hand the keyboard back to the window a box leaves; the
        // browser's page does not.
        concerned->activateWindow();
#endif
        concerned->setFocus(Qt::OtherFocusReason);
        concerned->selectAll();
    });
    warning->open();
    m_announcer->warningShown(message);
}

} // namespace xpcalc
