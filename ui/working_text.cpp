// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "working_text.h"

#include "experience_calculation.h"

#include <QCoreApplication>
#include <QStringList>

namespace xpcalc {
namespace {

QString tr(const char *text) { return QCoreApplication::translate("Working", text); }

constexpr QChar kTimes(0x00D7); // the multiplication sign

} // namespace

QString workingText(const Working &working)
{
    if (!working.levelHasRow) {
        return tr("Party level %1 has no row in the award table (only levels 1 to 20 have one), "
                  "so no encounter earns experience and the total is 0.")
            .arg(working.level);
    }
    if (working.contributionCount == 0)
        return tr("No encounter earns experience at party level %1, so the total is 0.").arg(working.level);

    QStringList lines{tr("Party level %1:").arg(working.level)};
    for (int i = 0; i < working.contributionCount; ++i) {
        const Contribution &c = working.contributions[static_cast<std::size_t>(i)];
        lines << tr("CR %1: %2 %3 %4 = %5").arg(c.challengeRating).arg(c.count).arg(kTimes).arg(c.award).arg(c.product);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace xpcalc
