#include "app/application.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>

#include "app/auto_download_controller.h"
#include "app/download_worker.h"
#include "app/downloads.h"
#include "app/manager_command.h"
#include "app/manual_download.h"
#include "app/settings_command.h"
#include "app/window_download_host.h"
#include "dialogs/app_ui.h"
#include "dialogs/job_window.h"
#include "dialogs/msg_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/setup_window.h"
#include "dialogs/stat_window.h"
#include "net/host_port.h"
#include "print/print_command.h"
#include "reminders/reminders.h"
#include "ui/app_resources.h"
#include "ui/minute_tick.h"
#include "views/main_window.h"
#include "views/panel_set.h"
#include "views/prog_controls.h"
#include "views/program_pages.h"
#include "views/tray.h"

namespace zt {

Application::Application(QString exe_dir, QString executable, std::shared_ptr<const Clock> clock)
    : m_executable(std::move(executable)), m_store(clock) {
    init_app_resources();
    QGuiApplication::setWindowIcon(app_icon());

    // The windows that live for the whole run, the main window first.
    m_main = std::make_unique<TFMain>(m_settings_store, m_view);
    m_msg = std::make_unique<TFMsg>(m_main.get());
    m_msg->set_anchor(m_main.get());
    auto confirm_cancel = [this] {
        return m_msg->ShowMsg(
            MsgKind::Question,
            QStringLiteral("Операция не завершена. Вы уверены что хотите её прервать?"));
    };
    m_progress = std::make_unique<TFProgress>(confirm_cancel, &m_session.net_cancel, m_main.get());
    m_progress->set_anchor(m_main.get());
    m_job = std::make_unique<TFJob>(confirm_cancel, &m_session.job_cancel, m_main.get());
    m_job->set_anchor(m_main.get());
    m_stat = std::make_unique<TFStat>(m_main.get());
    m_stat->set_anchor(m_main.get());
    m_ui = std::make_unique<AppUi>(m_session, *m_msg, *m_job);
    m_start_up =
        std::make_unique<StartUp>(exe_dir.toStdString(), std::move(clock), m_store, m_settings,
                                  *m_ui, *m_ui, static_cast<StartUpHost&>(*this));

    // The downloads, and the settings dialog whose connection test runs on their worker.
    m_downloads = std::make_unique<Downloads>(*this);
    DownloadWorker& worker = m_downloads->worker();
    m_settings_cmd = std::make_unique<SettingsCommand>(
        m_session, m_settings_store, *m_main, m_start_up->ini(), *m_ui,
        m_downloads->host().exchange(), worker, *m_progress,
        [this] { m_downloads->automatic().settings_loaded(); });
    // An exit or a session end that came while the worker ran follows once it has ended.
    connect(&worker, &DownloadWorker::finished, this, [this, &worker] {
        if (worker.busy()) return;
        if (m_save_after_work) {
            m_save_after_work = false;
            if (!m_exiting) m_start_up->save_on_exit();
        }
        if (m_exit_after_work)
            QTimer::singleShot(0, this, [this] { exit_program(m_exit_terminating); });
    });
    connect(m_main.get(), &TFMain::settings_requested, m_settings_cmd.get(),
            &SettingsCommand::MDataSettingsClick);

    // The reminders: errors of their commands go to the message window.
    m_reminders = std::make_unique<Reminders>(
        m_store, m_settings_store, m_start_up->ini(), *m_ui,
        ReminderPlaces{*m_main, m_main->alarm_menu(), *m_main->tray().MTrayAlarm,
                       m_main->tray().icon(), m_main->logos(), m_main->minute_tick(),
                       [this](const QString& text) { m_msg->ShowMsg(MsgKind::Error, text); }});

    m_manager = new ManagerCommand(*this);

    connect(this, &Application::quit_requested, this, [this] { m_finished = true; });
    connect(m_main.get(), &TFMain::exit_requested, this, &Application::ExitProgram);
    connect(m_main.get(), &TFMain::stat_requested, this, [this] { m_stat->ShowModal(); });
    connect(m_main.get(), &TFMain::cabinet_requested, this, &Application::open_cabinet);
    connect(m_main.get(), &TFMain::print_requested, this, &Application::print_day_page);
    connect(&m_main->programs(), &ProgramPages::message, this,
            [this](MsgKind kind, const QString& text) { m_msg->ShowMsg(kind, text); });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, &Application::save_for_session_end);
}

Application::~Application() {
    // Children of the main window go with it; release them first so nothing is freed twice.
    m_reminders.reset();
    delete m_manager;
    m_setup.reset();
    m_settings_cmd.reset();
    m_downloads.reset();
    m_print.reset();
    m_stat.reset();
    m_job.reset();
    m_progress.reset();
    m_msg.reset();
    m_main.reset();
}

