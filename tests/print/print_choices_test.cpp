#include <gtest/gtest.h>

#include "print/logic/print_choices.h"

namespace zt::print {
namespace {

TEST(PrintChoicesTest, PageRangeIsCorrected) {
    struct Case {
        int from, to, pages;
        PageRange want;
    };
    const Case cases[] = {{5, 2, 3, {1, 3}}, {0, 0, 3, {1, 3}}, {2, 2, 3, {2, 2}},
                          {4, 9, 3, {1, 3}}, {3, 1, 3, {1, 3}}, {1, 1, 0, {1, 1}}};
    for (const auto& c : cases)
        EXPECT_EQ(normalize_page_range(c.from, c.to, c.pages), c.want)
            << c.from << ".." << c.to << " of " << c.pages;
}

TEST(PrintChoicesTest, ProfilesPresetTheirOptions) {
    PrintOptions o;
    o.new_day = true;
    o.rating = true;
    o.max_length = 20;
    apply_profile(o, 1);  // "экономичный"
    EXPECT_EQ(o.columns, 1);
    EXPECT_TRUE(o.one_line && o.merge_parts && o.mark_time);
    EXPECT_FALSE(o.new_day || o.rating || o.type_icons || o.finish_time);
    EXPECT_EQ(o.max_length, 999);
    apply_profile(o, 3);  // "красивый"
    EXPECT_EQ(o.columns, 4);
    EXPECT_TRUE(o.type_icons && o.mark_time);
    EXPECT_FALSE(o.one_line || o.merge_parts);
    apply_profile(o, 4);  // "для оповещений"
    EXPECT_EQ(o.columns, 3);
    EXPECT_TRUE(o.finish_time);
    EXPECT_FALSE(o.mark_time);
    PrintOptions before = o;
    before.columns = 7;
    o = before;
    apply_profile(o, 0);  // the empty item changes nothing
    EXPECT_EQ(o.columns, 7);
}

}  // namespace
}  // namespace zt::print
