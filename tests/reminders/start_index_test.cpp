// The indexed scan of the minute tick gives exactly the hits of the walk over every
// programme, also after the schedule changed under the index kept between scans.
#include <gtest/gtest.h>

#include <random>

#include "core/store.h"
#include "reminders/logic/alarm_check.h"
#include "reminders/logic/start_index.h"
#include "storage/settings.h"
#include "test_support.h"
#include "tools/gen/schedule_generator.h"

namespace zt::test {
namespace {

void expect_same_scans(const all_list& store, const Settings& settings, DateTime from,
                       reminders::StartIndex& index, const char* when) {
    for (int m = 0; m < 24 * 60; m += 1) {
        const DateTime now = from.addMinutes(m);
        const auto walk = reminders::AlarmCheck(store, settings, now);
        const auto indexed = reminders::AlarmCheck(store, settings, now, index);
        ASSERT_EQ(walk.hits, indexed.hits) << when << " minute " << m;
        ASSERT_EQ(walk.TrayText, indexed.TrayText) << when << " minute " << m;
    }
}

TEST(StartIndex, SameHitsAsTheWalkBeforeAndAfterChanges) {
    const DateTime now = at("2026-03-11 00:00:30");
    auto store = make_store(now);
    gen::generate(*store, gen::profile_by_name("small"), now);
    std::mt19937 rng(7);
    for (const auto& c : store->channels)
        for (const auto& p : c->tvprog) p->alarm = rng() % 3 == 0;
    Settings settings;
    settings.alarm_switches.tray = true;
    reminders::StartIndex index;
    expect_same_scans(*store, settings, now, index, "generated");

    // The schedule changes between scans: a day downloaded again with other times, flags
    // toggled, a shift edited, a channel deleted.
    auto& c = *store->channels[1];
    const std::size_t before = c.tvprog.size();
    store->clear_day_tvprog(c, "2026-03-11");
    ASSERT_LT(c.tvprog.size(), before);
    for (int i = 0; i < 24; ++i) {
        const DateTime s = *DateTime::fromParts(2026, 3, 11, i, 7);
        store->add_tvprog(c, {.id = 9000 + i,
                              .start = s,
                              .finish = s.addMinutes(50),
                              .title = "Новое",
                              .alarm = std::uint8_t(i % 2)});
    }
    for (const auto& p : store->channels[0]->tvprog) p->alarm = !p->alarm;
    auto& member = *store->chl_groups[0]->members[0];
    member.shift = DateTime::fromMinutes(90);
    member.shift_plus = 1;
    store->delete_channel(2);
    expect_same_scans(*store, settings, now, index, "changed");

    settings.alarm_switches.all_programmes = true;
    expect_same_scans(*store, settings, now, index, "all programmes");
}

}  // namespace
}  // namespace zt::test
