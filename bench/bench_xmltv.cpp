// The XMLTV reader over a generated file of about 100 MB (300 channels, programmes interleaved
// day by day as grabbers write them), plain and gzip-compressed, beside a plain QXmlStreamReader
// pass over the same plain file in the same run. Each benchmark reports its peak resident memory
// (VmHWM, reset before it starts); the closing table gives each reading's processor time as a
// multiple of the plain pass (throughput counts the uncompressed bytes for the gzip file too). The
// file is generated once into $ZT_BENCH_XMLTV (default /tmp/zt_bench_100mb.xml) by a child process,
// so the generator's memory does not count.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QXmlStreamReader>

#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "tools/gen/schedule_generator.h"
#include "tools/gen/xmltv_writer.h"
#include "xmltv/xmltv_reader.h"

namespace {

using namespace zt;

constexpr std::int64_t kFileBytes = 100ll * 1024 * 1024;

std::string plain_path() {
    const char* env = std::getenv("ZT_BENCH_XMLTV");
    return env && *env ? env : "/tmp/zt_bench_100mb.xml";
}
std::string gzip_path() {
    return plain_path() + ".gz";
}

void generate_files() {
    all_list store;
    build_types(store);
    build_time_zones(store);
    gen::generate(store, gen::Profile{"bench", 300, 17, 48, 2},
                  *DateTime::fromParts(2026, 3, 11, 20, 0));
    const std::string temp = plain_path() + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        gen::write_xmltv(store, out, kFileBytes);
        if (!out) std::exit(1);
    }
    std::filesystem::rename(temp, plain_path());
    // The compressed copy, streamed.
    std::ifstream in(plain_path(), std::ios::binary);
    gzFile gz = gzopen((gzip_path() + ".part").c_str(), "wb6");
    std::string buf(1 << 20, '\0');
    while (in.read(buf.data(), std::streamsize(buf.size())) || in.gcount() > 0)
        gzwrite(gz, buf.data(), unsigned(in.gcount()));
    gzclose(gz);
    std::filesystem::rename(gzip_path() + ".part", gzip_path());
}

// Generates the files in a child process when they are missing.
bool ensure_files() {
    std::error_code ec;
    if (std::filesystem::file_size(plain_path(), ec) >= std::uintmax_t(kFileBytes) &&
        std::filesystem::exists(gzip_path(), ec))
        return true;
    const pid_t child = fork();
    if (child == 0) {
        generate_files();
        _exit(0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Peak resident memory in MB since the last reset_peak().
double peak_rss_mb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
void reset_peak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

class CountingSink final : public xmltv::Sink {
public:
    void channel(const xmltv::Channel&) override { ++channels; }
    void programme(const xmltv::Programme& p) override {
        ++programmes;
        bytes += p.title.size() + p.descr.size();
    }
    std::int64_t channels = 0, programmes = 0, bytes = 0;
};

void BM_PlainQXmlStreamReader(benchmark::State& state) {
    reset_peak();
    std::int64_t elements = 0;
    for (auto _ : state) {
        QFile file(QString::fromStdString(plain_path()));
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(&file);
        elements = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement) ++elements;
        if (xml.hasError()) state.SkipWithError(xml.errorString().toStdString().c_str());
    }
    state.SetBytesProcessed(state.iterations() *
                            std::int64_t(std::filesystem::file_size(plain_path())));
    state.counters["elements"] = double(elements);
    state.counters["peak_rss_mb"] = peak_rss_mb();
}
BENCHMARK(BM_PlainQXmlStreamReader)->Unit(benchmark::kMillisecond)->Iterations(2);

void read_with_reader(benchmark::State& state, const std::string& path) {
    reset_peak();
    CountingSink sink;
    xmltv::ReadOptions options;
    options.zone = QTimeZone("Europe/Moscow");
    for (auto _ : state) {
        sink = CountingSink();
        const auto r = xmltv::read_file(QString::fromStdString(path), options, sink);
        if (!r.ok) state.SkipWithError(r.message.toStdString().c_str());
    }
    state.SetBytesProcessed(state.iterations() *
                            std::int64_t(std::filesystem::file_size(plain_path())));
    state.counters["programmes"] = double(sink.programmes);
    state.counters["peak_rss_mb"] = peak_rss_mb();
}

void BM_XmltvReader(benchmark::State& state) {
    read_with_reader(state, plain_path());
}
BENCHMARK(BM_XmltvReader)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_XmltvReaderGzip(benchmark::State& state) {
    read_with_reader(state, gzip_path());
}
BENCHMARK(BM_XmltvReaderGzip)->Unit(benchmark::kMillisecond)->Iterations(2);

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration) {
                times[r.benchmark_name()] = r.GetAdjustedCPUTime();
                const auto peak = r.counters.find("peak_rss_mb");
                if (peak != r.counters.end()) peaks[r.benchmark_name()] = peak->second;
            }
    }
    std::map<std::string, double> times;  // processor ms per pass (the machine may be shared)
    std::map<std::string, double> peaks;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!ensure_files()) {
        std::fprintf(stderr, "could not generate %s\n", plain_path().c_str());
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto plain = reporter.times.find("BM_PlainQXmlStreamReader/iterations:2");
    if (plain == reporter.times.end() || plain->second <= 0) return 0;
    std::printf("\nfile: %s, %.1f MB\n", plain_path().c_str(),
                double(std::filesystem::file_size(plain_path())) / 1048576.0);
    std::printf("%-40s %10s %10s %12s\n", "pass", "cpu ms", "x plain", "peak RSS MB");
    for (const auto& [name, ms] : reporter.times)
        std::printf("%-40s %10.0f %10.2f %12.1f\n", name.c_str(), ms, ms / plain->second,
                    reporter.peaks[name]);
    return 0;
}
