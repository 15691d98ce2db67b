#pragma once

#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <string>

namespace zt::xmltv {

// What fitting texts into the store's code page changed.
struct TextStats final {
    std::int64_t replaced = 0;  // characters written as a substitute or '?', or left out
    std::int64_t cut = 0;       // texts cut to the byte limit
};

// A file's text as a CP1251 field of at most `max_bytes`: runs of white space become one space
// and the ends are trimmed; a character the code page lacks becomes its nearest form (typographic
// dashes and quotes, accented Latin letters without the accent, compatibility forms) or '?', and
// zero-width characters are left out, each counted in `stats`. A longer text is cut (a CP1251
// character is one byte, so never inside one) and ends with '…' to show that more was there.
std::string fit_cp1251(QStringView text, std::size_t max_bytes, TextStats& stats);

}  // namespace zt::xmltv
