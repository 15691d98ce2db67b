#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "views/logic/genre_filter.h"

namespace zt {
class all_list;
}

namespace zt::views {

// Everything the programme lists read from the menus, the settings, the panels, the page
// controls and the clock, gathered in plain values. The main window fills it from its live
// controls before each rebuild; the command-line tool fills it from its options; the queries
// read nothing else. Texts are CP1251, as in the store.

// The four pages of the programme page control, in tab order.
enum class ProgramPage { now = 0, soon = 1, days = 2, find = 3 };

// View switches shared by the four lists.
struct ViewSwitches final {
    bool show_past = true;       // "Прошедшие"
    bool abbreviations = false;  // "Буквенные сокращения"
    bool date_in_columns = false;  // "Отображать дату в колонках передач"
    std::string descr_left = " (";  // put left of a description (spaces already restored)
    std::string descr_right = ")";  // put right of a description
    SystemCategories system;        // the system categories of the "Типы" menu
};

// The choice of "Скоро" ("Смещение от текущего времени", "Смещение от конца текущей передачи",
// "Без смещения"), in the order of its items.
enum class SoonOffset { from_now = 0, from_current_end = 1, times_of_day = 2 };
// Where "Поиск" looks ("в названии", "в описании", "везде"), in the order of its items.
enum class FindIn { title = 0, description = 1, everywhere = 2 };

// Controls of the "Скоро" page.
struct SoonControls final {
    std::string time_start = "00:00";   // "С": an offset or a time of day
    std::string time_finish = "03:00";  // "до"
    int line = 5;  // "по ... передач": programmes per channel (1 to 99)
    SoonOffset offset_kind = SoonOffset::from_now;
};

// Controls of the "По дням" page.
struct DaysControls final {
    bool next_week = false;      // "Будущая" checked instead of "Текущая"
    std::array<bool, 7> days{};  // day buttons "ПН" .. "ВС" pressed
    bool by_day = false;         // "Группировать по дням"
    std::string time_start = "00:00";
    std::string time_finish = "00:00";
};

// Controls of the "Поиск" page.
struct FindControls final {
    std::string text;  // "Строка:"
    FindIn mode = FindIn::title;
};

// The channel and genre choice of the two side panels.
struct PanelChoice final {
    int group = -1;                      // index in `chl_groups`; -1 = no group
    std::vector<std::uint8_t> chosen;    // per member position of the group: chosen (1) or not
    std::vector<std::uint8_t> genre_on;  // per genre position in `types`: shown (1) or not
};

struct PageOptions final {
    ProgramPage page = ProgramPage::now;
    DateTime now;  // read once per rebuild
    ViewSwitches view;
    SoonControls soon;
    DaysControls days;
    FindControls find;
    PanelChoice panels;
};

// The panels' choice as the store records it: `cur_group`, the members' `selected` flags and
// the genres' `filter_on` flags.
PanelChoice panel_choice_from_store(const all_list& store);

// Monday 00:00 of the week the "По дням" page shows.
DateTime days_week_start(const all_list& store, bool next_week);
// What the seven day buttons show of their day: the hint is the date in the display format,
// the date line under the weekday "07.12" (day and month), so the week shown is always seen.
struct DayButtonText final {
    std::string hint;       // CP1251
    std::string date_line;  // ASCII
};
std::array<DayButtonText, 7> day_button_hints(const all_list& store, bool next_week);
// The day button of a date: 0 = "ПН" .. 6 = "ВС".
int day_button_of(DateTime day);

}  // namespace zt::views
