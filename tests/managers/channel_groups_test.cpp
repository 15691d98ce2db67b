#include "managers/logic/channel_groups.h"

#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/store.h"
#include "test_support.h"

namespace zt {
namespace {

// A store with channels 10, 20, 30, 40 ("Д", "Б", "В", "А") and no groups.
class ChannelGroupsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::make_store(test::at("2026-12-10 12:00"));
        const char* names[] = {"Д", "Б", "В", "А"};
        for (int i = 0; i < 4; ++i)
            store->add_channel((i + 1) * 10, to_cp1251(names[i]), "", "00000000", -1);
    }
    group_ptr group_of(std::vector<int> channel_ids, const std::string& name = "g") {
        auto g = store->add_chl_group(-1, name, "");
        for (int id : channel_ids) store->add_chl_local(*g, -1, id, nullptr, "", "", "", "", -1);
        store->recount_chl_groups();
        return g;
    }
    std::vector<std::string> names(const std::vector<member_ptr>& members) {
        std::vector<std::string> out;
        for (const auto& m : members) out.push_back(to_utf8(m->name));
        return out;
    }
    std::unique_ptr<all_list> store;
};

TEST_F(ChannelGroupsTest, NewGroupWithoutNameIsNamedAfterTheNextId) {
    for (int id : {1, 2, 5}) store->add_chl_group(id, "x", "");
    EXPECT_EQ(to_utf8(create_group(*store, "", "")->name), "Новая 6");
    EXPECT_EQ(create_group(*store, "Кино", "d")->name, "Кино");
    EXPECT_EQ(store->chl_groups.size(), 5u);
}

TEST_F(ChannelGroupsTest, CopyKeepsMembersInOrderWithTheirShiftsAndIsIndependent) {
    auto source = store->add_chl_group(-1, "src", "");
    for (int i = 0; i < 10; ++i)
        store->add_chl_local(*source, -1, (i % 4 + 1) * 10, nullptr, "n" + std::to_string(i), "d",
                             i % 2 ? "+01:30" : "-02:00", std::to_string(10 - i), -1);
    auto copy = copy_group(*store, *source);
    ASSERT_TRUE(copy);
    EXPECT_EQ(to_utf8(copy->name), "Новая 2");
    ASSERT_EQ(copy->members.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(fields_of(*copy->members[i]), fields_of(*source->members[i])) << i;
        EXPECT_EQ(copy->members[i]->shift, source->members[i]->shift);
        EXPECT_EQ(copy->members[i]->shift_plus, source->members[i]->shift_plus);
    }
    copy->members[0]->name = "changed";
    set_shift(*copy->members[1], "00:00");
    EXPECT_EQ(source->members[0]->name, "n0");
    EXPECT_EQ(source->members[1]->shift_text, "+01:30");
    EXPECT_EQ(store->channels[0]->group_count, 2);
}

TEST_F(ChannelGroupsTest, DeletingGroupsLeavesTheFirstRemainingCurrent) {
    struct Case {
        int groups;
        int cur;
        std::vector<int> rows;
        std::vector<std::string> left;
        int cur_after;
    };
    const Case cases[] = {
        {3, 1, {1}, {"g0", "g2"}, 0},
        {3, 0, {0, 2}, {"g1"}, 0},
        {3, 2, {0, 1, 2}, {}, -1},
        {2, 1, {5, -1, 1, 1}, {"g0"}, 0},  // invalid and repeated rows are ignored
    };
    for (const auto& c : cases) {
        store->chl_groups.clear();
        for (int i = 0; i < c.groups; ++i) group_of({10}, "g" + std::to_string(i));
        store->cur_group = c.cur;
        const auto removed = delete_groups(*store, c.rows);
        std::vector<std::string> left;
        for (const auto& g : store->chl_groups) left.push_back(g->name);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(store->cur_group, c.cur_after);
        EXPECT_EQ(store->channels[0]->group_count, std::int32_t(c.left.size()));
        restore_groups(*store, removed);
        EXPECT_EQ(store->chl_groups.size(), std::size_t(c.groups));
        EXPECT_EQ(store->cur_group, c.cur);
    }
}

TEST_F(ChannelGroupsTest, SortByButtonsCountsNonNumbersAsZeroAndKeepsEqualsInOrder) {
    struct Case {
        std::vector<std::string> buttons;
        std::vector<std::string> order;  // the names, which are the button texts plus a tag
    };
    const Case cases[] = {
        {{"10", "", "2"}, {"", "2", "10"}},
        {{"10", "x", "", "2"}, {"x", "", "2", "10"}},
        {{"3a", "03", "-5", "99999999999999999999"}, {"-5", "3a", "03", "99999999999999999999"}},
    };
    for (const auto& c : cases) {
        auto g = group_of({});
        for (const auto& b : c.buttons)
            store->add_chl_local(*g, -1, 10, nullptr, b + "|", "", "", b, -1);
        sort_members_by_button(*g);
        std::vector<std::string> got;
        for (const auto& m : g->members) got.push_back(m->button);
        EXPECT_EQ(got, c.order);
    }
    EXPECT_EQ(button_number("12ab"), 12);
    EXPECT_EQ(button_number(" 7"), 0);
}

