#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zt::views {

// The small rich-text language of the detail windows: "<b>" and "</b>" switch bold on and
// off at word granularity, and words beginning with "www." or "http://" are links.

struct RichWord final {
    std::string text;   // the word without its bold tags (UTF-8); empty for a doubled space
    bool bold = false;  // a link is never bold
    bool link = false;
};
using RichLine = std::vector<RichWord>;

// Splits a text into lines (at "\r\n", or a lone "\n") and words (at single spaces; several
// spaces in a row give empty words). A word containing "<b>" starts a bold run; a word
// containing "</b>" is still bold and ends it.
std::vector<RichLine> split_rich_text(std::string_view text);

// Whether a word is a link: it begins with "www." or "http://", in any letter case.
bool is_link_word(std::string_view word);
// The address a link word opens: the word, with "http://" put in front unless it already
// begins with it (any letter case).
std::string link_address(std::string_view word);

// Where the words of the lines go: x starts at 2 on every line; with `wrap`, a word that would
// reach past `limit` (x + width + space > limit) starts a new line first.
struct WordPlace final {
    int x = 0;
    int line = 0;  // visual line number
};
std::vector<std::vector<WordPlace>> place_rich_words(const std::vector<std::vector<int>>& widths,
                                                     int space_width, int limit, bool wrap);

}  // namespace zt::views
