// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <variant>

namespace xpcalc {

// The one run-time error of the conversions: a value left the range of its
// type. It says nothing of where: a conversion does not know which entry it
// reads, so the caller that does names it (see the calculation's error).
struct Overflow {};

// A value or an error, never both. Every fallible operation of the core returns
// one; nothing in the core throws. A result cannot be dropped unread, and
// reading the side it does not hold stops the program in every build rather
// than hand back something made up.
template <class T, class Error = Overflow> class [[nodiscard]] Checked {
public:
    Checked(T value) : m_state(std::in_place_index<0>, std::move(value)) {}     // NOLINT(google-explicit-constructor)
    Checked(Error error) : m_state(std::in_place_index<1>, std::move(error)) {} // NOLINT(google-explicit-constructor)

    bool ok() const noexcept { return m_state.index() == 0; }
    explicit operator bool() const noexcept { return ok(); }

    const T &value() const noexcept { return held<0>(); }
    const Error &error() const noexcept { return held<1>(); }

private:
    template <std::size_t Side> const auto &held() const noexcept
    {
        const auto *side = std::get_if<Side>(&m_state);
        if (side == nullptr) {
            (void)std::fputs("xpcalc: a checked result was read on the side it does not hold\n", stderr);
            std::abort();
        }
        return *side;
    }

    std::variant<T, Error> m_state;
};

} // namespace xpcalc
