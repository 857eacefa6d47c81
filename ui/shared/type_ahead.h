// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

namespace xpcalc {

// Keys typed ahead go where the keyboard focus is when they are handled, as
// on any desktop: Return typed right after Tab presses the control that the
// Tab reached.
//
// While a screen reader runs, Qt holds each key until the screen reader has
// answered that it does not want it, then hands it to the control that had
// the focus when it was pressed. A key typed before that answer came, such as
// the Return after a Tab, would go to the control the Tab left, or to a box
// behind the warning that a Return had just opened. This filter hands such a
// held key to the control that has the focus now, in whichever window; keys
// from the window system itself, and keys that a control passes on to its
// parents, are left as they are.
class TypeAhead : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Filters every key of the application; call once.
    static void install();

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;
};

} // namespace xpcalc
