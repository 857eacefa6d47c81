#include "form1.h"

#include "announcer.h"
#include "caption_frame.h"
#include "controls.h"
#include "experience_calculation.h"
#include "look.h"
#include "overflow_message.h"
#include "pictures.h"
#include "system_colours.h"
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

#include <limits>

namespace xpcalc {
namespace {

// The design of the window, in twips. Positions of the frame's controls are
// inside the frame.
constexpr QSize kClientSize = toPixels(6750, 5565);
constexpr TwipsRect kPicture3{2880, 120, 3255, 615};
constexpr TwipsRect kPicture2{3120, 2160, 1335, 615};
constexpr TwipsRect kPicture1{3240, 840, 1815, 255};
constexpr TwipsRect kFrame1{2640, 2880, 3855, 1935};
constexpr TwipsRect kCommand2{3000, 1200, 735, 615};
constexpr TwipsRect kLabel22{120, 1200, 2775, 615};
constexpr TwipsRect kLabel24{120, 240, 3615, 855};
constexpr TwipsRect kTotalxp{4440, 2280, 1455, 375};
constexpr TwipsRect kCommand1{3000, 1320, 3015, 615};
constexpr TwipsRect kParty{5280, 840, 495, 315};
constexpr TwipsRect kLabel21{6120, 480, 375, 375};
constexpr TwipsRect kLabel27{120, 5280, 6375, 255};
constexpr TwipsRect kLabel26{120, 5040, 6495, 255};

// The two families: challenge ratings 1 to 10 in the left column, 11 to 20 in
// the right, each count box with its "CR" label just to its right.
constexpr int kPerColumn = kChallengeRatings / 2;
constexpr bool leftColumn(int cr) { return cr <= kPerColumn; }
constexpr int row(int cr) { return leftColumn(cr) ? cr - 1 : cr - 1 - kPerColumn; }
constexpr TwipsRect countBox(int cr) { return {leftColumn(cr) ? 120 : 1320, 120 + 480 * row(cr), 375, 375}; }
constexpr TwipsRect countLabel(int cr) { return {leftColumn(cr) ? 600 : 1800, 120 + 480 * row(cr), 495, 375}; }

constexpr qreal kSmall = 8.25; // points
constexpr qreal kLarge = 9.75; // points
const QColor kLinkBlue(0, 0, 255);
const QColor kCreditText(255, 255, 192);

const char *const kCaption = "Kestrow's Experience Calculator";
const char *const kInstructions = "Enter the total number of encounters for each challenge rating, then enter your "
                                  "party level.  Finally, click Calculate Experience to determine your total XP.";
const char *const kChartHint =
    "For a more detailed explanation of how experience is calculated, click the XP Chart button.";
const char *const kVersion = "v1.1";
const char16_t *const kCredit = u"\u00A9 2026 Kestrow";
const char *const kWebAddress = "www.kestrow.example";

QLabel *label(QWidget *parent, const char *name, TwipsRect design, const QString &text, const QFont &font)
{
    QLabel *l = designLabel(parent, name, design, text);
    l->setFont(font);
    return l;
}

// A picture box: the picture at its natural size from the top-left corner,
// clipped by the box, the rest of the box in button face.
QLabel *pictureBox(QWidget *parent, const char *name, TwipsRect design, Picture which)
{
    auto *box = place(new QLabel(parent), name, design);
    box->setPixmap(picture(which, parent->devicePixelRatioF()));
    box->setAccessibleName(lettering(which));
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGround(box, buttonFace());
    return box;
}

QLineEdit *textBox(QWidget *parent, const char *name, TwipsRect design, const QString &accessibleName)
{
    auto *box = place(new QLineEdit(QStringLiteral("0"), parent), name, design);
    box->setMaxLength(std::numeric_limits<int>::max()); // a line edit caps its text at 32767 unless told otherwise
    box->setAccessibleName(accessibleName);
    return box;
}

} // namespace

Form1::Form1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QLatin1String(kCaption));
    setAccessibleName(tr("Kestrow's Experience Calculator: calculator"));
    fixSize(this, kClientSize);
    // The window's font is the platform's, at its fixed size; only the count
    // boxes use it, every other control has a font of its own.
    setFont(windowFont());
    createControls();
    chainTabOrder();
    cr[0]->setFocus();
}

// The window's ground is painted rather than set in its palette: the
// controls then share the program's one palette, and with it what the style
// has already drawn for them.
void Form1::paintEvent(QPaintEvent * /*event*/)
{
    QPainter(this).fillRect(rect(), schemeColour(SystemColour::ActiveBorder));
}

