#pragma once

#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zt::xmltv {

// What fitting texts into the store's code page changed.
struct TextStats final {
    std::int64_t transliterated = 0;  // characters CP1251 lacks written in another form or left out
    std::int64_t replaced = 0;        // characters with no readable form, written as '?'
    std::int64_t cut = 0;             // texts cut to the byte limit
};

// A file's text as a CP1251 field of at most `max_bytes`: runs of white space become one space
// and the ends are trimmed. A text with characters the code page lacks is composed first (NFC,
// so a decomposed "й" or "ü" is one letter); then each such character becomes its nearest form
// (typographic dashes and quotes, accented Latin letters without the accent, compatibility
// forms, "ß" as "ss", "ı" as "i", "œ" as "oe", "£" as "GBP"), runs of other scripts (Greek,
// Arabic, Hebrew, ...) are transliterated into Latin letters by ICU, and zero-width characters
// are left out, each counted as transliterated; what has no readable form at all becomes '?'
// (counted as replaced). Every character CP1251 holds (Cyrillic included) stays as it is. A
// longer text is cut (a CP1251 character is one byte, so never inside one) and ends with '…' to
// show that more was there.
std::string fit_cp1251(QStringView text, std::size_t max_bytes, TextStats& stats);
// The same for UTF-8 text (valid UTF-8, as the XML parser hands it on). Text of the letters
// CP1251 holds, the usual case, goes by table without a detour through UTF-16.
std::string fit_cp1251(std::string_view utf8, std::size_t max_bytes, TextStats& stats);

}  // namespace zt::xmltv
