#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/genres.h"
#include "test_support.h"

namespace zt {
namespace {

class GenresTest : public ::testing::Test {
protected:
    std::unique_ptr<all_list> store = test::make_store(test::at("2026-12-10 12:00"));
};

TEST_F(GenresTest, CatalogueLookups) {
    ASSERT_EQ(store->types.size(), std::size_t(kGenreCount));
    struct Case {
        int family, sub, id;
        const char* name;
    } cases[] = {{2, 4, 10, "Комедия"},
                 {3, 4, 22, "Мелодрама"},
                 {1, -1, 1, "Информация"},
                 {5, 15, 47, "Футбол"},
                 {8, 3, 63, "Спектакли"}};
    for (const auto& c : cases) {
        const auto* t = store->find_type(c.family, c.sub);
        ASSERT_TRUE(t) << c.family << "/" << c.sub;
        EXPECT_EQ(t->id, c.id);
        EXPECT_EQ(to_utf8(t->name), c.name);
    }
    EXPECT_FALSE(store->find_type(0, 0));
    EXPECT_FALSE(store->find_type(2, 11));
    for (std::size_t i = 0; i < store->types.size(); ++i) {
        EXPECT_EQ(store->types[i]->id, int(i) + 1);
        EXPECT_EQ(store->types[i]->image >= 0, store->types[i]->sub == -1);
    }
}

TEST_F(GenresTest, FamilyFilterStateIgnoresTheFamilyRow) {
    auto set_sport = [&](bool on, bool only_box) {
        for (auto& t : store->types)
            if (t->family == 5 && t->sub != -1 && (!only_box || t->id == 36))
                t->filter_on = on ? 1 : 0;
    };
    EXPECT_EQ(family_filter_state(*store, 5), 1);
    set_sport(false, true);
    EXPECT_EQ(family_filter_state(*store, 5), 0);
    set_sport(false, false);
    EXPECT_EQ(family_filter_state(*store, 5), -1);
    store->types[30]->filter_on = 1;  // the family row "Спорт" itself
    EXPECT_EQ(family_filter_state(*store, 5), -1);
}

TEST_F(GenresTest, GenreGroupsAndCounts) {
    store->type_groups.clear();
    add_type_group(*store, 2, "a");
    add_type_group(*store, 5, "b");
    auto g = add_type_group(*store, -1, "");
    EXPECT_EQ(g->id, 6);
    EXPECT_EQ(to_utf8(g->name), "Новая 6");
    add_type_group_member(*g, 9, 8);
    add_type_group_member(*g, 20, 19);
    add_type_group_member(*g, 20, 19);
    EXPECT_EQ(type_group_count(*store, *store->types[8]), "1");
    EXPECT_EQ(type_group_count(*store, *store->types[19]), "1");
    EXPECT_EQ(type_group_count(*store, *store->types[9]), "0");
}

}  // namespace
}  // namespace zt
