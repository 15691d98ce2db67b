#include "views/logic/page_options.h"

#include <cstdio>

#include "core/store.h"

namespace zt::views {

PanelChoice panel_choice_from_store(const all_list& store) {
    PanelChoice c;
    c.group = store.cur_group;
    if (c.group >= 0 && std::size_t(c.group) < store.chl_groups.size()) {
        for (const auto& m : store.chl_groups[std::size_t(c.group)]->members)
            c.chosen.push_back(m->selected == 1 ? 1 : 0);
    }
    c.genre_on.reserve(store.types.size());
    for (const auto& t : store.types) c.genre_on.push_back(t->filter_on == 1 ? 1 : 0);
    return c;
}

DateTime days_week_start(const all_list& store, bool next_week) {
    return next_week ? store.week_next : store.week_cur;
}

std::array<DayButtonText, 7> day_button_hints(const all_list& store, bool next_week) {
    const DateTime w = days_week_start(store, next_week);
    std::array<DayButtonText, 7> texts;
    for (int i = 0; i < 7; ++i) {
        const DateTime day = w.addDays(i);
        int year = 0, month = 0, d = 0;
        day.toParts(year, month, d);
        char line[8];
        std::snprintf(line, sizeof line, "%02d.%02d", d % 100, month % 100);
        texts[std::size_t(i)] = {store.fs_view.formatDate(day), line};
    }
    return texts;
}

int day_button_of(DateTime day) {
    // dayOfWeek: 1 = Sunday .. 7 = Saturday.
    return (day.dayOfWeek() + 5) % 7;
}

}  // namespace zt::views
