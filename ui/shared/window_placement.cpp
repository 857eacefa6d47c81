// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
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

// Keeps a window at its one size where the title bar can still ask to
// maximize it (Qt 6.4's own Wayland title bar offers that whatever the
// window's flags). The request goes to the compositor at once, and a Wayland
// compositor that grants it ends the program if the window then keeps its own
// size. So when the window asks, it makes room to take the compositor's size;
// once the state is granted it asks to be restored, and once restored it
// takes its one size again.
class KeepOneSize : public QObject {
public:
    KeepOneSize(QWidget *window, QSize size) : QObject(window), m_window(window), m_size(size)
    {
        m_restoreSoon.setSingleShot(true);
        m_restoreSoon.setInterval(0);
        connect(&m_restoreSoon, &QTimer::timeout, this, &KeepOneSize::restore);
    }

    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::WinIdChange: // the native window comes and goes with the widget's id
            if (QWindow *native = m_window->windowHandle())
                connect(native, &QWindow::windowStateChanged, this, &KeepOneSize::asked, Qt::UniqueConnection);
            break;
        case QEvent::WindowStateChange: // granted by the window system
            m_restore = (m_window->windowState() & kFilling) != 0;
            break;
        case QEvent::Paint: // drawn at the granted size: now ask back
            if (m_restore) {
                m_restore = false;
                m_restoreSoon.start(); // once this frame, at the granted size, is out
            }
            break;
        case QEvent::Resize: // back at its own size
            if (!(m_window->windowState() & kFilling) && m_window->size() == m_size &&
                m_window->maximumSize() != m_size)
                m_window->setFixedSize(m_size);
            break;
        default:
            break;
        }
        return false;
    }

private:
    static constexpr Qt::WindowStates kFilling = Qt::WindowMaximized | Qt::WindowFullScreen;

    void restore() { m_window->setWindowState(m_window->windowState() & ~kFilling); }

    void asked(Qt::WindowState state)
    {
        if (state & kFilling)
            m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    QWidget *m_window;
    QSize m_size;
    bool m_restore = false;
    QTimer m_restoreSoon;
};

} // namespace

void fixSize(QWidget *window, QSize size)
{
    window->setFixedSize(size);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->installEventFilter(new KeepOneSize(window, size));
}

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
