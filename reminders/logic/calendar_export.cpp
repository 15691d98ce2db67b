#include "reminders/logic/calendar_export.h"

#include <libical/ical.h>

#include <QDateTime>
#include <cstdio>
#include <memory>
#include <set>

#include "core/cp1251.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "reminders/logic/alarm_tables.h"

namespace zt::reminders {
namespace {

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// A wall-clock time of this computer as UTC.
icaltimetype utc_time(DateTime local) {
    int y = 0, mo = 0, d = 0;
    local.toParts(y, mo, d);
    const QDateTime t(QDate(y, mo, d), QTime(local.hour(), local.minute(), local.second()),
                      Qt::LocalTime);
    return icaltime_from_timet_with_zone(time_t(t.toSecsSinceEpoch()), 0,
                                         icaltimezone_get_utc_timezone());
}

std::string stamp(DateTime v) {
    int y = 0, mo = 0, d = 0;
    v.toParts(y, mo, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d", y, mo, d, v.hour(), v.minute());
    return buf;
}

std::string caption(const chl_local_list& m) {
    return to_utf8(m.button.empty() ? m.name : "[" + m.button + "] " + m.name);
}

icalcomponent* make_event(const chl_local_list& m, const tvprog_serv_list& p, DateTime now,
                          int lead_seconds, const std::string& uid) {
    icalcomponent* ev = icalcomponent_new_vevent();
    icalcomponent_add_property(ev, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(ev, icalproperty_new_dtstamp(utc_time(now)));
    icalcomponent_add_property(ev, icalproperty_new_dtstart(utc_time(apply_shift(m, p.start))));
    icalcomponent_add_property(ev, icalproperty_new_dtend(utc_time(apply_shift(m, p.finish))));
    const std::string title = to_utf8(p.title);
    icalcomponent_add_property(ev, icalproperty_new_summary(title.c_str()));
    icalcomponent_add_property(ev, icalproperty_new_location(caption(m).c_str()));
    std::string descr = to_utf8(p.descr);
    if (p.type) descr = to_utf8(p.type->name) + (descr.empty() ? "" : "\n" + descr);
    if (!descr.empty()) icalcomponent_add_property(ev, icalproperty_new_description(descr.c_str()));

    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm,
                               icalproperty_new_trigger(icaltriggertype_from_int(-lead_seconds)));
    icalcomponent_add_property(alarm, icalproperty_new_description(title.c_str()));
    icalcomponent_add_component(ev, alarm);
    return ev;
}

}  // namespace

CalendarExport calendar_export(const all_list& store, DateTime now, const CalendarOptions& o) {
    Component cal(icalcomponent_new_vcalendar());
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Zorvan TV//Reminders//RU"));
    icalcomponent_add_property(cal.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(cal.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));

    const int lead_seconds = int(AlarmLeadTime(o.lead).seconds());
    CalendarExport out;
    std::set<std::string> uids;
    for (const auto& group : store.chl_groups) {
        for (const auto& m : group->members) {
            if (!m->chl) continue;
            for (const auto& p : m->chl->tvprog) {
                const bool favourite = o.favourites && p->love && p->love->liked == 1;
                if (p->alarm != 1 && !favourite) continue;
                if (apply_shift(*m, p->finish) <= now) continue;
                const std::string uid = std::to_string(m->chl->id) + "-" + stamp(p->start) + "-" +
                                        std::to_string(p->id) + "@zorvan-tv";
                if (!uids.insert(uid).second) continue;
                icalcomponent_add_component(cal.get(), make_event(*m, *p, now, lead_seconds, uid));
                ++out.events;
            }
        }
    }
    char* text = icalcomponent_as_ical_string_r(cal.get());
    out.text = text ? text : "";
    icalmemory_free_buffer(text);
    return out;
}

}  // namespace zt::reminders
