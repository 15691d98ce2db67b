// The XMLTV reader over generated files of about 100 and 200 MB (300 channels, programmes
// interleaved day by day as grabbers write them), plain and (100 MB) gzip-compressed, and
// `zorvan-server ingest --xmltv` of the same files into a fresh database, beside a plain expat
// pass (start, end and text handlers doing nothing) over the same bytes in the same run; a plain
// QXmlStreamReader pass is shown too. Each benchmark reports its peak resident memory (VmHWM,
// reset before it starts; for the ingest the server process's own peak); the closing table gives
// each pass's processor time as a multiple of the plain expat pass over the same file (throughput
// counts the uncompressed bytes for the gzip file too). The files are generated once into
// $ZT_BENCH_XMLTV (default /tmp/zt_bench_100mb.xml) and the same name with "-200mb" added, by a
// child process, so the generator's memory does not count.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QXmlStreamReader>

#include <expat.h>
#include <sys/resource.h>
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

constexpr std::int64_t kMegabyte = 1024 * 1024;

// The file of about `mb` megabytes.
std::string plain_path(int mb) {
    const char* env = std::getenv("ZT_BENCH_XMLTV");
    std::string base = env && *env ? env : "/tmp/zt_bench_100mb.xml";
    if (mb == 100) return base;
    if (base.ends_with(".xml")) base.resize(base.size() - 4);
    return base + "-" + std::to_string(mb) + "mb.xml";
}
std::string gzip_path() {
    return plain_path(100) + ".gz";
}

void generate_file(int mb) {
    all_list store;
    build_types(store);
    build_time_zones(store);
    gen::generate(store, gen::Profile{"bench", 300, 17, 48, 2},
                  *DateTime::fromParts(2026, 3, 11, 20, 0));
    const std::string temp = plain_path(mb) + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        gen::write_xmltv(store, out, mb * kMegabyte);
        if (!out) std::exit(1);
    }
    std::filesystem::rename(temp, plain_path(mb));
}

