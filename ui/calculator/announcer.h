// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace xpcalc {

// A status line that only assistive technology perceives: no size, no focus,
// nothing drawn. A screen reader reads each announcement at once, as a
// notification, wherever the keyboard focus is, and does not move it.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget *parent);

    // Teaches assistive technology that an announcer is a notification.
    // Install before the first is made; installing again does nothing.
    static void installAccessible();

    void announce(const QString &message);

    // Also announces a control's "What's This?" text whenever Shift+F1 shows
    // it: Qt's balloon for it is invisible to screen readers.
    void readWhatsThisOf(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace xpcalc
