// The print layout of the large generated profile's whole week (every channel, grouped by
// channel, default print options at the preview's 96 dpi) and the rendering of its first
// preview page, beside a plain pass that only measures every title with the same font,
// measured in the same run. A closing table gives each as a multiple of the plain pass.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "print/logic/print_icons.h"
#include "print/logic/print_paint.h"
#include "tools/gen/schedule_generator.h"
#include "views/logic/program_list.h"

namespace {

using namespace zt;
using namespace zt::print;

const DateTime kNow = *DateTime::fromParts(2026, 3, 11, 20, 0, 30);
// A landscape A4 page at the preview's 100 % (96 dpi).
constexpr int kDpi = 96, kWidth = 1123, kHeight = 794;

struct Data {
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(kNow);
    all_list store{clock};
    std::vector<PrintRow> rows;
    PrintOptions options;
    PrintContext context;
    Data() {
        build_types(store);
        build_time_zones(store);
        set_week(store);
        gen::generate(store, gen::profile_by_name("large"), kNow);
        store.cur_group = 0;
        views::PageOptions o;
        o.page = views::ProgramPage::days;
        o.now = kNow;
        o.panels.group = 0;
        o.panels.chosen.assign(store.chl_groups[0]->members.size(), 1);
        o.days.days.fill(true);
        views::ProgramList list;
        list.rebuild(store, o);
        for (const auto& r : list.rows())
            rows.push_back({r.prog, r.member, r.start, r.finish, r.duration_text});
        context.day_names = store.day_names;
        context.fs_view = store.fs_view;
        context.week_cur = store.week_cur;
        context.host = QStringLiteral("tv.zorvan.example");
    }
};

Data& data() {
    static Data d;
    return d;
}

// The reference: every title measured once with the print font.
void BM_MeasureTitles(benchmark::State& state) {
    auto& d = data();
    const QFontMetrics fm(print_font(d.options, kDpi));
    for (auto _ : state) {
        long long width = 0;
        for (const auto& r : d.rows) width += fm.horizontalAdvance(from_cp(r.prog->title));
        benchmark::DoNotOptimize(width);
    }
    state.counters["rows"] = double(d.rows.size());
}
BENCHMARK(BM_MeasureTitles)->Unit(benchmark::kMillisecond);

void run_layout(benchmark::State& state, const PrintOptions& options) {
    auto& d = data();
    const PrintIcons icons = genre_print_icons();
    int pages = 0;
    for (auto _ : state) {
        const PrintMetrics m = SetPrintMetrics(options, kDpi, kWidth, kHeight);
        const PrintLines lines = BuildPrintLines(d.rows, options, d.context, m);
        pages = CountPrintPages(lines, m.per_page());
        const PageSource source{lines, options, d.context, m, icons};
        const QImage first = RenderPageImage(source, 1, pages, kWidth, kHeight);
        benchmark::DoNotOptimize(first.constBits());
    }
    state.counters["pages"] = pages;
}

void BM_LayoutAndFirstPage(benchmark::State& state) {
    run_layout(state, data().options);
}
BENCHMARK(BM_LayoutAndFirstPage)->Unit(benchmark::kMillisecond);

// The "красивый" kind of page: colour, framed start times, genre icons, merged parts.
void BM_LayoutAndFirstPageRich(benchmark::State& state) {
    PrintOptions o = data().options;
    o.colour = true;
    o.mark_time = true;
    o.type_icons = true;
    o.merge_parts = true;
    run_layout(state, o);
}
BENCHMARK(BM_LayoutAndFirstPageRich)->Unit(benchmark::kMillisecond);

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    data();  // generate once, outside the timings
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto plain = reporter.times.find("BM_MeasureTitles");
    if (plain == reporter.times.end() || plain->second <= 0) return 0;
    std::printf("\nrows of the whole week: %zu (target: layout and first page <= 3x)\n",
                data().rows.size());
    std::printf("%-28s %10s %10s\n", "benchmark", "cpu ms", "x plain");
    for (const auto& [name, ms] : reporter.times)
        std::printf("%-28s %10.3f %10.2f\n", name.c_str(), ms, ms / plain->second);
    return 0;
}