void Form1::createControls()
{
    // Created in the design's order, so later controls stack above earlier ones.
    pictureBox(this, "Picture3", kPicture3, Picture::Title);
    pictureBox(this, "Picture2", kPicture2, Picture::Total);
    pictureBox(this, "Picture1", kPicture1, Picture::PartyLevel);

    QGroupBox *Frame1 = place(new CaptionFrame(QStringLiteral("Instructions"), this), "Frame1", kFrame1);
    Frame1->setFont(verdana(kSmall, QFont::Bold));
    Command2 = place(new WrappingButton(QStringLiteral("XP Chart"), Frame1), "Command2", kCommand2);
    Command2->setFont(verdana(kSmall));
    label(Frame1, "Label22", kLabel22, QLatin1String(kChartHint), verdana(kSmall));
    label(Frame1, "Label24", kLabel24, QLatin1String(kInstructions), verdana(kSmall));

    totalxp = textBox(this, "totalxp", kTotalxp, tr("Total experience"));
    totalxp->setFont(verdana(kLarge));
    Command1 = place(new WrappingButton(QStringLiteral("Calculate Experience"), this), "Command1", kCommand1);
    Command1->setFont(verdana(kLarge, QFont::Bold));
    party = textBox(this, "party", kParty, tr("Party level"));
    party->setFont(verdana(kLarge));
    for (int n = kChallengeRatings; n >= 1; --n) {
        const QByteArray name = "cr" + QByteArray::number(n);
        cr[static_cast<std::size_t>(n - 1)] =
            textBox(this, name.constData(), countBox(n), tr("Encounters at CR %1").arg(n));
    }

    label(this, "Label21", kLabel21, QLatin1String(kVersion), verdana(kSmall));
    QLabel *Label27 = label(this, "Label27", kLabel27, QLatin1String(kWebAddress), verdana(kSmall));
    Label27->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(Label27, kLinkBlue);
    QLabel *Label26 = label(this, "Label26", kLabel26, QString::fromUtf16(kCredit), verdana(kSmall));
    Label26->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setGround(Label26, Qt::black);
    setTextColour(Label26, kCreditText);
    for (int n = kChallengeRatings; n >= 1; --n) {
        const QByteArray name = "Label" + QByteArray::number(n);
        QLabel *l = label(this, name.constData(), countLabel(n), QStringLiteral("CR%1").arg(n), verdana(kSmall));
        l->setBuddy(cr[static_cast<std::size_t>(n - 1)]);
    }

    m_announcer = new Announcer(this);
    m_announcer->readWhatsThisOf(totalxp);

    connect(Command1, &QPushButton::clicked, this, &Form1::calculateExperience);
    connect(Command2, &QPushButton::clicked, this, &Form1::chartRequested);
}

// The design's tab indexes. The focus runs through the controls that take it
// in ascending order: the count boxes, the party level, "Calculate
// Experience", the total and "XP Chart"; the picture boxes take none, since
// they show lettering and react to nothing.
void Form1::chainTabOrder()
{
    std::vector<TabIndex> order{
        {QStringLiteral("party"), 40},    {QStringLiteral("Command1"), 41}, {QStringLiteral("totalxp"), 42},
        {QStringLiteral("Frame1"), 43},   {QStringLiteral("Label24"), 44},  {QStringLiteral("Label26"), 45},
        {QStringLiteral("Label27"), 46},  {QStringLiteral("Picture1"), 47}, {QStringLiteral("Picture2"), 48},
        {QStringLiteral("Picture3"), 49}, {QStringLiteral("Label21"), 50},  {QStringLiteral("Command2"), 51},
        {QStringLiteral("Label22"), 52}};
    for (int n = 1; n <= kChallengeRatings; ++n) {
        order.push_back({QStringLiteral("cr%1").arg(n), n - 1});
        order.push_back({QStringLiteral("Label%1").arg(n), n + 19});
    }
    applyTabOrder(this, std::move(order));
}

void Form1::calculateExperience()
{
    // The texts go to the calculation exactly as typed: no trimming, no checks.
    std::array<QString, kChallengeRatings> counts;
    EncounterSheet sheet;
    for (std::size_t i = 0; i < cr.size(); ++i) {
        counts[i] = cr[i]->text();
        sheet.counts[i] = toView(counts[i]);
    }
    const QString level = party->text();
    sheet.level = toView(level);

    const Checked<Calculation, OverflowError> result = calculate(sheet);
    if (!result) {
        reportOverflow(result.error());
        return;
    }
    const QString total = toQString(result.value().totalText.view());
    totalxp->setText(total);
    m_announcer->announce(tr("Total experience: %1").arg(total));
    // The working shows as the total's tooltip to the mouse, and to the
    // keyboard with Shift+F1 and to screen readers as its description.
    const QString working = workingText(result.value().working);
    totalxp->setToolTip(working);
    totalxp->setWhatsThis(working);
    totalxp->setAccessibleDescription(working);
}

// The calculation could not finish: say where, leave the total as it was and
// put the user in the box to change.
void Form1::reportOverflow(const OverflowError &error)
{
    QMessageBox::warning(this, windowTitle(), overflowMessage(error));
    QLineEdit *concerned =
        error.site == OverflowError::Site::LevelText ? party : cr[static_cast<std::size_t>(error.challengeRating - 1)];
    concerned->setFocus(Qt::OtherFocusReason);
    concerned->selectAll();
}

} // namespace xpcalc
