#pragma once

#include <string>

#include "storage/settings.h"
#include "views/logic/page_options.h"

namespace zt::views {

// The view switches of the programme lists as the settings model holds them: "Прошедшие",
// "Буквенные сокращения", "Отображать дату в колонках передач" and the two description
// decorations. The system categories are not settings; they keep the given value.
ViewSwitches view_switches(const Settings& settings, const SystemCategories& system = {});

// The text both time edits of "По дням" take after the settings are loaded: the hour of
// "Новый день начинается в:" as "hh:00".
std::string day_start_text(const Settings& settings);

}  // namespace zt::views
