#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zt::views {

// Rules of the page controls of the programme pages that need no widget: the items of the
// time popup menus, the profiles of "Скоро" and what happens when an edit is left.

// One item of a popup menu; `column` is true for the first item of a new menu column.
struct PopupItem final {
    std::string caption;  // UTF-8
    bool column = false;
};

// The items of a submenu of the "Скоро" time menus: kind 0 "Смещение от текущего времени" and
// 1 "Смещение от конца текущей передачи" (30 offsets "00:00" to "14:00"), kind 2 "Без
// смещения" (24 times of day).
std::vector<PopupItem> soon_time_items(int kind);
// The 24 hourly items "00:00" to "23:00" of the "По дням" time menus.
std::vector<PopupItem> day_time_items();
// The items of the profile submenus: "В течении" (0), "Ближайшие передачи" (1),
// "Сегодня" (2).
std::vector<PopupItem> soon_profile_items(int submenu);

// What a profile item puts into the "Скоро" controls.
struct SoonProfile final {
    std::string start;   // "С"
    std::string finish;  // "до"
    std::string line;    // "по ... передач"
    int kind = 0;        // offset kind (ComboBoxNextType index)
};
SoonProfile soon_profile(int submenu, int item);

// Leaving a time edit: its text when it is a valid time of at most 23 hours, else `fallback`.
// Blanks of an unfilled mask position count as spaces.
std::string leave_time_edit(std::string_view text, std::string_view fallback);
bool time_edit_valid(std::string_view text);
// Leaving the programme count edit: its decimal value, or "1" when that value is 0.
std::string leave_count_edit(std::string_view text);
// The count the queries take from the edit: its decimal value capped to 1..99.
int count_edit_value(std::string_view text);

// The "Колонки" dialog: which of the first seven columns are shown (width other than 0), and
// the widths after it closes: a shown column that was hidden gets its width from `restored`
// (the defaults when left empty), a column not shown gets 0; "Передача" always stays.
std::vector<bool> shown_columns(const std::vector<int>& widths);
std::vector<int> chosen_column_widths(const std::vector<int>& widths,
                                      const std::vector<bool>& shown,
                                      const std::vector<int>& restored = {});

}  // namespace zt::views
