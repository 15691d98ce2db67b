#include "app/logic/start_up.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "net/host_port.h"
#include "storage/legacy.h"

namespace zt {
namespace {

QString qpath(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

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

DataContext StartUp::data_context() {
    DataContext ctx{m_store, m_ui, m_jobs, m_account};
    ctx.job_caption = [this](const std::string& text) { m_jobs.job_begin(text, false, true); };
    ctx.job_end = [this] { m_jobs.job_end(); };
    return ctx;
}

StartUp::Result StartUp::start_up() {
    // The store: its defaults and format sets are made with it; here it gets the clock.
    if (m_clock) m_store.set_clock(m_clock);

    // An uninstalled copy shows the installation window and loads nothing.
    if (!QFileInfo(qpath(m_exe_dir + kSettingsName)).isFile()) {
        m_host.show_setup();
        return Result::installing;
    }

    // The program folder and its settings file.
    m_store.exe_dir = m_exe_dir;
    m_ini.set_path(m_exe_dir + kSettingsName);

    // The data folder.
    const QString data_dir = qpath(m_store.data_dir());
    if (!QDir().mkpath(data_dir) || !QFileInfo(data_dir).isDir()) {
        m_ui.show_msg(2, "Невозможно создать папку \"dat\" в \"" + m_exe_dir + "\"");
        return Result::terminated;
    }

    // What the self-update and printing left behind.
    QFile::remove(qpath(m_exe_dir + kOldExecutableName));
    QFile::remove(qpath(m_exe_dir + kPrintPageFile));

    // The genre catalogue and the time-zone presets.
    build_types(m_store);
    build_time_zones(m_store);

    // All four groups of settings.
    m_ini.load();
    m_settings.load_all(m_ini);
    m_store.cur_group = m_settings.channel_group.current;
    m_store.server_host = service_host(m_settings).host;
    m_host.settings_loaded();

    // The job window, unless the loading is to be quiet.
    const bool quiet = m_settings.general.quiet_start;
    if (!quiet) m_jobs.job_begin("Загрузка данных...", false, true);

    // Old data files are converted once; the user then starts the program again.
    const DataContext ctx = data_context();
    if (convert_legacy(ctx)) {
        if (!quiet) m_jobs.job_end();
        return Result::terminated;
    }

    // The four data files. A damaged file has shown its message; what was read stays.
    load_data_files(ctx);
    m_loaded = true;

    // The group to show, the weeks, and the views.
    const auto group = m_store.ensure_default_group();
    set_week(m_store);
    m_host.data_loaded(group);

    // The job window closes and the main window appears.
    if (!quiet) m_jobs.job_end();
    m_host.show_main_window();

    // An empty store offers the manual download.
    if (m_store.channels.empty() &&
        m_ui.show_msg(3, "Телепрограмма не найдена. Получить телепрограмму?"))
        m_host.manual_download();
    return Result::running;
}

bool StartUp::save_on_exit() {
    if (!m_loaded) return true;
    m_jobs.job_begin("Сохранение данных...", false, true);
    const DataContext ctx = data_context();
    bool ok = save_v(ctx);
    ok = save_m(ctx) && ok;

    m_host.collect_settings();
    m_settings.channel_group.current = m_store.cur_group;
    try {
        m_settings.save_all(m_ini);
    } catch (const SettingsWriteError& e) {
        m_jobs.job_end();
        m_ui.show_msg(2, e.what());
        ok = false;
    }
    QFile::remove(qpath(m_exe_dir + kPrintPageFile));
    m_jobs.job_end();
    return ok;
}

}  // namespace zt
