// zorvan-cli demo: a readable summary of a generated store at a moment.
#include <iostream>

#include "command.h"
#include "core/cp1251.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "tools/cli/cli_common.h"
#include "tools/gen/schedule_generator.h"

namespace zt::cli {
namespace {

int run_demo(const Options& opt) {
    auto clock = std::make_shared<FixedClock>(parse_at(opt.get("at")));
    all_list store(clock);
    build_types(store);
    build_time_zones(store);
    set_week(store);
    const auto profile = gen::profile_by_name(opt.get("profile", "small"));
    gen::generate(store, profile, clock->now(), std::uint32_t(std::stoul(opt.get("seed", "1"))));
    const DateTime now = clock->now();

    std::size_t progs = 0, anons = 0, loves = 0;
    for (const auto& c : store.channels) {
        progs += c->tvprog.size();
        anons += c->anons.size();
        loves += c->love.size();
    }
    std::cout << "Профиль: " << profile.name << ", момент: " << to_utf8(store.fs_view.format(now))
              << "\n"
              << to_utf8(store.week_cur_caption) << "; " << to_utf8(store.week_next_caption) << "\n"
              << "Каналов: " << store.channels.size() << ", передач: " << progs
              << ", анонсов: " << anons << ", любимых и не любимых: " << loves << "\n\n";
    for (const auto& g : store.chl_groups) {
        std::cout << "Группа " << g->id << " \"" << to_utf8(g->name) << "\": " << g->members.size()
                  << " каналов\n";
    }
    std::cout << "\nСейчас в эфире:\n";
    const auto& group = *store.chl_groups.front();
    for (const auto& m : group.members) {
        const tvprog_serv_list* on_air = nullptr;
        for (const auto& p : m->chl->tvprog) {
            if (apply_shift(*m, p->start) <= now && now < apply_shift(*m, p->finish)) {
                on_air = p.get();
                break;
            }
        }
        std::string label = m->button.empty() ? "" : "[" + m->button + "] ";
        std::cout << "  " << label << to_utf8(m->name) << ": ";
        if (on_air)
            std::cout << to_utf8(store.fs_file.formatTime(apply_shift(*m, on_air->start))) << "-"
                      << to_utf8(store.fs_file.formatTime(apply_shift(*m, on_air->finish))) << " "
                      << to_utf8(on_air->title)
                      << (on_air->type ? " (" + to_utf8(on_air->type->name) + ")" : "") << "\n";
        else
            std::cout << "нет передачи\n";
    }
    return 0;
}

const Registrar reg("demo", {"[--profile tiny|small|large] [--at \"yyyy-MM-dd hh:mm\"] [--seed N]",
                             {{"profile"}, {"at"}, {"seed"}},
                             run_demo});

}  // namespace
}  // namespace zt::cli
