#include <map>
#include <set>

#include "core/cp1251.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "server/block_cache.h"
#include "server/channel_data.h"
#include "server/gif_writer.h"
#include "server/ingest.h"
#include "tools/gen/schedule_generator.h"

namespace zt::server {

namespace {

protocol::ProgEntry entry_of(const tvprog_serv_list& p) {
    protocol::ProgEntry e;
    e.id = p.id;
    e.start = p.start;
    e.finish = p.finish;
    e.type_family = std::uint8_t(std::max(p.type_family, 0));
    e.type_sub = std::uint8_t(p.type_sub);
    e.rating = std::uint8_t(std::clamp(p.rating, 0, 100));
    e.title = p.title;
    e.descr = p.descr;
    e.continued = p.continued == 1;
    e.anons = p.anons ? p.anons->id : -1;
    return e;
}

// The generator's channel groups become packages: one of all channels with the groups below it.
std::vector<protocol::PaketRecord> packages_of(const all_list& store) {
    std::vector<protocol::PaketRecord> out;
    protocol::PaketRecord all{1, 0, "Все каналы"_cp, "Все каналы сервера"_cp, "", "", {}};
    int n = 1;
    for (const auto& c : store.channels)
        all.entries.push_back({c->id, "00:00", std::to_string(n++)});
    out.push_back(std::move(all));
    std::int32_t id = 2;
    for (const auto& g : store.chl_groups) {
        protocol::PaketRecord p{id++, 1, g->name, g->descr, "", "", {}};
        for (const auto& m : g->members) p.entries.push_back({m->chl_id, m->shift_text, m->button});
        out.push_back(std::move(p));
    }
    return out;
}

}  // namespace

IngestResult ingest_generated(Database& db, const gen::Profile& profile, DateTime anchor,
                              std::uint32_t seed) {
    all_list store(std::make_shared<FixedClock>(anchor));
    build_types(store);
    build_time_zones(store);
    gen::generate(store, profile, anchor, seed);

    IngestResult result;
    Transaction tx(db, Transaction::Kind::Writer);
    std::map<const anons_serv_list*, std::string> gifs;
    for (const auto& c : store.channels) {
        ChannelRow row{c->id, c->name, c->descr, "", "", ""};
        if (c->logo >= 0 && std::size_t(c->logo) < store.logos.size()) {
            const auto& l = store.logos[std::size_t(c->logo)];
            row.logo16 = l.bmp16;
            row.logo24 = l.bmp24;
            row.logo32 = l.bmp32;
        }
        put_channel(db, row);
        std::map<std::string, DayData> days;
        for (const auto& p : c->tvprog) {
            DayData& d = days[day_text(p->start)];
            d.progs.push_back(entry_of(*p));
            if (!p->anons) continue;
            const bool listed = std::any_of(d.anons.begin(), d.anons.end(),
                                            [&](const auto& a) { return a.id == p->anons->id; });
            if (listed) continue;
            auto [it, added] = gifs.try_emplace(p->anons.get());
            if (added && !p->anons->picture.empty()) it->second = picture_to_gif(p->anons->picture);
            d.anons.push_back({p->anons->id, p->anons->text, it->second});
        }
        for (auto& [day, data] : days) {
            data.day = day;
            if (put_day(db, c->id, data)) ++result.days_changed;
        }
        refresh_channel(db, c->id);
        ++result.channels;
    }
    replace_packages(db, protocol::depth_first(packages_of(store)));
    db.set_meta("zone", QTimeZone::systemTimeZoneId());
    bump_generation(db);
    tx.commit();
    return result;
}

}  // namespace zt::server
