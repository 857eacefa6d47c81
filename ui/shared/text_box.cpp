// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "text_box.h"

#include <QAccessible>
#include <QScopedValueRollback>

#include <limits>

namespace xpcalc {

TextBox::TextBox(const QString &text, QWidget *parent) : QLineEdit(text, parent)
{
    setMaxLength(std::numeric_limits<int>::max()); // a line edit caps its text at 32767 unless told otherwise
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    const QScopedValueRollback<bool> moving(m_movingFocus, true);
    QLineEdit::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    const QScopedValueRollback<bool> moving(m_movingFocus, true);
    QLineEdit::focusOutEvent(event);
}

bool isFocusMoveEcho(const QAccessibleEvent &event)
{
    if (event.type() != QAccessible::TextSelectionChanged && event.type() != QAccessible::TextCaretMoved)
        return false;
    const auto *box = qobject_cast<const TextBox *>(event.object());
    return box != nullptr && box->isMovingFocus();
}

} // namespace xpcalc
