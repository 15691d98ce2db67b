// zorvan-cli import: takes channels and programme days from a ".zorvan_tv" file or an XMLTV
// file (".xml", ".xml.gz") into a program folder, as the application's import does.
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "command.h"
#include "core/cp1251.h"
#include "net/import_file.h"
#include "net/xmltv_import.h"
#include "tools/cli/cli_common.h"
#include "tools/cli/download_console.h"
#include "tools/cli/program_folder.h"
#include "xmltv/read_report.h"

namespace zt::cli {
namespace {

std::set<std::int32_t> parse_ids(const std::string& text) {
    std::set<std::int32_t> ids;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) ids.insert(std::stoi(item));
    return ids;
}

void print_offer(const net::SelectionLists& lists) {
    for (const auto& c : lists.update_channels)
        std::cout << "channel " << c->id << ' ' << to_utf8(c->name) << '\n';
    for (const auto& p : lists.update_pakets) {
        std::cout << "package " << p->id << ' ' << to_utf8(p->name) << ':';
        for (const auto& e : p->channels) std::cout << ' ' << e.chl_id;
        std::cout << '\n';
    }
}

int run_import(const Options& opt) {
    if (opt.positional().size() != 2) {
        std::cerr << "zorvan-cli import: give PROGRAM_DIR and FILE\n";
        return 2;
    }
    // --at sets the moment the maintenance takes as now (the system clock without it).
    ProgramFolder folder = load_program_folder(
        opt.positional()[0], std::make_shared<FixedClock>(parse_at(opt.get("at"))));
    all_list& store = *folder.store;
    ConsoleUi ui;
    NullProgress progress;
    ConsoleHost host;
    auto session = net::ScheduleFileOpen(opt.positional()[1], store, ui, host,
                                         QString::fromStdString(opt.get("genre-map")));
    if (!session) return 1;
    if (!opt.has("all") && !opt.has("channels")) {
        print_offer(session->lists);
        std::cerr << "zorvan-cli import: choose with --channels ID,... or --all\n";
        return 2;
    }
    if (opt.has("all"))
        net::tick_all(session->lists);
    else
        net::tick_channels(session->lists, parse_ids(opt.get("channels")));
    // As at start-up: the data folder exists before anything is written into it.
    std::filesystem::create_directories(store.data_dir());
    const DataContext ctx{store, ui, progress, folder.user};
    const net::ImportResult r =
        net::ImportFileApply(ctx, *session, maintenance_options(folder.settings));
    // An XMLTV file: the reader's counts as the server's ingest prints them, and the days
    // outside the three weeks the store keeps.
    if (session->xmltv) {
        std::cout << "programmes read " << session->xmltv->programmes << ", days outside the weeks "
                  << session->days_outside << " (programmes " << session->programmes_outside
                  << ")\n";
        const std::string counts = xmltv::counts_text(*session->xmltv);
        if (!counts.empty()) std::cout << counts << '\n';
    }
    std::cout << "programmes imported " << r.programmes_imported << ", skipped "
              << r.programmes_skipped << '\n';
    std::cout << "channels " << store.channels.size() << ", groups " << store.chl_groups.size()
              << ", days imported " << r.days_imported << ", days skipped " << r.days_skipped
              << '\n';
    return r.saved ? 0 : 1;
}

const Registrar reg("import",
                    {"PROGRAM_DIR FILE [--channels ID,...|--all] [--at \"yyyy-MM-dd hh:mm\"] "
                     "[--genre-map FILE]",
                     {{"channels"}, {"all", false}, {"at"}, {"genre-map"}},
                     run_import});

}  // namespace
}  // namespace zt::cli
