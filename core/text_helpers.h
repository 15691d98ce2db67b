#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zt {

// Pieces of `text` between occurrences of `sep`; the piece after the last separator is always
// added (an empty text gives one empty piece). Returns the number of pieces.
int split_char(std::string_view text, std::vector<std::string>& list, char sep);
// The same with a separator string; after a match the scan continues behind it.
int split_text(std::string_view text, std::vector<std::string>& list, std::string_view sep);
// "12345" kopecks -> "123 руб. 45 коп." (CP1251).
std::string FormatMoney(std::string_view amount);
// One line without "<b>"/"</b>" markup and line breaks.
std::string plain_descr(std::string_view text);
// MD5 of the bytes as 32 lower-case hexadecimal digits.
std::string md5_hex(std::string_view text);
// The leading integer of `text` when it is not 0, else `def`; as decimal text.
std::string int_or_default(std::string_view text, long def);

}  // namespace zt
