#include "default_instances.h"

#include "window_placement.h"

namespace xpcalc {

QWidget *DefaultInstance::load()
{
    if (m_window.isNull()) {
        m_window = m_create();
        // Closing with the title-bar close box unloads the window too.
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        centreOnScreen(m_window);
    }
    return m_window;
}

void DefaultInstance::unload()
{
    if (m_window.isNull())
        return;
    QWidget *window = m_window;
    m_window.clear();
    window->hide();
    window->deleteLater();
}

void DefaultInstance::show()
{
    QWidget *window = load();
    window->show();
    window->activateWindow();
}

} // namespace xpcalc
