#include "window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace xpcalc {
namespace {

void moveFrameToCentre(QWidget *window)
{
    const QScreen *screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    // Placed by its client area, not by move(): that gives the window static
    // gravity, under which every window manager puts the client area exactly
    // where asked, before and after it has drawn the frame.
    const QPoint frameToClient = window->geometry().topLeft() - window->frameGeometry().topLeft();
    const QRect client(frame.topLeft() + frameToClient, window->size());
    if (client != window->geometry())
        window->setGeometry(client);
}

// Centres its window again at its first exposure, when the frame the window
// manager gave it is known, then goes.
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget *window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && m_window->isVisible()) {
            if (m_window->frameGeometry() != m_window->geometry())
                moveFrameToCentre(m_window);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

void centreOnScreen(QWidget *window)
{
    // The native window is created where the client area is centred...
    moveFrameToCentre(window);
    window->winId(); // ...and watched for its first exposure.
    // Where the native window knows its frame at once (on Windows), the
    // window opens where it stays; elsewhere the frame comes with the first
    // exposure.
    moveFrameToCentre(window);
    if (QWindow *native = window->windowHandle())
        native->installEventFilter(new CentreWhenFramed(window));
}

} // namespace xpcalc
