// The rows of the four programme pages: which programmes each page lists and in which order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pages_fixture.h"

namespace zt::test {
namespace {

using ::testing::ElementsAre;
using views::FindIn;
using views::ProgramPage;
using views::SoonOffset;

// A programme ending this minute stands for its channel only while nothing follows it yet, so no
// channel shows twice at the turn of a programme.
TEST_F(PagesTest, NowListsWhatIsOnAirWithShiftsAppliedAndOneRowPerChannelAtATurn) {
    auto a = channel("Первый");
    auto b = channel("Восток", "+03:00");
    auto c = channel("Запад", "-01:00");
    auto d = channel("Последний");
    prog(a, "2026-03-11 19:00", "2026-03-11 20:00", "Ends now");
    prog(a, "2026-03-11 20:00", "2026-03-11 21:00", "Starts now");
    prog(a, "2026-03-11 20:01", "2026-03-11 21:00", "Later");
    // 16:30-17:30 at the source is 19:30-20:30 three hours ahead.
    prog(b, "2026-03-11 16:30", "2026-03-11 17:30", "Shifted ahead");
    prog(b, "2026-03-11 20:00", "2026-03-11 21:00", "Too late ahead");
    // 21:00-22:00 at the source is 20:00-21:00 an hour behind.
    prog(c, "2026-03-11 21:00", "2026-03-11 22:00", "Shifted back");
    // The last programme of its channel, ending now.
    prog(d, "2026-03-11 19:00", "2026-03-11 20:00", "Last ends now");

    list.rebuild(*store, options(ProgramPage::now));
    EXPECT_THAT(shown(), ElementsAre("Первый 20:00 Starts now", "Восток 19:30 Shifted ahead",
                                     "Запад 20:00 Shifted back", "Последний 19:00 Last ends now"));
    EXPECT_EQ(list.rows()[1].finish, at("2026-03-11 20:30"));
}

TEST_F(PagesTest, OnlyTheChosenMembersOfAValidGroupFeedTheLists) {
    auto a = channel("Первый");
    auto b = channel("Второй");
    prog(a, "2026-03-11 19:30", "2026-03-11 20:30", "A");
    prog(b, "2026-03-11 19:30", "2026-03-11 20:30", "B");

    auto o = options(ProgramPage::now);
    o.panels.chosen = {0, 1};
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Второй 19:30 B"));

    // Without an explicit choice the members' own flags count.
    o.panels.chosen.clear();
    a->selected = 1;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 19:30 A"));

    for (int group : {-1, 1}) {
        o.panels.group = group;
        list.rebuild(*store, o);
        EXPECT_EQ(list.size(), 0u) << "group " << group;
    }
}

TEST_F(PagesTest, SoonWindowsOfTheThreeOffsetKinds) {
    auto a = channel("Первый");
    auto idle = channel("Пустой");
    prog(a, "2026-03-11 19:30", "2026-03-11 20:15", "Current");
    prog(a, "2026-03-11 20:15", "2026-03-11 21:50", "Next");
    prog(a, "2026-03-11 21:50", "2026-03-11 22:00", "Evening");
    prog(a, "2026-03-11 22:00", "2026-03-12 01:30", "Film");
    prog(a, "2026-03-12 01:30", "2026-03-12 02:00", "Night");
    prog(a, "2026-03-12 02:00", "2026-03-12 02:10", "Late");
    prog(a, "2026-03-12 02:10", "2026-03-12 03:00", "Too late");
    prog(idle, "2026-03-11 20:30", "2026-03-11 21:00", "After a gap");

    auto o = options(ProgramPage::soon);
    o.soon.line = 99;

    // From now: 20:00 + 00:00 .. 20:00 + 01:50.
    o.soon.time_start = "00:00";
    o.soon.time_finish = "01:50";
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 20:15 Next", "Первый 21:50 Evening",
                                     "Пустой 20:30 After a gap"));

    // From the end of the current programme (20:15) + 00:00 .. + 01:35; a channel with nothing
    // on air has no window.
    o.soon.offset_kind = SoonOffset::from_current_end;
    o.soon.time_finish = "01:35";
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 20:15 Next", "Первый 21:50 Evening"));

    // Times of day: 22:00 today to 02:00 tomorrow.
    o.soon.offset_kind = SoonOffset::times_of_day;
    o.soon.time_start = "22:00";
    o.soon.time_finish = "02:00";
    list.rebuild(*store, o);
    EXPECT_THAT(shown(),
                ElementsAre("Первый 22:00 Film", "Первый 01:30 Night", "Первый 02:00 Late"));
}

