#pragma once

#include "twips.h"

#include <QString>

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

// A label as the design has it: opaque, in button face, its text drawn from
// the top-left corner and wrapped at word boundaries.
QLabel *designLabel(QWidget *parent, const char *name, TwipsRect design, const QString &text);

} // namespace xpcalc
