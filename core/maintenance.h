#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/progress.h"

namespace zt {

class all_list;
struct chl_serv_list;
struct tvprog_serv_list;

// The options the maintenance steps read; the settings model fills them.
struct MaintenanceOptions final {
    bool alarm_on_liked = false;  // "Ставить оповещения на любимые передачи"
    int love_keep_days = 90;              // 30, 90 or 180
    bool rating_alarm = false;            // "Устанавливать оповещение"
    std::string rating_threshold = "75";  // "на передачи с рейтингом больше:"
};

// Links each continued programme of a channel to its next part (the nearest later programme
// with the same id) and clears `continued` where there is none. One linker serves many
// channels in turn, keeping its lookup tables' memory.
class PartLinker final {
public:
    void link(chl_serv_list& channel);

private:
    std::unordered_set<std::int32_t> m_continued;
    std::unordered_map<std::int32_t, const std::shared_ptr<tvprog_serv_list>*> m_later;
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
