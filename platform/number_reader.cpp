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

// Counts the digits of a run of digits and skipped characters, as far as it
// goes. Works in fixed blocks with no early exit, so the compiler can turn
// each block into a few vector instructions; the tail is done one by one.
const char16_t *scanDigitRun(const char16_t *p, const char16_t *end, std::int64_t &digits,
                             bool &anyNonZero) noexcept
{
    constexpr int kBlock = 32;
    while (end - p >= kBlock) {
        unsigned other = 0;
        unsigned count = 0;
        unsigned nonZero = 0;
        for (int i = 0; i < kBlock; ++i) {
            const char16_t c = p[i];
            const unsigned digit = static_cast<unsigned>(c - u'0') <= 9U;
            const unsigned skipped = (c == u' ') | (c == u'\t') | (c == u'\n');
            other |= (digit | skipped) ^ 1U;
            count += digit;
            nonZero |= digit & static_cast<unsigned>(c != u'0');
        }
        if (other != 0)
            break;
        digits += count;
        anyNonZero = anyNonZero || nonZero != 0;
        p += kBlock;
    }
    for (; p != end; ++p) {
        if (isDigit(*p)) {
            ++digits;
            anyNonZero = anyNonZero || *p != u'0';
        } else if (!isSkipped(*p)) {
            break;
        }
    }
    return p;
}

class Reader {
public:
    explicit Reader(std::u16string_view text) noexcept
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
                return OverflowError{};
        }
        // Values that set the top bit of their width are negative.
        if (value <= 0xFFFFU)
            return value >= 0x8000U ? static_cast<double>(value) - 65536.0 : static_cast<double>(value);
        return value >= 0x8000'0000U ? static_cast<double>(value) - 4294967296.0 : static_cast<double>(value);
    }

    void takeDigit(char16_t c) noexcept { m_digits[m_count++] = static_cast<char>(c); }

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
        if (isDigit(peek())) {
            std::int64_t dropped = 0;
            m_p = scanDigitRun(m_p, m_end, dropped, droppedNonZero);
            exponent += dropped;
        }

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
            if (isDigit(peek())) {
                std::int64_t dropped = 0;
                m_p = scanDigitRun(m_p, m_end, dropped, droppedNonZero);
            }
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
            return OverflowError{};
        if (magnitude < kUnderflowMagnitude)
            return 0.0;
        return convert(negative, exponent);
    }

    Checked<double> convert(bool negative, std::int64_t exponent) noexcept
    {
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
        if (result.ec != std::errc() || std::isinf(value))
            return OverflowError{};
        return value;
    }

    const char16_t *m_p;
    const char16_t *m_end;
    // Only the first m_count digits are ever read: no need to clear it first.
    std::array<char, kSignificantDigits + 1> m_digits; // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::size_t m_count = 0;
};

} // namespace

Checked<double> readNumber(std::u16string_view text) noexcept
{
    return Reader(text).read();
}

} // namespace xpcalc
