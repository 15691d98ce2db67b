#include "app/logic/start_up.h"

#include "app/logic/data_preload.h"
#include "app/logic/exit_report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdio>

#include "core/genres.h"
#include "core/qt_path.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "net/host_port.h"
#include "storage/legacy.h"

namespace zt {

StartUp::StartUp(std::string exe_dir, std::shared_ptr<const Clock> clock, all_list& store,
                 Settings& settings, UserInterface& ui, JobControl& jobs, StartUpHost& host)
    : m_exe_dir(std::move(exe_dir)),
      m_clock(std::move(clock)),
      m_store(store),
      m_settings(settings),
      m_ui(ui),
      m_jobs(jobs),
      m_host(host) {
    if (m_exe_dir.empty() || m_exe_dir.back() != '/') m_exe_dir += '/';
}

StartUp::~StartUp() = default;

void StartUp::set_preload(std::unique_ptr<DataPreload> preload) {
    m_preload = std::move(preload);
}

DataContext StartUp::context_with(UserInterface& ui) {
    // The t.dat writer keeps the password digest only when "Сохранять пароль" is ticked.
    m_account.save_password = m_settings.download_dialog.save_login;
    DataContext ctx{m_store, ui, m_jobs, m_account};
    ctx.job_caption = [this](const std::string& text) { m_jobs.job_begin(text, false, true); };
    ctx.job_end = [this] { m_jobs.job_end(); };
    return ctx;
}

bool StartUp::StartUpMessages::show_msg(MsgKind kind, const std::string& text) {
    if (m_owner.stop_requested()) {
        std::fprintf(stderr, "zorvan_tv: %s\n", text.c_str());
        return false;
    }
    return m_owner.m_ui.show_msg(kind, text);
}

DataContext StartUp::data_context() {
    DataContext ctx = context_with(m_ui);
    ctx.write_favourites = m_write_v;
    ctx.write_marks = m_write_m;
    return ctx;
}

void StartUp::load_files(const DataContext& ctx) {
    // Each file is read even when an earlier one failed: what is readable is shown.
    loaded(load_each_data_file(ctx));
}

bool StartUp::take_preload() {
    if (!m_preload || m_preload->exe_dir() != m_exe_dir) return false;
    using namespace std::chrono_literals;
    while (!m_preload->wait_for(0ms)) {
        // The time this thread would only wait prepares the memory the reading is about to fill.
        m_preload->prepare_memory(20ms);
        m_jobs.job_progress(m_preload->percent());
    }
    m_preload->wait();
    if (!m_preload->usable()) return false;
    m_jobs.job_progress(100);
    for (const auto& [kind, text] : m_preload->messages()) m_messages.show_msg(kind, text);
    m_store.take_loaded(m_preload->store());
    m_account.login = m_preload->account().login;
    m_account.password = m_preload->account().password;
    m_account.paid_login = m_preload->account().paid_login;
    loaded(m_preload->results());
    return true;
}

void StartUp::loaded(const LoadResults& r) {
    const bool u = r.u, v = r.v, t = r.t, m = r.m;
    // v.dat's favourites hang on the channels of u.dat; m.dat's marks on those channels and
    // the programmes of t.dat. Written from a store that lacks them, they would lose records.
    m_write_v = u && v;
    m_write_m = u && t && m;
    if (u && v && t && m) return;
    std::string failed, kept;
    const std::pair<const char*, bool> files[] = {
        {"u.dat", !u}, {"v.dat", !m_write_v}, {"t.dat", !t}, {"m.dat", !m_write_m}};
    const std::pair<const char*, bool> read[] = {
        {"u.dat", u}, {"v.dat", v}, {"t.dat", t}, {"m.dat", m}};
    for (const auto& [name, ok] : read)
        if (!ok) failed += std::string(failed.empty() ? "" : ", ") + "\"" + name + "\"";
    for (const auto& [name, keep] : files)
        if (keep) kept += std::string(kept.empty() ? "" : ", ") + "\"" + name + "\"";
    m_messages.show_msg(MsgKind::Info, "Не прочитаны файлы данных: " + failed + ". Файлы " + kept +
                                           " и их резервные копии оставлены без изменений.");
}

void StartUp::show_exit_report() {
    std::string text = take_exit_report(m_exe_dir);
    // The room for this run's report, taken while the disk has it.
    reserve_exit_report(m_exe_dir);
    if (text.size() > 4096) text.resize(4096);
    if (!text.empty())
        m_messages.show_msg(MsgKind::Error,
                            "При прошлом завершении программы не удалось сохранить:\n" + text);
}

StartUp::Result StartUp::start_up() {
    // The store: its defaults and format sets are made with it; here it gets the clock.
    if (m_clock) m_store.set_clock(m_clock);

    // An uninstalled copy shows the installation window and loads nothing.
    if (!QFileInfo(qpath(m_exe_dir + kSettingsName)).isFile()) {
        m_preload.reset();
        m_host.show_setup();
        return Result::installing;
    }

    // The program folder and its settings file.
    m_store.exe_dir = m_exe_dir;
    m_ini.set_path(m_exe_dir + kSettingsName);

    // The data folder.
    const QString data_dir = qpath(m_store.data_dir());
    if (!QDir().mkpath(data_dir) || !QFileInfo(data_dir).isDir()) {
        m_messages.show_msg(MsgKind::Error,
                            "Невозможно создать папку \"dat\" в \"" + m_exe_dir + "\"");
        return Result::terminated;
    }

    // What the self-update and printing left behind.
    QFile::remove(qpath(m_exe_dir + kOldExecutableName));
    QFile::remove(qpath(m_exe_dir + kPrintPageFile));

    // The genre catalogue and the time-zone presets.
    build_types(m_store);
    build_time_zones(m_store);

    // All four groups of settings. A file that is not a file or far too large is left alone.
    if (m_ini.load() == IniFile::LoadResult::refused)
        m_messages.show_msg(
            MsgKind::Error,
            "Файл настроек \"settings.ini\" не прочитан: это не обычный файл или он "
            "больше 4 Мб. Используются настройки по умолчанию, файл не изменяется.");
    m_settings.load_all(m_ini);
    m_store.cur_group = m_settings.channel_group.current;
    m_host.settings_loaded();
    show_exit_report();
    if (stop_requested()) return Result::terminated;

    // The job window, unless the loading is to be quiet.
    const bool quiet = m_settings.general.quiet_start;
    if (!quiet) m_jobs.job_begin("Загрузка данных...", false, true);

    // The four data files, read while the windows were made or now. A damaged file has shown
    // its message; what was read stays, but the files that depend on it are not written back.
    const DataContext ctx = context_with(m_messages);
    const bool preloaded = take_preload();
    m_preload.reset();
    if (!preloaded) {
        // Old data files are converted once; the user then starts the program again.
        if (convert_legacy(ctx)) {
            if (!quiet) m_jobs.job_end();
            return Result::terminated;
        }
        load_files(ctx);
    }
    if (stop_requested()) {
        if (!quiet) m_jobs.job_end();
        return Result::terminated;
    }
    m_loaded = true;

    // The group to show, the weeks, and the views.
    const auto group = m_store.ensure_default_group();
    set_week(m_store);
    m_host.data_loaded(group);

    // The job window closes and the main window appears.
    if (!quiet) m_jobs.job_end();
    if (stop_requested()) return Result::terminated;
    m_host.show_main_window();

    if (!m_store.channels.empty()) m_host.start_auto_download();

    // An empty store offers the manual download.
    if (m_store.channels.empty() && !stop_requested() &&
        m_messages.show_msg(MsgKind::Question,
                            "Телепрограмма не найдена. Получить телепрограмму?") &&
        !stop_requested())
        m_host.manual_download();
    return Result::running;
}

namespace {

// Messages of a save while the system ends the program: no window may hold it up, so each
// goes to standard error and is kept for the next start.
class DeferredMessages final : public UserInterface {
public:
    bool show_msg(MsgKind, const std::string& text) override {
        std::fprintf(stderr, "zorvan_tv: %s\n", text.c_str());
        lines += text + "\n";
        return false;
    }
    std::string lines;
};

}  // namespace

bool StartUp::save_on_exit(bool terminating) {
    if (!m_loaded) return true;
    DeferredMessages deferred;
    UserInterface& ui = terminating ? static_cast<UserInterface&>(deferred) : m_ui;
    m_jobs.job_begin("Сохранение данных...", false, true);
    const DataContext ctx = context_with(ui);
    bool ok = true;
    if (m_write_v) ok = save_v(ctx) && ok;
    if (m_write_m) ok = save_m(ctx) && ok;

    bool job_open = true;
    if (const auto error = write_settings()) {
        // The job window closes before the message opens.
        m_jobs.job_end();
        job_open = false;
        ui.show_msg(MsgKind::Error, *error);
        ok = false;
    }
    QFile::remove(qpath(m_exe_dir + kPrintPageFile));
    if (job_open) m_jobs.job_end();
    if (!deferred.lines.empty() && !keep_exit_report(m_exe_dir, deferred.lines))
        std::fprintf(stderr,
                     "zorvan_tv: the report above could not be kept for the next start (%s)\n",
                     kExitReportName);
    return ok;
}

std::optional<std::string> StartUp::write_settings() {
    m_host.collect_settings();
    m_settings.channel_group.current = m_store.cur_group;
    if (m_ini.refused()) return std::nullopt;
    try {
        m_settings.save_all(m_ini);
    } catch (const SettingsWriteError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

bool StartUp::save_settings() {
    if (!m_loaded) return true;
    const auto error = write_settings();
    if (error) m_ui.show_msg(MsgKind::Error, *error);
    return !error;
}

}  // namespace zt
