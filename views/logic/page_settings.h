#pragma once

#include "storage/settings.h"
#include "views/logic/page_options.h"

namespace zt::views {

// The view switches of the programme lists as the settings model holds them: "Прошедшие",
// "Буквенные сокращения", "Отображать дату в колонках передач" and the two description
// decorations. The system categories are not settings; they keep the given value.
ViewSwitches view_switches(const Settings& settings, const SystemCategories& system = {});

// What a rebuild takes from outside the settings: the active page, the page controls, the
// panels' choice and the system categories of the "Типы" menu.
struct PageInputs final {
    ProgramPage page = ProgramPage::now;
    SoonControls soon;
    DaysControls days;  // its `next_week` is not read: the week is a setting
    FindControls find;
    PanelChoice panels;
    SystemCategories system;
};

// The options of one rebuild: the settings (view switches, the week of "По дням"), the
// inputs, and the store's clock read once. The main window and zorvan-cli both call this.
PageOptions page_options(const all_list& store, const Settings& settings, const PageInputs& inputs);

}  // namespace zt::views
