#include "net/import_file.h"

#include <QString>

#include <algorithm>

#include "core/store.h"
#include "net/protocol/import_layout.h"
#include "storage/field_codec.h"
#include "storage/file_system.h"

namespace zt {

namespace {

constexpr qsizetype kShownPathLength = 35;

std::string quoted_path(const std::string& path) {
    return "\r\n\"" + shorten_path(path) + "\"";
}

bool holds_day(const chl_serv_list& channel, const std::string& day) {
    return std::any_of(channel.dates.begin(), channel.dates.end(),
                       [&](const dt_local_list& d) { return d.date == day; });
}

// Adds the channels of ticked entries that the store does not hold, and a group per package
// with ticked entries when asked. Returns the number of channels and groups added.
std::pair<std::size_t, std::size_t> apply_ticks(all_list& store, const protocol::PaketList& list,
                                                const PaketTicks& ticks, bool create_groups) {
    std::set<std::int32_t> chosen;
    for (std::size_t p = 0; p < list.pakets.size() && p < ticks.size(); ++p)
        for (std::size_t e = 0; e < list.pakets[p].entries.size() && e < ticks[p].size(); ++e)
            if (ticks[p][e]) chosen.insert(list.pakets[p].entries[e].channel_id);

    std::size_t channels = 0;
    for (const auto& c : list.channels) {
        if (!chosen.count(c.id) || store.find_channel(c.id)) continue;
        const std::int32_t logo = store.add_logo({c.logo16, c.logo24, c.logo32});
        store.add_channel(c.id, c.name, c.descr, c.stamp, logo);
        ++channels;
    }
    std::size_t groups = 0;
    if (create_groups) {
        for (std::size_t p = 0; p < list.pakets.size() && p < ticks.size(); ++p) {
            const auto& paket = list.pakets[p];
            const auto& flags = ticks[p];
            if (std::find(flags.begin(), flags.end(), true) == flags.end()) continue;
            auto group = store.add_chl_group(-1, paket.name, "");
            ++groups;
            for (std::size_t e = 0; e < paket.entries.size() && e < flags.size(); ++e)
                if (flags[e])
                    store.add_chl_local(*group, -1, paket.entries[e].channel_id, nullptr, "", "",
                                        paket.entries[e].shift, paket.entries[e].button, -1);
        }
        store.recount_chl_groups();
    }
    store.ensure_default_group();
    return {channels, groups};
}

}  // namespace

std::string shorten_path(const std::string& path) {
    const QString p = QString::fromStdString(path);
    if (p.size() <= kShownPathLength) return path;
    return "..." + p.right(kShownPathLength).toStdString();
}

std::optional<ImportSession> ImportFileOpen(const std::string& path, const all_list& store,
                                            UserInterface& ui, Progress& progress) {
    if (path.empty()) {
        ui.show_msg(2, "Файл не выбран.");
        return std::nullopt;
    }
    std::string file;
    if (FileSystem::real().read_file(path, file) != FileSystem::ReadResult::ok || file.empty()) {
        ui.show_msg(2, "Ошибка при открытии файла данных:" + quoted_path(path));
        return std::nullopt;
    }
    if (protocol::read_import_version(file) != protocol::kImportVersion) {
        ui.show_msg(2, "Не верная версия файла данных:" + quoted_path(path));
        return std::nullopt;
    }
    ImportSession session;
    try {
        auto sections = protocol::read_import_sections(std::string_view(file).substr(4));
        file = std::string();
        progress.job_progress(50);
        session.list = std::move(sections.list);
        session.import_tvprog = std::move(sections.tvprog);
        protocol::read_import_days(session.import_tvprog,
                                   [&](protocol::ImportDay&&) { ++session.day_count; });
    } catch (const field_error&) {
        ui.show_msg(2, "Ошибка данных.");
        return std::nullopt;
    }
    progress.job_progress(100);
    session.create_groups = store.chl_groups.empty();
    return session;
}

PaketTicks tick_channels(const protocol::PaketList& list, const std::set<std::int32_t>& ids) {
    PaketTicks ticks;
    for (const auto& p : list.pakets) {
        auto& flags = ticks.emplace_back();
        for (const auto& e : p.entries) flags.push_back(ids.count(e.channel_id) != 0);
    }
    return ticks;
}

PaketTicks tick_all(const protocol::PaketList& list) {
    PaketTicks ticks;
    for (const auto& p : list.pakets) ticks.emplace_back(p.entries.size(), true);
    return ticks;
}

ImportResult ImportFileApply(const DataContext& ctx, const ImportSession& session,
                             const PaketTicks& ticks, bool create_groups,
                             const MaintenanceOptions& options) {
    all_list& store = ctx.store;
    ImportResult result;
    std::tie(result.channels_added, result.groups_added) =
        apply_ticks(store, session.list, ticks, create_groups);

    // The section was read whole when the file was opened; it cannot fail here.
    protocol::read_import_days(session.import_tvprog, [&](protocol::ImportDay&& d) {
        const auto channel = store.find_channel(d.channel_id);
        if (!channel || holds_day(*channel, d.day)) {
            ++result.days_skipped;
            return;
        }
        store.clear_day_tvprog(*channel, d.day);
        for (auto& p : d.progs)
            store.add_tvprog(*channel, p.id, p.continued ? 1 : 0, p.start, p.finish, p.type_family,
                             p.type_sub, p.rating, 0, std::move(p.title), std::move(p.descr),
                             p.anons, 0, -1, 0);
        store.add_dt_local(*channel, d.day, 0, 0);
        ++result.days_imported;
    });

    // Continued programmes are linked at the next start.
    run_maintenance(store, options, ctx.progress, false);
    result.saved = save_data_files(ctx, true, true, true, true);
    return result;
}

}  // namespace zt
