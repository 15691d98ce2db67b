// The calendar export read back with libical's own parser.
#include <gtest/gtest.h>
#include <libical/ical.h>

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "reminders/logic/calendar_export.h"
#include "scan_fixture.h"

namespace zt::test {
namespace {

using reminders::calendar_export;
using reminders::CalendarOptions;

struct Event {
    std::string uid, summary, location, description;
    long long start = 0, end = 0;  // UTC seconds
    int trigger = 1;               // seconds relative to the start
};

std::vector<Event> parse(const std::string& text) {
    std::vector<Event> out;
    icalcomponent* cal = icalparser_parse_string(text.c_str());
    EXPECT_NE(cal, nullptr);
    if (!cal) return out;
    EXPECT_EQ(icalcomponent_isa(cal), ICAL_VCALENDAR_COMPONENT);
    for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        Event e;
        auto str = [](const char* s) { return std::string(s ? s : ""); };
        e.uid = str(icalcomponent_get_uid(ev));
        e.summary = str(icalcomponent_get_summary(ev));
        e.location = str(icalcomponent_get_location(ev));
        e.description = str(icalcomponent_get_description(ev));
        e.start = icaltime_as_timet(icalcomponent_get_dtstart(ev));
        e.end = icaltime_as_timet(icalcomponent_get_dtend(ev));
        EXPECT_TRUE(icaltime_is_utc(icalcomponent_get_dtstart(ev)));
        if (icalcomponent* alarm = icalcomponent_get_first_component(ev, ICAL_VALARM_COMPONENT)) {
            icalproperty* t = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
            if (t) e.trigger = icaldurationtype_as_int(icalproperty_get_trigger(t).duration);
        }
        out.push_back(e);
    }
    icalcomponent_free(cal);
    return out;
}

long long utc_of(const std::string& local) {
    const DateTime v = at(local);
    int y, m, d;
    v.toParts(y, m, d);
    return QDateTime(QDate(y, m, d), QTime(v.hour(), v.minute()), Qt::LocalTime).toSecsSinceEpoch();
}

TEST(CalendarExport, EventsReadBackWithLibical) {
    ScanStore s;
    s.prog(1, "2026-03-11 19:00", "Прошла");  // ended before 20:00:30
    s.prog(1, "2026-03-11 21:00", "Шоу, часть 1; финал\\конец");
    auto& film = s.prog(2, "2026-03-12 08:30", "Утро");  // shift +01:00
    std::string descr;
    for (int i = 0; i < 12; ++i) descr += "Длинное описание передачи с буквами ёЁ; ";
    descr += "конец.";
    film.descr = to_cp1251(descr);
    s.prog(3, "2026-03-11 22:00", "Без флага", 0);
    auto& liked = s.prog(3, "2026-03-11 23:00", "Любимая", 0);
    liked.love = s.store->add_love(*s.store->find_channel(3), -1, liked.title, 1, DateTime());

    CalendarOptions o;
    const auto first = calendar_export(*s.store, s.clock->now(), o);
    EXPECT_EQ(first.events, 2);
    const std::vector<Event> events = parse(first.text);
    ASSERT_EQ(events.size(), 2u);
    // Channel 1 stands in two groups: one event, with the first group's caption.
    EXPECT_EQ(events[0].summary, "Шоу, часть 1; финал\\конец");
    EXPECT_EQ(events[0].location, "[1] Первый");
    EXPECT_EQ(events[0].start, utc_of("2026-03-11 21:00"));
    EXPECT_EQ(events[0].end, utc_of("2026-03-11 21:30"));
    EXPECT_EQ(events[0].trigger, -300);
    EXPECT_EQ(events[1].summary, "Утро");
    EXPECT_EQ(events[1].start, utc_of("2026-03-12 09:30"));
    EXPECT_EQ(events[1].description, descr);

    // Every physical line is at most 75 octets, ends with CRLF and is whole UTF-8 (a fold
    // never cuts a letter in two).
    const QStringList lines = QString::fromStdString(first.text).split(QStringLiteral("\r\n"));
    for (const QString& line : lines) EXPECT_LE(line.toUtf8().size(), 75) << line.toStdString();
    std::size_t pos = 0;
    while ((pos = first.text.find('\n', pos)) != std::string::npos) {
        ASSERT_GT(pos, 0u);
        EXPECT_EQ(first.text[pos - 1], '\r');
        if (pos + 1 < first.text.size()) {  // a continuation never starts inside a letter
            EXPECT_NE(static_cast<unsigned char>(first.text[pos + 1]) & 0xC0, 0x80);
        }
        ++pos;
    }

    // Exporting again later, with another lead time and the favourites: the same UIDs.
    o.lead = 9;
    o.favourites = true;
    const std::vector<Event> again =
        parse(calendar_export(*s.store, at("2026-03-11 20:30"), o).text);
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[0].uid, events[0].uid);
    EXPECT_EQ(again[1].uid, events[1].uid);
    EXPECT_NE(again[0].uid, again[1].uid);
    EXPECT_EQ(again[0].trigger, -3600);
    EXPECT_EQ(again[2].summary, "Любимая");
}

TEST(CalendarExport, NothingToRemindIsAnEmptyCalendar) {
    ScanStore s;
    const auto out = calendar_export(*s.store, s.clock->now(), {});
    EXPECT_EQ(out.events, 0);
    EXPECT_TRUE(parse(out.text).empty());
    EXPECT_NE(out.text.find("BEGIN:VCALENDAR\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zt::test
