#pragma once

#include <cstdint>
#include <string>

namespace zt::net {

// The display text of a byte count (UTF-8): "1023 байт", "1 Кб", "3 Мб" (integer division).
std::string FormatBytes(std::uint64_t n);

}  // namespace zt::net
