#include "accessibility.h"

#include "award_chart.h"
#include "award_table.h"
#include "controls.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <vector>

namespace xpcalc {
namespace {

// The design's tab index of a control, kept as a property by the windows.
int tabIndex(const QObject *control)
{
    const QVariant index = control->property(kTabIndexProperty);
    return index.isValid() ? index.toInt() : std::numeric_limits<int>::max();
}

// Children of a container, as widgets, in ascending tab index.
std::vector<QWidget *> childrenInTabOrder(const QWidget *container)
{
    std::vector<QWidget *> children;
    for (QObject *child : container->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget != nullptr && !widget->isWindow() && !widget->isHidden())
            children.push_back(widget);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const QWidget *a, const QWidget *b) { return tabIndex(a) < tabIndex(b); });
    return children;
}

// A window or frame whose children a screen reader meets in tab order.
class TabOrderedAccessible : public QAccessibleWidget {
public:
    TabOrderedAccessible(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(childrenInTabOrder(widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const std::vector<QWidget *> children = childrenInTabOrder(widget());
        if (index < 0 || index >= static_cast<int>(children.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(children[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const std::vector<QWidget *> children = childrenInTabOrder(widget());
        const auto found = std::find(children.begin(), children.end(), child ? child->object() : nullptr);
        return found == children.end() ? -1 : static_cast<int>(found - children.begin());
    }
};

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
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface && m_role == QAccessible::Cell
                   ? static_cast<QAccessibleTableCellInterface *>(this)
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
    const AwardTableAccessible *m_table;
    QAccessible::Role m_role;
    int m_row;    // -1 for a column header
    int m_column; // -1 for a row header
};

// The award chart as a table. Its children: the column headers, then row by
// row the row's header and its cells, in reading order.
class AwardTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit AwardTableAccessible(QWidget *chart) : QAccessibleWidget(chart, QAccessible::Table)
    {
        for (int column = 0; column < kChallengeRatings; ++column)
            add(QAccessible::ColumnHeader, -1, column);
        for (int row = 0; row < kChartTableRows; ++row) {
            add(QAccessible::RowHeader, row, -1);
            for (int column = 0; column < kChallengeRatings; ++column)
                add(QAccessible::Cell, row, column);
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

    QAccessibleInterface *columnHeader(int column) const { return child(column); }
    QAccessibleInterface *rowHeader(int row) const { return child(kChallengeRatings + row * (kChallengeRatings + 1)); }

    // As a table.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= kChartTableRows || column < 0 || column >= kChallengeRatings)
            return nullptr;
        return child(kChallengeRatings + row * (kChallengeRatings + 1) + 1 + column);
    }
    int columnCount() const override { return kChallengeRatings; }
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
        return QStringLiteral("CR %1").arg(m_column + 1);
    if (m_role == QAccessible::RowHeader)
        return QStringLiteral("Party level %1").arg(chartRowLabel(m_row));
    const std::int32_t entry = award(chartRowLevel(m_row), m_column + 1);
    return entry == 0 ? QString() : QString::number(entry);
}

QRect ChartCellAccessible::rect() const
{
    if (m_role == QAccessible::Cell)
        return m_table->onScreen(chartCellRect(m_row, m_column));
    return {};
}

QList<QAccessibleInterface *> ChartCellAccessible::columnHeaderCells() const
{
    return {m_table->columnHeader(m_column)};
}
QList<QAccessibleInterface *> ChartCellAccessible::rowHeaderCells() const { return {m_table->rowHeader(m_row)}; }

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget == nullptr)
        return nullptr;
    if (className == QLatin1String("xpcalc::Form1") || className == QLatin1String("xpcalc::Form2"))
        return new TabOrderedAccessible(widget, QAccessible::Window);
    if (className == QLatin1String("xpcalc::CaptionFrame"))
        return new TabOrderedAccessible(widget, QAccessible::Grouping);
    if (className == QLatin1String("xpcalc::AwardChartView"))
        return new AwardTableAccessible(widget);
    return nullptr;
}

} // namespace

void installAccessibility() { QAccessible::installFactory(accessibleFor); }

} // namespace xpcalc
