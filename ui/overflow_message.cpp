#include "overflow_message.h"

#include "experience_calculation.h"

#include <QCoreApplication>

namespace xpcalc {
namespace {

QString tr(const char *text) { return QCoreApplication::translate("OverflowMessage", text); }

} // namespace

QString overflowMessage(const OverflowError &error)
{
    QString where;
    switch (error.site) {
    case OverflowError::Site::CountText:
        where = tr("The number of encounters at CR %1 is outside the range the calculator can count "
                   "(-2147483648 to 2147483647).")
                    .arg(error.challengeRating);
        break;
    case OverflowError::Site::LevelText:
        where = tr("The party level is outside the range the calculator can read (-32768 to 32767).");
        break;
    case OverflowError::Site::Product:
        where = tr("The experience for the encounters at CR %1 is larger than the calculator can hold "
                   "(2147483647 at most, either side of zero).")
                    .arg(error.challengeRating);
        break;
    case OverflowError::Site::RunningTotal:
        where = tr("The running total grew larger than the calculator can hold (2147483647 at most, "
                   "either side of zero) when the encounters at CR %1 were added.")
                    .arg(error.challengeRating);
        break;
    }
    return tr("The calculation overflowed.") + QLatin1Char('\n') + where + QLatin1Char('\n') +
           tr("The total was not changed.");
}

} // namespace xpcalc
