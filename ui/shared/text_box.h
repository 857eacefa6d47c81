// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

class QAccessibleEvent;

namespace xpcalc {

// A text box of the windows: one line of any text, of any length.
//
// Tabbing into it selects its whole text and leaving it deselects it, as a
// line edit does. Screen readers learn the text and its selection with the
// focus itself, so the selection and caret events that the move raises only
// repeat it; a screen reader still busy with them falls behind a user who
// tabs at a steady pace, and then drops the focus of the box they arrive at
// as out of date. Such events are therefore not passed on (see
// isFocusMoveEcho()).
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(const QString &text, QWidget *parent = nullptr);

    // True while the box is taking or giving up the keyboard focus.
    bool isMovingFocus() const { return m_movingFocus; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_movingFocus = false;
};

// True for a selection or caret event that a text box raised while taking or
// giving up the keyboard focus.
bool isFocusMoveEcho(const QAccessibleEvent &event);

} // namespace xpcalc
