#pragma once

#include <compare>
#include <cstdint>

namespace zav {

// A fixed-point amount with four decimal places, held exactly as a count of ten-thousandths.
// Range: -922337203685477.5808 to 922337203685477.5807.
struct Currency {
    std::int64_t units = 0;

    static constexpr std::int64_t kUnitsPerOne = 10000;

    static constexpr Currency FromUnits(std::int64_t units) { return Currency{units}; }

    friend constexpr auto operator<=>(Currency, Currency) = default;
};

}  // namespace zav
