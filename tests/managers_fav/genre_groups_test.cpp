#include "managers/logic/genre_groups.h"

#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/genres.h"
#include "fav_fixture.h"
#include "managers/logic/short_text.h"

namespace zt::test {
namespace {

using namespace zt::managers;

// Catalogue rows: "Худ. фильмы" 4 (sub-genres 5..15), "Сериалы" 16, "Спорт" 30 (sub-genres
// 31..46), "Развлечения" 47.
constexpr int kFilms = 4, kSeries = 16, kSport = 30, kFun = 47;

class GenreGroupsTest : public ::testing::Test {
protected:
    std::unique_ptr<all_list> store = make_store(at("2026-12-10 12:00"));
    std::vector<int> rows_of(const std::vector<type_group_member>& members) {
        std::vector<int> rows;
        for (const auto& m : members) {
            EXPECT_EQ(m.type_id, store->types[m.row]->id);
            rows.push_back(m.row);
        }
        return rows;
    }
};

std::vector<int> range(int from, int to) {
    std::vector<int> r;
    for (int i = from; i <= to; ++i) r.push_back(i);
    return r;
}

TEST_F(GenreGroupsTest, CarryRuleTicksFamiliesAndNeverLeavesAFamilyRowTicked) {
    struct Case {
        const char* what;
        std::vector<int> ticked;
        std::vector<int> members;
    };
    const std::vector<Case> cases = {
        {"family Спорт in an empty group", {kSport}, range(kSport + 1, kSport + 16)},
        {"one sub-genre", {kFilms + 5}, {kFilms + 5}},
        {"family with one sub-genre already ticked",
         {kSeries, kSeries + 2},
         range(kSeries + 1, kSeries + 7)},
        {"unticked family keeps its sub-genres", {kSport + 3, kFun + 1}, {kSport + 3, kFun + 1}},
        {"two families",
         {kFilms, kSport},
         [] {
             auto r = range(kFilms + 1, kFilms + 11);
             auto s = range(kSport + 1, kSport + 16);
             r.insert(r.end(), s.begin(), s.end());
             return r;
         }()},
    };
    for (const auto& c : cases) {
        std::vector<bool> ticks(store->types.size(), false);
        for (int r : c.ticked) ticks[r] = true;
        carry_ticks(*store, ticks);
        EXPECT_EQ(rows_of(ticked_members(*store, ticks)), c.members) << c.what;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            if (store->types[i]->sub == -1) {
                EXPECT_FALSE(ticks[i]) << c.what << " row " << i;
            }
    }
}

TEST_F(GenreGroupsTest, MembershipCountsAndTickCommands) {
    auto a = create_type_group(*store);
    auto b = create_type_group(*store);
    std::vector<bool> ticks(store->types.size(), false);
    ticks[kSport] = true;
    carry_ticks(*store, ticks);
    const auto before = set_type_group_members(*a, ticked_members(*store, ticks));
    EXPECT_TRUE(before.empty());
    EXPECT_EQ(a->members.size(), 16u);
    set_type_group_members(*b, {{store->types[kSport + 2]->id, kSport + 2}});

    EXPECT_EQ(in_groups_text(*store, kSport), "");  // a family row
    EXPECT_EQ(in_groups_text(*store, kSport + 2), "2");
    EXPECT_EQ(in_groups_text(*store, kSport + 3), "1");
    EXPECT_EQ(in_groups_text(*store, kFilms + 1), "0");
    EXPECT_EQ(group_ticks(*store, b.get()), [&] {
        std::vector<bool> t(store->types.size(), false);
        t[kSport + 2] = true;
        return t;
    }());

    // The context menu: all sub-genres, their inverse, none; family rows never ticked.
    apply_tick_command(*store, ticks, TickCommand::all);
    EXPECT_EQ(ticked_members(*store, ticks).size(), std::size_t(kGenreCount - kFamilyCount));
    ticks.assign(ticks.size(), false);
    ticks[kSport + 1] = true;
    ticks[kSport] = true;
    apply_tick_command(*store, ticks, TickCommand::invert);
    EXPECT_FALSE(ticks[kSport]);
    EXPECT_FALSE(ticks[kSport + 1]);
    EXPECT_EQ(ticked_members(*store, ticks).size(), std::size_t(kGenreCount - kFamilyCount - 1));
    apply_tick_command(*store, ticks, TickCommand::none);
    EXPECT_TRUE(ticked_members(*store, ticks).empty());
}

TEST_F(GenreGroupsTest, GroupCommandsAndTheirInversesGiveBackTheExactStore) {
    add_type_group(*store, 2, "Вечер"_cp);
    add_type_group(*store, 5, "арт"_cp);
    add_type_group(*store, 3, "Вечер"_cp);
    set_type_group_members(*store->type_groups[0], {{10, 9}, {21, 20}});
    const std::string start = store_text(*store);

    auto created = create_type_group(*store);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->id, 6);
    EXPECT_EQ(to_utf8(created->name), "Новая 6");
    EXPECT_TRUE(created->members.empty());
    remove_type_group(*store, *created);
    EXPECT_EQ(store_text(*store), start);

