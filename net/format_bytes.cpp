#include "net/format_bytes.h"

namespace zt::net {

std::string FormatBytes(std::uint64_t n) {
    if (n >= 1048576) return std::to_string(n / 1048576) + " Мб";
    if (n < 1024) return std::to_string(n) + " байт";
    return std::to_string(n / 1024) + " Кб";
}

}  // namespace zt::net
