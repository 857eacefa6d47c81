#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

namespace xpcalc {

// The award chart: the award table drawn as two grids (challenge ratings 1 to
// 10 above, 11 to 20 below), with a title, headings, bold row labels and the
// awards right-aligned in their columns; a cell whose award is 0 stays blank.
// Drawn from the award table itself, so it always agrees with the calculation.
//
// Black serif lettering on white, light-grey bands behind every other group of
// three levels. 263 x 329 pixels, drawn at the given device pixel ratio so it
// stays sharp on dense screens.
constexpr QSize kAwardChartSize{263, 329};

QImage awardChartImage(qreal devicePixelRatio);
QPixmap drawAwardChart(qreal devicePixelRatio);

} // namespace xpcalc
