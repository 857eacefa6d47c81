// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace xpcalc {

// The chart window's picture box: the award chart at its natural size from
// the top-left corner inside a sunken border, clipped by the box. Screen
// readers meet it as a table of the awards, not as one picture.
//
// It is a stop of the keyboard too. While it has the focus, the current cell
// shows inverted, white on black; the arrow keys, Home and End (along a row)
// and Ctrl+Home and Ctrl+End (to the first and last cell) move, as a click
// does; screen readers read the cell with its party level and challenge
// rating. Without the focus the chart shows exactly as drawn.
class AwardChartView : public QLabel {
    Q_OBJECT
public:
    explicit AwardChartView(QWidget *parent = nullptr);

    // The current cell, in the chart's table (award_chart.h).
    int currentRow() const { return m_row; }
    int currentColumn() const { return m_column; }
    // Makes a cell current, if the chart draws it.
    void setCurrentCell(int row, int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void reportCurrentCell();

    int m_row = 0;
    int m_column = 1; // challenge rating 1
};

} // namespace xpcalc
