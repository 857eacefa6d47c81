// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "overflow_message.h"

#include "experience_calculation.h"

#include <QCoreApplication>

namespace xpcalc {
namespace {

QString tr(const char *text) { return QCoreApplication::translate("OverflowMessage", text); }

} // namespace

QString overflowMessage(const OverflowError &error)
{
    // The true range of what failed: the minimum is one further from zero
    // than the maximum.
    const QString counts = QStringLiteral("-2147483648 to 2147483647");
    const QString cr = QString::number(error.challengeRating);
    QString where;
    switch (error.site) {
    case OverflowError::Site::CountText:
        where =
            tr("The number of encounters at CR %1 is outside the range the calculator can count (%2).").arg(cr, counts);
        break;
    case OverflowError::Site::LevelText:
        where = tr("The party level is outside the range the calculator can read (%1).")
                    .arg(QStringLiteral("-32768 to 32767"));
        break;
    case OverflowError::Site::Product:
        where = tr("The experience for the encounters at CR %1 is outside the range the calculator can hold (%2).")
                    .arg(cr, counts);
        break;
    case OverflowError::Site::RunningTotal:
        where = tr("The running total left the range the calculator can hold (%1) when the encounters at CR %2 "
                   "were added.")
                    .arg(counts, cr);
        break;
    }
    return tr("The calculation overflowed.") + QLatin1Char('\n') + where + QLatin1Char('\n') +
           tr("The total was not changed.");
}

} // namespace xpcalc
