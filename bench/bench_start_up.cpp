// The program's start-up and exit as the user sees them, on the large generated profile with
// the offscreen platform, each beside a reference measured in the same run:
//   start-up (process start to the main window shown)  vs  loading the four data files alone
//   exit     (exit request to the process's end)        vs  saving v.dat, m.dat and settings alone
// The program runs as a child process: this executable copied into a program folder, entering
// the program's own entry point; it reports the moments the main window was shown and the exit
// was asked for (CLOCK_MONOTONIC, comparable across processes). Start-up is measured with the
// loading window shown (the default) and with "Тихая" загрузка (no loading window).
// The load alone is measured as the first thing a fresh process does (what start-up pays) and
// again in this warm process. Target: start-up <= 1.3 x the load alone in a fresh process.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/program_main.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "tools/gen/schedule_generator.h"

extern char** environ;

namespace {

using namespace zt;

constexpr const char* kChildFlag = "--zt-bench-child";
constexpr const char* kLoadFlag = "--zt-bench-load";
constexpr int kRuns = 5;
// The program's own messages (the offscreen platform's notes) go to this file in the folder.
constexpr const char* kChildLog = "program.log";

double monotonic_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// ---------------------------------------------------------------- the child (the program)

bool g_child = false;
std::string g_report;  // file the child writes its moments to
// Moments of the start-up's phases: the application object made, the loading window shown and
// hidden (0 with a quiet start).
double g_app_ready = 0, g_job_shown = 0, g_job_hidden = 0;

// Watches for the main window's first show, then asks the program to exit as "Выход" does.
class MainWindowWatch final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !g_job_shown &&
            watched->objectName() == QStringLiteral("TFJob"))
            g_job_shown = monotonic_seconds();
        if (event->type() == QEvent::Hide && g_job_shown && !g_job_hidden &&
            watched->objectName() == QStringLiteral("TFJob"))
            g_job_hidden = monotonic_seconds();
        if (!m_shown && event->type() == QEvent::Show &&
            watched->objectName() == QStringLiteral("TFMain")) {
            m_shown = true;
            const double shown = monotonic_seconds();
            auto* window = static_cast<QWidget*>(watched);
            // Once the event loop runs (start-up is over), the exit is requested.
            QTimer::singleShot(0, window, [window, shown] {
                const double exit_asked = monotonic_seconds();
                std::ofstream(g_report)
                    << std::to_string(shown) << ' ' << std::to_string(exit_asked) << ' '
                    << std::to_string(g_app_ready) << ' ' << std::to_string(g_job_shown) << ' '
                    << std::to_string(g_job_hidden) << '\n';
                QMetaObject::invokeMethod(window, "exit_requested");
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_shown = false;
};

void install_watch() {
    if (!g_child) return;
    g_app_ready = monotonic_seconds();
    auto* app = QCoreApplication::instance();
    app->installEventFilter(new MainWindowWatch);
}
Q_COREAPP_STARTUP_FUNCTION(install_watch)

// ---------------------------------------------------------------- the parent

class QuietUi final : public UserInterface {
public:
    bool show_msg(MsgKind, const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return true;
    }
};

std::unique_ptr<all_list> empty_store(const std::string& exe_dir) {
    auto store = std::make_unique<all_list>();
    build_types(*store);
    build_time_zones(*store);
    store->exe_dir = exe_dir;
    return store;
}

// A program folder with this executable as the program, settings.ini and the large profile
// generated around the present moment (so the pages show what is on now).
std::string make_program_folder() {
    char tmpl[] = "/tmp/zt_bench_start_up_XXXXXX";
    const std::string dir = std::string(mkdtemp(tmpl)) + "/";
    std::filesystem::create_directory(dir + "dat");
    std::filesystem::create_directory(dir + "run");
    std::filesystem::permissions(dir + "run", std::filesystem::perms::owner_all);
    std::filesystem::copy_file("/proc/self/exe", dir + "zorvan_tv");
    std::filesystem::permissions(dir + "zorvan_tv", std::filesystem::perms::owner_all);

    auto store = empty_store(dir);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    set_week(*store);
    gen::generate(
        *store, gen::profile_by_name("large"),
        *DateTime::fromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour));
    QuietUi ui;
    NullProgress none;
    user_account user;
    save_data_files(DataContext(*store, ui, none, user), true, true, true, true);
    return dir;
}

void write_settings(const std::string& dir, bool quiet) {
    std::ofstream(dir + "settings.ini") << "[GG]\nCSP=" << (quiet ? 1 : 0) << "\n";
}

struct RunTimes {
    double start_up = 0;
    double exit = 0;
    // Where start-up goes: to the application object, to the loading window, loading, to the
    // main window.
    double to_app = 0, to_loading = 0, loading = 0, to_window = 0;
};

// Starts this executable as the program in `dir` (or, with kLoadFlag, for the load alone) and
// waits for its end; returns the two moments it reported and the moments of start and end.
struct Moments {
    double started = 0, first = 0, second = 0, ended = 0;
    double app_ready = 0, job_shown = 0, job_hidden = 0;
};
Moments spawn_program(const std::string& dir, const char* mode) {
    const std::string program = dir + "zorvan_tv";
    const std::string report = dir + "moments.txt";
    std::filesystem::remove(report);
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e) {
        const std::string item(*e);
        if (item.rfind("QT_QPA_PLATFORM=", 0) == 0 || item.rfind("XDG_RUNTIME_DIR=", 0) == 0 ||
            item.rfind("ZT_BENCH_REPORT=", 0) == 0)
            continue;
        env_text.push_back(item);
    }
    env_text.push_back("QT_QPA_PLATFORM=offscreen");
    env_text.push_back("XDG_RUNTIME_DIR=" + dir + "run");
    env_text.push_back("ZT_BENCH_REPORT=" + report);
    std::vector<char*> env;
    for (auto& e : env_text) env.push_back(e.data());
    env.push_back(nullptr);
    std::string arg0 = program, arg1 = mode;
    char* argv[] = {arg0.data(), arg1.data(), nullptr};

    const std::string log = dir + kChildLog;
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const double started = monotonic_seconds();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &files, nullptr, argv, env.data());
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double ended = monotonic_seconds();
    Moments m;
    m.started = started;
    m.ended = ended;
    std::ifstream in(report);
    const bool read = bool(in >> m.first >> m.second);
    in >> m.app_ready >> m.job_shown >> m.job_hidden;
    if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the program did not start and end as expected; its messages:\n");
        std::ifstream messages(log);
        std::fprintf(stderr, "%s\n",
                     std::string(std::istreambuf_iterator<char>(messages), {}).c_str());
        std::exit(1);
    }
    return m;
}

