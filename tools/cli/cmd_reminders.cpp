// zorvan-cli reminders: one reminder scan at a given minute over a program folder, with the
// same code as the program's minute tick; zorvan-cli ical: the calendar export.
#include <iostream>

#include "command.h"
#include "core/cp1251.h"
#include "reminders/logic/alarm_check.h"
#include "reminders/logic/alarm_tables.h"
#include "reminders/logic/calendar_export.h"
#include "storage/file_system.h"
#include "tools/cli/cli_common.h"
#include "tools/cli/page_args.h"
#include "tools/cli/program_folder.h"
#include "tools/json/json_writer.h"

namespace zt::cli {
namespace {

using reminders::AlarmEvent;

std::string minute_text(DateTime v) {
    const FormatSet f{"yyyy-MM-dd", "hh:mm", {}};
    return f.formatDate(v) + " " + f.formatTime(v);
}

// The folder's settings with the options' overrides.
void apply_options(const Options& opt, Settings& s) {
    if (opt.has("lead"))
        s.alarm_general.show =
            whole_number(opt.get("lead"), "--lead", 0, reminders::kLeadTimes.size() - 1);
    if (opt.has("all")) s.alarm_switches.all_programmes = true;
}

void print_json(std::ostream& out, DateTime now, const reminders::AlarmScan& scan,
                const std::string& tray) {
    JsonObject o(out);
    put_json_string(o.key("at"), minute_text(now.wholeMinute()));
    o.key("enabled") << (scan.ran ? "true" : "false");
    put_json_string(o.key("target"), scan.ran ? minute_text(scan.target) : "");
    auto& hits = o.key("hits");
    hits << "[";
    const char* sep = "";
    for (const AlarmEvent& e : scan.hits) {
        hits << sep << "\n    ";
        sep = ",";
        JsonObject h(hits);
        put_json_string(h.key("channel_caption"), to_utf8(e.ChannelCaption));
        put_json_string(h.key("channel_hint"), to_utf8(e.ChannelHint));
        put_json_string(h.key("start_text"), to_utf8(e.StartText));
        put_json_string(h.key("title_text"), to_utf8(e.TitleText));
        put_json_string(h.key("lead_text"), to_utf8(e.LeadText));
        put_json_string(h.key("genre_name"), to_utf8(e.GenreName));
    }
    hits << (scan.hits.empty() ? "]" : "\n  ]");
    put_json_string(o.key("tray_text"), to_utf8(tray));
}

void print_text(std::ostream& out, DateTime now, const reminders::AlarmScan& scan,
                const std::string& tray) {
    if (!scan.ran) {
        out << "reminders are off (\"Включено\")\n";
        return;
    }
    out << "scan " << minute_text(now.wholeMinute()) << ", programmes starting "
        << minute_text(scan.target) << ": " << scan.hits.size() << " reminder(s)\n";
    for (const AlarmEvent& e : scan.hits)
        out << to_utf8(e.ChannelCaption + "\t" + e.StartText + " " + e.TitleText + "\t" +
                       e.LeadText + "\t" + e.GenreName)
            << '\n';
    if (!tray.empty()) {
        std::string text = to_utf8(tray);
        std::erase(text, '\r');
        out << "tray text:" << text;
    }
}

int run_reminders(const Options& opt) {
    if (opt.positional().size() != 1) {
        std::cerr << "zorvan-cli reminders: give one PROGRAM_DIR\n";
        return 2;
    }
    auto clock = std::make_shared<FixedClock>(parse_at(opt.get("at")));
    ProgramFolder folder = load_program_folder_reported(opt.positional()[0], clock);
    apply_options(opt, folder.settings);
    const DateTime now = clock->now();
    const reminders::AlarmScan scan = reminders::AlarmCheck(*folder.store, folder.settings, now);
    // The balloon's text as the scan collects it with "В трее" on.
    std::string tray;
    for (const AlarmEvent& e : scan.hits) reminders::AlarmTrayAppend(tray, e);
    if (opt.has("json")) {
        print_json(std::cout, now, scan, tray);
        std::cout << '\n';
    } else {
        print_text(std::cout, now, scan, tray);
    }
    return std::cout ? 0 : 1;
}

int run_ical(const Options& opt) {
    if (opt.positional().size() != 1) {
        std::cerr << "zorvan-cli ical: give one PROGRAM_DIR\n";
        return 2;
    }
    auto clock = std::make_shared<FixedClock>(parse_at(opt.get("at")));
    ProgramFolder folder = load_program_folder_reported(opt.positional()[0], clock);
    apply_options(opt, folder.settings);
    reminders::CalendarOptions o;
    o.lead = folder.settings.alarm_general.show;
    o.favourites = opt.has("favourites");
    const auto cal = reminders::calendar_export(*folder.store, clock->now(), o);
    if (!opt.has("out")) {
        std::cout << cal.text;
        return std::cout ? 0 : 1;
    }
    const std::string path = opt.get("out");
    if (!replace_file(FileSystem::real(), path, cal.text)) {
        std::cerr << "zorvan-cli ical: cannot write " << path << '\n';
        return 1;
    }
    std::cerr << cal.events << " event(s) written to " << path << '\n';
    return 0;
}

const Registrar reg_reminders(
    "reminders", {"PROGRAM_DIR --at \"yyyy-MM-dd hh:mm\" [--lead INDEX] [--all] [--json]",
                  {{"at"}, {"lead"}, {"all", false}, {"json", false}},
                  run_reminders});
const Registrar reg_ical(
    "ical", {"PROGRAM_DIR [--out FILE] [--favourites] [--at \"yyyy-MM-dd hh:mm\"] [--lead INDEX]",
             {{"out"}, {"favourites", false}, {"at"}, {"lead"}},
             run_ical});

}  // namespace
}  // namespace zt::cli
