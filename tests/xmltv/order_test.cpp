// The per-channel ordering window on its own: the same schedule comes out whatever the window
// and the memory limit, as long as each channel's disorder fits the window.
#include <gtest/gtest.h>

#include <algorithm>
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

// A channel given twice (two grabbers joined): whatever the window and the memory limit, the
// first copy keeps its programmes and the second fills the gaps, cut where the first goes on.
TEST(XmltvOrder, SecondCopyFillsGapsWhateverTheWindow) {
    std::vector<std::pair<Programme, std::optional<DateTime>>> input;
    auto add = [&](const char* title, int minute) {
        Programme p = at("a", minute);
        p.title = title;
        input.push_back({p, DateTime::fromMinutes(minute + 60)});
    };
    for (int h : {6, 7, 8, 9, 10, 11, 18, 19, 20, 21, 22, 23, 30, 31, 32}) add("A", h * 60);
    for (int h = 0; h < 36; ++h) add("B", h * 60 + 30);
    auto run = [&](std::size_t window, std::size_t max_held) {
        std::vector<std::string> out;
        ProgrammeOrder order(
            [&](Programme& p) {
                out.push_back(std::to_string(p.start.minutes()) + "-" +
                              std::to_string(p.finish.minutes()) + p.title);
            },
            window, max_held);
        for (const auto& [p, stop] : input) order.add(p, stop);
        order.finish();
        std::sort(out.begin(), out.end(), [](const std::string& x, const std::string& y) {
            return std::stoi(x) < std::stoi(y);
        });
        EXPECT_EQ(order.late(), 6 + 6 + 3);
        EXPECT_EQ(order.filled_gaps(), 6 + 6 + 6);
        return out;
    };
    std::vector<std::string> want;
    auto b = [&](int from, int cut) {
        for (int h = from; h < cut; ++h)
            want.push_back(std::to_string(h * 60 + 30) + "-" +
                           std::to_string(h + 1 < cut ? h * 60 + 90 : cut * 60) + "B");
    };
    auto a = [&](int from, int to) {
        for (int h = from; h < to; ++h)
            want.push_back(std::to_string(h * 60) + "-" + std::to_string(h * 60 + 60) + "A");
    };
    b(0, 6), a(6, 12), b(12, 18), a(18, 24), b(24, 30), a(30, 33);
    for (int h = 33; h < 36; ++h)  // past the first copy's end: an ordinary run
        want.push_back(std::to_string(h * 60 + 30) + "-" + std::to_string(h * 60 + 90) + "B");
    EXPECT_EQ(run(8, 1000000), want);
    EXPECT_EQ(run(1, 1000000), want);
    EXPECT_EQ(run(3, 4), want);
}

}  // namespace
}  // namespace zt::xmltv
