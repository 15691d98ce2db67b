#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zt {

// Texts of the store are code page 1251 byte strings, as the data files and the server carry
// them. These helpers convert at the user-interface boundary and compare the way a Russian
// user expects (Cyrillic letters have case too).

// UTF-8 to CP1251; a character the code page lacks becomes '?'.
std::string to_cp1251(std::string_view utf8);
// CP1251 to UTF-8; every byte has a mapping, so this never loses data.
std::string to_utf8(std::string_view cp1251);

char cp1251_lower(char c);
char cp1251_upper(char c);
std::string cp1251_lower(std::string_view s);
std::string cp1251_upper(std::string_view s);
// Case-insensitive equality of two CP1251 texts (Latin and Cyrillic letters).
bool cp1251_iequal(std::string_view a, std::string_view b);
// Position of `needle` in `hay` ignoring case, or npos.
std::size_t cp1251_ifind(std::string_view hay, std::string_view needle);

// The lower-case byte of every CP1251 byte, and the UTF-16 code unit of every CP1251 byte (the
// widgets build their texts from it directly).
const std::array<unsigned char, 256>& cp1251_lower_table();
const std::array<char16_t, 256>& cp1251_utf16_table();

// Position of `lowered` (already lower-case, not empty) in `hay` lower-cased through `low`, or
// npos. Inline: the search page runs it over every programme.
inline std::size_t cp1251_find_lowered(std::string_view hay, std::string_view lowered,
                                       const std::array<unsigned char, 256>& low) {
    const std::size_t n = lowered.size();
    if (hay.size() < n) return std::string_view::npos;
    const auto first = static_cast<unsigned char>(lowered[0]);
    const std::size_t last = hay.size() - n;
    for (std::size_t i = 0; i <= last; ++i) {
        if (low[static_cast<unsigned char>(hay[i])] != first) continue;
        std::size_t k = 1;
        while (k < n && low[static_cast<unsigned char>(hay[i + k])] ==
                            static_cast<unsigned char>(lowered[k]))
            ++k;
        if (k == n) return i;
    }
    return std::string_view::npos;
}

// Cuts a text to at most `max_bytes`; CP1251 is one byte a character, so any cut is on a
// character boundary.
std::string cut_bytes(std::string_view s, std::size_t max_bytes);

}  // namespace zt

// A CP1251 text from a UTF-8 literal in the source: "Новая "_cp.
std::string operator""_cp(const char* s, std::size_t n);
