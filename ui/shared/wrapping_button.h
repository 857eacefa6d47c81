// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

namespace xpcalc {

// A push button whose caption wraps at word boundaries and is centred, as
// the windows' narrow buttons need ("XP Chart" stands on two lines). Return
// and keypad Enter press it when it has the focus, as on Windows, as well as
// Space; it never becomes a default button, so it draws no default frame.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    explicit WrappingButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace xpcalc
