#include "controls.h"

#include "look.h"

#include <QLabel>

namespace xpcalc {

QLabel *designLabel(QWidget *parent, const char *name, TwipsRect design, const QString &text)
{
    auto *label = place(new QLabel(text, parent), name, design);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGround(label, buttonFace());
    return label;
}

} // namespace xpcalc
