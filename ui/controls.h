#pragma once

#include "twips.h"

#include <QString>

#include <vector>

class QLabel;
class QWidget;

namespace xpcalc {

// Building the windows' controls from their design: a name and a place.

// Names a control and puts it where the design has it, inside its parent.
template <class Widget> Widget *place(Widget *widget, const char *name, TwipsRect design)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(toPixels(design));
    return widget;
}

// The property that keeps a control's tab index of the design. It orders the
// controls for assistive technology as the keyboard orders them.
constexpr const char *kTabIndexProperty = "designTabIndex";

// Gives the named controls of a window their tab indexes of the design, and
// chains the keyboard focus through those that take it, in ascending order.
struct TabIndex {
    QString name;
    int index;
};
void applyTabOrder(QWidget *window, std::vector<TabIndex> order);

// A label as the design has it: opaque, in button face, its text drawn from
// the top-left corner and wrapped at word boundaries.
QLabel *designLabel(QWidget *parent, const char *name, TwipsRect design, const QString &text);

} // namespace xpcalc
