// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace xpcalc {

struct OverflowError;

// What the user is told when a calculation overflows: where, and that the
// total shown was not changed.
QString overflowMessage(const OverflowError &error);

} // namespace xpcalc
