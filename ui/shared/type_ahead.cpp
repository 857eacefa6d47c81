// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "type_ahead.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace xpcalc {

void TypeAhead::install() { qApp->installEventFilter(new TypeAhead(qApp)); }

bool TypeAhead::eventFilter(QObject *receiver, QEvent *event)
{
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) || event->spontaneous())
        return false;
    auto *addressee = qobject_cast<QWidget *>(receiver);
    QWidget *focus = QApplication::focusWidget();
    // A key a control ignores goes on to its parents, which are the focus's
    // ancestors: those keys stay on their way.
    if (addressee == nullptr || focus == nullptr || addressee == focus || addressee->isAncestorOf(focus))
        return false;
    QCoreApplication::sendEvent(focus, event);
    return true;
}

} // namespace xpcalc