TEST_F(PagesTest, SoonCountIncludesProgrammesTheFiltersHide) {
    auto a = channel("Первый");
    prog(a, "2026-03-11 20:10", "2026-03-11 20:20", "Shown first");
    prog(a, "2026-03-11 20:20", "2026-03-11 20:30", "Hidden film", 2, 1);
    prog(a, "2026-03-11 20:30", "2026-03-11 20:40", "Shown third");

    auto o = options(ProgramPage::soon);
    o.soon.line = 2;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 20:10 Shown first", "Первый 20:20 Hidden film"));

    o.panels.genre_on.assign(store->types.size(), 1);
    for (std::size_t i = 0; i < store->types.size(); ++i)
        if (store->types[i]->family == 2) o.panels.genre_on[i] = 0;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 20:10 Shown first"));

    // Out-of-range counts are held within 1..99.
    o.soon.line = 0;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 20:10 Shown first"));
}

TEST_F(PagesTest, DaysWithBothTimesMidnightCoverWholeDaysWithAndWithoutGrouping) {
    auto a = channel("Первый");
    auto b = channel("Второй");
    // Monday 2026-03-09 and Tuesday 2026-03-10 are pressed.
    prog(a, "2026-03-09 00:00", "2026-03-09 06:00", "Mon night");
    prog(a, "2026-03-10 00:00", "2026-03-10 06:00", "Tue midnight");
    prog(a, "2026-03-10 23:59", "2026-03-11 00:00", "Tue last");
    prog(a, "2026-03-11 00:00", "2026-03-11 06:00", "Wed midnight");
    prog(a, "2026-03-11 00:01", "2026-03-11 06:00", "Wed after");
    prog(b, "2026-03-09 12:00", "2026-03-09 13:00", "Mon noon");
    prog(b, "2026-03-08 23:59", "2026-03-09 00:30", "Sun last");

    auto o = options(ProgramPage::days);
    o.days.days = {true, true, false, false, false, false, false};
    o.days.time_start = "00:00";
    o.days.time_finish = "00:00";

    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 00:00 Mon night", "Первый 00:00 Tue midnight",
                                     "Первый 23:59 Tue last", "Первый 00:00 Wed midnight",
                                     "Второй 12:00 Mon noon"));

    o.days.by_day = true;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 00:00 Mon night", "Первый 00:00 Tue midnight",
                                     "Второй 12:00 Mon noon", "Первый 00:00 Tue midnight",
                                     "Первый 23:59 Tue last", "Первый 00:00 Wed midnight"));

    o.days.days = {};
    list.rebuild(*store, o);
    EXPECT_EQ(list.size(), 0u);
}

TEST_F(PagesTest, DaysTimeWindowWeekChoiceAndInvalidTimes) {
    auto a = channel("Первый");
    prog(a, "2026-03-11 05:59", "2026-03-11 06:00", "Early");
    prog(a, "2026-03-11 06:00", "2026-03-11 07:00", "Morning");
    prog(a, "2026-03-12 01:00", "2026-03-12 02:00", "After midnight");
    prog(a, "2026-03-18 06:00", "2026-03-18 07:00", "Next week");

    auto o = options(ProgramPage::days);
    o.days.days[2] = true;  // "СР"
    o.days.time_start = "06:00";
    o.days.time_finish = "02:00";  // earlier than the start: into the next day
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 06:00 Morning", "Первый 01:00 After midnight"));

    o.days.next_week = true;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 06:00 Next week"));

    // Unreadable times count as the edits' defaults: 00:00 and 23:59.
    o.days.next_week = false;
    o.days.time_start = "ab:cd";
    o.days.time_finish = "99:99";
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 05:59 Early", "Первый 06:00 Morning"));

    EXPECT_EQ(views::day_button_of(at("2026-03-11")), 2);
    EXPECT_EQ(views::day_button_of(at("2026-03-15")), 6);
    const auto next_week = views::day_button_hints(*store, true);
    EXPECT_EQ(to_utf8(next_week[0].hint), "16.03.26 Понедельник");
    EXPECT_EQ(next_week[0].date_line, "16.03");
    EXPECT_EQ(next_week[6].date_line, "22.03");
}