    // Delete rows given in any order, with repeats and a row outside the list.
    const auto removed = delete_type_groups(*store, {2, 0, 2, 9});
    ASSERT_EQ(store->type_groups.size(), 1u);
    EXPECT_EQ(store->type_groups[0]->id, 5);
    undelete_type_groups(*store, removed);
    EXPECT_EQ(store_text(*store), start);

    EXPECT_TRUE(move_type_group(*store, 0, 2));
    EXPECT_EQ(store->type_groups[2]->id, 2);
    EXPECT_FALSE(move_type_group(*store, 2, 3));
    EXPECT_TRUE(move_type_group(*store, 2, 0));
    EXPECT_EQ(store_text(*store), start);

    // Case-sensitive Russian order; the two "Вечер" keep their order (ids 2, then 3).
    auto order = sort_type_groups(*store);
    std::vector<int> ids;
    for (const auto& g : store->type_groups) ids.push_back(g->id);
    EXPECT_EQ(ids, (std::vector<int>{5, 2, 3}));
    restore_type_group_order(*store, order);
    EXPECT_EQ(store_text(*store), start);

    const auto old_name = rename_type_group(*store, 1, "Кино"_cp);
    ASSERT_TRUE(old_name);
    EXPECT_EQ(to_utf8(*old_name), "арт");
    EXPECT_FALSE(rename_type_group(*store, 3, "x"));
    rename_type_group(*store, 1, *old_name);
    EXPECT_EQ(store_text(*store), start);
}

TEST_F(GenreGroupsTest, AbbreviationsAreCp1251OfAtMost255Bytes) {
    struct Case {
        std::string typed;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"Ком", true},
        {"", true},
        {"Д/ф №1", true},
        {std::string(255, 'a'), true},
        {std::string(256, 'a'), false},
        {[] {
             std::string s;
             for (int i = 0; i < 255; ++i) s += "ж";  // 510 UTF-8 bytes, 255 in CP1251
             return s;
         }(),
         true},
        {"日本", false},
        {"a€b", true},             // the euro sign is in the code page
        {"a\xE2\x82\xBD", false},  // the rouble sign is not
    };
    for (const auto& c : cases) {
        const auto cp = cp1251_text(c.typed, kShortTextBytes);
        EXPECT_EQ(cp.has_value(), c.accepted) << c.typed;
        if (cp) {
            EXPECT_EQ(to_utf8(*cp), c.typed);
        }
    }

    const auto before = set_type_abbr(*store, 9, "Ком"_cp);
    ASSERT_TRUE(before);
    EXPECT_EQ(*before, "");
    EXPECT_EQ(store->types[9]->abbr, "Ком"_cp);
    EXPECT_FALSE(set_type_abbr(*store, 9, std::string(256, 'a')));
    EXPECT_FALSE(set_type_abbr(*store, 63, "x"));
    EXPECT_EQ(store->types[9]->abbr, "Ком"_cp);
}

}  // namespace
}  // namespace zt::test
