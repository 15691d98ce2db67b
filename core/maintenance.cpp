#include "core/maintenance.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/cp1251.h"
#include "core/store.h"
#include "core/time_zones.h"

namespace zt {
namespace {

void report(Progress& progress, std::size_t index, std::size_t count) {
    progress.job_progress(count == 0 ? 100 : int(index * 100 / count));
}

}  // namespace

void PartLinker::link(chl_serv_list& channel) {
    auto& list = channel.tvprog;
    // Only the ids of continued programmes need their later parts found; most channels have
    // few or none, so the other programmes cost one set lookup instead of a map update.
    m_continued.clear();
    for (const auto& p : list) {
        p->next_part.reset();
        if (p->continued == 1) m_continued.insert(p->id);
    }
    if (m_continued.empty()) return;
    // Walk backwards remembering, per id, the nearest later programme: linear instead of a
    // forward search per continued programme.
    m_later.clear();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        auto& p = **it;
        if (!m_continued.count(p.id)) continue;
        if (p.continued == 1) {
            const auto found = m_later.find(p.id);
            if (found != m_later.end())
                p.next_part = *found->second;
            else
                p.continued = 0;
        }
        m_later[p.id] = &*it;
    }
}

void link_tvprog_parts(all_list& store, Progress& progress) {
    PartLinker linker;
    const std::size_t n = store.channels.size();
    for (std::size_t ci = 0; ci < n; ++ci) {
        linker.link(*store.channels[ci]);
        report(progress, ci, n);
    }
}

void link_love(all_list& store, const MaintenanceOptions& options, Progress& progress) {
    const DateTime today = store.clock().today();
    const std::size_t n = store.channels.size();
    for (std::size_t ci = 0; ci < n; ++ci) {
        auto& c = *store.channels[ci];
        if (!c.love.empty()) {
            // Lower-cased title -> first entry with it, so each programme is one lookup.
            std::unordered_map<std::string, std::shared_ptr<love_list>> by_title;
            for (const auto& l : c.love) by_title.emplace(cp1251_lower(l->title), l);
            for (auto& p : c.tvprog) {
                if (p->love) continue;
                auto found = by_title.find(cp1251_lower(p->title));
                if (found == by_title.end()) continue;
                p->love = found->second;
                found->second->seen = today;
                if (options.alarm_on_liked && found->second->liked == 1) p->alarm = 1;
            }
        }
        report(progress, ci, n);
    }
}

void purge_old(all_list& store, Progress& progress) {
    const DateTime limit = monday_of_week(store.clock().today()).addDays(-8);
    const std::size_t n = store.channels.size();
    for (std::size_t ci = 0; ci < n; ++ci) {
        auto& c = *store.channels[ci];
        bool anons_dropped = false;
        std::vector<const anons_serv_list*> dropped;
        std::erase_if(c.tvprog, [&](const std::shared_ptr<tvprog_serv_list>& p) {
            if (p->start >= limit) return false;
            if (p->anons) {
                dropped.push_back(p->anons.get());
                anons_dropped = true;
            }
            return true;
        });
        if (anons_dropped) {
            std::sort(dropped.begin(), dropped.end());
            std::erase_if(c.anons, [&](const auto& a) {
                return std::binary_search(dropped.begin(), dropped.end(), a.get());
            });
        }
        std::erase_if(c.dates, [&](const dt_local_list& d) {
            const auto day = store.fs_file.parse(d.date);
            return day && *day < limit;
        });
        report(progress, ci, n);
    }
}

void expire_love(all_list& store, const MaintenanceOptions& options, Progress& progress) {
    const DateTime limit = store.clock().today().addDays(-options.love_keep_days);
    const std::size_t n = store.channels.size();
    for (std::size_t ci = 0; ci < n; ++ci) {
        std::erase_if(store.channels[ci]->love, [&](const auto& l) { return l->seen < limit; });
        report(progress, ci, n);
    }
}

void set_rating_alarms(all_list& store, const MaintenanceOptions& options, Progress& progress) {
    if (!options.rating_alarm) return;
    const long threshold = leading_int(options.rating_threshold);
    const std::size_t n = store.channels.size();
    for (std::size_t ci = 0; ci < n; ++ci) {
        for (auto& p : store.channels[ci]->tvprog)
            if (p->rating > threshold) p->alarm = 1;
        report(progress, ci, n);
    }
}

void run_maintenance(all_list& store, const MaintenanceOptions& options, Progress& progress,
                     bool link_parts) {
    if (link_parts) link_tvprog_parts(store, progress);
    link_love(store, options, progress);
    purge_old(store, progress);
    expire_love(store, options, progress);
    set_rating_alarms(store, options, progress);
}

}  // namespace zt
