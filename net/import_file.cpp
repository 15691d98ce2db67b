#include "net/import_file.h"

#include <QString>

#include <algorithm>

#include "core/store.h"
#include "net/apply_paket_list.h"
#include "net/apply_schedule.h"
#include "net/protocol/import_layout.h"
#include "storage/field_codec.h"
#include "storage/file_system.h"
#include "xmltv/read_report.h"

namespace zt::net {

namespace {

constexpr qsizetype kShownPathLength = 35;

std::string quoted_path(const std::string& path) {
    return "\r\n\"" + shorten_path(path) + "\"";
}

bool holds_day(const chl_serv_list& channel, const std::string& day) {
    return std::any_of(channel.dates.begin(), channel.dates.end(),
                       [&](const dt_local_list& d) { return d.date == day; });
}

}  // namespace

std::string shorten_path(const std::string& path) {
    const QString p = QString::fromStdString(path);
    if (p.size() <= kShownPathLength) return path;
    return "..." + p.right(kShownPathLength).toStdString();
}

std::optional<ImportSession> ImportFileOpen(const std::string& path, const all_list& store,
                                            UserInterface& ui, DownloadHost& host) {
    if (path.empty()) {
        ui.show_msg(MsgKind::Error, "Файл не выбран.");
        return std::nullopt;
    }
    std::string file;
    if (FileSystem::real().read_file(path, file) != FileSystem::ReadResult::ok || file.empty()) {
        ui.show_msg(MsgKind::Error, "Ошибка при открытии файла данных:" + quoted_path(path));
        return std::nullopt;
    }
    if (protocol::read_import_version(file) != protocol::kImportVersion) {
        ui.show_msg(MsgKind::Error, "Не верная версия файла данных:" + quoted_path(path));
        return std::nullopt;
    }
    host.job_begin("Обработка данных...", false, true);
    return ImportSessionFromFile(std::move(file), store, ui, host);
}

std::optional<ImportSession> ImportSessionFromFile(std::string file, const all_list& store,
                                                   UserInterface& ui, DownloadHost& host) {
    ImportSession session;
    try {
        auto sections = protocol::read_import_sections(std::string_view(file).substr(4));
        file = std::string();
        session.import_tvprog = std::move(sections.tvprog);
        protocol::read_import_days(session.import_tvprog,
                                   [&](const protocol::ImportDayRecord&) { ++session.day_count; });
        ReadPaketList(session.lists, sections.list, host);
    } catch (const field_error&) {
        host.job_end();
        ui.show_msg(MsgKind::Error, "Ошибка данных.");
        return std::nullopt;
    }
    BuildPaketTree(session.lists, host);
    session.create_groups = store.chl_groups.empty();
    host.job_end();
    return session;
}

void tick_channels(SelectionLists& lists, const std::set<std::int32_t>& ids) {
    for (const auto& p : lists.update_pakets)
        for (auto& e : p->channels) e.ticked = ids.count(e.chl_id) ? 1 : 0;
}

void tick_all(SelectionLists& lists) {
    for (const auto& p : lists.update_pakets)
        for (auto& e : p->channels) e.ticked = 1;
}

ImportResult ImportFileApply(const DataContext& ctx, ImportSession& session,
                             const MaintenanceOptions& options) {
    all_list& store = ctx.store;
    ImportResult result;
    ApplySelection(store, session.lists, session.create_groups);

    // The section was read whole when the file was opened; it cannot fail here.
    protocol::read_import_days(session.import_tvprog, [&](const protocol::ImportDayRecord& d) {
        // The payload opens with its programme count (checked when the file was opened).
        FieldReader count(d.payload);
        const std::int64_t programmes = std::max<std::int32_t>(count.Int32(), 0);
        const auto channel = store.find_channel(d.channel_id);
        if (!channel || holds_day(*channel, d.day)) {
            ++result.days_skipped;
            result.programmes_skipped += programmes;
            return;
        }
        // No signed-in user: the days are recorded as not full.
        ApplyProgrammeDay(store, d.channel_id, d.day, d.payload, false, true, 0);
        ++result.days_imported;
        result.programmes_imported += programmes;
    });

    // Continued programmes are linked at the next start.
    run_maintenance(store, options, ctx.progress, false);
    result.saved = save_data_files(ctx, true, true, true, true);
    return result;
}

std::string import_summary(const ImportSession& session, const ImportResult& result) {
    std::int64_t skipped = result.programmes_skipped + session.programmes_outside;
    if (session.xmltv) skipped += xmltv::programmes_left_out(*session.xmltv);
    QString text = QStringLiteral("Импортировано: %1 передач, пропущено: %2.")
                       .arg(result.programmes_imported)
                       .arg(skipped);
    if (result.days_skipped)
        text += QStringLiteral("\nДней уже в базе или каналов не выбрано: %1 (передач: %2)")
                    .arg(result.days_skipped)
                    .arg(result.programmes_skipped);
    if (session.days_outside)
        text += QStringLiteral("\nДней вне трёх недель пропущено: %1 (передач: %2)")
                    .arg(session.days_outside)
                    .arg(session.programmes_outside);
    if (session.xmltv) {
        const QString counts = xmltv::counts_text_ru(*session.xmltv);
        if (!counts.isEmpty()) text += QLatin1Char('\n') + counts;
    }
    // Lines as the program's other messages break them.
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

}  // namespace zt::net
