// Times the five maintenance steps on the large generated profile and on the same profile with
// twice as many days per channel, in one run. Prints each step's time per programme and the
// growth ratio when the programmes per channel double (linear work gives about 2.0).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "core/genres.h"
#include "core/maintenance.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "tools/gen/schedule_generator.h"

namespace {

using namespace zt;

struct Step {
    const char* name;
    std::function<void(all_list&, Progress&)> run;
};

std::unique_ptr<all_list> make(const gen::Profile& profile, DateTime anchor,
                               const std::shared_ptr<FixedClock>& clock) {
    auto store = std::make_unique<all_list>(clock);
    build_types(*store);
    clock->set(anchor);
    gen::generate(*store, profile, anchor);
    // Maintenance runs a week later, so the oldest week is purged and favourites expire.
    clock->set(anchor.addDays(7));
    return store;
}

std::size_t programmes(const all_list& s) {
    std::size_t n = 0;
    for (const auto& c : s.channels) n += c->tvprog.size();
    return n;
}

}  // namespace

int main() {
    const DateTime anchor = *DateTime::fromParts(2026, 12, 10, 12, 0);
    MaintenanceOptions options;
    options.alarm_on_liked = true;
    options.rating_alarm = true;
    options.love_keep_days = 30;
    const std::vector<Step> steps = {
        {"link_tvprog_parts", [](all_list& s, Progress& p) { link_tvprog_parts(s, p); }},
        {"link_love", [&](all_list& s, Progress& p) { link_love(s, options, p); }},
        {"purge_old", [](all_list& s, Progress& p) { purge_old(s, p); }},
        {"expire_love", [&](all_list& s, Progress& p) { expire_love(s, options, p); }},
        {"set_rating_alarms", [&](all_list& s, Progress& p) { set_rating_alarms(s, options, p); }},
    };

    gen::Profile base = gen::profile_by_name("large");
    gen::Profile doubled = base;
    doubled.days *= 2;
    doubled.name = "large x2 days";

    NullProgress progress;
    auto clock = std::make_shared<FixedClock>(anchor);
    constexpr int kRounds = 3;
    std::vector<double> best[2];
    std::size_t counts[2] = {0, 0};
    for (int which = 0; which < 2; ++which) {
        best[which].assign(steps.size(), 1e30);
        for (int round = 0; round < kRounds; ++round) {
            auto store = make(which == 0 ? base : doubled, anchor, clock);
            counts[which] = programmes(*store);
            for (std::size_t i = 0; i < steps.size(); ++i) {
                const auto t0 = std::chrono::steady_clock::now();
                steps[i].run(*store, progress);
                const auto t1 = std::chrono::steady_clock::now();
                best[which][i] =
                    std::min(best[which][i], std::chrono::duration<double>(t1 - t0).count());
            }
        }
    }

    std::printf("programmes: large %zu, large with twice the days %zu\n", counts[0], counts[1]);
    std::printf("%-18s %12s %12s %12s %12s %8s\n", "step", "large ms", "ns/prog", "x2 ms",
                "ns/prog", "growth");
    double total = 0;
    bool ok = true;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const double a = best[0][i], b = best[1][i];
        total += a;
        const double growth = b / std::max(a, 1e-9);
        if (growth > 2.5) ok = false;
        std::printf("%-18s %12.2f %12.1f %12.2f %12.1f %8.2f\n", steps[i].name, a * 1e3,
                    a * 1e9 / double(counts[0]), b * 1e3, b * 1e9 / double(counts[1]), growth);
    }
    std::printf("five steps on large: %.1f ms (target < 200 ms); growth target <= 2.5: %s\n",
                total * 1e3, ok ? "met" : "NOT met");
    return 0;
}
