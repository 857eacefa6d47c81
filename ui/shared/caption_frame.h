// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>

namespace xpcalc {

// A frame drawn the classic way, whatever the style: an opaque ground, an
// etched rectangle, and the caption standing in its top border.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit CaptionFrame(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace xpcalc
