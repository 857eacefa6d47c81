// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "controls.h"
#include "design.h"

#include <QWidget>

#include <array>
#include <vector>

namespace xpcalc {

// A window built from its design (design.h): named, captioned, sized and
// lettered as designed, its controls created in the design's order, the
// focus on the control the design opens it on. It keeps
// its controls in ascending tab index, the order in which the keyboard and
// screen readers meet them.
class DesignedWindow : public QWidget {
    Q_OBJECT
public:
    // The visible children of the window or of one of its frames, in
    // ascending tab index; widgets the design does not place (a frame's
    // caption, the announcer) come last.
    std::vector<QWidget *> childrenInTabOrder(const QWidget *container) const;

protected:
    explicit DesignedWindow(const WindowDesign &design, QWidget *parent = nullptr);

    // Creates the controls, a chart with makeChart; returns them in the
    // design's order.
    template <std::size_t N>
    std::vector<QWidget *> build(const std::array<ControlDesign, N> &controls, ControlMaker makeChart = nullptr)
    {
        return build(controls.data(), N, makeChart);
    }

private:
    std::vector<QWidget *> build(const ControlDesign *controls, std::size_t count, ControlMaker makeChart);

    ControlRef m_firstFocus;
    std::vector<QWidget *> m_inTabOrder; // every designed control, by ascending tab index
};

} // namespace xpcalc
