#pragma once

#include <QLabel>

namespace xpcalc {

// The chart window's picture box: the award chart at its natural size from
// the top-left corner inside a sunken border, clipped by the box. Screen
// readers meet it as a table of the awards, not as one picture.
class AwardChartView : public QLabel {
    Q_OBJECT
public:
    explicit AwardChartView(QWidget *parent = nullptr);
};

} // namespace xpcalc
