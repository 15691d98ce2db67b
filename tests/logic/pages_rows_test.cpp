// The texts of a programme row and the row commands.
#include <gtest/gtest.h>

#include <limits>

#include "pages_fixture.h"
#include "views/logic/row_commands.h"

namespace zt::test {
namespace {

using views::ProgramPage;

TEST_F(PagesTest, TimeLeftIsRoundedUpToWholeMinutes) {
    auto a = channel("Первый");
    auto p = prog(a, "2026-03-11 20:00", "2026-03-11 21:00", "Hour");
    struct Case {
        const char* now;
        const char* left_cell;  // "" when not on air
        int percent;
    };
    const Case cases[] = {
        {"2026-03-11 20:00:30", " 01:00   100%", 100},
        {"2026-03-11 20:59:30", " 00:01   1%", 1},
        // Exactly on the minute (the clock refresh runs then) the time left is whole.
        {"2026-03-11 20:00:00", " 01:00   100%", 100},
        {"2026-03-11 20:30:00", " 00:30   50%", 50},
        {"2026-03-11 21:00:00", " 00:00   0%", 0},
        {"2026-03-11 21:00:01", "", -1},
        {"2026-03-11 19:59:59", "", -1},
    };
    for (const Case& c : cases) {
        list.begin(*store, options(ProgramPage::days));
        ASSERT_TRUE(list.AddProgramRow(p, a, p->start, p->finish, at(c.now)));
        const auto& row = list.rows().front();
        EXPECT_EQ(list.cell_text(row, views::col_left), c.left_cell) << c.now;
        EXPECT_EQ(row.left_percent, c.percent) << c.now;
    }
}

TEST_F(PagesTest, ProgrammesShorterThanAMinuteOrLongerThanADayStayWithinPercentBounds) {
    auto a = channel("Первый");
    auto instant = prog(a, "2026-03-11 20:00", "2026-03-11 20:00", "Instant");
    auto marathon = prog(a, "2026-03-10 20:00", "2026-03-11 20:30", "Marathon");
    list.begin(*store, options(ProgramPage::days));
    list.AddProgramRow(instant, a, instant->start, instant->finish, at("2026-03-11 20:00"));
    list.AddProgramRow(marathon, a, marathon->start, marathon->finish, at("2026-03-11 20:00"));
    EXPECT_EQ(list.rows()[0].left_percent, 100);
    EXPECT_EQ(list.rows()[1].left_percent, 30 * 100 / (24 * 60 + 30));
}

TEST_F(PagesTest, CellTextsOfARow) {
    auto a = channel("Восток", "+03:00", "12");
    auto p = prog(a, "2026-03-11 16:30", "2026-03-11 18:15", "Кавказская пленница", 2, 4);
    p->rating = 87;
    p->descr = "Комедия"_cp;
    store->types[0]->abbr = "И"_cp;  // a family row, to show that only the programme's genre counts
    for (auto& t : store->types)
        if (t->family == 2 && t->sub == 4) t->abbr = "Х/ф"_cp;

    auto o = options(ProgramPage::now);
    list.rebuild(*store, o);
    ASSERT_EQ(list.size(), 1u);
    auto cell = [&](int column) { return to_utf8(list.cell_text(0, column)); };
    EXPECT_EQ(cell(views::col_channel), "Восток");
    EXPECT_EQ(cell(views::col_button), "12");
    EXPECT_EQ(cell(views::col_start), "19:30");
    EXPECT_EQ(cell(views::col_finish), "21:15");
    EXPECT_EQ(cell(views::col_duration), "01:45");
    EXPECT_EQ(cell(views::col_left), " 01:15   71%");
    EXPECT_EQ(cell(views::col_rating), "87%");
    EXPECT_EQ(cell(views::col_title), "Кавказская пленница (Комедия)");
    EXPECT_EQ(list.rows()[0].genre_icon(), 5);

    o.view.abbreviations = true;
    o.view.date_in_columns = true;
    o.view.descr_left = " [";
    o.view.descr_right = "]";
    list.rebuild(*store, o);
    EXPECT_EQ(cell(views::col_title), "Х/ф \"Кавказская пленница\" [Комедия]");
    EXPECT_EQ(cell(views::col_start), "   19:30     11.03.26 Среда");

    // No rating, no description, no abbreviation for the genre; nothing beyond the list.
    p->rating = 0;
    p->descr.clear();
    for (auto& t : store->types) t->abbr.clear();
    EXPECT_EQ(cell(views::col_rating), "");
    EXPECT_EQ(cell(views::col_title), "Кавказская пленница");
    EXPECT_EQ(list.cell_text(1, views::col_title), "");
    EXPECT_EQ(list.row(1), nullptr);
    EXPECT_EQ(list.row(-1), nullptr);
}

TEST_F(PagesTest, ToggleLoveCoversEveryProgrammeOfTheTitleOnTheSameChannel) {
    auto a = channel("Первый");
    auto b = channel("Второй");
    auto first = prog(a, "2026-03-11 08:00", "2026-03-11 09:00", "Новости");
    auto second = prog(a, "2026-03-11 12:00", "2026-03-11 13:00", "НОВОСТИ");
    auto other = prog(a, "2026-03-11 13:00", "2026-03-11 14:00", "Погода");
    auto elsewhere = prog(b, "2026-03-11 08:00", "2026-03-11 09:00", "Новости");
    store->add_love(*a->chl, 4, "Старое"_cp, 0, at("2026-03-01"));

    views::ToggleLove(*a->chl, *first, 1, at("2026-03-11 20:00"));
    ASSERT_NE(first->love, nullptr);
    EXPECT_EQ(second->love, first->love);
    EXPECT_EQ(other->love, nullptr);
    EXPECT_EQ(elsewhere->love, nullptr);
    EXPECT_EQ(first->love->id, 5);
    EXPECT_EQ(first->love->liked, 1);
    EXPECT_EQ(first->love->title, first->title);
    EXPECT_EQ(first->love->seen, at("2026-03-11 20:00"));
    EXPECT_EQ(a->chl->love.size(), 2u);
    EXPECT_TRUE(views::row_menu_state(*second).liked);

    // The other kind on another programme of the title changes the shared entry.
    views::ToggleLove(*a->chl, *second, 0, at("2026-03-11 20:00"));
    EXPECT_EQ(first->love->liked, 0);
    EXPECT_TRUE(views::row_menu_state(*first).disliked);

    // The same kind again removes it from every programme and from the channel.
    views::ToggleLove(*a->chl, *first, 0, at("2026-03-11 20:00"));
    EXPECT_EQ(first->love, nullptr);
    EXPECT_EQ(second->love, nullptr);
    ASSERT_EQ(a->chl->love.size(), 1u);
    EXPECT_EQ(a->chl->love[0]->id, 4);

    // With the largest id taken no entry can be made: nothing changes.
    a->chl->love[0]->id = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(views::ToggleLove(*a->chl, *first, 1, at("2026-03-11 20:00")));
    EXPECT_EQ(first->love, nullptr);
    EXPECT_EQ(a->chl->love.size(), 1u);
}

TEST_F(PagesTest, RowCommandsShowAtOnceWithoutRefiltering) {
    auto a = channel("Первый");
    auto p = prog(a, "2026-03-11 19:30", "2026-03-11 20:30", "Фильм");
    auto o = options(ProgramPage::now);
    o.view.system.on[std::size_t(SystemCategory::Mark)] = false;
    o.view.system.on[std::size_t(SystemCategory::Alarm)] = false;
    list.rebuild(*store, o);
    ASSERT_EQ(list.size(), 1u);
    const auto& row = list.rows()[0];
    EXPECT_FALSE(row.has_details());

    views::toggle_mark(*p);
    views::toggle_alarm(*p);
    EXPECT_EQ(list.size(), 1u);  // stays until the next rebuild
    EXPECT_EQ(row.title_fill(), views::TitleFill::mark);
    EXPECT_TRUE(row.alarm());
    const auto menu = views::row_menu_state(*p);
    EXPECT_TRUE(menu.mark);
    EXPECT_TRUE(menu.alarm);
    EXPECT_FALSE(menu.details);

    list.rebuild(*store, o);
    EXPECT_EQ(list.size(), 0u);
}

}  // namespace
}  // namespace zt::test
