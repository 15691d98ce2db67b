#include "views/logic/page_settings.h"

#include "core/store.h"

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

PageOptions page_options(const all_list& store, const Settings& settings,
                         const PageInputs& inputs) {
    PageOptions o;
    o.page = inputs.page;
    o.now = store.clock().now();
    o.view = view_switches(settings, inputs.system);
    o.soon = inputs.soon;
    o.days = inputs.days;
    o.days.next_week = settings.program_view.next_week;
    o.find = inputs.find;
    o.panels = inputs.panels;
    return o;
}

}  // namespace zt::views
