#include "award_chart_view.h"

#include "award_chart.h"

namespace xpcalc {

AwardChartView::AwardChartView(QWidget *parent) : QLabel(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setPixmap(drawAwardChart(devicePixelRatioF()));
    setAccessibleName(tr("Experience Point Awards"));
    setAccessibleDescription(tr("Experience points per encounter, by party level and challenge rating"));
}

} // namespace xpcalc
