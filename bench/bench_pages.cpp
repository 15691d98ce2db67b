// The rebuild of each programme page and the search over the large generated profile with every
// channel of the group chosen, beside a plain pass over the same programmes (shift both times
// and compare them with the moment) measured in the same run. After the benchmarks a table
// gives every rebuild as a multiple of the plain pass.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "core/cp1251.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "tools/gen/schedule_generator.h"
#include "views/logic/program_list.h"

namespace {

using namespace zt;
using views::PageOptions;
using views::ProgramPage;

const DateTime kNow = *DateTime::fromParts(2026, 3, 11, 20, 0, 30);

struct Data {
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(kNow);
    all_list store{clock};
    std::size_t programmes = 0;
    explicit Data(int per_day_factor = 1) {
        build_types(store);
        build_time_zones(store);
        set_week(store);
        gen::Profile profile = gen::profile_by_name("large");
        profile.progs_per_day *= per_day_factor;
        gen::generate(store, profile, kNow);
        store.cur_group = 0;
        for (const auto& m : store.chl_groups[0]->members) programmes += m->chl->tvprog.size();
    }
};

Data& data() {
    static Data d;
    return d;
}

// The same profile with twice the programmes a day.
Data& doubled() {
    static Data d(2);
    return d;
}

PageOptions options(ProgramPage page, Data& d = data()) {
    PageOptions o;
    o.page = page;
    o.now = kNow;
    o.panels.group = 0;
    o.panels.chosen.assign(d.store.chl_groups[0]->members.size(), 1);
    return o;
}

void run_rebuild(benchmark::State& state, const PageOptions& o, Data& d = data()) {
    views::ProgramList list;
    for (auto _ : state) {
        list.rebuild(d.store, o);
        benchmark::DoNotOptimize(list.rows().data());
    }
    state.counters["rows"] = double(list.size());
    state.counters["programmes"] = double(d.programmes);
}

// The reference: every programme of every chosen member, both times shifted and compared.
void BM_PlainPass(benchmark::State& state) {
    auto& d = data();
    const auto& group = *d.store.chl_groups[0];
    for (auto _ : state) {
        std::size_t hits = 0;
        for (const auto& m : group.members) {
            for (const auto& p : m->chl->tvprog) {
                const DateTime s = apply_shift(*m, p->start);
                const DateTime f = apply_shift(*m, p->finish);
                hits += s <= kNow && kNow <= f;
            }
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["programmes"] = double(d.programmes);
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

void BM_Now(benchmark::State& state) {
    run_rebuild(state, options(ProgramPage::now));
}
BENCHMARK(BM_Now)->Unit(benchmark::kMillisecond);

void BM_SoonFromNow(benchmark::State& state) {
    run_rebuild(state, options(ProgramPage::soon));
}
BENCHMARK(BM_SoonFromNow)->Unit(benchmark::kMillisecond);

// "Сейчас" and "Скоро" with twice the programmes a day: the closing table sets each beside
// its rebuild on the ordinary profile.
void BM_NowDoubled(benchmark::State& state) {
    run_rebuild(state, options(ProgramPage::now, doubled()), doubled());
}
BENCHMARK(BM_NowDoubled)->Unit(benchmark::kMillisecond);

void BM_SoonFromNowDoubled(benchmark::State& state) {
    run_rebuild(state, options(ProgramPage::soon, doubled()), doubled());
}
BENCHMARK(BM_SoonFromNowDoubled)->Unit(benchmark::kMillisecond);

void BM_SoonAfterCurrentDoubled(benchmark::State& state) {
    auto o = options(ProgramPage::soon, doubled());
    o.soon.offset_kind = views::SoonOffset::from_current_end;
    o.soon.time_finish = "14:00";
    o.soon.line = 10;
    run_rebuild(state, o, doubled());
}
BENCHMARK(BM_SoonAfterCurrentDoubled)->Unit(benchmark::kMillisecond);

void BM_SoonAfterCurrent(benchmark::State& state) {
    auto o = options(ProgramPage::soon);
    o.soon.offset_kind = views::SoonOffset::from_current_end;
    o.soon.time_finish = "14:00";
    o.soon.line = 10;
    run_rebuild(state, o);
}
BENCHMARK(BM_SoonAfterCurrent)->Unit(benchmark::kMillisecond);

void BM_SoonTimesOfDay(benchmark::State& state) {
    auto o = options(ProgramPage::soon);
    o.soon.offset_kind = views::SoonOffset::times_of_day;
    o.soon.time_start = "18:00";
    o.soon.time_finish = "23:59";
    o.soon.line = 99;
    run_rebuild(state, o);
}
BENCHMARK(BM_SoonTimesOfDay)->Unit(benchmark::kMillisecond);

void BM_DaysToday(benchmark::State& state) {
    auto o = options(ProgramPage::days);
    o.days.days[std::size_t(views::day_button_of(kNow))] = true;
    run_rebuild(state, o);
}
BENCHMARK(BM_DaysToday)->Unit(benchmark::kMillisecond);

void BM_DaysWholeWeek(benchmark::State& state) {
    auto o = options(ProgramPage::days);
    o.days.days.fill(true);
    run_rebuild(state, o);
}
BENCHMARK(BM_DaysWholeWeek)->Unit(benchmark::kMillisecond);

void BM_DaysWholeWeekByDay(benchmark::State& state) {
    auto o = options(ProgramPage::days);
    o.days.days.fill(true);
    o.days.by_day = true;
    run_rebuild(state, o);
}
BENCHMARK(BM_DaysWholeWeekByDay)->Unit(benchmark::kMillisecond);

void BM_FindTitle(benchmark::State& state) {
    auto o = options(ProgramPage::find);
    o.find.text = "НОВОСТИ"_cp;
    run_rebuild(state, o);
}
BENCHMARK(BM_FindTitle)->Unit(benchmark::kMillisecond);

void BM_FindTitleNoHit(benchmark::State& state) {
    auto o = options(ProgramPage::find);
    o.find.text = "щщщ"_cp;
    run_rebuild(state, o);
}
BENCHMARK(BM_FindTitleNoHit)->Unit(benchmark::kMillisecond);

void BM_FindEverywhere(benchmark::State& state) {
    auto o = options(ProgramPage::find);
    o.find.text = "вести"_cp;
    o.find.mode = views::FindIn::everywhere;
    run_rebuild(state, o);
}
BENCHMARK(BM_FindEverywhere)->Unit(benchmark::kMillisecond);

// The minute tick on a whole week of "По дням": only the time left of the kept rows.
void BM_RefreshDaysWholeWeek(benchmark::State& state) {
    auto& d = data();
    auto o = options(ProgramPage::days);
    o.days.days.fill(true);
    views::ProgramList list;
    list.rebuild(d.store, o);
    for (auto _ : state) {
        list.refresh_times(kNow.addMinutes(1));
        benchmark::DoNotOptimize(list.rows().data());
    }
    state.counters["rows"] = double(list.size());
}
BENCHMARK(BM_RefreshDaysWholeWeek)->Unit(benchmark::kMillisecond);

// Collects the mean processor time per iteration of every benchmark for the closing table.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    std::map<std::string, double> times;  // in the benchmark's unit (ms)
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    data();  // generate once, outside the timings
    doubled();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto plain = reporter.times.find("BM_PlainPass");
    if (plain == reporter.times.end() || plain->second <= 0) return 0;
    std::printf("\nprogrammes of the chosen channels: %zu\n", data().programmes);
    std::printf("%-28s %10s %10s\n", "rebuild", "cpu ms", "x plain");
    for (const auto& [name, ms] : reporter.times)
        std::printf("%-28s %10.3f %10.2f\n", name.c_str(), ms, ms / plain->second);
    std::printf(
        "\nprogrammes a day doubled (%zu programmes): rebuild x the ordinary profile's "
        "(target <= 2.2)\n",
        doubled().programmes);
    for (const char* name : {"BM_Now", "BM_SoonFromNow", "BM_SoonAfterCurrent"}) {
        const auto one = reporter.times.find(name);
        const auto two = reporter.times.find(std::string(name) + "Doubled");
        if (one == reporter.times.end() || two == reporter.times.end() || one->second <= 0)
            continue;
        std::printf("%-28s %10.3f %10.3f %10.2f\n", name, one->second, two->second,
                    two->second / one->second);
    }
    return 0;
}
