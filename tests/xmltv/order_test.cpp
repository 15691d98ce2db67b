// The per-channel ordering window on its own: the same schedule comes out whatever the window
// and the memory limit, as long as each channel's disorder fits the window.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "xmltv/programme_order.h"

namespace zt::xmltv {
namespace {

Programme at(const char* channel, int minute) {
    Programme p;
    p.channel_id = QString::fromLatin1(channel);
    p.start = DateTime::fromMinutes(minute);
    return p;
}

TEST(XmltvOrder, WindowAndMemoryLimitDoNotChangeTheSchedule) {
    // Ten channels interleaved, each with starts every 10 minutes, neighbours swapped in pairs;
    // every third programme has its own (overlapping) stop.
    std::vector<std::pair<Programme, std::optional<DateTime>>> input;
    for (int i = 0; i < 40; ++i)
        for (const char* c : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}) {
            const int slot = i ^ 1;
            std::optional<DateTime> stop;
            if (slot % 3 == 1) stop = DateTime::fromMinutes(slot * 10 + 15);
            input.push_back({at(c, slot * 10), stop});
        }
    auto run = [&](std::size_t window, std::size_t max_held) {
        std::map<QString, std::vector<std::pair<std::int64_t, std::int64_t>>> out;
        ProgrammeOrder order(
            [&](Programme& p) {
                out[p.channel_id].push_back({p.start.minutes(), p.finish.minutes()});
            },
            window, max_held);
        for (const auto& [p, stop] : input) order.add(p, stop);
        order.finish();
        EXPECT_EQ(order.late(), 0);
        EXPECT_EQ(order.open_ended(), 10);
        return out;
    };
    const auto reference = run(8, 1000000);
    ASSERT_EQ(reference.size(), 10u);
    const auto& a = reference.at("a");
    ASSERT_EQ(a.size(), 39u);
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].first, std::int64_t(i) * 10);
        EXPECT_EQ(a[i].second, std::int64_t(i) * 10 + 10);  // cut at the next start
    }
    EXPECT_EQ(run(1, 1000000), reference);
    EXPECT_EQ(run(8, 5), reference);
}

}  // namespace
}  // namespace zt::xmltv
