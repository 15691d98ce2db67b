#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/maintenance.h"
#include "test_support.h"

namespace zt {
namespace {

using test::at;

class MaintenanceTest : public ::testing::Test {
protected:
    // Thursday 10 December 2026: Monday is the 7th, the purge limit is Sunday 29 November.
    std::unique_ptr<all_list> store = test::make_store(at("2026-12-10 12:00"));
    test::Recorder progress;
    MaintenanceOptions options;

    chl_serv_list& channel(std::int32_t id) {
        return *store->add_channel(id, "C" + std::to_string(id), "", "ABCDEFGH", -1);
    }
    std::shared_ptr<tvprog_serv_list> prog(chl_serv_list& c, std::int32_t id, const char* start,
                                           std::uint8_t continued = 0,
                                           const std::string& title = "t", std::int32_t rating = 0,
                                           std::int32_t anons = -1) {
        return store->add_tvprog(c, {.id = id,
                                     .continued = continued,
                                     .start = at(start),
                                     .finish = at(start).addMinutes(30),
                                     .type_family = 1,
                                     .type_sub = 1,
                                     .rating = rating,
                                     .title = title,
                                     .anons_id = anons});
    }
};

TEST_F(MaintenanceTest, ContinuedPartsLinkToTheNextWithTheSameId) {
    auto& c = channel(1);
    auto a = prog(c, 7, "2026-12-10 10:00", 1);
    auto other = prog(c, 8, "2026-12-10 10:30", 1);  // no later id 8: continued is cleared
    auto b = prog(c, 7, "2026-12-10 11:00", 1);
    auto d = prog(c, 7, "2026-12-10 12:00", 0);
    a->next_part = d;  // stale links are reset
    link_tvprog_parts(*store, progress);
    EXPECT_EQ(a->next_part.lock(), b);
    EXPECT_EQ(b->next_part.lock(), d);
    EXPECT_FALSE(d->next_part.lock());
    EXPECT_EQ(other->continued, 0);
    EXPECT_FALSE(other->next_part.lock());
    EXPECT_EQ(a->continued, 1);
}

TEST_F(MaintenanceTest, FavouritesLinkCaseInsensitivelyWithinTheirChannel) {
    auto& c1 = channel(1);
    auto& c2 = channel(2);
    auto liked = store->add_love(c1, -1, "Новости"_cp, 1, at("2026-11-01"));
    auto disliked = store->add_love(c2, -1, "Футбол"_cp, 0, at("2026-11-01"));
    auto news = prog(c1, 1, "2026-12-10 10:00", 0, "НОВОСТИ"_cp);
    auto news_other = prog(c2, 2, "2026-12-10 10:00", 0, "Новости"_cp);
    auto football = prog(c2, 3, "2026-12-10 11:00", 0, "футбол"_cp);

    link_love(*store, options, progress);
    EXPECT_EQ(news->love, liked);
    EXPECT_FALSE(news_other->love);  // never another channel's entry
    EXPECT_EQ(football->love, disliked);
    EXPECT_EQ(liked->seen, at("2026-12-10"));
    EXPECT_EQ(news->alarm, 0);  // the option is off

    options.alarm_on_liked = true;
    auto later = prog(c1, 4, "2026-12-11 10:00", 0, "новости"_cp);
    auto football2 = prog(c2, 5, "2026-12-11 11:00", 0, "ФУТБОЛ"_cp);
    link_love(*store, options, progress);
    EXPECT_EQ(later->alarm, 1);
    EXPECT_EQ(football2->alarm, 0);  // a disliked title never sets a reminder
    EXPECT_EQ(news->alarm, 0);       // already linked programmes are left alone
}

TEST_F(MaintenanceTest, PurgeKeepsTheLimitMinuteAndRemovesOlderWithTheirAnnouncements) {
    auto& c = channel(1);
    store->add_anons(c, 1, "old", "");
    store->add_anons(c, 2, "kept", "");
    auto before = prog(c, 1, "2026-11-28 23:59", 0, "t", 0, 1);
    auto limit = prog(c, 2, "2026-11-29 00:00", 0, "t", 0, 2);
    // A programme that still refers to a purged announcement keeps it usable.
    auto sharer = prog(c, 3, "2026-12-01 10:00", 0, "t", 0, 1);
    store->add_dt_local(c, "2026-11-28", 1, 1);
    store->add_dt_local(c, "2026-11-29", 1, 1);

    purge_old(*store, progress);
    ASSERT_EQ(c.tvprog.size(), 2u);
    EXPECT_EQ(c.tvprog[0], limit);
    ASSERT_EQ(c.anons.size(), 1u);
    EXPECT_EQ(c.anons[0]->id, 2);
    ASSERT_TRUE(sharer->anons);
    EXPECT_EQ(sharer->anons->text, "old");
    ASSERT_EQ(c.dates.size(), 1u);
    EXPECT_EQ(c.dates[0].date, "2026-11-29");
}

TEST_F(MaintenanceTest, PurgeLimitOnSundayAndMonday) {
    for (const char* today : {"2026-12-13 22:00", "2026-12-07 01:00"}) {
        auto s = test::make_store(at(today));
        auto& c = *s->add_channel(1, "c", "", "ABCDEFGH", -1);
        s->add_tvprog(c, {.id = 1,
                          .start = at("2026-11-28 23:59"),
                          .finish = at("2026-11-29 00:30"),
                          .title = "a"});
        s->add_tvprog(c, {.id = 2,
                          .start = at("2026-11-29 00:00"),
                          .finish = at("2026-11-29 00:30"),
                          .title = "b"});
        purge_old(*s, progress);
        ASSERT_EQ(c.tvprog.size(), 1u) << today;
        EXPECT_EQ(c.tvprog[0]->id, 2) << today;
    }
}

TEST_F(MaintenanceTest, ExpireFavouritesOlderThanTheKeepPeriod) {
    auto& c = channel(1);
    auto kept = store->add_love(c, -1, "a", 1, at("2026-11-10"));  // exactly 30 days ago
    auto gone = store->add_love(c, -1, "b", 1, at("2026-11-09"));
    auto linked = prog(c, 1, "2026-12-10 10:00");
    linked->love = gone;
    options.love_keep_days = 30;
    expire_love(*store, options, progress);
    ASSERT_EQ(c.love.size(), 1u);
    EXPECT_EQ(c.love[0], kept);
    EXPECT_EQ(linked->love->title, "b");  // still valid for the programme
}

TEST_F(MaintenanceTest, RatingReminderAboveTheThresholdOnly) {
    auto& c = channel(1);
    auto r75 = prog(c, 1, "2026-12-10 10:00", 0, "t", 75);
    auto r76 = prog(c, 2, "2026-12-10 11:00", 0, "t", 76);
    set_rating_alarms(*store, options, progress);
    EXPECT_EQ(r76->alarm, 0);  // switched off
    options.rating_alarm = true;
    set_rating_alarms(*store, options, progress);
    EXPECT_EQ(r75->alarm, 0);
    EXPECT_EQ(r76->alarm, 1);
    options.rating_threshold = "abc";  // no number: threshold 0
    set_rating_alarms(*store, options, progress);
    EXPECT_EQ(r75->alarm, 1);
}

TEST_F(MaintenanceTest, StepsReportPerChannelProgress) {
    for (int i = 0; i < 4; ++i) channel(i);
    run_maintenance(*store, options, progress, true);
    // Four reporting steps (rating alarms are off), each 0, 25, 50, 75.
    ASSERT_EQ(progress.percents.size(), 16u);
    EXPECT_EQ(std::vector<int>(progress.percents.begin(), progress.percents.begin() + 4),
              (std::vector<int>{0, 25, 50, 75}));
}

}  // namespace
}  // namespace zt