TEST_F(ChannelGroupsTest, SortsByNameAreRussianCaseSensitiveAndStable) {
    auto g = group_of({10, 20, 30, 40, 20});
    g->members[4]->name = to_cp1251("б");
    sort_members_by_name(*g);
    EXPECT_EQ(names(g->members), (std::vector<std::string>{"А", "б", "Б", "В", "Д"}));

    store->chl_groups.clear();
    for (const char* n : {"Я", "кино", "Кино", "Я"}) store->add_chl_group(-1, to_cp1251(n), "");
    const auto first_ya = store->chl_groups[0];
    sort_groups(*store);
    std::vector<std::string> got;
    for (const auto& x : store->chl_groups) got.push_back(to_utf8(x->name));
    EXPECT_EQ(got, (std::vector<std::string>{"кино", "Кино", "Я", "Я"}));
    EXPECT_EQ(store->chl_groups[2], first_ya);
    EXPECT_EQ(store->cur_group, 0);

    sort_channels_by_name(*store);
    EXPECT_EQ(store->channels.front()->id, 40);
    sort_channels_by_id(*store);
    EXPECT_EQ(store->channels.front()->id, 10);
}

TEST_F(ChannelGroupsTest, AddingAChannelTwiceGivesTwoMembersAndOneGroupCount) {
    auto g = group_of({});
    const auto added = add_channels(*store, *g, {store->channels[1], store->channels[1]});
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(g->members.size(), 2u);
    EXPECT_EQ(added[0]->shift_text, "00:00");
    EXPECT_EQ(added[0]->button, "");
    EXPECT_EQ(to_utf8(added[1]->name), "Б");
    EXPECT_EQ(store->channels[1]->group_count, 1);
    drop_last_members(*store, *g, 2);
    EXPECT_EQ(store->channels[1]->group_count, 0);
}

TEST_F(ChannelGroupsTest, DeletingAChannelRemovesItFromEveryGroup) {
    auto a = group_of({10, 20, 10}), b = group_of({20, 30}), c = group_of({10, 40});
    const auto before_a = a->members;
    const auto removed = delete_channels(*store, {0});
    EXPECT_EQ(store->channels.size(), 3u);
    EXPECT_EQ(a->members.size(), 1u);
    EXPECT_EQ(b->members.size(), 2u);
    EXPECT_EQ(c->members.size(), 1u);
    restore_channels(*store, removed);
    EXPECT_EQ(store->channels[0]->id, 10);
    EXPECT_EQ(a->members, before_a);
    EXPECT_EQ(store->channels[0]->group_count, 2);
}

TEST_F(ChannelGroupsTest, ShiftsFromTheDialogFields) {
    const time_gmt* gmt = nullptr;
    for (const auto& z : store->time_zones)
        if (z.caption.rfind("(00:00)", 0) == 0) gmt = &z;
    ASSERT_TRUE(gmt);
    struct Case {
        shift_fields fields;
        std::string text;
        int minutes;
        int plus;
    };
    const Case cases[] = {
        {zone_to_fields(*gmt), "00:00", 0, 0},
        {{false, "01", "30"}, "-01:30", 90, 0},
        {{true, "3", "5"}, "+03:05", 185, 1},
    };
    auto g = group_of({10});
    auto& m = *g->members[0];
    for (const auto& c : cases) {
        set_shift(m, make_shift_text(c.fields.hours, c.fields.minutes, c.fields.plus));
        EXPECT_EQ(m.shift_text, c.text);
        EXPECT_EQ(m.shift, DateTime::fromMinutes(c.minutes));
        EXPECT_EQ(m.shift_plus, c.plus);
        const auto back = shift_fields_of(m);
        EXPECT_EQ(make_shift_text(back.hours, back.minutes, back.plus), c.text);
    }
}

TEST_F(ChannelGroupsTest, NumberingGivesPositions) {
    auto g = group_of({10, 20, 30});
    number_members(*g);
    EXPECT_EQ(g->members[0]->button, "1");
    EXPECT_EQ(g->members[2]->button, "3");
}

TEST(ListRows, MoveAndTakeAreExactInverses) {
    const std::vector<int> start{0, 1, 2, 3, 4};
    for (std::size_t from = 0; from < 5; ++from)
        for (std::size_t to = 0; to < 5; ++to) {
            auto v = start;
            EXPECT_EQ(move_row(v, from, to), from != to);
            EXPECT_EQ(v[to], int(from));
            move_row(v, to, from);
            EXPECT_EQ(v, start);
        }
    auto v = start;
    EXPECT_FALSE(move_row(v, 0, 5));
    const auto taken = take_rows(v, {4, 0, 2});
    EXPECT_EQ(v, (std::vector<int>{1, 3}));
    put_rows(v, taken);
    EXPECT_EQ(v, start);
}

}  // namespace
}  // namespace zt
