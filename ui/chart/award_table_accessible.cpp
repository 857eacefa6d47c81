// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "award_table_accessible.h"

#include "award_chart.h"
#include "award_chart_view.h"
#include "award_table.h"
#include "text_view.h"

#include <QAccessibleWidget>

#include <vector>

namespace xpcalc {
namespace {

class AwardTableAccessible;

// One cell of the award chart, or one of its headers. Not a widget of its
// own: the table creates it, and the accessibility cache holds it until the
// table goes.
class ChartCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ChartCellAccessible(const AwardTableAccessible *table, QAccessible::Role role, int row, int column)
        : m_table(table), m_role(role), m_row(row), m_column(column)
    {
    }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return m_role; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface && inGrid() ? static_cast<QAccessibleTableCellInterface *>(this)
                                                                   : nullptr;
    }

    // As a cell of the table.
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override;
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    // A cell of the table's grid: the row labels, which are the row headers,
    // and the awards; not a column header above the grid.
    bool inGrid() const { return m_row >= 0; }

    const AwardTableAccessible *m_table;
    QAccessible::Role m_role;
    int m_row; // -1 for a column header
    int m_column;
};

// The award chart as a table. Its children: the column headers, then row by
// row the row's label, which is its header, and its awards, in reading order.
class AwardTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit AwardTableAccessible(AwardChartView *chart) : QAccessibleWidget(chart, QAccessible::Table)
    {
        for (int column = 0; column < kChartTableColumns; ++column)
            add(QAccessible::ColumnHeader, -1, column);
        for (int row = 0; row < kChartTableRows; ++row) {
            for (int column = 0; column < kChartTableColumns; ++column)
                add(column == kChartLabelColumn ? QAccessible::RowHeader : QAccessible::Cell, row, column);
        }
    }
    ~AwardTableAccessible() override
    {
        for (const QAccessible::Id id : m_ids)
            QAccessible::deleteAccessibleInterface(id);
    }
    AwardTableAccessible(const AwardTableAccessible &) = delete;
    AwardTableAccessible &operator=(const AwardTableAccessible &) = delete;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return static_cast<int>(m_ids.size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return QAccessible::accessibleInterface(m_ids[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (std::size_t i = 0; i < m_ids.size(); ++i) {
            if (QAccessible::accessibleInterface(m_ids[i]) == child)
                return static_cast<int>(i);
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface *c = child(i);
            if (c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }

    const AwardChartView *chart() const { return static_cast<const AwardChartView *>(widget()); }
    QAccessibleInterface *columnHeader(int column) const { return child(column); }
    QAccessibleInterface *rowHeader(int row) const { return cellAt(row, kChartLabelColumn); }

    // As a table.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= kChartTableRows || column < 0 || column >= kChartTableColumns)
            return nullptr;
        return child(kChartTableColumns * (1 + row) + column);
    }
    int columnCount() const override { return kChartTableColumns; }
    int rowCount() const override { return kChartTableRows; }
    QString columnDescription(int column) const override { return columnHeader(column)->text(QAccessible::Name); }
    QString rowDescription(int row) const override { return rowHeader(row)->text(QAccessible::Name); }
    int selectedCellCount() const override { return 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    // Where a part of the chart stands on the screen.
    QRect onScreen(const QRect &inChart) const
    {
        const QWidget *chart = widget();
        const QRect inWidget = inChart.translated(chart->contentsRect().topLeft());
        return QRect(chart->mapToGlobal(inWidget.topLeft()), inWidget.size()) & rect();
    }

private:
    void add(QAccessible::Role role, int row, int column)
    {
        m_ids.push_back(QAccessible::registerAccessibleInterface(new ChartCellAccessible(this, role, row, column)));
    }

    std::vector<QAccessible::Id> m_ids;
};

bool ChartCellAccessible::isValid() const { return m_table->isValid(); }
QWindow *ChartCellAccessible::window() const { return m_table->window(); }
QAccessibleInterface *ChartCellAccessible::parent() const
{
    return const_cast<AwardTableAccessible *>(m_table); // NOLINT(cppcoreguidelines-pro-type-const-cast)
}
QAccessibleInterface *ChartCellAccessible::table() const { return parent(); }

QString ChartCellAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return {};
    if (m_role == QAccessible::ColumnHeader)
        return toQString(m_column == kChartLabelColumn ? std::string(kChartRowHeading) : chartColumnHeardAs(m_column));
    if (m_role == QAccessible::RowHeader)
        return toQString(chartRowHeardAs(m_row));
    const std::int32_t entry = award(chartRowLevel(m_row), m_column);
    return entry == 0 ? QString() : QString::number(entry);
}

QRect ChartCellAccessible::rect() const
{
    if (inGrid())
        return m_table->onScreen(chartCellRect(m_row, m_column));
    return {};
}

QList<QAccessibleInterface *> ChartCellAccessible::columnHeaderCells() const
{
    return {m_table->columnHeader(m_column)};
}
QList<QAccessibleInterface *> ChartCellAccessible::rowHeaderCells() const { return {m_table->rowHeader(m_row)}; }

QAccessible::State ChartCellAccessible::state() const
{
    QAccessible::State state;
    state.readOnly = true;
    if (inGrid()) {
        const AwardChartView *chart = m_table->chart();
        state.focusable = true;
        state.focused = chart->hasFocus() && chart->currentRow() == m_row && chart->currentColumn() == m_column;
    }
    return state;
}

QAccessibleInterface *accessibleFor(const QString & /*className*/, QObject *object)
{
    if (auto *chart = qobject_cast<AwardChartView *>(object))
        return new AwardTableAccessible(chart);
    return nullptr;
}

} // namespace

void installAwardTableAccessible() { QAccessible::installFactory(accessibleFor); }

} // namespace xpcalc
