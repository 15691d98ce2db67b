// The four data files on the large generated profile. Each figure is set beside a reference
// measured in the same run on the same bytes:
//   load  (open, inflate, parse into a fresh store)   vs  plain zlib inflation of the bodies,
//         as the best of warm runs and as the first load in a fresh process against plain zlib
//         inflation as the first work of another fresh process
//   the inflaters alone: zlib, ISA-L and libdeflate (whole buffer, size known) on the bodies
//   save  (build bodies, deflate, write, flush, rotate) vs  plain level-1 deflation of the bodies
//   peak heap while loading, and the loaded store's heap  vs  the uncompressed body size
// Targets: load <= 1.0 x zlib inflation (fresh process), save <= 2.0 x deflate, peak memory
// <= 2 x the bodies.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#ifdef ZT_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif
#ifdef ZT_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/logic/memory_tuning.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "storage/data_files.h"
#include "storage/section.h"
#include "tools/gen/schedule_generator.h"

namespace {

using namespace zt;
using Clock = std::chrono::steady_clock;

const char* const kFiles[] = {"u.dat", "v.dat", "t.dat", "m.dat"};

class QuietUi final : public UserInterface {
public:
    bool show_msg(MsgKind, const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return true;
    }
};

std::size_t heap_in_use() {
    const struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

// Samples the heap at every progress report (after each chunk and each channel).
class HeapSampler final : public Progress {
public:
    void job_progress(int) override { peak = std::max(peak, heap_in_use()); }
    std::size_t peak = 0;
};

std::unique_ptr<all_list> empty_store(const std::string& exe_dir) {
    auto store = std::make_unique<all_list>();
    build_types(*store);
    build_time_zones(*store);
    store->exe_dir = exe_dir;
    return store;
}

// The data folder of the large profile and the bodies of its files.
struct Fixture {
    std::string exe_dir;
    std::map<std::string, std::string> compressed;    // the file bytes after the version
    std::map<std::string, std::string> uncompressed;  // the bodies
    std::size_t body_bytes = 0;
    std::size_t file_bytes = 0;
    std::size_t programmes = 0;

    Fixture() {
        char tmpl[] = "/tmp/zt_bench_storage_XXXXXX";
        exe_dir = std::string(mkdtemp(tmpl)) + "/";
        std::filesystem::create_directory(exe_dir + "dat");
        auto store = empty_store(exe_dir);
        set_week(*store);
        gen::generate(*store, gen::profile_by_name("large"), *DateTime::fromParts(2024, 3, 14, 12));
        for (const auto& c : store->channels) programmes += c->tvprog.size();
        QuietUi ui;
        NullProgress none;
        user_account user;
        const DataContext ctx(*store, ui, none, user);
        save_data_files(ctx, true, true, true, true);
        uncompressed["u.dat"] = build_u_body(ctx);
        uncompressed["v.dat"] = build_v_body(ctx);
        uncompressed["t.dat"] = build_t_body(ctx);
        uncompressed["m.dat"] = build_m_body(ctx);
        for (const char* name : kFiles) {
            std::string bytes;
            FileSystem::real().read_file(exe_dir + "dat/" + name, bytes);
            file_bytes += bytes.size();
            compressed[name] = bytes.substr(4);
            body_bytes += uncompressed[name].size();
        }
    }
    ~Fixture() { std::filesystem::remove_all(exe_dir); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

struct Figures {
    double load = 1e30, inflate = 1e30, save = 1e30, deflate = 1e30, sections = 1e30;
    double load_zlib = 1e30, sections_zlib = 1e30, isal = 1e30, libdeflate = 1e30;
    std::size_t peak = 0, store = 0;
} figures;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Plain zlib: inflate each body (header restored) into a buffer of its known size.
double plain_inflate(const Fixture& f) {
    const auto t0 = Clock::now();
    for (const char* name : kFiles) {
        const std::string& in = f.compressed.at(name);
        std::string stream = "\x78\xDA" + in;
        std::string out(f.uncompressed.at(name).size(), '\0');
        uLongf out_len = uLongf(out.size());
        if (uncompress(reinterpret_cast<Bytef*>(out.data()), &out_len,
                       reinterpret_cast<const Bytef*>(stream.data()), uLong(stream.size())) != Z_OK)
            std::abort();
        benchmark::DoNotOptimize(out.data());
    }
    return seconds(Clock::now() - t0);
}

// ISA-L on its own: each body in one call into a buffer of its known size (sections are raw
// deflate with the Adler-32 after it, which ISA-L checks).
double plain_isal(const Fixture& f) {
#ifdef ZT_HAVE_ISAL
    const auto t0 = Clock::now();
    auto st = std::make_unique<inflate_state>();
    for (const char* name : kFiles) {
        const std::string& in = f.compressed.at(name);
        std::string out(f.uncompressed.at(name).size(), '\0');
        isal_inflate_init(st.get());
        st->crc_flag = ISAL_ZLIB_NO_HDR_VER;
        st->next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(in.data()));
        st->avail_in = std::uint32_t(in.size());
        st->next_out = reinterpret_cast<std::uint8_t*>(out.data());
        st->avail_out = std::uint32_t(out.size());
        if (isal_inflate(st.get()) != ISAL_DECOMP_OK || st->block_state != ISAL_BLOCK_FINISH)
            std::abort();
        benchmark::DoNotOptimize(out.data());
    }
    return seconds(Clock::now() - t0);
#else
    (void)f;
    return 0;
#endif
}

// libdeflate on its own: whole buffers only, so it needs the body's size in advance (the data
// files do not record it).
double plain_libdeflate(const Fixture& f) {
#ifdef ZT_HAVE_LIBDEFLATE
    const auto t0 = Clock::now();
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    for (const char* name : kFiles) {
        const std::string stream = "\x78\xDA" + f.compressed.at(name);
        std::string out(f.uncompressed.at(name).size(), '\0');
        std::size_t got = 0;
        if (libdeflate_zlib_decompress(d, stream.data(), stream.size(), out.data(), out.size(),
                                       &got) != LIBDEFLATE_SUCCESS)
            std::abort();
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(d);
    return seconds(Clock::now() - t0);
#else
    (void)f;
    return 0;
#endif
}

// Our chunked section inflation alone, into memory (the loaders of u.dat and t.dat parse as
// they inflate instead).
double section_inflate(const Fixture& f) {
    const auto t0 = Clock::now();
    for (const char* name : kFiles) {
        ByteBuffer out;
        if (!InflateSection(f.compressed.at(name), out)) std::abort();
        benchmark::DoNotOptimize(out.view().data());
    }
    return seconds(Clock::now() - t0);
}

// Plain zlib: level-1 deflation of each body into a buffer of the bound's size.
double plain_deflate(const Fixture& f) {
    const auto t0 = Clock::now();
    for (const char* name : kFiles) {
        const std::string& in = f.uncompressed.at(name);
        std::string out(compressBound(uLong(in.size())), '\0');
        uLongf out_len = uLongf(out.size());
        if (compress2(reinterpret_cast<Bytef*>(out.data()), &out_len,
                      reinterpret_cast<const Bytef*>(in.data()), uLong(in.size()), 1) != Z_OK)
            std::abort();
        benchmark::DoNotOptimize(out.data());
    }
    return seconds(Clock::now() - t0);
}

// One load into a fresh store; its time.
double load_once(const Fixture& f, HeapSampler* sampler = nullptr) {
    auto store = empty_store(f.exe_dir);
    QuietUi ui;
    NullProgress none;
    user_account user;
    const DataContext ctx(*store, ui, sampler ? static_cast<Progress&>(*sampler) : none, user);
    const auto t0 = Clock::now();
    load_data_files(ctx);
    return seconds(Clock::now() - t0);
}

void BM_Load(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        const double reference = plain_inflate(f);
        figures.isal = std::min(figures.isal, plain_isal(f));
        figures.libdeflate = std::min(figures.libdeflate, plain_libdeflate(f));
        figures.sections = std::min(figures.sections, section_inflate(f));
        set_inflater(Inflater::zlib);
        figures.sections_zlib = std::min(figures.sections_zlib, section_inflate(f));
        figures.load_zlib = std::min(figures.load_zlib, load_once(f));
        set_inflater(Inflater::isal);
        auto store = empty_store(f.exe_dir);
        QuietUi ui;
        HeapSampler sampler;
        user_account user;
        const DataContext ctx(*store, ui, sampler, user);
        const std::size_t before = heap_in_use();
        const auto t0 = Clock::now();
        load_data_files(ctx);
        const double took = seconds(Clock::now() - t0);
        state.SetIterationTime(took);
        figures.load = std::min(figures.load, took);
        figures.inflate = std::min(figures.inflate, reference);
        figures.peak = std::max(figures.peak, sampler.peak - before);
        figures.store = heap_in_use() - before;
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["load_ms"] = figures.load * 1e3;
    state.counters["inflate_ms"] = figures.inflate * 1e3;
    state.counters["load/inflate"] = figures.load / figures.inflate;
}

void BM_Save(benchmark::State& state) {
    Fixture& f = fixture();
    auto store = empty_store(f.exe_dir);
    QuietUi ui;
    NullProgress none;
    user_account user;
    const DataContext ctx(*store, ui, none, user);
    load_data_files(ctx);
    for (auto _ : state) {
        const double reference = plain_deflate(f);
        const auto t0 = Clock::now();
        save_data_files(ctx, true, true, true, true);
        const double took = seconds(Clock::now() - t0);
        state.SetIterationTime(took);
        figures.save = std::min(figures.save, took);
        figures.deflate = std::min(figures.deflate, reference);
    }
    state.counters["save_ms"] = figures.save * 1e3;
    state.counters["deflate_ms"] = figures.deflate * 1e3;
    state.counters["save/deflate"] = figures.save / figures.deflate;
}

BENCHMARK(BM_Load)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The first work of a fresh process, timed there: "zlib" inflates the bodies with plain zlib
// into buffers of their known sizes (`sizes`, as the warm reference does), "load" loads the data
// folder. Both read the files from the disk cache first.
int fresh_child(const std::string& what, const std::string& exe_dir, const char* sizes) {
    std::map<std::string, std::string> files;
    for (const char* name : kFiles)
        FileSystem::real().read_file(exe_dir + "dat/" + name, files[name]);
    double took = 0;
    if (what == "zlib") {
        char* next = const_cast<char*>(sizes);
        const auto t0 = Clock::now();
        for (const char* name : kFiles) {
            const std::string& file = files[name];
            const std::string stream = "\x78\xDA" + file.substr(4);
            std::string out(std::strtoull(next, &next, 10), '\0');
            uLongf out_len = uLongf(out.size());
            if (uncompress(reinterpret_cast<Bytef*>(out.data()), &out_len,
                           reinterpret_cast<const Bytef*>(stream.data()),
                           uLong(stream.size())) != Z_OK)
                std::abort();
            benchmark::DoNotOptimize(out.data());
        }
        took = seconds(Clock::now() - t0);
    } else {
        files.clear();
        auto store = empty_store(exe_dir);
        QuietUi ui;
        NullProgress none;
        user_account user;
        const DataContext ctx(*store, ui, none, user);
        const auto t0 = Clock::now();
        load_data_files(ctx);
        took = seconds(Clock::now() - t0);
    }
    std::printf("%.9f\n", took);
    return 0;
}

// Runs this program again as a fresh process doing only `what`; its time in seconds.
double fresh_run(const char* what, const Fixture& f) {
    std::string sizes;
    for (const char* name : kFiles) sizes += std::to_string(f.uncompressed.at(name).size()) + " ";
    int out[2];
    if (pipe(out) != 0) std::abort();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        close(out[0]);
        execl("/proc/self/exe", "bench_storage", "--fresh", what, f.exe_dir.c_str(), sizes.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char buf[64] = {};
    const ssize_t n = read(out[0], buf, sizeof buf - 1);
    close(out[0]);
    waitpid(child, nullptr, 0);
    return n > 0 ? std::atof(buf) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator as the program and zorvan-cli use it.
    tune_allocator(false);
    if (argc == 5 && std::string(argv[1]) == "--fresh")
        return fresh_child(argv[2], argv[3], argv[4]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const Fixture& f = fixture();
    const double mb = 1024.0 * 1024.0;
    std::printf("\nlarge profile: %zu channels' programmes %zu, files %.1f MB, bodies %.1f MB\n",
                std::size_t(300), f.programmes, double(f.file_bytes) / mb,
                double(f.body_bytes) / mb);
    // First loads in fresh processes, alternating with plain zlib in fresh processes; the
    // median of five of each.
    std::vector<double> fresh_load, fresh_zlib;
    for (int i = 0; i < 5; ++i) {
        fresh_zlib.push_back(fresh_run("zlib", f));
        fresh_load.push_back(fresh_run("load", f));
    }
    std::sort(fresh_load.begin(), fresh_load.end());
    std::sort(fresh_zlib.begin(), fresh_zlib.end());
    const double first_load = fresh_load[2], first_zlib = fresh_zlib[2];
    const char* reader = current_inflater() == Inflater::isal ? "ISA-L" : "zlib";
    std::printf(
        "first load in a fresh process %8.1f ms  plain zlib inflate (fresh) %8.1f ms  "
        "ratio %.2f (target <= 1.0, reader %s)\n",
        first_load * 1e3, first_zlib * 1e3, first_load / first_zlib, reader);
    std::printf("load (best warm) %8.1f ms  plain zlib inflate %8.1f ms  ratio %.2f\n",
                figures.load * 1e3, figures.inflate * 1e3, figures.load / figures.inflate);
    std::printf("load with the zlib reader %8.1f ms  ratio %.2f\n", figures.load_zlib * 1e3,
                figures.load_zlib / figures.inflate);
    std::printf(
        "inflaters on the bodies: zlib %.1f ms, ISA-L %.1f ms (%.2fx), libdeflate %.1f "
        "ms (%.2fx, needs the size in advance)\n",
        figures.inflate * 1e3, figures.isal * 1e3, figures.inflate / figures.isal,
        figures.libdeflate * 1e3, figures.inflate / figures.libdeflate);
    std::printf(
        "       our chunked section inflation alone, into memory: %.1f ms (%s), %.1f ms "
        "(zlib)\n",
        figures.sections * 1e3, reader, figures.sections_zlib * 1e3);
    std::printf("save   %8.1f ms  plain deflate %8.1f ms  ratio %.2f (target <= 2.0)\n",
                figures.save * 1e3, figures.deflate * 1e3, figures.save / figures.deflate);
    std::printf(
        "memory peak %.1f MB, store %.1f MB, bodies %.1f MB: peak/bodies %.2f "
        "(target <= 2.0), store/bodies %.2f\n",
        double(figures.peak) / mb, double(figures.store) / mb, double(f.body_bytes) / mb,
        double(figures.peak) / double(f.body_bytes), double(figures.store) / double(f.body_bytes));
    benchmark::Shutdown();
    return 0;
}
