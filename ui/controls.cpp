// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "controls.h"

#include "look.h"

#include <QLabel>

#include <algorithm>
#include <utility>
#include <vector>

namespace xpcalc {
namespace {

// Where a control keeps its tab index.
constexpr const char *kTabIndexProperty = "designTabIndex";

} // namespace

int tabIndex(const QWidget *control)
{
    const QVariant index = control->property(kTabIndexProperty);
    return index.isValid() ? index.toInt() : kNoTabIndex;
}

QWidget *placeControl(QWidget *widget, const ControlDesign &design)
{
    widget->setObjectName(design.name);
    widget->setGeometry(toPixels(design.place));
    widget->setProperty(kTabIndexProperty, design.tabIndex);
    return widget;
}

void chainTabOrder(QWidget *window)
{
    std::vector<std::pair<int, QWidget *>> controls;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (const int index = tabIndex(control); index != kNoTabIndex)
            controls.emplace_back(index, control);
    }
    std::stable_sort(controls.begin(), controls.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QWidget *previous = nullptr;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto &[index, control] = controls[i];
        if (i > 0 && controls[i - 1].first == index)
            qFatal("%s and %s share tab index %d", qPrintable(controls[i - 1].second->objectName()),
                   qPrintable(control->objectName()), index);
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previous != nullptr)
                QWidget::setTabOrder(previous, control);
            previous = control;
        }
    }
}

QLabel *designLabel(QWidget *parent, const ControlDesign &design, const QString &text)
{
    auto *label = place(new QLabel(text, parent), design);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGround(label, buttonFace());
    return label;
}

} // namespace xpcalc
