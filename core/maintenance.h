#pragma once

#include <string>

#include "core/progress.h"

namespace zt {

class all_list;

// The options the maintenance steps read; the settings model fills them.
struct MaintenanceOptions final {
    bool alarm_on_liked = false;  // "Ставить оповещения на любимые передачи"
    int love_keep_days = 90;              // 30, 90 or 180
    bool rating_alarm = false;            // "Устанавливать оповещение"
    std::string rating_threshold = "75";  // "на передачи с рейтингом больше:"
};

// After new programmes arrive, in this order. Each reports per-channel progress.
void link_tvprog_parts(all_list& store, Progress& progress);
void link_love(all_list& store, const MaintenanceOptions& options, Progress& progress);
void purge_old(all_list& store, Progress& progress);
void expire_love(all_list& store, const MaintenanceOptions& options, Progress& progress);
void set_rating_alarms(all_list& store, const MaintenanceOptions& options, Progress& progress);

// Steps 1-5 (a download) or 2-5 (an import: parts are linked at the next start).
void run_maintenance(all_list& store, const MaintenanceOptions& options, Progress& progress,
                     bool link_parts);

}  // namespace zt
