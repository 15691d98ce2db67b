#pragma once

#include <QString>

#include <string>

namespace zt::server {

// A channel's display name reduced to what stays the same across guides, for proposing which
// channels of two sources are one: lower case, accents dropped, Cyrillic written in Latin
// letters, spellings that transliterations disagree on made one ("й", "y", "j" and "i"; "kh"
// and "h"; "ts", "tz" and "c"; "w" and "v"), doubled letters made single, everything but
// letters, digits and "+" left out, and a trailing picture-quality word ("HD", "SD", "UHD",
// "FHD", "4K", "HEVC") dropped. "Первый канал HD", "Pervyj Kanal" and "PERVIY KANAL" all give
// "pervikanal". `cp1251` is the name as the store keeps it.
std::string channel_name_key(const std::string& cp1251);

}  // namespace zt::server
