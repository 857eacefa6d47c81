// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "award_chart_view.h"

#include "award_chart.h"
#include "text_view.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

namespace xpcalc {
namespace {

bool drawn(int row, int column) { return !chartCellRect(row, column).isEmpty(); }

// Each row starts with its label; its drawn awards are one unbroken run.
int lastDrawnColumn(int row)
{
    int column = kChartTableColumns - 1;
    while (column > kChartLabelColumn && !drawn(row, column))
        --column;
    return column;
}

// The first award of a row, after its label: where Left and Right go next.
int firstDrawnAward(int row)
{
    int column = kChartLabelColumn + 1;
    while (column < kChartTableColumns - 1 && !drawn(row, column))
        ++column;
    return column;
}

} // namespace

AwardChartView::AwardChartView(QWidget *parent) : QLabel(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setPixmap(drawAwardChart(devicePixelRatioF()));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(toQString(kChartTitle));
    setAccessibleDescription(tr("Experience points per encounter, by party level and challenge rating"));
}

void AwardChartView::setCurrentCell(int row, int column)
{
    if (!drawn(row, column) || (row == m_row && column == m_column))
        return;
    m_row = row;
    m_column = column;
    update();
    reportCurrentCell();
}

void AwardChartView::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        setCurrentCell(m_row, m_column == firstDrawnAward(m_row) ? kChartLabelColumn : m_column - 1);
        break;
    case Qt::Key_Right:
        setCurrentCell(m_row, m_column == kChartLabelColumn ? firstDrawnAward(m_row) : m_column + 1);
        break;
    case Qt::Key_Up:
        setCurrentCell(m_row - 1, m_column);
        break;
    case Qt::Key_Down:
        setCurrentCell(m_row + 1, m_column);
        break;
    case Qt::Key_Home:
        setCurrentCell(control ? 0 : m_row, kChartLabelColumn);
        break;
    case Qt::Key_End: {
        const int row = control ? kChartTableRows - 1 : m_row;
        setCurrentCell(row, lastDrawnColumn(row));
        break;
    }
    default:
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
}

void AwardChartView::mousePressEvent(QMouseEvent *event)
{
    const QPoint inChart = event->position().toPoint() - contentsRect().topLeft();
    for (int row = 0; row < kChartTableRows; ++row) {
        for (int column = 0; column < kChartTableColumns; ++column) {
            if (chartCellRect(row, column).adjusted(0, -1, 0, 1).contains(inChart))
                setCurrentCell(row, column);
        }
    }
    QLabel::mousePressEvent(event);
}

void AwardChartView::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
    // After Qt has reported the chart itself as focused: then the cell. (The
    // analyzer cannot see that Qt owns and deletes the queued call.)
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks)
    QMetaObject::invokeMethod(this, &AwardChartView::reportCurrentCell, Qt::QueuedConnection);
}

void AwardChartView::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}

void AwardChartView::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The current cell inverted, its number white on black: rows stand too
    // close for a frame to keep clear of the numbers above and below.
    const QRect cell = chartCellRect(m_row, m_column).adjusted(0, -1, 1, 1);
    QPainter p(this);
    p.setClipRect(contentsRect());
    p.translate(contentsRect().topLeft());
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(cell, Qt::white);
}

// Screen readers follow the focus into the table, to the current cell.
void AwardChartView::reportCurrentCell()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface *table = chart != nullptr ? chart->tableInterface() : nullptr;
    QAccessibleInterface *cell = table != nullptr ? table->cellAt(m_row, m_column) : nullptr;
    if (cell == nullptr)
        return;
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

} // namespace xpcalc
