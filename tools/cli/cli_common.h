#pragma once

#include <stdexcept>
#include <string>

#include "core/clock.h"
#include "core/format_set.h"

namespace zt::cli {

// The --at value "yyyy-MM-dd hh:mm[:ss]"; the system clock's now when empty.
inline DateTime parse_at(const std::string& text) {
    if (text.empty()) return SystemClock().now();
    const FormatSet f{"yyyy-MM-dd", "hh:mm:ss", {}};
    auto v = f.parse(text);
    if (!v) throw std::invalid_argument("--at wants \"yyyy-MM-dd hh:mm[:ss]\", got: " + text);
    return *v;
}

}  // namespace zt::cli
