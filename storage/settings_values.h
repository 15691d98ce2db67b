#pragma once

#include <cstdint>

namespace zt {

// The value kinds the settings file stores beyond numbers, flags and texts.

// A colour as the file stores it: 0x00BBGGRR (blue in the high byte), in decimal. Negative
// values (high byte 0xFF) name system colours and are kept as they are.
using Colour = std::int32_t;

constexpr int colour_red(Colour c) {
    return c & 0xFF;
}
constexpr int colour_green(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int colour_blue(Colour c) {
    return (c >> 16) & 0xFF;
}
constexpr Colour make_colour(int red, int green, int blue) {
    return Colour((blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF));
}
constexpr bool is_system_colour(Colour c) {
    return (std::uint32_t(c) >> 24) != 0;
}

// Size and position of a window part, in pixels.
struct Geometry final {
    int width = 0;
    int height = 0;
    int top = 0;
    int left = 0;
    bool operator==(const Geometry&) const = default;
};

}  // namespace zt
