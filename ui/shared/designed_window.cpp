// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "designed_window.h"

#include "look.h"
#include "window_placement.h"

#include <algorithm>
#include <numeric>

namespace xpcalc {

DesignedWindow::DesignedWindow(const WindowDesign &design, QWidget *parent)
    : QWidget(parent), m_firstFocus(design.firstFocus)
{
    setObjectName(designName(design));
    setWindowTitle(designCaption(design));
    setAccessibleName(designAccessibleName(design));
    setFont(fontFor(design.face));
    const QSize size(clientSize(design).width, clientSize(design).height);
    if (design.resizable)
        resize(size);
    else
        fixSize(this, size);
}

std::vector<QWidget *> DesignedWindow::build(const ControlDesign *controls, std::size_t count, ControlMaker makeChart)
{
    std::vector<QWidget *> built = buildControls(this, controls, count, makeChart);
    for (std::size_t i = 0; i < count; ++i)
        if (controls[i].role == m_firstFocus.role && controls[i].number == m_firstFocus.number)
            built[i]->setFocus();
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [controls](std::size_t a, std::size_t b) { return controls[a].tabIndex < controls[b].tabIndex; });
    m_inTabOrder.clear();
    QWidget *previous = nullptr;
    for (const std::size_t i : order) {
        QWidget *control = built[i];
        m_inTabOrder.push_back(control);
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previous != nullptr)
                QWidget::setTabOrder(previous, control);
            previous = control;
        }
    }
    return built;
}

std::vector<QWidget *> DesignedWindow::childrenInTabOrder(const QWidget *container) const
{
    std::vector<QWidget *> children;
    for (QWidget *control : m_inTabOrder)
        if (control->parentWidget() == container && !control->isHidden())
            children.push_back(control);
    for (QObject *child : container->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget != nullptr && !widget->isWindow() && !widget->isHidden() &&
            std::find(m_inTabOrder.begin(), m_inTabOrder.end(), widget) == m_inTabOrder.end())
            children.push_back(widget);
    }
    return children;
}

} // namespace xpcalc
