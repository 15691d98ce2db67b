#include "net/import_export.h"

#include <map>

#include "core/cp1251.h"
#include "net/protocol/import_layout.h"

namespace zt::net {

std::string import_file_of_store(const all_list& store) {
    protocol::PaketList list;
    for (const auto& c : store.channels) {
        protocol::ChannelRecord r{c->id, c->name, c->descr, c->stamp, {}, {}, {}};
        if (c->logo >= 0 && std::size_t(c->logo) < store.logos.size()) {
            const auto& logo = store.logos[std::size_t(c->logo)];
            r.logo16 = logo.bmp16;
            r.logo24 = logo.bmp24;
            r.logo32 = logo.bmp32;
        }
        list.channels.push_back(std::move(r));
    }
    for (const auto& g : store.chl_groups) {
        protocol::PaketRecord p{g->id, 0, g->name, g->descr, {}, {}, {}};
        for (const auto& m : g->members) p.entries.push_back({m->chl_id, m->shift_text, m->button});
        list.pakets.push_back(std::move(p));
    }
    if (store.chl_groups.empty() && !store.channels.empty()) {
        protocol::PaketRecord all{1, 0, "Все каналы"_cp, {}, {}, {}, {}};
        for (const auto& c : store.channels) all.entries.push_back({c->id, "00:00", {}});
        list.pakets.push_back(std::move(all));
    }

    std::vector<protocol::ImportDay> days;
    for (const auto& c : store.channels) {
        std::map<std::string, std::vector<protocol::ProgEntry>> by_day;
        for (const auto& p : c->tvprog)
            by_day[store.fs_file.formatDate(p->start)].push_back(
                {p->id, p->start, p->finish, std::uint8_t(p->type_family),
                 std::uint8_t(p->type_sub), std::uint8_t(p->rating), p->title, p->descr,
                 p->continued == 1, p->anons ? p->anons->id : -1});
        for (auto& [day, progs] : by_day) days.push_back({c->id, day, std::move(progs)});
    }
    return protocol::write_import_file(list, days);
}

}  // namespace zt::net
