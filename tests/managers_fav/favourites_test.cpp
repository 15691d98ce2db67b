#include "managers/logic/favourites.h"

#include <gtest/gtest.h>

#include "core/maintenance.h"
#include "fav_fixture.h"
#include "views/logic/row_commands.h"

namespace zt::test {
namespace {

using namespace zt::managers;

// Two channels that both show "Новости"; channel one has three of them and a film.
class FavouritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        one = store->add_channel(1, "Один"_cp, "", "00000000", -1);
        two = store->add_channel(2, "Два"_cp, "", "00000000", -1);
        add_prog(*store, *one, 1, "2026-12-10 08:00", "Новости");
        add_prog(*store, *one, 2, "2026-12-10 09:00", "Кино");
        add_prog(*store, *one, 3, "2026-12-10 12:00", "НОВОСТИ");
        add_prog(*store, *one, 4, "2026-12-10 18:00", "новости");
        add_prog(*store, *two, 5, "2026-12-10 08:00", "Новости");
    }
    std::shared_ptr<FixedClock> clock;
    std::unique_ptr<all_list> store = make_store(at("2026-12-10 12:00"), &clock);
    std::shared_ptr<chl_serv_list> one, two;

    int linked(const chl_serv_list& c, const love_list* entry) const {
        int n = 0;
        for (const auto& p : c.tvprog) n += p->love.get() == entry;
        return n;
    }
};

TEST_F(FavouritesTest, AddLinksTheProgrammesOfItsChannelOnlyAndIsRefusedTwice) {
    const std::string start = store_text(*store);
    const auto added = add_love_title(*one, "новости"_cp, 1, clock->now());
    ASSERT_TRUE(added);
    EXPECT_EQ(added->entry->id, 1);
    EXPECT_EQ(linked(*one, added->entry.get()), 3);
    EXPECT_EQ(linked(*two, nullptr), 1);
    EXPECT_EQ(love_channels(*store), std::vector<int>{0});

    struct Case {
        const char* title;
        LoveTitleError error;
    };
    for (const auto& c :
         {Case{"НОВОСТИ", LoveTitleError::duplicate}, Case{"", LoveTitleError::empty}}) {
        LoveTitleError error = LoveTitleError::none;
        EXPECT_FALSE(add_love_title(*one, to_cp1251(c.title), 0, clock->now(), &error));
        EXPECT_EQ(error, c.error) << c.title;
    }
    remove_added_love(*one, *added);
    EXPECT_EQ(store_text(*store), start);
}

TEST_F(FavouritesTest, DeleteUnlinksAndUndoGivesBackTheExactStore) {
    add_love_title(*one, "Кино"_cp, 0, clock->now());
    add_love_title(*one, "Новости"_cp, 1, clock->now());
    add_love_title(*two, "Новости"_cp, 1, clock->now());
    const std::string start = store_text(*store);
    const auto news = one->love[1];

    const auto dropped = delete_love_entries(*one, {1, 1, 0, 7});
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(dropped[1].links.size(), 3u);
    EXPECT_TRUE(one->love.empty());
    EXPECT_EQ(linked(*one, nullptr), 4);  // all four are ordinary programmes now
    EXPECT_EQ(linked(*two, two->love[0].get()), 1);
    EXPECT_EQ(love_channels(*store), std::vector<int>{1});

    undelete_love_entries(*one, dropped);
    EXPECT_EQ(store_text(*store), start);
    EXPECT_EQ(one->love[1], news);  // the same entry the programmes point at
    EXPECT_EQ(linked(*one, news.get()), 3);
}

TEST_F(FavouritesTest, SwitchingKindKeepsLinksAndRemindersFollowOnlyLaterLinks) {
    for (const bool alarm_setting : {false, true}) {
        SCOPED_TRACE(alarm_setting);
        auto s = make_store(at("2026-12-10 12:00"));
        auto c = s->add_channel(1, "Один"_cp, "", "00000000", -1);
        add_prog(*s, *c, 1, "2026-12-10 08:00", "Новости");
        add_love_title(*c, "Новости"_cp, 0, s->clock().now());
        const auto changes = set_love_liked(*c, {0}, 1);
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].before, 0);
        EXPECT_EQ(c->tvprog[0]->love, c->love[0]);
        EXPECT_EQ(c->tvprog[0]->alarm, 0);  // already linked: no reminder from the switch

        // A programme with that title arriving later is linked by the download's step.
        add_prog(*s, *c, 2, "2026-12-11 08:00", "НОВОСТИ");
        MaintenanceOptions options;
        options.alarm_on_liked = alarm_setting;
        Recorder progress;
        link_love(*s, options, progress);
        EXPECT_EQ(c->tvprog[1]->love, c->love[0]);
        EXPECT_EQ(c->tvprog[1]->alarm, alarm_setting ? 1 : 0);
        EXPECT_EQ(c->tvprog[0]->alarm, 0);
    }
}

