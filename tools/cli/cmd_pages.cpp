// zorvan-cli now | soon | days | find: the rows of a programme page over a program folder,
// computed by the same queries as the main window's tables.
#include <algorithm>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "command.h"
#include "core/cp1251.h"
#include "core/time_zones.h"
#include "tools/cli/cli_common.h"
#include "tools/cli/page_args.h"
#include "tools/cli/program_folder.h"
#include "tools/json/json_writer.h"
#include "views/logic/page_settings.h"
#include "views/logic/program_list.h"

namespace zt::cli {

using views::ProgramPage;

namespace {

[[noreturn]] void fail(const std::string& text) {
    throw std::invalid_argument(text);
}

std::vector<std::string> split_list(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) out.push_back(item);
    if (out.empty()) out.push_back("");
    return out;
}

// A time as the page's edits take it: "hh:mm" with at most 23 hours.
std::string time_option(const std::string& text, const std::string& what) {
    if (!time_text_valid(text, 23) || text.find(' ') != std::string::npos)
        fail(what + " wants a time \"hh:mm\" (00:00 to 23:59), got: \"" + text + "\"");
    return text;
}

}  // namespace

// A whole decimal number within [lo, hi].
int whole_number(const std::string& text, const std::string& what, int lo, int hi) {
    const bool digits =
        !text.empty() && text.size() <= 9 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const long v = digits ? std::stol(text) : -1;
    if (!digits || v < lo || v > hi)
        fail(what + " wants a whole number from " + std::to_string(lo) + " to " +
             std::to_string(hi) + ", got: \"" + text + "\"");
    return int(v);
}

std::vector<Option> page_command_options(ProgramPage page) {
    std::vector<Option> options = {{"at"}, {"group"}, {"channels"}, {"json", false}};
    switch (page) {
        case ProgramPage::now:
            break;
        case ProgramPage::soon:
            options.insert(options.end(), {{"from"}, {"to"}, {"count"}, {"offset"}});
            break;
        case ProgramPage::days:
            options.insert(options.end(),
                           {{"from"}, {"to"}, {"week"}, {"days"}, {"by-day", false}});
            break;
        case ProgramPage::find:
            options.insert(options.end(), {{"text"}, {"mode"}});
            break;
    }
    return options;
}

views::PageOptions page_options_from_args(ProgramPage page, const Options& opt, bool by_day,
                                          const all_list& store, Settings settings, DateTime now) {
    // `settings` is a copy: the folder's, with the week of the command line.
    views::PageInputs o;
    o.page = page;

    // The group and its chosen channels.
    o.panels.group = store.cur_group;
    if (opt.has("group")) {
        if (store.chl_groups.empty()) fail("the folder has no channel group");
        o.panels.group =
            whole_number(opt.get("group"), "--group", 0, int(store.chl_groups.size()) - 1);
    }
    const std::size_t members =
        o.panels.group >= 0 ? store.chl_groups[std::size_t(o.panels.group)]->members.size() : 0;
    const std::string channels = opt.get("channels", page == ProgramPage::days ? "first" : "all");
    if (channels == "all") {
        o.panels.chosen.assign(members, 1);
    } else if (channels == "first") {
        o.panels.chosen.assign(members, 0);
        if (members) o.panels.chosen[0] = 1;
    } else {
        o.panels.chosen.assign(members, 0);
        if (members == 0) fail("the group has no channels to choose from");
        for (const auto& item : split_list(channels))
            o.panels.chosen[std::size_t(whole_number(item, "--channels", 0, int(members) - 1))] = 1;
    }

    // The page's own controls.
    switch (page) {
        case ProgramPage::now:
            break;
        case ProgramPage::soon:
            o.soon.time_start = time_option(opt.get("from", "00:00"), "--from");
            o.soon.time_finish = time_option(opt.get("to", "03:00"), "--to");
            // The edit turns 0 into 1; more than 99 counts as 99.
            o.soon.line =
                std::clamp(whole_number(opt.get("count", "5"), "--count", 0, 999999999), 1, 99);
            o.soon.offset_kind =
                views::SoonOffset(whole_number(opt.get("offset", "0"), "--offset", 0, 2));
            break;
        case ProgramPage::days: {
            const std::string week = opt.get("week", "cur");
            if (week != "cur" && week != "next")
                fail("--week wants cur or next, got: \"" + week + "\"");
            settings.program_view.next_week = week == "next";
            if (opt.has("days")) {
                for (const auto& item : split_list(opt.get("days")))
                    o.days.days[std::size_t(whole_number(item, "--days", 1, 7) - 1)] = true;
            } else {
                o.days.days[std::size_t(views::day_button_of(now))] = true;
            }
            o.days.by_day = by_day;
            const std::string day_start = day_start_text(settings.personal.day_start);
            o.days.time_start = time_option(opt.get("from", day_start), "--from");
            o.days.time_finish = time_option(opt.get("to", day_start), "--to");
            break;
        }
        case ProgramPage::find:
            o.find.text = to_cp1251(opt.get("text"));
            if (o.find.text.empty()) fail("find wants --text with something to find");
            o.find.mode = views::FindIn(whole_number(opt.get("mode", "0"), "--mode", 0, 2));
            break;
    }

    return views::page_options(store, settings, o);
}

