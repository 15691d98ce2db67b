#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/time_zones.h"
#include "test_support.h"

namespace zt {
namespace {

using test::at;

TEST(DateTime, CalendarRoundTripAndDayOfWeek) {
    struct Case {
        int y, m, d;
        int dow;  // 1 = Sunday
    } cases[] = {{1899, 12, 30, 7}, {1900, 3, 1, 5},   {2000, 2, 29, 3},
                 {2026, 12, 7, 2},  {2026, 12, 13, 1}, {2027, 1, 1, 6}};
    for (const auto& c : cases) {
        const auto v = DateTime::fromParts(c.y, c.m, c.d);
        ASSERT_TRUE(v);
        int y = 0, m = 0, d = 0;
        v->toParts(y, m, d);
        EXPECT_EQ(std::tie(y, m, d), std::tie(c.y, c.m, c.d));
        EXPECT_EQ(v->dayOfWeek(), c.dow) << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_EQ(DateTime::fromParts(1899, 12, 30)->seconds(), 0);
    EXPECT_FALSE(DateTime::fromParts(2026, 2, 29));
    EXPECT_FALSE(DateTime::fromParts(2026, 12, 10, 24, 0));
}

TEST(FormatSet, FileFormatWritesDateAloneAtMidnightAndReadsBack) {
    const FormatSet fs = make_fs_file();
    const DateTime midnight = at("2026-12-09 00:00");
    EXPECT_EQ(fs.format(midnight), "2026-12-09");
    EXPECT_EQ(fs.parse("2026-12-09"), midnight);
    const DateTime evening = at("2026-12-09 20:05");
    EXPECT_EQ(fs.format(evening), "2026-12-09 20:05");
    EXPECT_EQ(fs.parse(fs.format(evening)), evening);
}

TEST(FormatSet, ParsingAcceptsShortYearsAndRejectsGarbage) {
    const FormatSet shortf = make_fs_short();
    EXPECT_EQ(shortf.parse("26-12-9 7:5"), at("2026-12-09 07:05"));
    EXPECT_EQ(shortf.parse("99-1-2"), at("1999-01-02"));
    const FormatSet file = make_fs_file();
    EXPECT_EQ(file.parse("26-12-09 20:00"), at("2026-12-09 20:00"));
    for (const char* bad :
         {"", "2026-13-01", "2026-12", "abc", "2026-12-09 25:00", "2026-12-09 x", "2026-02-30"})
        EXPECT_FALSE(file.parse(bad)) << bad;
}

TEST(FormatSet, ViewShowsLongDayName) {
    const FormatSet view = make_fs_view(default_day_names());
    EXPECT_EQ(to_utf8(view.formatDate(at("2026-12-07"))), "07.12.26 Понедельник");
    EXPECT_EQ(to_utf8(view.formatDate(at("2026-12-13"))), "13.12.26 Воскресенье");
    EXPECT_EQ(view.formatTime(at("2026-12-13 09:05")), "09:05");
}

TEST(Week, AnchorsOnSundayMondayAndMidweek) {
    struct Case {
        const char* today;
        const char* monday;
    } cases[] = {{"2026-12-13 23:59", "2026-12-07"},  // Sunday: six days earlier
                 {"2026-12-07 00:00", "2026-12-07"},  // Monday: the same day
                 {"2026-12-10 12:00", "2026-12-07"},
                 {"2027-01-01 08:00", "2026-12-28"}};
    for (const auto& c : cases) {
        auto store = test::make_store(at(c.today));
        EXPECT_EQ(store->week_cur, at(c.monday)) << c.today;
        EXPECT_EQ(store->week_next, at(c.monday).addDays(7));
    }
    auto store = test::make_store(at("2026-12-10 12:00"));
    EXPECT_EQ(to_utf8(store->week_cur_caption), "Текущая (07.12.2026 - 13.12.2026)");
    EXPECT_EQ(to_utf8(store->week_next_caption), "Будущая (14.12.2026 - 20.12.2026)");
}

TEST(Shift, MakeShiftText) {
    struct Case {
        const char* hours;
        const char* minutes;
        bool plus;
        const char* expected;
    } cases[] = {{"3", "5", true, "+03:05"},    {"3", "5", false, "-03:05"},
                 {"", "", true, "00:00"},       {"", "", false, "00:00"},
                 {"123", "75", true, "+99:00"}, {"12", "30", false, "-12:30"},
                 {"0", "0", false, "00:00"},    {"", "45", true, "+00:45"}};
    for (const auto& c : cases)
        EXPECT_EQ(make_shift_text(c.hours, c.minutes, c.plus), c.expected)
            << c.hours << ":" << c.minutes;
}

TEST(Shift, ParseAndApply) {
    struct Case {
        const char* text;
        int minutes;
        int plus;
    } cases[] = {{"-04:30", 270, 0},
                 {"00:00", 0, 0},
                 {"+03:00", 180, 1},
                 {"+25:30", 1530, 1},
                 {"+99:59", 99 * 60 + 59, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(parse_shift(c.text), DateTime::fromMinutes(c.minutes)) << c.text;
        EXPECT_EQ(shift_is_plus(c.text), c.plus) << c.text;
    }
    chl_local_list m;
    m.shift = parse_shift("+25:30");
    m.shift_plus = 1;
    EXPECT_EQ(apply_shift(m, at("2026-12-09 23:00")), at("2026-12-11 00:30"));
    m.shift_plus = 0;
    EXPECT_EQ(apply_shift(m, at("2026-12-09 23:00")), at("2026-12-08 21:30"));
}

TEST(TimeZones, PresetsAndDialogFields) {
    auto store = test::make_store(at("2026-12-10"));
    ASSERT_EQ(store->time_zones.size(), 35u);
    EXPECT_EQ(to_utf8(store->time_zones[17].caption),
              "(+03:00) Московское, Восточноафриканское время, Ирак, Кувейт, Саудовская Аравия");
    const auto caracas = zone_to_fields(store->time_zones[8]);
    EXPECT_FALSE(caracas.plus);
    EXPECT_EQ(caracas.hours, "04");
    EXPECT_EQ(caracas.minutes, "30");
    const auto utc = zone_to_fields(store->time_zones[14]);
    EXPECT_TRUE(utc.plus);
    EXPECT_EQ(utc.hours + ":" + utc.minutes, "00:00");
    EXPECT_EQ(make_shift_text(caracas.hours, caracas.minutes, caracas.plus), "-04:30");
}

TEST(TimeText, Validity) {
    struct Case {
        const char* text;
        int max_hours;
        bool valid;
    } cases[] = {{"20:00", 23, true},  {"23:59", 23, true},  {"24:00", 23, false},
                 {"12:60", 23, false}, {" 1:00", 23, false}, {"10: 5", 23, false},
                 {":30", 23, false},   {"10:", 23, false},   {"+99:00", 99, true},
                 {"1030", 23, false}};
    for (const auto& c : cases) EXPECT_EQ(time_text_valid(c.text, c.max_hours), c.valid) << c.text;
}

}  // namespace
}  // namespace zt