TEST_F(PagesTest, SearchIgnoresCaseOfCyrillicAndLatinLetters) {
    auto a = channel("Первый");
    auto news = prog(a, "2026-03-11 08:00", "2026-03-11 09:00", "Новости");
    prog(a, "2026-03-11 09:00", "2026-03-11 10:00", "ИТОГОВЫЕ НОВОСТИ");
    prog(a, "2026-03-11 10:00", "2026-03-11 11:00", "Погода");
    auto tree = prog(a, "2026-03-11 11:00", "2026-03-11 12:00", "Ёлка и MTV");
    auto with_anons = prog(a, "2026-03-11 12:00", "2026-03-11 13:00", "Фильм");
    with_anons->anons = store->add_anons(*a->chl, 1, "Главные <b>НОВОСТИ</b> дня"_cp, "");

    struct Case {
        const char* needle;
        int mode;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"НОВОСТИ", 0, {"Новости", "ИТОГОВЫЕ НОВОСТИ"}},
        {"новости", 0, {"Новости", "ИТОГОВЫЕ НОВОСТИ"}},
        {"ёЛКА", 0, {"Ёлка и MTV"}},
        {"mtv", 0, {"Ёлка и MTV"}},
        {"новости", 1, {"Фильм"}},
        {"новости", 2, {"Новости", "ИТОГОВЫЕ НОВОСТИ", "Фильм"}},
        {"новости", 7, {"Новости", "ИТОГОВЫЕ НОВОСТИ", "Фильм"}},
        {"погода", 1, {}},
        {"", 2, {}},
    };
    for (const Case& c : cases) {
        auto o = options(ProgramPage::find);
        o.find.text = to_cp1251(c.needle);
        o.find.mode = FindIn(c.mode);
        list.rebuild(*store, o);
        std::vector<std::string> titles;
        for (const auto& r : list.rows()) titles.push_back(to_utf8(r.prog->title));
        EXPECT_EQ(titles, c.titles) << c.needle << " mode " << c.mode;
    }
    (void)news;
    (void)tree;
}

// Which of the flags decides: no genre, then reminder, then mark, then favourite or disliked.
TEST_F(PagesTest, SystemCategoriesOverrideTheGenreFilterInTheirOrder) {
    auto a = channel("Первый");
    auto all_flags = prog(a, "2026-03-11 20:00", "2026-03-11 21:00", "Flagged");
    all_flags->alarm = 1;
    all_flags->mark = 1;
    all_flags->love = store->add_love(*a->chl, -1, all_flags->title, 1, at("2026-03-11"));
    auto untyped = prog(a, "2026-03-11 20:00", "2026-03-11 21:00", "Untyped", 0, 0);
    untyped->mark = 1;
    auto disliked = prog(a, "2026-03-11 20:00", "2026-03-11 21:00", "Disliked");
    disliked->love = store->add_love(*a->chl, -1, disliked->title, 0, at("2026-03-11"));
    prog(a, "2026-03-11 20:00", "2026-03-11 21:00", "Plain");
    ASSERT_EQ(untyped->type, nullptr);

    struct Case {
        const char* what;
        SystemCategories sys;
        bool genre_on;
        std::vector<std::string> titles;
    };
    SystemCategories all;
    auto without = [&](SystemCategory c) {
        SystemCategories s;
        s.on[std::size_t(c)] = false;
        return s;
    };
    const Case cases[] = {
        {"everything on", all, true, {"Flagged", "Untyped", "Disliked", "Plain"}},
        {"genres off: the categories still show", all, false, {"Flagged", "Untyped", "Disliked"}},
        {"reminders off hide despite mark and favourite",
         without(SystemCategory::Alarm),
         true,
         {"Untyped", "Disliked", "Plain"}},
        {"no genre off hides despite the mark",
         without(SystemCategory::NoType),
         true,
         {"Flagged", "Disliked", "Plain"}},
        {"marks off: the reminder still shows it",
         without(SystemCategory::Mark),
         true,
         {"Flagged", "Untyped", "Disliked", "Plain"}},
        {"disliked off", without(SystemCategory::Disliked), true, {"Flagged", "Untyped", "Plain"}},
    };
    for (const Case& c : cases) {
        auto o = options(ProgramPage::now);
        o.view.system = c.sys;
        o.panels.genre_on.assign(store->types.size(), c.genre_on ? 1 : 0);
        list.rebuild(*store, o);
        std::vector<std::string> titles;
        for (const auto& r : list.rows()) titles.push_back(to_utf8(r.prog->title));
        EXPECT_EQ(titles, c.titles) << c.what;
    }

    // Colours of the flagged row: the start cell shows the reminder, the title cell the mark.
    list.rebuild(*store, options(ProgramPage::now));
    const auto& row = list.rows().front();
    EXPECT_TRUE(row.alarm());
    EXPECT_EQ(row.title_fill(), views::TitleFill::mark);
    EXPECT_EQ(list.rows()[2].title_fill(), views::TitleFill::disliked);
}

