#include <gtest/gtest.h>

#include "core/genres.h"
#include "test_support.h"
#include "views/logic/genre_filter.h"

namespace zt {
namespace {

class GenreFilterTest : public ::testing::Test {
protected:
    std::unique_ptr<all_list> store = test::make_store(test::at("2026-12-10 12:00"));
    GenreFilter filter{*store};
    int count_on() const {
        int n = 0;
        for (const auto& t : store->types) n += t->filter_on;
        return n;
    }
    bool all_system(bool value) const {
        for (bool b : filter.system().on)
            if (b != value) return false;
        return true;
    }
};

TEST_F(GenreFilterTest, OneSubGenreOffChangesOverlayAndClearsSystemCategories) {
    EXPECT_EQ(family_overlay_icon(*store, 5), 13);
    filter.set_genre(36, false);  // "Бокс"
    EXPECT_EQ(family_overlay_icon(*store, 5), 14);
    EXPECT_EQ(family_filter_state(*store, 5), 0);
    EXPECT_TRUE(all_system(false));
    filter.family_command(2, 31);  // "Снять со всех" of "Спорт"
    EXPECT_EQ(family_overlay_icon(*store, 5), 15);
    EXPECT_EQ(family_filter_state(*store, 5), -1);
    EXPECT_EQ(family_filter_state(*store, 2), 1);
    filter.family_command(1, 31);  // "Инверсия" of "Спорт"
    EXPECT_EQ(family_filter_state(*store, 5), 1);
}

TEST_F(GenreFilterTest, GlobalCommands) {
    filter.all_command(2);
    EXPECT_EQ(count_on(), 0);
    EXPECT_TRUE(all_system(false));  // the tables become empty
    filter.all_command(0);
    EXPECT_EQ(count_on(), kGenreCount);
    EXPECT_TRUE(all_system(true));
    filter.set_genre(10, false);
    filter.all_command(1);
    EXPECT_EQ(count_on(), 1);
    EXPECT_EQ(store->types[9]->filter_on, 1);
    EXPECT_TRUE(all_system(true));
}

TEST_F(GenreFilterTest, GenreGroupShowsExactlyItsGenres) {
    auto g = add_type_group(*store, -1, "Кино");
    add_type_group_member(*g, 10, 9);
    add_type_group_member(*g, 21, 20);
    filter.choose_group(0);
    EXPECT_EQ(filter.checked_group(), 0);
    EXPECT_EQ(count_on(), 2);
    EXPECT_EQ(store->types[9]->filter_on, 1);
    EXPECT_EQ(store->types[20]->filter_on, 1);
    EXPECT_TRUE(all_system(true));
    filter.toggle_system(SystemCategory::Mark);
    EXPECT_FALSE(filter.system()[SystemCategory::Mark]);
    filter.set_genre(10, false);  // any genre command unchecks the group
    EXPECT_EQ(filter.checked_group(), -1);
}

}  // namespace
}  // namespace zt
