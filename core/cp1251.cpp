#include "core/cp1251.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace zt {
namespace {

// Unicode code points of bytes 0x80..0xFF. 0x98 is unassigned and maps to U+0098 so that every
// byte survives a round trip.
constexpr std::array<char16_t, 128> kHigh = {
    0x402, 0x403,  0x201a, 0x453,  0x201e, 0x2026, 0x2020, 0x2021, 0x20ac, 0x2030, 0x409,  0x2039,
    0x40a, 0x40c,  0x40b,  0x40f,  0x452,  0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
    0x98,  0x2122, 0x459,  0x203a, 0x45a,  0x45c,  0x45b,  0x45f,  0xa0,   0x40e,  0x45e,  0x408,
    0xa4,  0x490,  0xa6,   0xa7,   0x401,  0xa9,   0x404,  0xab,   0xac,   0xad,   0xae,   0x407,
    0xb0,  0xb1,   0x406,  0x456,  0x491,  0xb5,   0xb6,   0xb7,   0x451,  0x2116, 0x454,  0xbb,
    0x458, 0x405,  0x455,  0x457,  0x410,  0x411,  0x412,  0x413,  0x414,  0x415,  0x416,  0x417,
    0x418, 0x419,  0x41a,  0x41b,  0x41c,  0x41d,  0x41e,  0x41f,  0x420,  0x421,  0x422,  0x423,
    0x424, 0x425,  0x426,  0x427,  0x428,  0x429,  0x42a,  0x42b,  0x42c,  0x42d,  0x42e,  0x42f,
    0x430, 0x431,  0x432,  0x433,  0x434,  0x435,  0x436,  0x437,  0x438,  0x439,  0x43a,  0x43b,
    0x43c, 0x43d,  0x43e,  0x43f,  0x440,  0x441,  0x442,  0x443,  0x444,  0x445,  0x446,  0x447,
    0x448, 0x449,  0x44a,  0x44b,  0x44c,  0x44d,  0x44e,  0x44f};

struct CaseTables {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
    CaseTables() {
        for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<unsigned char>(i);
        auto pair = [this](int up, int lo) {
            lower[up] = static_cast<unsigned char>(lo);
            upper[lo] = static_cast<unsigned char>(up);
        };
        for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
        for (int c = 0xC0; c <= 0xDF; ++c) pair(c, c + 32);  // А..Я / а..я
        const int extra[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                                {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
                                {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
                                {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
        for (auto& e : extra) pair(e[0], e[1]);
    }
};
const CaseTables& tables() {
    static const CaseTables t;
    return t;
}

const std::unordered_map<char32_t, char>& reverse_map() {
    static const auto m = [] {
        std::unordered_map<char32_t, char> r;
        for (int i = 0; i < 128; ++i) r[kHigh[i]] = static_cast<char>(0x80 + i);
        return r;
    }();
    return m;
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string to_utf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (unsigned char c : s) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else
            append_utf8(out, kHigh[c - 0x80]);
    }
    return out;
}

std::string to_cp1251(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    const auto& rev = reverse_map();
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
        } else {
            out += '?';
            ++i;
            continue;
        }
        if (len > 1) {
            if (i + len > s.size()) {
                out += '?';
                break;
            }
            cp = c & (0x7F >> len);
            bool ok = true;
            for (std::size_t k = 1; k < len; ++k) {
                const auto cc = static_cast<unsigned char>(s[i + k]);
                if ((cc & 0xC0) != 0x80) ok = false;
                cp = (cp << 6) | (cc & 0x3F);
            }
            if (!ok) {
                out += '?';
                ++i;
                continue;
            }
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else {
            auto it = rev.find(cp);
            out += it == rev.end() ? '?' : it->second;
        }
        i += len;
    }
    return out;
}

char cp1251_lower(char c) {
    return static_cast<char>(tables().lower[static_cast<unsigned char>(c)]);
}
char cp1251_upper(char c) {
    return static_cast<char>(tables().upper[static_cast<unsigned char>(c)]);
}

std::string cp1251_lower(std::string_view s) {
    std::string out(s);
    const auto& t = tables().lower;
    for (auto& c : out) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

std::string cp1251_upper(std::string_view s) {
    std::string out(s);
    const auto& t = tables().upper;
    for (auto& c : out) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

bool cp1251_iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto& t = tables().lower;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (t[static_cast<unsigned char>(a[i])] != t[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

std::size_t cp1251_ifind(std::string_view hay, std::string_view needle) {
    if (needle.empty()) return 0;
    return cp1251_find_lowered(hay, cp1251_lower(needle), tables().lower);
}

const std::array<unsigned char, 256>& cp1251_lower_table() {
    return tables().lower;
}

const std::array<char16_t, 256>& cp1251_utf16_table() {
    static const auto table = [] {
        std::array<char16_t, 256> t{};
        for (int i = 0; i < 128; ++i) t[std::size_t(i)] = char16_t(i);
        for (int i = 0; i < 128; ++i) t[std::size_t(128 + i)] = kHigh[std::size_t(i)];
        return t;
    }();
    return table;
}

std::string cut_bytes(std::string_view s, std::size_t max_bytes) {
    return std::string(s.substr(0, max_bytes));
}

}  // namespace zt

std::string operator""_cp(const char* s, std::size_t n) {
    return zt::to_cp1251(std::string_view(s, n));
}
