// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "text_box_accessible.h"

#include <QFontMetrics>
#include <QLineEdit>

#include <algorithm>

namespace xpcalc {

TextBoxAccessible::TextBoxAccessible(QLineEdit *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

QLineEdit *TextBoxAccessible::box() const { return static_cast<QLineEdit *>(widget()); }

int TextBoxAccessible::clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }

QString TextBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->text();
    return QAccessibleWidget::text(t);
}

void TextBoxAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        box()->setText(text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State TextBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !box()->isReadOnly();
    state.readOnly = box()->isReadOnly();
    state.selectableText = true;
    return state;
}

void *TextBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void TextBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && box()->hasSelectedText()) {
        *startOffset = box()->selectionStart();
        *endOffset = *startOffset + box()->selectionLength();
    }
}

int TextBoxAccessible::selectionCount() const { return box()->hasSelectedText() ? 1 : 0; }

void TextBoxAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void TextBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box()->deselect();
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const int start = clamped(startOffset);
    box()->setSelection(start, clamped(endOffset) - start);
}

int TextBoxAccessible::cursorPosition() const { return box()->cursorPosition(); }

void TextBoxAccessible::setCursorPosition(int position) { box()->setCursorPosition(clamped(position)); }

QString TextBoxAccessible::text(int startOffset, int endOffset) const
{
    const int start = clamped(startOffset);
    return box()->text().mid(start, std::max(0, clamped(endOffset) - start));
}

int TextBoxAccessible::characterCount() const { return static_cast<int>(box()->text().size()); }

// Measured from where the box draws its caret, so a text scrolled sideways
// is measured where it shows.
QRect TextBoxAccessible::characterRect(int offset) const
{
    const QString text = box()->text();
    if (offset < 0 || offset >= text.size())
        return {};
    const QFontMetrics metrics(box()->font());
    const QRect caret = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int origin = caret.x() - metrics.horizontalAdvance(text.left(box()->cursorPosition()));
    const QRect inBox(origin + metrics.horizontalAdvance(text.left(offset)), caret.y(),
                      metrics.horizontalAdvance(text.at(offset)), caret.height());
    return {box()->mapToGlobal(inBox.topLeft()), inBox.size()};
}

int TextBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint inBox = box()->mapFromGlobal(point);
    return box()->rect().contains(inBox) ? box()->cursorPositionAt(inBox) : -1;
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    box()->setCursorPosition(clamped(endIndex));
    box()->setCursorPosition(clamped(startIndex));
}

// The box has no formatting: its whole text is one run.
QString TextBoxAccessible::attributes(int /*offset*/, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset) { replaceText(startOffset, endOffset, {}); }

void TextBoxAccessible::insertText(int offset, const QString &text) { replaceText(offset, offset, text); }

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    const int start = clamped(startOffset);
    const int end = clamped(endOffset);
    if (end > start) {
        box()->setSelection(start, end - start);
    } else {
        box()->deselect();
        box()->setCursorPosition(start);
    }
    box()->insert(text); // in place of the selection, if any
}

} // namespace xpcalc
