// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "announcer.h"

#include <QAccessibleWidget>
#include <QKeyEvent>

namespace xpcalc {
namespace {

QAccessibleInterface *accessibleFor(const QString & /*className*/, QObject *object)
{
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

void Announcer::installAccessible() { QAccessible::installFactory(accessibleFor); }

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("announcer"));
    setFixedSize(0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide(); // until there is something to say
}

// Screen readers speak a notification when it comes into view: hiding and
// showing it again tells them, even when the message is the same as before.
void Announcer::announce(const QString &message)
{
    setAccessibleName(message);
    hide();
    show();
}

void Announcer::readWhatsThisOf(QWidget *control) { control->installEventFilter(this); }

bool Announcer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *control = qobject_cast<QWidget *>(watched);
        if (key->key() == Qt::Key_F1 && (key->modifiers() & Qt::ShiftModifier) && control != nullptr &&
            !control->whatsThis().isEmpty())
            announce(control->whatsThis());
    }
    return false;
}

} // namespace xpcalc
