#include <gtest/gtest.h>

#include <limits>

#include "core/cp1251.h"
#include "core/genres.h"
#include "test_support.h"

namespace zt {
namespace {

using test::at;

class StoreTest : public ::testing::Test {
protected:
    std::unique_ptr<all_list> store = test::make_store(at("2026-12-10 12:00"));
    chl_serv_list& channel(std::int32_t id, const std::string& name) {
        return *store->add_channel(id, name, "", "ABCDEFGH", -1);
    }
};

TEST_F(StoreTest, IdsAreLargestPlusOneAndGapsAreNotFilled) {
    auto g1 = store->add_chl_group(-1, "", "");
    EXPECT_EQ(g1->id, 1);
    EXPECT_EQ(to_utf8(g1->name), "Новая 1");
    store->add_chl_group(7, "Спорт"_cp, "");
    auto g8 = store->add_chl_group(-1, "", "");
    EXPECT_EQ(g8->id, 8);
    store->chl_groups.erase(store->chl_groups.begin() + 1);  // drop id 7
    EXPECT_EQ(store->add_chl_group(-1, "x", "")->id, 9);
    auto& c = channel(5, "Первый"_cp);
    EXPECT_EQ(store->add_love(c, -1, "a", 1, {})->id, 1);
    store->add_love(c, 4, "b", 1, {});
    EXPECT_EQ(store->add_love(c, -1, "c", 1, {})->id, 5);
}

// After the largest id there can be, no new record is created (the id would wrap round).
TEST_F(StoreTest, NoRecordIsCreatedWhenNoIdIsLeft) {
    constexpr std::int32_t top = std::numeric_limits<std::int32_t>::max();
    auto& c = channel(5, "Первый"_cp);
    auto group = store->add_chl_group(top, "Полная"_cp, "");
    EXPECT_EQ(store->add_chl_group(-1, "", ""), nullptr);
    EXPECT_EQ(store->chl_groups.size(), 1u);

    ASSERT_NE(store->add_chl_local(*group, top, 5, nullptr, "", "", "", "", -1), nullptr);
    EXPECT_EQ(store->add_chl_local(*group, -1, 5, nullptr, "", "", "", "", -1), nullptr);
    EXPECT_EQ(group->members.size(), 1u);

    store->add_love(c, top, "a", 1, {});
    EXPECT_EQ(store->add_love(c, -1, "b", 1, {}), nullptr);
    EXPECT_EQ(c.love.size(), 1u);

    add_type_group(*store, top, "Жанры"_cp);
    const std::size_t genre_groups = store->type_groups.size();
    EXPECT_EQ(add_type_group(*store, -1, ""), nullptr);
    EXPECT_EQ(store->type_groups.size(), genre_groups);

    // One below the largest still gives the largest.
    store->chl_groups.front()->id = top - 1;
    EXPECT_EQ(store->add_chl_group(-1, "", "")->id, top);
}

TEST_F(StoreTest, MemberTakesChannelDefaultsAndParsesShift) {
    auto& c = channel(3, "Культура"_cp);
    c.logo = 4;
    auto g = store->add_chl_group(-1, "", "");
    auto plain = store->add_chl_local(*g, -1, 3, nullptr, "", "", "", "", -1);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->name, c.name);
    EXPECT_EQ(plain->logo, 4);
    EXPECT_EQ(plain->shift_text, "00:00");
    EXPECT_EQ(plain->selected, 0);
    auto shifted = store->add_chl_local(*g, -1, 3, nullptr, "Моя"_cp, "", "-02:30", "5", 9);
    EXPECT_EQ(shifted->id, 2);
    EXPECT_EQ(shifted->shift, DateTime::fromMinutes(150));
    EXPECT_EQ(shifted->shift_plus, 0);
    EXPECT_EQ(shifted->logo, 9);
    // A member is never created for a channel that does not exist.
    EXPECT_FALSE(store->add_chl_local(*g, -1, 999, nullptr, "", "", "", "", -1));
    EXPECT_EQ(g->members.size(), 2u);
}

TEST_F(StoreTest, DeleteChannelRemovesItsMembersEverywhere) {
    channel(1, "A");
    channel(2, "B");
    auto g1 = store->add_chl_group(-1, "", "");
    auto g2 = store->add_chl_group(-1, "", "");
    for (auto* g : {g1.get(), g2.get()})
        for (int id : {1, 2}) store->add_chl_local(*g, -1, id, nullptr, "", "", "", "", -1);
    store->recount_chl_groups();
    EXPECT_EQ(store->find_channel(1)->group_count, 2);
    store->delete_channel(0);
    EXPECT_FALSE(store->find_channel(1));
    for (auto* g : {g1.get(), g2.get()}) {
        ASSERT_EQ(g->members.size(), 1u);
        EXPECT_EQ(g->members[0]->chl_id, 2);
    }
}

TEST_F(StoreTest, DownloadedDayNeverLosesAnnouncementsOrSignedInMark) {
    auto& c = channel(1, "A");
    store->add_dt_local(c, "2026-12-10", 0, 1);
    store->add_dt_local(c, "2026-12-11", 0, 0);
    store->add_dt_local(c, "2026-12-10", 0, 0);  // poorer: ignored
    ASSERT_EQ(c.dates.size(), 2u);
    EXPECT_EQ(c.dates[0].with_anons, 1);
    store->add_dt_local(c, "2026-12-11", 1, 0);  // richer: replaces and goes last
    ASSERT_EQ(c.dates.size(), 2u);
    EXPECT_EQ(c.dates[1].date, "2026-12-11");
    EXPECT_EQ(c.dates[1].full, 1);
    store->add_dt_local(c, "2026-12-11", 0, 1);  // loses the signed-in mark: ignored
    EXPECT_EQ(c.dates[1].full, 1);
}

TEST_F(StoreTest, ProgrammeResolvesGenreAnnouncementAndFavourite) {
    auto& c = channel(1, "A");
    store->add_anons(c, 10, "text", "");
    store->add_love(c, 3, "Новости"_cp, 1, {});
    auto p = store->add_tvprog(c, {.id = 1,
                                   .start = at("2026-12-10 20:00"),
                                   .finish = at("2026-12-10 21:00"),
                                   .type_family = 2,
                                   .type_sub = 4,
                                   .rating = 50,
                                   .title = "t",
                                   .descr = "d",
                                   .anons_id = 10,
                                   .love_id = 3});
    ASSERT_TRUE(p->type);
    EXPECT_EQ(p->type->id, 10);
    ASSERT_TRUE(p->anons);
    EXPECT_EQ(p->anons->id, 10);
    ASSERT_TRUE(p->love);
    EXPECT_EQ(p->love->id, 3);
    auto q = store->add_tvprog(c, {.id = 2,
                                   .start = at("2026-12-10 21:00"),
                                   .finish = at("2026-12-10 22:00"),
                                   .type_family = 9,
                                   .type_sub = 9,
                                   .title = "t",
                                   .descr = "d",
                                   .anons_id = 77});
    EXPECT_FALSE(q->type);
    EXPECT_FALSE(q->anons);
    EXPECT_FALSE(q->love);
}

TEST_F(StoreTest, ClearDayRemovesOnlyThatCalendarDay) {
    auto& c = channel(1, "A");
    for (const char* t :
         {"2026-12-09 23:59", "2026-12-10 00:00", "2026-12-10 23:59", "2026-12-11 00:00"})
        store->add_tvprog(c, {.id = 1, .start = at(t), .finish = at(t).addMinutes(30), .title = t});
    store->clear_day_tvprog(c, "2026-12-10");
    ASSERT_EQ(c.tvprog.size(), 2u);
    EXPECT_EQ(c.tvprog[0]->start, at("2026-12-09 23:59"));
    EXPECT_EQ(c.tvprog[1]->start, at("2026-12-11 00:00"));
}

TEST_F(StoreTest, MarksApplyToTheProgrammeWithSameIdAndStart) {
    auto& c = channel(1, "A");
    store->add_love(c, 2, "x", 1, {});
    store->add_tvprog(
        c,
        {.id = 5, .start = at("2026-12-10 10:00"), .finish = at("2026-12-10 11:00"), .title = "a"});
    auto second = store->add_tvprog(
        c,
        {.id = 5, .start = at("2026-12-10 12:00"), .finish = at("2026-12-10 13:00"), .title = "a"});
    store->apply_tvprog_marks(c, 5, at("2026-12-10 12:00"), 1, 2, 1);
    store->apply_tvprog_marks(c, 5, at("2026-12-10 14:00"), 1, 2, 1);  // no such programme
    EXPECT_EQ(c.tvprog[0]->mark, 0);
    EXPECT_EQ(second->mark, 1);
    EXPECT_EQ(second->alarm, 1);
    ASSERT_TRUE(second->love);
    EXPECT_EQ(second->love->id, 2);
}

TEST_F(StoreTest, DefaultGroupHoldsAllChannelsSortedAndChoosesTheGroupToShow) {
    EXPECT_FALSE(store->ensure_default_group());
    channel(1, "Россия"_cp);
    channel(2, "Звезда"_cp);
    channel(3, "Культура"_cp);
    auto g = store->ensure_default_group();
    ASSERT_TRUE(g);
    EXPECT_EQ(to_utf8(g->name), "По умолчанию");
    ASSERT_EQ(g->members.size(), 3u);
    EXPECT_EQ(to_utf8(g->members[0]->name), "Звезда");
    EXPECT_EQ(to_utf8(g->members[2]->name), "Россия");
    EXPECT_EQ(store->find_channel(1)->group_count, 1);

    auto second = store->add_chl_group(-1, "", "");
    store->cur_group = 1;
    EXPECT_EQ(store->ensure_default_group(), second);
    store->cur_group = 2;  // equal to the number of groups: the first group
    EXPECT_EQ(store->ensure_default_group(), g);
    store->cur_group = -1;
    EXPECT_EQ(store->ensure_default_group(), g);
    EXPECT_EQ(store->chl_groups.size(), 2u);
}

}  // namespace
}  // namespace zt
