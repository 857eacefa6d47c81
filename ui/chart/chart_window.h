// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "designed_window.h"

namespace xpcalc {

// The chart window: the award table as a picture, two short explanations and
// the button back to the calculator. It computes nothing. It can be resized;
// its controls keep their places and sizes whatever its size.
class ChartWindow : public DesignedWindow {
    Q_OBJECT
public:
    explicit ChartWindow(QWidget *parent = nullptr);

signals:
    void calculatorRequested(); // "Click here to return to the Calculator"
};

} // namespace xpcalc
