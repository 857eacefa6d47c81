// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

namespace xpcalc {

// The pictures compiled into the program, each at its natural size and at
// twice that size for dense screens.
enum class Picture { Title, Total, PartyLevel };

// The picture drawn for a screen of the given device pixel ratio.
QPixmap picture(Picture which, qreal devicePixelRatio);

// The words a picture's lettering shows, for those who cannot see it.
QString lettering(Picture which);

// The program icon, a hatchling breaking out of its egg, at every size drawn.
QIcon programIcon();

} // namespace xpcalc
