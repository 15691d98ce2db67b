#include "views/logic/prog_page_rules.h"

#include <algorithm>

#include "core/time_zones.h"
#include "views/logic/program_list.h"

namespace zt::views {
namespace {

std::string hh_mm(int minutes) {
    const int h = minutes / 60, m = minutes % 60;
    const char text[5] = {char('0' + h / 10), char('0' + h % 10), ':', char('0' + m / 10),
                          char('0' + m % 10)};
    return std::string(text, 5);
}

// Offsets in steps of ten minutes up to 02:50, then whole hours up to 14:00; a new column
// starts at 01:00, 02:00, 03:00 and 09:00.
std::vector<PopupItem> offset_items(int first_minutes) {
    std::vector<PopupItem> items;
    auto add = [&](int minutes) {
        const bool column = minutes == 60 || minutes == 120 || minutes == 180 || minutes == 540;
        items.push_back({hh_mm(minutes), column});
    };
    for (int m = first_minutes; m < 180; m += 10) add(m);
    for (int h = 3; h <= 14; ++h) add(h * 60);
    return items;
}

// The 24 hours of a day; new columns at 06:00, 12:00 and 18:00.
std::vector<PopupItem> hour_items() {
    std::vector<PopupItem> items;
    for (int h = 0; h < 24; ++h) items.push_back({hh_mm(h * 60), h == 6 || h == 12 || h == 18});
    return items;
}

// The text of a masked edit with its blank positions as spaces.
std::string blanks_as_spaces(std::string_view text) {
    std::string t(text);
    std::replace(t.begin(), t.end(), '-', ' ');
    // A leading sign is the only place a '-' may stand for itself; the edits never hold one.
    return t;
}

}  // namespace

std::vector<PopupItem> soon_time_items(int kind) {
    return kind == 2 ? hour_items() : offset_items(0);
}

std::vector<PopupItem> day_time_items() {
    return hour_items();
}

std::vector<PopupItem> soon_profile_items(int submenu) {
    switch (submenu) {
        case 0:
            return offset_items(10);
        case 1: {
            std::vector<PopupItem> items;
            for (int i = 1; i <= 10; ++i) items.push_back({std::to_string(i), i == 6});
            return items;
        }
        case 2:
            return {{"Ночью с 0:00 до 6:00"},
                    {"Утром с 6:00 до 12:00"},
                    {"Днем с 12:00 до 18:00"},
                    {"Вечером с 18:00 до 0:00"}};
        default:
            return {};
    }
}

SoonProfile soon_profile(int submenu, int item) {
    const auto items = soon_profile_items(submenu);
    if (item < 0 || std::size_t(item) >= items.size()) return {};
    switch (submenu) {
        case 0:
            return {"00:00", items[std::size_t(item)].caption, "99", 0};
        case 1:
            return {"00:00", "14:00", items[std::size_t(item)].caption, 1};
        default: {
            static const char* const bounds[4][2] = {
                {"00:00", "05:59"}, {"06:00", "11:59"}, {"12:00", "17:59"}, {"18:00", "23:59"}};
            return {bounds[item][0], bounds[item][1], "99", 2};
        }
    }
}

bool time_edit_valid(std::string_view text) {
    return time_text_valid(blanks_as_spaces(text), 23);
}

std::string leave_time_edit(std::string_view text, std::string_view fallback) {
    return time_edit_valid(text) ? std::string(text) : std::string(fallback);
}

std::string leave_count_edit(std::string_view text) {
    const long v = leading_int(text);
    return v == 0 ? std::string("1") : std::to_string(v);
}

int count_edit_value(std::string_view text) {
    return int(std::clamp<long>(leading_int(text), 1, 99));
}

std::vector<bool> shown_columns(const std::vector<int>& widths) {
    std::vector<bool> shown;
    for (std::size_t c = 0; c < std::size_t(col_title); ++c)
        shown.push_back(c < widths.size() && widths[c] != 0);
    return shown;
}

std::vector<int> chosen_column_widths(const std::vector<int>& widths,
                                      const std::vector<bool>& shown,
                                      const std::vector<int>& restored) {
    const auto& columns = program_columns();
    auto restored_width = [&](std::size_t c) {
        return c < restored.size() && restored[c] > 0 ? restored[c] : columns[c].width;
    };
    std::vector<int> out(std::size_t(col_count), 0);
    for (std::size_t c = 0; c < out.size(); ++c)
        out[c] = c < widths.size() ? widths[c] : columns[c].width;
    for (std::size_t c = 0; c < std::size_t(col_title) && c < shown.size(); ++c) {
        if (!shown[c])
            out[c] = 0;
        else if (out[c] == 0)
            out[c] = restored_width(c);
    }
    if (out[std::size_t(col_title)] <= 0) out[std::size_t(col_title)] = columns[col_title].width;
    return out;
}

}  // namespace zt::views
