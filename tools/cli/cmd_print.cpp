// zorvan-cli print: the rows the day page would show, laid out by the print layout and written
// as a PDF with selectable text.
#include <QGuiApplication>
#include <iostream>

#include "command.h"
#include "core/cp1251.h"
#include "net/host_port.h"
#include "print/logic/print_icons.h"
#include "print/logic/print_pdf.h"
#include "tools/cli/cli_common.h"
#include "tools/cli/page_args.h"
#include "tools/cli/program_folder.h"
#include "views/logic/program_list.h"

namespace zt::cli {
namespace {

using views::ProgramPage;

std::vector<print::PrintRow> print_rows(const views::ProgramList& list) {
    std::vector<print::PrintRow> rows;
    rows.reserve(list.size());
    for (const auto& r : list.rows())
        rows.push_back({r.prog, r.member, r.start, r.finish, r.duration_text});
    return rows;
}

// The day page's options without --json, and the print options.
std::vector<Option> print_command_options() {
    std::vector<Option> options;
    for (const Option& o : page_command_options(ProgramPage::days))
        if (o.name != "json") options.push_back(o);
    options.insert(options.end(), {{"pdf"}, {"columns"}, {"dpi"}, {"colour", false}});
    return options;
}

int run_print(const Options& opt) {
    const bool by_day = opt.has("by-day"), colour = opt.has("colour");
    if (opt.positional().size() != 1 || opt.get("pdf").empty()) {
        std::cerr << "zorvan-cli print: give one PROGRAM_DIR and --pdf FILE\n";
        return 2;
    }
    const int dpi = whole_number(opt.get("dpi", "300"), "--dpi", 24, 1200);

    // Fonts and PDF output need the GUI layer, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "zorvan-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    auto clock = std::make_shared<FixedClock>(parse_at(opt.get("at")));
    ProgramFolder folder = load_program_folder_reported(opt.positional()[0], clock);
    const all_list& store = *folder.store;

    const views::PageOptions page = page_options_from_args(ProgramPage::days, opt, by_day, store,
                                                           folder.settings, clock->now());
    views::ProgramList list;
    list.rebuild(store, page);

    print::PrintOptions options = print::print_options_from_settings(folder.settings);
    if (opt.has("columns")) options.columns = whole_number(opt.get("columns"), "--columns", 0, 99);
    if (colour) options.colour = true;
    // As from the day page: only the page break that follows its grouping is offered.
    options.new_day_enabled = by_day;
    options.new_channel_enabled = !by_day;

    print::PrintContext context;
    context.by_day = by_day;
    context.abbreviations = page.view.abbreviations;
    context.day_names = store.day_names;
    context.fs_view = store.fs_view;
    context.week_cur = views::days_week_start(store, page.days.next_week);
    context.host = QString::fromStdString(service_host(folder.settings).host);

    const auto result =
        print::write_print_pdf(QString::fromStdString(opt.get("pdf")), print_rows(list), options,
                               context, dpi, print::genre_print_icons());
    for (const auto& text : result.corrections)
        std::cerr << "zorvan-cli: " << text.toStdString() << '\n';
    if (!result.ok) {
        std::cerr << "zorvan-cli: cannot write " << opt.get("pdf") << ": "
                  << result.error.toStdString() << '\n';
        return 1;
    }
    std::cerr << "pages: " << result.pages << '\n';
    return 0;
}

const Registrar reg_print("print",
                          {"PROGRAM_DIR --pdf FILE [--at \"yyyy-MM-dd hh:mm[:ss]\"] [--group N] "
                           "[--channels all|first|LIST] [--week cur|next] [--days LIST] [--by-day] "
                           "[--from hh:mm] [--to hh:mm] [--columns N] [--colour] [--dpi N]",
                           print_command_options(), run_print});

}  // namespace
}  // namespace zt::cli