namespace {

// --- output

// A cell on one line: line breaks and other control characters become spaces.
std::string one_line(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return text;
}

void print_json(std::ostream& out, const views::ProgramList& list) {
    out << "[";
    const char* sep = "\n";
    for (const auto& row : list.rows()) {
        out << sep << "  ";
        sep = ",\n";
        JsonObject o(out);
        auto cell = [&](const char* name, int column) {
            put_json_string(o.key(name), to_utf8(list.cell_text(row, column)));
        };
        cell("channel", views::col_channel);
        cell("button", views::col_button);
        cell("start", views::col_start);
        cell("finish", views::col_finish);
        cell("duration", views::col_duration);
        cell("left", views::col_left);
        cell("rating", views::col_rating);
        cell("title", views::col_title);
        o.key("past") << (row.past == 1 ? "true" : "false");
        o.key("left_percent") << row.left_percent;
    }
    out << (list.size() ? "\n]\n" : "]\n");
}

void print_table(std::ostream& out, const views::ProgramList& list) {
    const auto& columns = views::program_columns();
    std::vector<std::vector<std::string>> cells;  // CP1251
    cells.emplace_back();
    for (const auto& c : columns) cells.back().push_back(to_cp1251(c.caption));
    for (const auto& row : list.rows()) {
        cells.emplace_back();
        for (int c = 0; c < views::col_count; ++c)
            cells.back().push_back(one_line(list.cell_text(row, c)));
    }
    std::vector<std::size_t> width(views::col_count, 0);
    for (const auto& line : cells)
        for (std::size_t c = 0; c < line.size(); ++c) width[c] = std::max(width[c], line[c].size());
    for (const auto& line : cells) {
        std::string text;
        for (std::size_t c = 0; c < line.size(); ++c) {
            std::string cell = line[c];
            if (c + 1 < line.size()) {
                // Centred columns are centred as in the table; the others are left-aligned.
                const std::size_t room = width[c] - cell.size();
                const std::size_t before = columns[c].centred ? room / 2 : 0;
                cell = std::string(before, ' ') + cell + std::string(room - before, ' ') + "  ";
            }
            text += cell;
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out << to_utf8(text) << '\n';
    }
}

// --- the command

int run_page(ProgramPage page, const std::string& name, const Options& opt) {
    const bool json = opt.has("json"), by_day = opt.has("by-day");
    if (opt.positional().size() != 1) {
        std::cerr << "zorvan-cli " << name << ": give one PROGRAM_DIR\n";
        return 2;
    }

    auto clock = std::make_shared<FixedClock>(parse_at(opt.get("at")));
    ProgramFolder folder = load_program_folder_reported(opt.positional()[0], clock);
    const all_list& store = *folder.store;
    views::ProgramList list;
    list.rebuild(store,
                 page_options_from_args(page, opt, by_day, store, folder.settings, clock->now()));
    if (json)
        print_json(std::cout, list);
    else
        print_table(std::cout, list);
    return 0;
}

const std::string kCommon = "PROGRAM_DIR [--at \"yyyy-MM-dd hh:mm[:ss]\"] [--group N] ";

const Registrar reg_now("now", {kCommon + "[--channels all|first|LIST] [--json]",
                                page_command_options(ProgramPage::now), [](const Options& o) {
                                    return run_page(ProgramPage::now, "now", o);
                                }});
const Registrar reg_soon("soon",
                         {kCommon +
                              "[--channels all|first|LIST] [--from hh:mm] [--to hh:mm] [--count N] "
                              "[--offset 0|1|2] [--json]",
                          page_command_options(ProgramPage::soon),
                          [](const Options& o) { return run_page(ProgramPage::soon, "soon", o); }});
const Registrar reg_days(
    "days", {kCommon + "[--channels all|first|LIST] [--week cur|next] [--days LIST] [--by-day] "
                       "[--from hh:mm] [--to hh:mm] [--json]",
             page_command_options(ProgramPage::days),
             [](const Options& o) { return run_page(ProgramPage::days, "days", o); }});
const Registrar reg_find("find", {kCommon + "--text T [--mode 0|1|2] [--channels all|first|LIST] "
                                            "[--json]",
                                  page_command_options(ProgramPage::find), [](const Options& o) {
                                      return run_page(ProgramPage::find, "find", o);
                                  }});

}  // namespace
}  // namespace zt::cli
