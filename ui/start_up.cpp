#include "start_up.h"

#include "accessibility.h"
#include "default_instances.h"
#include "look.h"
#include "pictures.h"
#include "window_switching.h"

#include <QApplication>

namespace xpcalc {

void startUp()
{
    QApplication::setApplicationName(QStringLiteral("xpcalc"));
    QApplication::setApplicationVersion(QStringLiteral(XPCALC_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Kestrow"));
    // Every window shows the program's icon: decoded once, not at each opening.
    QApplication::setWindowIcon(programIcon());
    applyColourScheme();
    installAccessibility();
    defaultForm1().show();
}

} // namespace xpcalc
