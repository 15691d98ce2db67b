#include "reminders/logic/alarm_check.h"

#include "core/cp1251.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "reminders/logic/alarm_tables.h"
#include "storage/settings.h"

namespace zt::reminders {

AlarmEvent AlarmEventFill(const Settings& settings, DateTime start, const tvprog_serv_list& prog,
                          const chl_local_list& member) {
    AlarmEvent e;
    e.LeadText = AlarmLeadText(settings.alarm_general.show);
    e.ChannelLogo = member.logo;
    if (prog.type) {
        e.GenreName = prog.type->name;
        e.GenreIcon = prog.type->family + 3;
    }
    e.ChannelCaption =
        member.button.empty() ? member.name : "[" + member.button + "] " + member.name;
    e.ChannelHint = member.descr;
    if (!member.descr.empty()) e.ChannelHint += "\r\n----------\r\n";
    if (member.chl) e.ChannelHint += member.chl->descr;
    const int h = start.hour(), m = start.minute();
    e.StartText = {char('0' + h / 10), char('0' + h % 10), ':', char('0' + m / 10),
                   char('0' + m % 10)};
    e.TitleText = prog.title;
    if (settings.program_view.letter_abbrev && prog.type && !prog.type->abbr.empty())
        e.TitleText = prog.type->abbr + " \"" + prog.title + "\"";
    e.HideCountdown = AlarmHideSeconds(settings.alarm_general.hide);
    return e;
}

void AlarmTrayAppend(std::string& tray_text, const AlarmEvent& event) {
    tray_text +=
        "\r\n" + event.ChannelCaption + "\r\n" + event.StartText + " " + event.TitleText + "\r\n";
}

AlarmScan AlarmCheck(const all_list& store, const Settings& settings, DateTime now) {
    AlarmScan scan;
    const AlarmSwitchSettings& on = settings.alarm_switches;
    if (!on.enabled) return scan;
    scan.ran = true;
    scan.target = now.wholeMinute() + AlarmLeadTime(settings.alarm_general.show);
    // Compared in whole minutes, as the schedule's times are.
    const std::int64_t target = scan.target.minutes();
    for (const auto& group : store.chl_groups) {
        for (const auto& member : group->members) {
            if (!member->chl) continue;
            for (const auto& prog : member->chl->tvprog) {
                const DateTime start = apply_shift(*member, prog->start);
                if (start.minutes() != target) continue;
                if (!on.all_programmes && prog->alarm != 1) continue;
                scan.hits.push_back(AlarmEventFill(settings, start, *prog, *member));
                if (on.window) scan.marks.window = true;
                if (on.sound) scan.marks.sound = true;
                if (on.tray) {
                    AlarmTrayAppend(scan.TrayText, scan.hits.back());
                    scan.marks.tray = true;
                }
                if (on.osd) scan.marks.osd = true;
                break;  // at most one reminder per channel in a group
            }
        }
    }
    return scan;
}

}  // namespace zt::reminders
