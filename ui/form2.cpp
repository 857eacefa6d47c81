#include "form2.h"

#include "award_chart_view.h"
#include "controls.h"
#include "look.h"
#include "system_colours.h"
#include "twips.h"
#include "wrapping_button.h"

#include <QLabel>

namespace xpcalc {
namespace {

// The design of the window, in twips.
constexpr QSize kClientSize = toPixels(6720, 5535);
constexpr TwipsRect kCommand1{4200, 3480, 2295, 615};
constexpr TwipsRect kPicture1{0, 120, 3975, 5175};
constexpr TwipsRect kLabel2{4080, 4320, 2535, 975};
constexpr TwipsRect kLabel1{4080, 240, 2535, 3015};

constexpr qreal kFontPoints = 8.25;

const char *const kCaption = "Kestrow's Experience Calculator";
const char *const kReturn = "Click here to return to the Calculator";
const char *const kExplanation =
    "This chart shows how the experience points are awarded based on party level and challenge rating.  As you can "
    "see, some challenge ratings are unreachable at lower party levels, which is why no award is defined.  At higher "
    "party levels, the lower challenge ratings do not offer a reward.  This is because it would be nothing for a 20th "
    "level party to kill a group of CR 2 monsters.";
const char *const kRuleBook = "For more information on earning experience, please refer to the Dungeons and Dragons "
                              "3rd Edition Dungeon Master's Guide.";

} // namespace

Form2::Form2(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QLatin1String(kCaption));
    setAccessibleName(tr("Kestrow's Experience Calculator: award chart"));
    setFont(verdana(kFontPoints));
    resize(kClientSize);

    // Created in the design's order. No layout: resizing the window neither
    // moves nor scales anything.
    auto *Command1 = place(new WrappingButton(QLatin1String(kReturn), this), "Command1", kCommand1);
    Command1->setFont(verdana(kFontPoints, QFont::Bold));

    // The chart at its natural size from the top-left inside the sunken
    // border; the box clips what does not fit.
    auto *Picture1 = place(new AwardChartView(this), "Picture1", kPicture1);
    setGround(Picture1, schemeColour(SystemColour::CaptionText));

    QLabel *Label2 = designLabel(this, "Label2", kLabel2, QLatin1String(kRuleBook));
    Label2->setFont(verdana(kFontPoints, QFont::Normal, QFont::StyleItalic));
    designLabel(this, "Label1", kLabel1, QLatin1String(kExplanation));

    // The design's tab indexes: a screen reader meets the chart, then the
    // explanation, the rule-book pointer and the button.
    applyTabOrder(this, {{QStringLiteral("Picture1"), 0},
                         {QStringLiteral("Label1"), 1},
                         {QStringLiteral("Label2"), 2},
                         {QStringLiteral("Command1"), 3}});
    // The button is the one control that does anything, so the focus starts there.
    Command1->setFocus();
    connect(Command1, &QPushButton::clicked, this, &Form2::calculatorRequested);
}

} // namespace xpcalc
