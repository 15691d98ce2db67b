#include <gtest/gtest.h>

#include "test_support.h"
#include "views/logic/channel_choice.h"

namespace zt {
namespace {

class ChannelChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 1; i <= 4; ++i)
            store->add_channel(i, "C" + std::to_string(i), "", "ABCDEFGH", -1);
        for (int g = 0; g < 2; ++g) {
            auto group = store->add_chl_group(-1, "", "");
            for (int i = 1; i <= 4 - g; ++i)
                store->add_chl_local(*group, -1, i, nullptr, "", "", "", "", -1);
        }
    }
    std::string flags(int group) const {
        std::string s;
        for (const auto& m : store->chl_groups[std::size_t(group)]->members)
            s += char('0' + m->selected);
        return s;
    }
    std::unique_ptr<all_list> store = test::make_store(test::at("2026-12-10 12:00"));
    ChannelChoice choice{*store};
};

TEST_F(ChannelChoiceTest, GroupSwitchInSingleAndMultipleChoice) {
    choice.select_group(0);
    EXPECT_EQ(flags(0), "1111");
    choice.set_choice_mode(true);
    EXPECT_EQ(flags(0), "1000");
    choice.select_group(1);
    EXPECT_EQ(store->cur_group, 1);
    EXPECT_EQ(flags(1), "100");
    choice.select_group(7);  // no such group: nothing is shown
    EXPECT_EQ(choice.current_group(), nullptr);
    EXPECT_FALSE(choice.toggle_channel(0));
}

TEST_F(ChannelChoiceTest, ToggleAndBulkCommands) {
    choice.select_group(0);
    choice.set_choice_mode(true);
    choice.toggle_channel(2);
    EXPECT_EQ(flags(0), "0010");
    EXPECT_FALSE(choice.toggle_channel(4));  // outside the members: ignored
    // "Инверсия" in single choice switches to multiple choice first, then inverts.
    choice.bulk_command(ChannelChoice::Invert);
    EXPECT_FALSE(choice.single());
    EXPECT_EQ(flags(0), "1101");
    choice.toggle_channel(0);
    EXPECT_EQ(flags(0), "0101");
    choice.choose_first();
    EXPECT_EQ(flags(0), "1101");
    choice.bulk_command(ChannelChoice::None);
    EXPECT_EQ(flags(0), "0000");
    choice.bulk_command(ChannelChoice::All);
    EXPECT_EQ(flags(0), "1111");
    // Multiple choice keeps the flags; keypad "/" flips to single choice.
    EXPECT_FALSE(choice.set_choice_mode(false));
    EXPECT_EQ(flags(0), "1111");
    choice.flip_choice_mode();
    EXPECT_TRUE(choice.single());
    EXPECT_EQ(flags(0), "1000");
}

TEST(ChannelMenu, ColumnBreaksWithTwentyPerColumn) {
    const auto starts = menu_column_starts(60, 20);
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < starts.size(); ++i)
        if (starts[i]) at.push_back(i);
    // The first column holds the four fixed items and 16 channels, every further one 20.
    EXPECT_EQ(at, (std::vector<std::size_t>{16, 36, 56}));
    EXPECT_EQ(menu_column_starts(16, 20), std::vector<bool>(16, false));
}

TEST(ChannelMenu, CaptionsWithAndWithoutNumber) {
    chl_local_list m;
    m.name = "Звезда";
    EXPECT_EQ(channel_menu_caption(m), "Звезда");
    EXPECT_EQ(channel_button_hint(m), "Звезда");
    m.button = "5";
    EXPECT_EQ(channel_menu_caption(m), "Звезда [5]");
    EXPECT_EQ(channel_button_hint(m), "[5] Звезда");
}

}  // namespace
}  // namespace zt
