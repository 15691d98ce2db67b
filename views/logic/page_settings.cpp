#include "views/logic/page_settings.h"

#include <algorithm>

namespace zt::views {

ViewSwitches view_switches(const Settings& settings, const SystemCategories& system) {
    ViewSwitches v;
    v.show_past = settings.program_view.show_past;
    v.abbreviations = settings.program_view.letter_abbrev;
    v.date_in_columns = settings.general.view_date;
    v.descr_left = settings.personal.descr_left;
    v.descr_right = settings.personal.descr_right;
    v.system = system;
    return v;
}

std::string day_start_text(const Settings& settings) {
    const int hour = std::clamp(settings.personal.day_start, 0, 23);
    return std::string(hour < 10 ? "0" : "") + std::to_string(hour) + ":00";
}

}  // namespace zt::views
