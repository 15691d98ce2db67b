#include "views/logic/rich_text_runs.h"

namespace zt::views {
namespace {

bool starts_with_nocase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

void erase_all(std::string& s, std::string_view what) {
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at))
        s.erase(at, what.size());
}

}  // namespace

bool is_link_word(std::string_view word) {
    return starts_with_nocase(word, "www.") || starts_with_nocase(word, "http://");
}

std::string link_address(std::string_view word) {
    if (starts_with_nocase(word, "http://")) return std::string(word);
    return "http://" + std::string(word);
}

std::vector<RichLine> split_rich_text(std::string_view text) {
    std::vector<RichLine> lines;
    bool bold = false;
    std::size_t pos = 0;
    while (true) {
        std::size_t end = text.find('\n', pos);
        std::string_view line =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        RichLine& out = lines.emplace_back();
        std::size_t w = 0;
        while (true) {
            const std::size_t space = line.find(' ', w);
            std::string word(line.substr(w, space == std::string_view::npos ? space : space - w));
            if (word.find("<b>") != std::string::npos) {
                bold = true;
                erase_all(word, "<b>");
            }
            const bool closes = word.find("</b>") != std::string::npos;
            if (closes) erase_all(word, "</b>");
            RichWord rw;
            rw.link = is_link_word(word);
            rw.bold = bold && !rw.link;
            rw.text = std::move(word);
            out.push_back(std::move(rw));
            if (closes) bold = false;
            if (space == std::string_view::npos) break;
            w = space + 1;
        }
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return lines;
}

std::vector<std::vector<WordPlace>> place_rich_words(const std::vector<std::vector<int>>& widths,
                                                     int space_width, int limit, bool wrap) {
    std::vector<std::vector<WordPlace>> places;
    int line = 0;
    for (const auto& words : widths) {
        auto& out = places.emplace_back();
        int x = 2;
        for (const int w : words) {
            if (wrap && x > 2 && x + w + space_width > limit) {
                x = 2;
                ++line;
            }
            out.push_back({x, line});
            x += w + space_width;
        }
        ++line;
    }
    return places;
}

}  // namespace zt::views
