#pragma once

#include <cstdint>
#include <string>

#include "core/datetime.h"

namespace zt {
class all_list;
}

namespace zt::gen {

// How much data to make.
struct Profile final {
    std::string name;
    int channels = 10;
    int days = 22;           // from the Sunday before the previous week to the next week's end
    int progs_per_day = 48;  // programmes a channel airs a day (average)
    int groups = 2;
};

// "small" (10 channels), "large" (300 channels x 22 days x 48 programmes) or "tiny" (3 channels,
// 3 days, for unit tests). Throws std::invalid_argument for another name.
Profile profile_by_name(const std::string& name);

// A 24-bit BMP file image of a size x size logo in a colour derived from `seed`.
std::string make_bmp(int width, int height, std::uint32_t seed);

// Fills an empty store (with its genre catalogue built) with a realistic schedule around
// `anchor`: channels with Russian names, logos and descriptions; programmes over every genre
// family with ratings, continued multi-part broadcasts and announcements (some with pictures);
// favourite and disliked titles; marks and reminders; channel groups with shifts and numbers.
// The same profile, anchor and seed give the same store.
void generate(all_list& store, const Profile& profile, DateTime anchor, std::uint32_t seed = 1);

}  // namespace zt::gen
