// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include "caption_frame.h"
#include "designed_window.h"
#include "text_box.h"
#include "text_box_accessible.h"
#include "type_ahead.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace xpcalc {
namespace {

// A window or frame whose children a screen reader meets in tab order, as
// the window built from its design keeps them.
class TabOrderedAccessible : public QAccessibleWidget {
public:
    TabOrderedAccessible(QWidget *widget, const DesignedWindow *window, QAccessible::Role role)
        : QAccessibleWidget(widget, role), m_window(window)
    {
    }

    int childCount() const override { return static_cast<int>(m_window->childrenInTabOrder(widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const std::vector<QWidget *> children = m_window->childrenInTabOrder(widget());
        if (index < 0 || index >= static_cast<int>(children.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(children[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const std::vector<QWidget *> children = m_window->childrenInTabOrder(widget());
        const auto found = std::find(children.begin(), children.end(), child ? child->object() : nullptr);
        return found == children.end() ? -1 : static_cast<int>(found - children.begin());
    }

private:
    const DesignedWindow *m_window;
};

// Qt asks once for each class an object is, most derived first; the first
// answer holds.
QAccessibleInterface *accessibleFor(const QString & /*className*/, QObject *object)
{
    if (auto *window = qobject_cast<DesignedWindow *>(object))
        return new TabOrderedAccessible(window, window, QAccessible::Window);
    if (auto *frame = qobject_cast<CaptionFrame *>(object)) {
        if (auto *window = qobject_cast<DesignedWindow *>(frame->window()))
            return new TabOrderedAccessible(frame, window, QAccessible::Grouping);
    }
    if (auto *box = qobject_cast<QLineEdit *>(object))
        return new TextBoxAccessible(box);
    return nullptr;
}

// Passes every event on to assistive technology but those that only repeat
// what another already tells it. Qt calls an installed handler in place of
// its own delivery, which it makes again once the handler is out of the way.
void passOnUpdate(QAccessibleEvent *event)
{
    if (isFocusMoveEcho(*event))
        return;
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(passOnUpdate);
    TypeAhead::install();
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(accessibleFor);
    QAccessible::installUpdateHandler(passOnUpdate);
    TypeAhead::install();
}

} // namespace xpcalc
