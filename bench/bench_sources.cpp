// Several guides into one schedule: three generated XMLTV files of about 100 MB each (the same
// channel ids, other seeds and moments, so that their programmes overlap and cut one another)
// grabbed and merged by `zorvan-server grab`, against the reference measured in the same run:
// the same three files ingested one after the other by `zorvan-server ingest --xmltv` (each
// replacing the days of the one before). Reported: wall-clock time of each step, the grabs as a
// multiple of the three ingests, and each step's peak resident memory: all of it (ru_maxrss of
// the child, which counts the mapped pages of the database file) and its own (RssAnon, sampled).
// Steps of the grab: the first grab (every source read and stored, each channel its own), the
// grab after `channel suggest --accept` mapped the three files' channels onto one another (no
// source read again: only the merge of three layers per channel), a forced grab (all read again
// and merged, nothing changes), and a grab with nothing changed (every source skipped).
// Files go to $ZT_BENCH_SOURCES_DIR (default /tmp/zt_bench_sources) and are kept for the next run.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run final {
    double seconds = 0;
    long peak_kb = 0;
    long anon_kb = 0;
    int code = 0;
};

// Runs a program with its output dropped; its time and peak memory.
Run run(const std::vector<std::string>& argv, bool quiet = true) {
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (quiet) {
            if (!std::freopen("/dev/null", "w", stdout)) std::_Exit(127);
        }
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    // The peak of the process's own memory (RssAnon), sampled: ru_maxrss counts the pages of
    // the database file that SQLite maps, which are the kernel's page cache, too.
    long anon_kb = 0;
    const std::string status_path = "/proc/" + std::to_string(pid) + "/status";
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (std::FILE* f = std::fopen(status_path.c_str(), "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f))
                if (std::strncmp(line, "RssAnon:", 8) == 0)
                    anon_kb = std::max(anon_kb, std::strtol(line + 8, nullptr, 10));
            std::fclose(f);
        }
        ::usleep(20000);
    }
    Run r;
    r.anon_kb = anon_kb;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    r.peak_kb = usage.ru_maxrss;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

void must(const Run& r, const char* what) {
    if (r.code != 0) {
        std::fprintf(stderr, "bench_sources: %s failed (exit %d)\n", what, r.code);
        std::exit(1);
    }
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const char* env = std::getenv("ZT_BENCH_SOURCES_DIR");
    const fs::path dir = env && *env ? env : "/tmp/zt_bench_sources";
    fs::create_directories(dir);
    const std::string server = ZT_SERVER_EXE;
    const std::string cli = ZT_CLI_EXE;
    const char* moments[] = {"2026-06-10 12:00", "2026-06-10 12:07", "2026-06-11 03:00"};
    std::vector<std::string> files;
    for (int i = 0; i < 3; ++i) {
        const fs::path f = dir / ("guide" + std::to_string(i + 1) + ".xml");
        files.push_back(f.string());
        if (fs::exists(f) && fs::file_size(f) >= 100ull * 1024 * 1024) continue;
        std::printf("generating %s\n", f.c_str());
        std::fflush(stdout);
        must(run({cli, "gen-xmltv", "--profile", "large", "--size-mb", "100", "--seed",
                  std::to_string(i + 1), "--at", moments[i], f.string()}),
             "gen-xmltv");
    }
    const std::string at = "2026-06-10 12:00";

    // Reference: the three files ingested one after the other.
    const std::string ingest_db = (dir / "ingest.db").string();
    for (const char* ext : {"", "-wal", "-shm"}) fs::remove(ingest_db + ext);
    Run ingest;
    for (const auto& f : files) {
        const Run r =
            run({server, "ingest", "--db", ingest_db, "--xmltv", f, "--zone", "Europe/Moscow"});
        must(r, "ingest");
        ingest.seconds += r.seconds;
        ingest.peak_kb = std::max(ingest.peak_kb, r.peak_kb);
        ingest.anon_kb = std::max(ingest.anon_kb, r.anon_kb);
    }

    const std::string db = (dir / "grab.db").string();
    for (const char* ext : {"", "-wal", "-shm", ".grab-lock"}) fs::remove(db + ext);
    for (int i = 0; i < 3; ++i)
        must(run({server, "source", "add", "--db", db, "--name", "guide" + std::to_string(i + 1),
                  "--xmltv", files[std::size_t(i)], "--priority", std::to_string(30 - 10 * i),
                  "--zone", "Europe/Moscow"}),
             "source add");
    const Run first = run({server, "grab", "--db", db, "--at", at});
    must(first, "first grab");
    must(run({server, "channel", "suggest", "--db", db, "--accept"}), "channel suggest");
    const Run mapped = run({server, "grab", "--db", db, "--at", at});
    must(mapped, "grab after mapping");
    const Run forced = run({server, "grab", "--db", db, "--at", at, "--force"});
    must(forced, "forced grab");
    const Run same = run({server, "grab", "--db", db, "--at", at});
    must(same, "unchanged grab");

    std::printf("\n%-52s %9s %9s %9s %9s\n", "step (3 x 100 MB)", "seconds", "x ingest", "peak MB",
                "anon MB");
    auto row = [&](const char* what, const Run& r) {
        std::printf("%-52s %9.2f %9.2f %9.1f %9.1f\n", what, r.seconds, r.seconds / ingest.seconds,
                    double(r.peak_kb) / 1024.0, double(r.anon_kb) / 1024.0);
    };
    row("reference: ingest --xmltv, three files one by one", ingest);
    row("grab: read, store and merge (channels their own)", first);
    row("grab after mapping: merge of three layers only", mapped);
    row("grab --force: read, store and merge, mapped", forced);
    row("grab with nothing changed", same);
    return 0;
}
