// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

#include <string_view>

namespace xpcalc {

// The pictures compiled into the program, by the name the designs give them
// (assets/NAME.png), each at its natural size and at twice that size for
// dense screens: "title", "total" and "party_level".

// The picture drawn for a screen of the given device pixel ratio.
QPixmap picture(std::string_view name, qreal devicePixelRatio);

// The program icon, a hatchling breaking out of its egg, at every size drawn.
QIcon programIcon();

} // namespace xpcalc