TEST_F(FavouritesTest, EditRelinksByTheNewTitleAndUndoes) {
    add_love_title(*one, "Новости"_cp, 1, clock->now());
    add_love_title(*one, "Сериал"_cp, 0, clock->now());
    const std::string start = store_text(*store);

    LoveTitleError error = LoveTitleError::none;
    EXPECT_FALSE(edit_love_entry(*one, 1, "новости"_cp, 0, &error));
    EXPECT_EQ(error, LoveTitleError::duplicate);

    // Another letter case of its own title is no duplicate and keeps the links.
    auto same = edit_love_entry(*one, 0, "НОВОСТИ"_cp, 0);
    ASSERT_TRUE(same);
    EXPECT_EQ(linked(*one, one->love[0].get()), 3);
    undo_love_edit(*one, *same);
    EXPECT_EQ(store_text(*store), start);

    const auto edited = edit_love_entry(*one, 0, "кино"_cp, 1);
    ASSERT_TRUE(edited);
    EXPECT_EQ(linked(*one, one->love[0].get()), 1);
    EXPECT_EQ(one->tvprog[1]->love, one->love[0]);
    EXPECT_EQ(linked(*one, nullptr), 3);
    undo_love_edit(*one, *edited);
    EXPECT_EQ(store_text(*store), start);

    EXPECT_TRUE(move_love_entry(*one, 0, 1));
    EXPECT_EQ(to_utf8(one->love[0]->title), "Сериал");
    EXPECT_FALSE(move_love_entry(*one, 1, 2));
    move_love_entry(*one, 1, 0);
    EXPECT_EQ(store_text(*store), start);
}

TEST_F(FavouritesTest, PeriodsSelectEntriesSeenBeforeNowMinusTheDays) {
    const DateTime now = clock->now();
    for (int days : {3, 10, 40}) {
        auto e = add_love_title(*one, "t" + std::to_string(days), 1, now.addDays(-days));
        ASSERT_TRUE(e);
    }
    struct Case {
        int days;
        std::vector<int> rows;
    };
    for (const auto& c : {Case{7, {1, 2}}, Case{31, {2}}, Case{365, {}}, Case{3, {1, 2}}}) {
        EXPECT_EQ(rows_seen_before(*one, now, c.days), c.rows) << c.days;
    }
    EXPECT_EQ(love_periods()[3].days, 31);
}

TEST_F(FavouritesTest, ProgrammeListCommandsAndTheManagerAgree) {
    // "Любимая" in the programme list and an add in the manager make the same store...
    auto other = make_store(at("2026-12-10 12:00"));
    auto c = other->add_channel(1, "Один"_cp, "", "00000000", -1);
    other->add_channel(2, "Два"_cp, "", "00000000", -1);
    for (const auto& p : one->tvprog) c->tvprog.push_back(std::make_shared<tvprog_serv_list>(*p));
    for (const auto& p : two->tvprog)
        other->channels[1]->tvprog.push_back(std::make_shared<tvprog_serv_list>(*p));
    ASSERT_EQ(store_text(*store), store_text(*other));

    ASSERT_TRUE(views::ToggleLove(*one, *one->tvprog[2], 1, clock->now()));
    ASSERT_TRUE(add_love_title(*c, one->tvprog[2]->title, 1, clock->now()));
    EXPECT_EQ(store_text(*store), store_text(*other));

    // ...and so do "Не любимая" there and switching here, and a second toggle and a delete.
    views::ToggleLove(*one, *one->tvprog[0], 0, clock->now());
    set_love_liked(*c, {0}, 0);
    EXPECT_EQ(store_text(*store), store_text(*other));
    views::ToggleLove(*one, *one->tvprog[3], 0, clock->now());
    delete_love_entries(*c, {0});
    EXPECT_EQ(store_text(*store), store_text(*other));
    EXPECT_EQ(linked(*one, nullptr), 4);
}

}  // namespace
}  // namespace zt::test
