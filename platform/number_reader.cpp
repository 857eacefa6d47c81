// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "number_reader.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace xpcalc {
namespace {

constexpr char16_t kEnd = 0; // stands for "no more text"; U+0000 ends a number too

constexpr bool isSkipped(char16_t c) noexcept { return c == u' ' || c == u'\t' || c == u'\n'; }
constexpr bool isDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

int radixDigit(char16_t c, unsigned radix) noexcept
{
    if (isDigit(c))
        return (c - u'0') < static_cast<int>(radix) ? c - u'0' : -1;
    if (radix == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (radix == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// 768 significant digits decide the nearest double in every case; of any digit
// after them only "zero or not" matters, and that is kept as one extra digit.
constexpr std::size_t kSignificantDigits = 768;

// Beyond these decimal magnitudes the result is certainly infinite or zero.
constexpr std::int64_t kOverflowMagnitude = 330;
constexpr std::int64_t kUnderflowMagnitude = -345;
// Exponents are saturated here, far beyond both limits and far inside int64.
constexpr std::int64_t kExponentCap = 1'000'000'000;

class Reader {
public:
    // m_digits is left uncleared on purpose: only its first m_count digits are read.
    explicit Reader(std::u16string_view text) noexcept // NOLINT(cppcoreguidelines-pro-type-member-init)
        : m_p(text.data()), m_end(text.data() + text.size())
    {
    }

    Checked<double> read() noexcept
    {
        if (peek() == u'&') {
            ++m_p;
            const char16_t marker = peek();
            if (marker == u'H' || marker == u'h')
                return readRadix(16);
            if (marker == u'O' || marker == u'o')
                return readRadix(8);
            return 0.0;
        }
        return readDecimal();
    }

private:
    char16_t peek() noexcept
    {
        while (m_p != m_end && isSkipped(*m_p))
            ++m_p;
        return m_p == m_end ? kEnd : *m_p;
    }

    Checked<double> readRadix(unsigned radix) noexcept
    {
        ++m_p; // the H or O
        std::uint64_t value = 0;
        for (int digit = radixDigit(peek(), radix); digit >= 0; digit = radixDigit(peek(), radix)) {
            ++m_p;
            value = value * radix + static_cast<unsigned>(digit);
            if (value > 0xFFFF'FFFFU)
                return Overflow{};
        }
        // Values that set the top bit of their width are negative.
        if (value <= 0xFFFFU)
            return value >= 0x8000U ? static_cast<double>(value) - 65536.0 : static_cast<double>(value);
        return value >= 0x8000'0000U ? static_cast<double>(value) - 4294967296.0 : static_cast<double>(value);
    }

    void takeDigit(char16_t c) noexcept { m_digits[m_count++] = static_cast<char>(c); }

    // Passes the digits beyond the kept ones, and the blanks among them: the
    // digits count only by their number, which it returns, and by whether any
    // is not zero. Nothing in the loop branches on digit or blank, which the
    // processor would mostly guess wrong where the two are mixed, and it works
    // on locals, which the compiler keeps in registers rather than memory.
    std::int64_t dropDigits(bool &anyNonZero) noexcept
    {
        const char16_t *p = m_p;
        bool nonZero = anyNonZero;
        std::int64_t dropped = 0;
        for (; p != m_end; ++p) {
            const bool digit = isDigit(*p);
            if (!digit && !isSkipped(*p))
                break;
            dropped += static_cast<std::int64_t>(digit);
            nonZero |= *p >= u'1' && *p <= u'9';
        }
        m_p = p;
        anyNonZero = nonZero;
        return dropped;
    }

    Checked<double> readDecimal() noexcept
    {
        bool negative = false;
        if (peek() == u'+' || peek() == u'-') {
            negative = *m_p == u'-';
            ++m_p;
        }

        bool sawDigit = false;
        bool droppedNonZero = false;
        std::int64_t exponent = 0; // value = digits x 10^exponent

        // Integer part: leading zeros carry nothing.
        while (peek() == u'0') {
            ++m_p;
            sawDigit = true;
        }
        while (isDigit(peek()) && m_count < kSignificantDigits) {
            takeDigit(*m_p++);
            sawDigit = true;
        }
        exponent += dropDigits(droppedNonZero);

        if (peek() == u'.') {
            ++m_p;
            if (m_count == 0) {
                while (peek() == u'0') {
                    ++m_p;
                    sawDigit = true;
                    --exponent;
                }
            }
            while (isDigit(peek()) && m_count < kSignificantDigits) {
                takeDigit(*m_p++);
                sawDigit = true;
                --exponent;
            }
            dropDigits(droppedNonZero);
        }
        if (!sawDigit)
            return 0.0;

        const char16_t marker = peek();
        if (marker == u'E' || marker == u'e' || marker == u'D' || marker == u'd') {
            ++m_p;
            bool negativeExponent = false;
            if (peek() == u'+' || peek() == u'-') {
                negativeExponent = *m_p == u'-';
                ++m_p;
            }
            std::int64_t written = 0;
            while (isDigit(peek())) {
                written = std::min(written * 10 + (*m_p++ - u'0'), kExponentCap);
            }
            exponent += negativeExponent ? -written : written;
        }

        if (m_count == 0)
            return 0.0;
        if (droppedNonZero) {
            m_digits[m_count++] = '1';
            --exponent;
        }
        const std::int64_t magnitude = exponent + static_cast<std::int64_t>(m_count);
        if (magnitude > kOverflowMagnitude)
            return Overflow{};
        if (magnitude < kUnderflowMagnitude)
            return 0.0;
        return convert(negative, exponent);
    }

    Checked<double> convert(bool negative, std::int64_t exponent) noexcept
    {
        // Short numbers, the usual entries, take the exact path: a mantissa
        // below 2^53 and a power of ten up to 10^22 are both exact doubles, so
        // one multiplication or division rounds correctly.
        constexpr std::size_t kExactDigits = 15;
        constexpr std::int64_t kExactPower = 22;
        if (m_count <= kExactDigits && exponent >= -kExactPower && exponent <= kExactPower) {
            std::uint64_t mantissa = 0;
            for (std::size_t i = 0; i < m_count; ++i)
                mantissa = mantissa * 10 + static_cast<unsigned>(m_digits[i] - '0');
            static constexpr std::array<double, kExactPower + 1> kPowers{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
            const double power = kPowers[static_cast<std::size_t>(exponent < 0 ? -exponent : exponent)];
            const double magnitude =
                exponent < 0 ? static_cast<double>(mantissa) / power : static_cast<double>(mantissa) * power;
            return negative ? -magnitude : magnitude;
        }

        // Only the used part is written and read: no need to clear it first.
        std::array<char, kSignificantDigits + 32> text; // NOLINT(cppcoreguidelines-pro-type-member-init)
        char *out = text.data();
        if (negative)
            *out++ = '-';
        out = std::copy_n(m_digits.data(), m_count, out);
        *out++ = 'e';
        out = std::to_chars(out, text.data() + text.size(), exponent).ptr;
        double value = 0.0;
        const auto result = fast_float::from_chars(text.data(), out, value);
        // Versions of fast_float tell a result beyond the doubles differently:
        // before 4.0 it is infinity or zero with no error, from 4.0 on either
        // end is result_out_of_range. So the flag never says which end; the
        // number's own magnitude does, and too small a number is zero.
        if (result.ec != std::errc::result_out_of_range && !std::isinf(value))
            return value;
        if (exponent + static_cast<std::int64_t>(m_count) > 0)
            return Overflow{};
        return 0.0;
    }

    const char16_t *m_p;
    const char16_t *m_end;
    // Only the first m_count digits are ever read: no need to clear it first.
    std::array<char, kSignificantDigits + 1> m_digits; // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::size_t m_count = 0;
};

} // namespace

Checked<double> readNumber(std::u16string_view text) noexcept { return Reader(text).read(); }

} // namespace xpcalc