void Application::leave_records_to_the_system() {
    // Reachable from here until the process ends, so no leak checker counts it as lost.
    static auto* const kept = new std::vector<std::shared_ptr<chl_serv_list>>;
    kept->insert(kept->end(), m_store.channels.begin(), m_store.channels.end());
    m_store.channels.clear();
}

StartUp::Result Application::start() {
    const StartUp::Result result = m_start_up->start_up();
    if (result == StartUp::Result::terminated) emit quit_requested();
    return result;
}

void Application::show_setup() {
    m_setup = std::make_unique<TFSetup>(m_executable, *m_ui);
    // Messages of the installation stand in the middle of the screen.
    m_msg->set_anchor(nullptr);
    connect(m_setup.get(), &TFSetup::finished_setup, this, &Application::quit_requested);
    m_setup->show();
    m_setup->repaint();
}

void Application::settings_loaded() {
    m_main->apply_layout_settings();
    m_main->apply_general_settings();
    m_reminders->apply_settings();
    m_settings_cmd->settings_loaded();
    m_downloads->automatic().settings_loaded();
}

void Application::data_loaded(const std::shared_ptr<chl_group_list>& group) {
    // The channel panel, the genre panel and the programme pages show the loaded data.
    m_main->panels().data_loaded(group);
    m_main->programs().start();
    // The master switch of the automatic download needs channels to download.
    m_main->actions().download_auto->setEnabled(!m_store.channels.empty());
}

void Application::start_auto_download() {
    m_downloads->automatic().start_up();
}

void Application::show_main_window() {
    m_main->set_page(0);
    m_main->show_at_start();
}

void Application::manual_download() {
    StartManualDownload();
}

AutoDownloadController& Application::auto_download() {
    return m_downloads->automatic();
}

WindowDownloadHost& Application::download_host() {
    return m_downloads->host();
}

ManualDownload* Application::manual_download_command() {
    return m_downloads->manual();
}

void Application::StartManualDownload() {
    m_downloads->run_manual();
}

void Application::collect_settings() {
    m_main->collect_layout_settings();
}

QString Application::activate() {
    if (m_setup && m_setup->isVisible()) {
        m_setup->raise();
        m_setup->activateWindow();
        return QStringLiteral("shown");
    }
    if (!m_start_up->loaded() || m_exiting) return QStringLiteral("busy");
    m_main->RestoreFromTray();
    if (m_main->isMinimized()) m_main->showNormal();
    return m_main->isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden");
}

void Application::ExitProgram() {
    exit_program(false);
}

void Application::Terminate() {
    exit_program(true);
}

void Application::exit_program(bool terminating) {
    if (m_exiting) return;
    DownloadWorker& worker = m_downloads->worker();
    if (worker.busy()) {
        // The download's work has the store: it is cancelled where it can be (the exchange,
        // the job) and the exit follows when it has ended.
        m_exit_after_work = true;
        m_exit_terminating = m_exit_terminating || terminating;
        worker.request_stop();
        std::atomic_ref<std::uint8_t>(m_session.job_cancel).store(1);
        return;
    }
    m_exit_after_work = false;
    m_exiting = true;
    m_start_up->save_on_exit(terminating);
    m_main->tray().set_visible(false);
    m_main->allow_close();
    m_main->hide();
    // A question or another modal window still waiting (the system may end the program at
    // any moment) is answered "no", so its local event loop ends as well.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w);
            dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    emit quit_requested();
}

void Application::save_for_session_end() {
    // The desktop session ends: nothing may be lost even when the window would only go to the
    // tray, so the data and the settings are written now.
    if (m_exiting) return;
    // Not while the download's worker has the store; then as soon as it has ended.
    if (m_downloads->worker().holds_store()) {
        m_save_after_work = true;
        return;
    }
    m_start_up->save_on_exit();
}

void Application::open_cabinet() {
    const HostPort host = service_host(m_settings);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QString::fromStdString(host.host));
    if (host.port != 80) url.setPort(host.port);
    url.setPath(QStringLiteral("/cgi-bin/user.cgi"));
    QDesktopServices::openUrl(url);
}

void Application::print_day_page() {
    if (!m_print)
        m_print = std::make_unique<PrintCommand>(m_session, m_ui.get(), m_ui.get(), m_main.get());
    ProgramPages& pages = m_main->programs();
    m_print->run(m_view.list, m_store, m_settings, pages.days().values().by_day,
                 pages.page_options().view.abbreviations);
    try {
        m_settings.save_group(m_start_up->ini(), SettingsGroup::printing);
    } catch (const SettingsWriteError& e) {
        m_msg->ShowMsg(MsgKind::Error, QString::fromStdString(e.what()));
    }
}

}  // namespace zt