RunTimes run_program(const std::string& dir) {
    const Moments m = spawn_program(dir, kChildFlag);
    RunTimes r{m.first - m.started, m.ended - m.second};
    if (m.job_shown > 0 && m.job_hidden > 0) {
        r.to_app = m.app_ready - m.started;
        r.to_loading = m.job_shown - m.app_ready;
        r.loading = m.job_hidden - m.job_shown;
        r.to_window = m.first - m.job_hidden;
    }
    return r;
}

// The four data files loaded into a fresh store as the first thing a fresh process does.
double load_in_fresh_process(const std::string& dir) {
    const Moments m = spawn_program(dir, kLoadFlag);
    return m.second - m.first;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The references: the four data files loaded into a fresh store, and v.dat, m.dat and the
// settings saved, as the program's start-up and exit do, without windows.
double load_alone(const std::string& dir) {
    auto store = empty_store(dir);
    QuietUi ui;
    NullProgress none;
    user_account user;
    const double t0 = monotonic_seconds();
    load_data_files(DataContext(*store, ui, none, user));
    return monotonic_seconds() - t0;
}

double save_alone(const std::string& dir) {
    auto store = empty_store(dir);
    QuietUi ui;
    NullProgress none;
    user_account user;
    const DataContext ctx(*store, ui, none, user);
    load_data_files(ctx);
    Settings settings;
    IniFile ini(dir + "settings.ini");
    ini.load();
    settings.load_all(ini);
    const double t0 = monotonic_seconds();
    save_v(ctx);
    save_m(ctx);
    settings.save_all(ini);
    return monotonic_seconds() - t0;
}

int load_main(const std::string& dir) {
    const double t0 = monotonic_seconds();
    const double took = load_alone(dir);
    std::ofstream(g_report) << std::to_string(t0) << ' ' << std::to_string(t0 + took) << '\n';
    return 0;
}

int parent_main() {
    const std::string dir = make_program_folder();
    std::vector<double> start_up, start_up_quiet, exit, load, load_fresh, save;
    std::vector<double> to_app, to_loading, loading, to_window;
    for (int i = 0; i < kRuns; ++i) {
        write_settings(dir, false);
        const RunTimes shown = run_program(dir);
        start_up.push_back(shown.start_up);
        exit.push_back(shown.exit);
        to_app.push_back(shown.to_app);
        to_loading.push_back(shown.to_loading);
        loading.push_back(shown.loading);
        to_window.push_back(shown.to_window);
        write_settings(dir, true);
        start_up_quiet.push_back(run_program(dir).start_up);
        load.push_back(load_alone(dir));
        load_fresh.push_back(load_in_fresh_process(dir));
        write_settings(dir, false);
        save.push_back(save_alone(dir));
    }
    // ZT_BENCH_KEEP keeps the program folder for profiling the program on it.
    if (std::getenv("ZT_BENCH_KEEP"))
        std::printf("program folder kept: %s\n", dir.c_str());
    else
        std::filesystem::remove_all(dir);

    const double s = median(start_up), q = median(start_up_quiet);
    const double l = median(load_fresh), warm = median(load);
    const double e = median(exit), w = median(save);
    std::printf("medians of %d runs, large profile, offscreen\n", kRuns);
    std::printf("start-up (loading window)  %8.1f ms   %.2f x load   (target <= 1.30 x)\n", s * 1e3,
                s / l);
    std::printf(
        "  of which: process start to the application object %.1f ms, to the loading\n"
        "  window %.1f ms, loading window shown %.1f ms, then to the main window %.1f ms\n",
        median(to_app) * 1e3, median(to_loading) * 1e3, median(loading) * 1e3,
        median(to_window) * 1e3);
    std::printf("start-up (quiet)           %8.1f ms   %.2f x load\n", q * 1e3, q / l);
    std::printf("load alone, fresh process  %8.1f ms\n", l * 1e3);
    std::printf("load alone, warm process   %8.1f ms   (start-up %.2f x this)\n", warm * 1e3,
                s / warm);
    std::printf("exit                       %8.1f ms   %.2f x save\n", e * 1e3, e / w);
    std::printf("save alone (v, m, ini)     %8.1f ms\n", w * 1e3);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == kLoadFlag) {
        if (const char* report = std::getenv("ZT_BENCH_REPORT")) g_report = report;
        const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
        return load_main(exe.substr(0, exe.rfind('/') + 1));
    }
    if (argc > 1 && std::string(argv[1]) == kChildFlag) {
        g_child = true;
        if (const char* report = std::getenv("ZT_BENCH_REPORT")) g_report = report;
        // The program's own entry, with the program's arguments (none).
        int child_argc = 1;
        return zt::program_main(child_argc, argv);
    }
    return parent_main();
}
