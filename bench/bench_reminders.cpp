// The minute reminder scan over the large generated profile (every channel in groups), beside
// a plain pass over the same programmes (shift the start and compare it with the target minute)
// measured in the same run. The scan must stay well under 5 ms: it runs on the user-interface
// thread once a minute.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "reminders/logic/alarm_check.h"
#include "reminders/logic/start_index.h"
#include "storage/settings.h"
#include "tools/gen/schedule_generator.h"

namespace {

using namespace zt;

const DateTime kNow = *DateTime::fromParts(2026, 3, 11, 20, 0, 30);

struct Data {
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(kNow);
    all_list store{clock};
    Settings settings;
    std::size_t programmes = 0;
    std::size_t members = 0;
    Data() {
        build_types(store);
        build_time_zones(store);
        set_week(store);
        gen::generate(store, gen::profile_by_name("large"), kNow);
        // Every channel stands in a group; one programme in seven carries a reminder.
        std::size_t n = 0;
        for (const auto& g : store.chl_groups) {
            for (const auto& m : g->members) {
                ++members;
                programmes += m->chl->tvprog.size();
            }
        }
        for (const auto& c : store.channels)
            for (const auto& p : c->tvprog) p->alarm = (n++ % 7 == 0);
        settings.alarm_switches.tray = true;
    }
};

Data& data() {
    static Data d;
    return d;
}

// The reference: every programme of every member, the start shifted and compared.
void BM_PlainPass(benchmark::State& state) {
    auto& d = data();
    const std::int64_t target = (kNow.wholeMinute() + DateTime::fromMinutes(5)).minutes();
    for (auto _ : state) {
        std::size_t hits = 0;
        for (const auto& g : d.store.chl_groups)
            for (const auto& m : g->members)
                for (const auto& p : m->chl->tvprog)
                    hits += apply_shift(*m, p->start).minutes() == target;
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

// `indexed`: the program's scan, through the start index kept between scans (built once
// before the timing, as the first scan after start-up does); otherwise the plain walk over
// every programme.
void run_scan(benchmark::State& state, DateTime now, bool indexed) {
    auto& d = data();
    std::size_t hits = 0;
    reminders::StartIndex index;
    reminders::AlarmCheck(d.store, d.settings, now, index);
    for (auto _ : state) {
        const auto scan = indexed ? reminders::AlarmCheck(d.store, d.settings, now, index)
                                  : reminders::AlarmCheck(d.store, d.settings, now);
        hits = scan.hits.size();
        benchmark::DoNotOptimize(scan.hits.data());
    }
    state.counters["hits"] = double(hits);
    state.counters["programmes"] = double(d.programmes);
}

void BM_Scan(benchmark::State& state) {
    run_scan(state, kNow, true);
}
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond);

// All programmes ("О всех передачах"), the most hits a scan can have.
void BM_ScanAllProgrammes(benchmark::State& state) {
    data().settings.alarm_switches.all_programmes = true;
    run_scan(state, kNow, true);
    data().settings.alarm_switches.all_programmes = false;
}
BENCHMARK(BM_ScanAllProgrammes)->Unit(benchmark::kMillisecond);

// The first scan after start-up, which builds the index.
void BM_ScanBuildingTheIndex(benchmark::State& state) {
    auto& d = data();
    for (auto _ : state) {
        reminders::StartIndex index;
        benchmark::DoNotOptimize(
            reminders::AlarmCheck(d.store, d.settings, kNow, index).hits.data());
    }
}
BENCHMARK(BM_ScanBuildingTheIndex)->Unit(benchmark::kMillisecond);

// The scan without the index, walking every programme (zorvan-cli reminders).
void BM_ScanWalkingEveryProgramme(benchmark::State& state) {
    run_scan(state, kNow, false);
}
BENCHMARK(BM_ScanWalkingEveryProgramme)->Unit(benchmark::kMillisecond);

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    std::map<std::string, double> times;  // ms
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    data();  // generate once, outside the timings
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto plain = reporter.times.find("BM_PlainPass");
    if (plain == reporter.times.end() || plain->second <= 0) return 0;
    std::printf("\nchannels in groups: %zu, their programmes: %zu\n", data().members,
                data().programmes);
    std::printf("%-30s %10s %10s %12s\n", "scan", "cpu ms", "x plain", "under 5 ms");
    for (const auto& [name, ms] : reporter.times)
        std::printf("%-30s %10.3f %10.3f %12s\n", name.c_str(), ms, ms / plain->second,
                    ms < 5.0 ? "yes" : "NO");
    // The minute tick's scan is the one that must stay under 5 ms.
    const auto scan = reporter.times.find("BM_Scan");
    return scan != reporter.times.end() && scan->second < 5.0 ? 0 : 1;
}