TEST_F(PagesTest, PastProgrammesFollowTheSwitchOnRebuildAndStayUntilThenOnRefresh) {
    auto a = channel("Первый");
    prog(a, "2026-03-11 18:00", "2026-03-11 19:00", "Over");
    prog(a, "2026-03-11 19:30", "2026-03-11 20:01", "Ending");
    prog(a, "2026-03-11 21:00", "2026-03-11 22:00", "Ahead");

    auto o = options(ProgramPage::days);
    o.days.days[2] = true;
    list.rebuild(*store, o);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.rows()[0].past, 1);
    EXPECT_EQ(list.rows()[0].text_colour(ProgramPage::days), views::RowTextColour::past);
    EXPECT_EQ(list.rows()[1].text_colour(ProgramPage::days), views::RowTextColour::on_air);
    EXPECT_EQ(list.rows()[1].text_colour(ProgramPage::now), views::RowTextColour::normal);

    o.view.show_past = false;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 19:30 Ending", "Первый 21:00 Ahead"));

    // A minute later the ending programme is over but stays listed, greyed.
    o.now = at("2026-03-11 20:02");
    list.refresh(*store, o);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.rows()[0].past, 1);
    EXPECT_EQ(list.rows()[0].left_percent, -1);
    EXPECT_EQ(list.rows()[0].left_text, "");

    // The pages that follow the clock are rebuilt instead.
    o.page = ProgramPage::now;
    list.rebuild(*store, o);
    o.now = at("2026-03-11 21:30");
    list.refresh(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 21:00 Ahead"));
}

}  // namespace
}  // namespace zt::test

namespace zt::test {
namespace {

// The store only appends, so a channel's programmes need not be in start order (a day
// downloaded before the days around it, a long programme after short ones). "Сейчас" and
// "Скоро" find the programmes near the moment whatever the order, keep the list's order in
// their rows, and notice a list that changed between two rebuilds.
TEST_F(PagesTest, NowAndSoonFollowListOrderWhateverTheStartOrder) {
    auto a = channel("Первый", "+01:00");
    prog(a, "2026-03-12 10:00", "2026-03-12 11:00", "Tomorrow");
    prog(a, "2026-03-11 18:15", "2026-03-11 19:20", "Evening");  // on air at 20:00 shifted
    prog(a, "2026-03-11 17:00", "2026-03-11 18:00", "Earlier");
    prog(a, "2026-03-11 07:00", "2026-03-11 22:00", "Marathon");  // started long before
    prog(a, "2026-03-11 19:45", "2026-03-11 20:00", "Later");
    prog(a, "2026-03-11 19:15", "2026-03-11 19:40", "Soon");
    prog(a, "2026-03-11 19:30", "2026-03-11 20:30", "Also soon");

    list.rebuild(*store, options(ProgramPage::now));
    EXPECT_THAT(shown(), ElementsAre("Первый 19:15 Evening", "Первый 08:00 Marathon"));

    // From now to 01:00 later: the first two starting in it, in list order.
    auto o = options(ProgramPage::soon);
    o.soon.time_start = "00:00";
    o.soon.time_finish = "01:00";
    o.soon.line = 2;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 20:45 Later", "Первый 20:15 Soon"));
    // From the end of the current programme: the first on air in list order ends at 20:20.
    o.soon.offset_kind = SoonOffset::from_current_end;
    o.soon.time_finish = "00:15";
    o.soon.line = 99;
    list.rebuild(*store, o);
    EXPECT_THAT(shown(), ElementsAre("Первый 20:30 Also soon"));

    // The list changes between rebuilds: a programme goes, another of the same length comes.
    auto& progs = a->chl->tvprog;
    progs.erase(progs.begin() + 1);
    prog(a, "2026-03-11 18:50", "2026-03-11 19:10", "Replacement");
    list.rebuild(*store, options(ProgramPage::now));
    EXPECT_THAT(shown(), ElementsAre("Первый 08:00 Marathon", "Первый 19:50 Replacement"));
    // A programme ending this very minute shows only where nothing else is on air.
    progs.erase(progs.begin() + 2);  // the marathon
    prog(a, "2026-03-11 18:30", "2026-03-11 19:00", "Ending");
    clock->set(at("2026-03-11 20:10"));
    list.rebuild(*store, options(ProgramPage::now));
    EXPECT_THAT(shown(), ElementsAre("Первый 19:50 Replacement"));
    clock->set(at("2026-03-11 20:00"));
    progs.erase(progs.end() - 2);  // the replacement
    list.rebuild(*store, options(ProgramPage::now));
    EXPECT_THAT(shown(), ElementsAre("Первый 19:30 Ending"));
}

}  // namespace
}  // namespace zt::test