void generate_gzip() {
    // The compressed copy, streamed.
    std::ifstream in(plain_path(100), std::ios::binary);
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
    const bool have =
        std::filesystem::file_size(plain_path(100), ec) >= std::uintmax_t(100 * kMegabyte) &&
        std::filesystem::file_size(plain_path(200), ec) >= std::uintmax_t(200 * kMegabyte) &&
        std::filesystem::exists(gzip_path(), ec);
    if (have) return true;
    const pid_t child = fork();
    if (child == 0) {
        generate_file(100);
        generate_file(200);
        generate_gzip();
        _exit(0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

std::int64_t file_bytes(const std::string& path) {
    return std::int64_t(std::filesystem::file_size(path));
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

// The reference: expat over the file in 64 KB pieces, its handlers doing nothing.
void XMLCALL count_start(void* data, const char*, const char**) {
    ++*static_cast<std::int64_t*>(data);
}
void XMLCALL ignore_end(void*, const char*) {}
void XMLCALL ignore_text(void*, const char*, int) {}

void BM_PlainExpat(benchmark::State& state) {
    const std::string path = plain_path(int(state.range(0)));
    reset_peak();
    std::int64_t elements = 0;
    for (auto _ : state) {
        elements = 0;
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetUserData(parser, &elements);
        XML_SetElementHandler(parser, count_start, ignore_end);
        XML_SetCharacterDataHandler(parser, ignore_text);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        for (bool last = false; file && !last;) {
            void* buffer = XML_GetBuffer(parser, 1 << 16);
            const std::size_t n = std::fread(buffer, 1, 1 << 16, file);
            last = n == 0;
            if (XML_ParseBuffer(parser, int(n), last) != XML_STATUS_OK) {
                state.SkipWithError(XML_ErrorString(XML_GetErrorCode(parser)));
                break;
            }
        }
        if (file) std::fclose(file);
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(state.iterations() * file_bytes(path));
    state.counters["elements"] = double(elements);
    state.counters["peak_rss_mb"] = peak_rss_mb();
}
BENCHMARK(BM_PlainExpat)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PlainQXmlStreamReader(benchmark::State& state) {
    const std::string path = plain_path(int(state.range(0)));
    reset_peak();
    std::int64_t elements = 0;
    for (auto _ : state) {
        QFile file(QString::fromStdString(path));
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(&file);
        elements = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement) ++elements;
        if (xml.hasError()) state.SkipWithError(xml.errorString().toStdString().c_str());
    }
    state.SetBytesProcessed(state.iterations() * file_bytes(path));
    state.counters["elements"] = double(elements);
    state.counters["peak_rss_mb"] = peak_rss_mb();
}
BENCHMARK(BM_PlainQXmlStreamReader)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

void read_with_reader(benchmark::State& state, const std::string& path, int mb) {
    reset_peak();
    CountingSink sink;
    xmltv::ReadOptions options;
    options.zone = QTimeZone("Europe/Moscow");
    for (auto _ : state) {
        sink = CountingSink();
        const auto r = xmltv::read_file(QString::fromStdString(path), options, sink);
        if (!r.ok) state.SkipWithError(r.message.toStdString().c_str());
    }
    state.SetBytesProcessed(state.iterations() * file_bytes(plain_path(mb)));
    state.counters["programmes"] = double(sink.programmes);
    state.counters["peak_rss_mb"] = peak_rss_mb();
}

void BM_XmltvReader(benchmark::State& state) {
    const int mb = int(state.range(0));
    read_with_reader(state, plain_path(mb), mb);
}
BENCHMARK(BM_XmltvReader)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_XmltvReaderGzip(benchmark::State& state) {
    read_with_reader(state, gzip_path(), 100);
}
BENCHMARK(BM_XmltvReaderGzip)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

// `zorvan-server ingest --xmltv` into a fresh database in a child process: its processor time
// (user and system, from wait4) is the iteration's time, its peak resident memory the counter.
void BM_ServerIngest(benchmark::State& state) {
    const int mb = int(state.range(0));
    const std::string path = plain_path(mb);
    const std::string server =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "../server/zorvan-server")
            .lexically_normal();
    const std::string db = path + ".ingest.sqlite";
    double peak = 0;
    for (auto _ : state) {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);
        const pid_t child = fork();
        if (child == 0) {
            std::freopen("/dev/null", "w", stdout);
            execl(server.c_str(), server.c_str(), "ingest", "--db", db.c_str(), "--xmltv",
                  path.c_str(), "--zone", "Europe/Moscow", static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            state.SkipWithError(("ingest failed: " + server).c_str());
            break;
        }
        const double seconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                               double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        state.SetIterationTime(seconds);
        peak = std::max(peak, double(usage.ru_maxrss) / 1024.0);
    }
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);
    state.SetBytesProcessed(state.iterations() * file_bytes(path));
    state.counters["peak_rss_mb"] = peak;
}
BENCHMARK(BM_ServerIngest)
    ->Arg(100)
    ->Arg(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration) {
                // A child's processor time is the manual time; the others' their own.
                const bool manual = r.benchmark_name().find("manual_time") != std::string::npos;
                times[r.benchmark_name()] =
                    manual ? r.GetAdjustedRealTime() : r.GetAdjustedCPUTime();
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
        std::fprintf(stderr, "could not generate %s\n", plain_path(100).c_str());
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const int mb : {100, 200})
        std::printf("\nfile %d: %s, %.1f MB", mb, plain_path(mb).c_str(),
                    double(file_bytes(plain_path(mb))) / double(kMegabyte));
    std::printf("\n%-40s %10s %10s %12s\n", "pass", "cpu ms", "x expat", "peak RSS MB");
    for (const auto& [name, ms] : reporter.times) {
        // The reference of the same file size: the number after the first '/'.
        const auto slash = name.find('/');
        const std::string size =
            slash == std::string::npos
                ? ""
                : name.substr(slash + 1, name.find('/', slash + 1) - slash - 1);
        const auto plain = reporter.times.find("BM_PlainExpat/" + size + "/iterations:2");
        const double ratio =
            plain == reporter.times.end() || plain->second <= 0 ? 0 : ms / plain->second;
        std::printf("%-40s %10.0f %10.2f %12.1f\n", name.c_str(), ms, ratio, reporter.peaks[name]);
    }
    return 0;
}
