#include "controls.h"

#include "look.h"

#include <QLabel>

#include <algorithm>

namespace xpcalc {

QLabel *designLabel(QWidget *parent, const char *name, TwipsRect design, const QString &text)
{
    auto *label = place(new QLabel(text, parent), name, design);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGround(label, buttonFace());
    return label;
}

void applyTabOrder(QWidget *window, std::vector<TabIndex> order)
{
    std::stable_sort(order.begin(), order.end(),
                     [](const TabIndex &a, const TabIndex &b) { return a.index < b.index; });
    QWidget *previous = nullptr;
    for (const TabIndex &entry : order) {
        auto *control = window->findChild<QWidget *>(entry.name);
        if (control == nullptr)
            continue;
        control->setProperty(kTabIndexProperty, entry.index);
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previous != nullptr)
                QWidget::setTabOrder(previous, control);
            previous = control;
        }
    }
}

} // namespace xpcalc
