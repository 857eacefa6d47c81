#pragma once

#include <cassert>
#include <variant>

namespace xpcalc {

// The one run-time error of the calculation: a value left its integer range.
// It records where, so that the window can point the user at the box or the
// challenge rating concerned. The conversions of this library only know that a
// value did not fit; the calculation fills in which entry it was.
struct OverflowError {
    enum class Site {
        Unplaced,    // raised by a conversion whose caller has not said which entry it read
        CountText,   // the count of `challengeRating` did not convert
        LevelText,   // the party level did not convert
        Product,     // count x award at `challengeRating` left the 32-bit range
        RunningTotal // the partial sum up to `challengeRating` left the 32-bit range
    };

    Site site = Site::Unplaced;
    int challengeRating = 0; // 1 to 20 where the site names one, else 0

    friend bool operator==(const OverflowError &a, const OverflowError &b)
    {
        return a.site == b.site && a.challengeRating == b.challengeRating;
    }
};

// A value or the overflow error, never both. Every fallible operation of the
// core returns one; nothing in the core throws.
template <class T> class Checked {
public:
    Checked(T value) : m_state(std::move(value)) {}  // NOLINT(google-explicit-constructor)
    Checked(OverflowError error) : m_state(error) {} // NOLINT(google-explicit-constructor)

    bool ok() const noexcept { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const noexcept { return ok(); }

    const T &value() const noexcept
    {
        assert(ok());
        return *std::get_if<T>(&m_state);
    }
    const OverflowError &error() const noexcept
    {
        assert(!ok());
        return *std::get_if<OverflowError>(&m_state);
    }

private:
    std::variant<T, OverflowError> m_state;
};

} // namespace xpcalc
