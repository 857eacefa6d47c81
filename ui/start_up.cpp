#include "start_up.h"

#include "default_instances.h"
#include "window_switching.h"

#include <QApplication>

namespace xpcalc {

void startUp()
{
    QApplication::setApplicationName(QStringLiteral("xpcalc"));
    QApplication::setApplicationVersion(QStringLiteral(XPCALC_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Kestrow"));
    defaultForm1().show();
}

} // namespace xpcalc
