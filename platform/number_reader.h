// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "checked.h"

#include <string_view>

namespace xpcalc {

// Reads the number at the start of a text, the way an entry box is read.
//
// - Blanks (U+0020), tabs (U+0009) and line feeds (U+000A) are ignored wherever
//   they stand, so " 1 000" reads as 1000. Every other character, including
//   other Unicode spaces, carriage returns, digits of other scripts and lone
//   surrogates, can only end the number.
// - "&H" or "&O" (either case) starts a hexadecimal or octal integer. A value
//   that fits 16 bits is taken as a 16-bit two's complement integer ("&HFFFF"
//   is -1, "&H8000" is -32768), one that fits 32 bits as a 32-bit one
//   ("&H10000" is 65536, "&HFFFFFFFF" is -1). A larger value is the overflow
//   error. Leading zeros do not count towards the size.
// - Otherwise: an optional sign, decimal digits, an optional period followed by
//   digits, and an optional exponent: the letter E or D in either case, an
//   optional sign and digits. D is taken as an exponent marker because the
//   runtime whose reading this reproduces takes it ("1D3" is 1000); that agrees
//   with every other rule here, since a D could otherwise only end the number.
// - The number ends at the first character that cannot continue it; the rest
//   of the text is ignored ("1,000" is 1, "12abc" is 12).
// - A text with no number at its start ("", "abc", "-", ".") reads as 0.
//
// A decimal number is rounded correctly to the nearest double, however many
// digits it has. One beyond the range of a double is the overflow error; one
// too small for a double reads as 0.
//
// Linear in the length of the text; the text is neither copied nor allocated.
Checked<double> readNumber(std::u16string_view text) noexcept;

} // namespace xpcalc
