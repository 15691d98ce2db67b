#include "reminders/logic/alarm_check.h"

#include <algorithm>

#include "core/cp1251.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "reminders/logic/alarm_tables.h"
#include "reminders/logic/start_index.h"
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

AlarmEvent sample_event(const all_list& store, const Settings& settings) {
    AlarmEvent e;
    e.LeadText = AlarmLeadText(settings.alarm_general.show);
    if (!store.types.empty()) {
        e.GenreName = store.types.front()->name;
        e.GenreIcon = store.types.front()->image;
    }
    e.ChannelCaption = to_cp1251("[001] Название канала");
    e.ChannelHint = to_cp1251("Описание канала");
    e.StartText = "12:00";
    e.TitleText = to_cp1251("Название передачи");
    e.HideCountdown = AlarmHideSeconds(settings.alarm_general.hide);
    return e;
}

void AlarmTrayAppend(std::string& tray_text, const AlarmEvent& event) {
    tray_text +=
        "\r\n" + event.ChannelCaption + "\r\n" + event.StartText + " " + event.TitleText + "\r\n";
}

namespace {

// The scan over the candidates `starting(member, minute, visit)` gives: the programmes of the
// member's channel whose unshifted start is in `minute`, in list order, until `visit` is true.
template <class Starting>
AlarmScan scan(const all_list& store, const Settings& settings, DateTime now, Starting starting) {
    AlarmScan scan;
    const AlarmSwitchSettings& on = settings.alarm_switches;
    if (!on.enabled) return scan;
    scan.ran = true;
    scan.target = now.wholeMinute() + AlarmLeadTime(settings.alarm_general.show);
    // Compared in whole minutes, as the schedule's times are; a shift is whole minutes too, so
    // the shifted start is in the target minute when the broadcast start is in the target
    // minute shifted back.
    const std::int64_t target = scan.target.minutes();
    for (const auto& group : store.chl_groups) {
        for (const auto& member : group->members) {
            if (!member->chl) continue;
            const std::int64_t shift = member->shift.seconds() / 60;
            const std::int64_t broadcast =
                member->shift_plus == 1 ? target - shift : target + shift;
            starting(*member, broadcast, [&](const tvprog_serv_list& prog) {
                if (!on.all_programmes && prog.alarm != 1) return false;
                scan.hits.push_back(
                    AlarmEventFill(settings, apply_shift(*member, prog.start), prog, *member));
                if (on.window) scan.marks.window = true;
                if (on.sound) scan.marks.sound = true;
                if (on.tray) {
                    AlarmTrayAppend(scan.TrayText, scan.hits.back());
                    scan.marks.tray = true;
                }
                if (on.osd) scan.marks.osd = true;
                return true;  // at most one reminder per channel in a group
            });
        }
    }
    return scan;
}

}  // namespace

AlarmScan AlarmCheck(const all_list& store, const Settings& settings, DateTime now) {
    return scan(store, settings, now, [](const chl_local_list& m, std::int64_t minute, auto visit) {
        for (const auto& prog : m.chl->tvprog)
            if (prog->start.minutes() == minute && visit(*prog)) return;
    });
}

AlarmScan AlarmCheck(const all_list& store, const Settings& settings, DateTime now,
                     StartIndex& index) {
    AlarmScan s =
        scan(store, settings, now, [&](const chl_local_list& m, std::int64_t minute, auto visit) {
            const auto& starts = index.starts(*m.chl);
            auto it = std::lower_bound(starts.begin(), starts.end(), StartIndex::Slot{minute, 0});
            for (; it != starts.end() && it->first == minute; ++it)
                if (visit(*m.chl->tvprog[it->second])) return;
        });
    index.sweep();
    return s;
}

}  // namespace zt::reminders
