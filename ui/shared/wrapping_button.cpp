// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "wrapping_button.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace xpcalc {

WrappingButton::WrappingButton(const QString &text, QWidget *parent) : QPushButton(text, parent) {}

void WrappingButton::paintEvent(QPaintEvent * /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    // Every widget's palette carries a key of its own, and styles cache what
    // they draw under it; Qt 6.4 never forgets those keys, so each window
    // opened would add to the cache's index for good. The program's palette,
    // where the button's colours are its, draws the same under one key.
    if (option.palette == QGuiApplication::palette())
        option.palette = QGuiApplication::palette();
    // The focus shows whenever the button has it, however it came, as on
    // Windows: a window that opens with its button focused says so at once.
    if (option.state & QStyle::State_HasFocus)
        option.state |= QStyle::State_KeyboardFocusChange;
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, text());
}

void WrappingButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace xpcalc
