#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zt::managers {

// The longest text the data files keep with a one-byte length (abbreviations, titles).
constexpr std::size_t kShortTextBytes = 255;

// The CP1251 form of a UTF-8 text typed by the user, or nullopt when a character has no CP1251
// form (it would be stored as '?') or the text needs more than `max_bytes` bytes.
std::optional<std::string> cp1251_text(std::string_view utf8, std::size_t max_bytes);

}  // namespace zt::managers
