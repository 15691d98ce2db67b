// zorvan-cli import: takes channels and programme days from a ".zorvan_tv" file into a program
// folder, as the application's import does.
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "command.h"
#include "core/cp1251.h"
#include "net/import_file.h"
#include "tools/cli/cli_messages.h"
#include "tools/cli/program_folder.h"

namespace zt::cli {
namespace {

std::set<std::int32_t> parse_ids(const std::string& text) {
    std::set<std::int32_t> ids;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) ids.insert(std::stoi(item));
    return ids;
}

void print_offer(const protocol::PaketList& list) {
    for (const auto& c : list.channels)
        std::cout << "channel " << c.id << ' ' << to_utf8(c.name) << '\n';
    for (const auto& p : list.pakets) {
        std::cout << "package " << p.id << ' ' << to_utf8(p.name) << ':';
        for (const auto& e : p.entries) std::cout << ' ' << e.channel_id;
        std::cout << '\n';
    }
}

int run_import(const std::vector<std::string>& args) {
    const Options opt(args);
    if (opt.positional().size() != 2) {
        std::cerr << "zorvan-cli import: give PROGRAM_DIR and FILE\n";
        return 2;
    }
    ProgramFolder folder =
        load_program_folder(opt.positional()[0], std::make_shared<SystemClock>());
    all_list& store = *folder.store;
    PrintingUi ui;
    NullProgress progress;
    const auto session = ImportFileOpen(opt.positional()[1], store, ui, progress);
    if (!session) return 1;
    if (!opt.has("all") && !opt.has("channels")) {
        print_offer(session->list);
        std::cerr << "zorvan-cli import: choose with --channels ID,... or --all\n";
        return 2;
    }
    const PaketTicks ticks = opt.has("all")
                                 ? tick_all(session->list)
                                 : tick_channels(session->list, parse_ids(opt.get("channels")));
    // As at start-up: the data folder exists before anything is written into it.
    std::filesystem::create_directories(store.data_dir());
    const DataContext ctx{store, ui, progress, folder.user};
    const ImportResult r = ImportFileApply(ctx, *session, ticks, session->create_groups,
                                           maintenance_options(folder.settings));
    std::cout << "channels added " << r.channels_added << ", groups added " << r.groups_added
              << ", days imported " << r.days_imported << ", days skipped " << r.days_skipped
              << '\n';
    return r.saved ? 0 : 1;
}

const Registrar reg("import", {"PROGRAM_DIR FILE [--channels ID,...|--all]", run_import});

}  // namespace
}  // namespace zt::cli
