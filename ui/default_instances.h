#pragma once

#include <QPointer>
#include <QWidget>

namespace xpcalc {

// A window's default instance: one record per window class, reachable from
// anywhere, created on first reference and never replaced. The window itself
// is either loaded (it and its controls exist) or not.
class DefaultInstance {
public:
    using Factory = QWidget *(*)();
    explicit DefaultInstance(Factory create) : m_create(create) {}

    // Builds the window afresh from its design, unless it is loaded.
    QWidget *load();
    // Destroys the window and its controls, discarding what was typed. Safe
    // from the window's own button handler: the window is hidden at once and
    // deleted when control is back in the event loop, so the handler runs to
    // its end. Hiding, unlike closing, never ends the program.
    void unload();
    // Loads the window if need be, and shows it: modeless, without owner, and
    // centred on the screen when it was just loaded.
    void show();

    QWidget *window() const { return m_window; }
    bool isLoaded() const { return !m_window.isNull(); }

private:
    Factory m_create;
    QPointer<QWidget> m_window; // null once the window is gone, however it went
};

} // namespace xpcalc
