// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "caption_frame.h"

#include <QPainter>
#include <qdrawutil.h>

namespace xpcalc {

CaptionFrame::CaptionFrame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent)
{
    setAccessibleName(caption);
}

void CaptionFrame::paintEvent(QPaintEvent * /*event*/)
{
    constexpr int kCaptionLeft = 8; // where the caption interrupts the top line
    constexpr int kCaptionPadding = 2;
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QFontMetrics metrics(font());
    const int lineTop = metrics.height() / 2;
    qDrawShadeRect(&painter, rect().adjusted(0, lineTop, 0, 0), palette(), true, 1);

    const QRect caption(kCaptionLeft - kCaptionPadding, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

} // namespace xpcalc
