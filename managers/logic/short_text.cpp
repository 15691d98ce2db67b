#include "managers/logic/short_text.h"

#include "core/cp1251.h"

namespace zt::managers {

std::optional<std::string> cp1251_text(std::string_view utf8, std::size_t max_bytes) {
    std::string cp = to_cp1251(utf8);
    // Every CP1251 byte has a UTF-8 form, so a text survives the round trip exactly when each of
    // its characters had a byte of its own.
    if (to_utf8(cp) != utf8) return std::nullopt;
    if (cp.size() > max_bytes) return std::nullopt;
    return cp;
}

}  // namespace zt::managers
