#pragma once
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/VbText.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

// The year of a subsidy window's year box: a whole number from 1 to 9999,
// blanks around it allowed; nothing for any other text.
inline std::optional<std::int32_t> Subsidy_Year(const std::string& text) {
    const auto v = parseNumber(vbTrim(text));
    if (!v || *v != std::floor(*v) || *v < 1 || *v > 9999) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

}  // namespace tolvenk
