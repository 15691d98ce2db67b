#include "reminders/alarm_outputs.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTimer>

#include "core/store.h"
#include "reminders/alarm_window.h"
#include "reminders/logic/alarm_check.h"
#include "reminders/logic/calendar_export.h"
#include "reminders/logic/program_start.h"
#include "storage/file_system.h"
#include "storage/settings.h"
#include "ui/cp_text.h"
#include "ui/desktop_notification.h"
#include "ui/menu_items.h"

namespace zt {
namespace {

// The balloon's lines: the collected text uses CR LF; notifications want plain line feeds and
// no empty first line.
QString balloon_text(const std::string& cp1251) {
    QString text = from_cp(cp1251);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.trimmed();
}

}  // namespace

AlarmOutputs::AlarmOutputs(all_list& store, Settings& settings, QSystemTrayIcon& tray,
                           const LogoImages& logos, QWidget* main)
    : QObject(nullptr),
      m_store(store),
      m_settings(settings),
      m_tray(tray),
      m_main(main),
      m_window(std::make_unique<TFAlarmWin>(settings, logos)),
      m_runner(store, settings, *this) {
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("TimerAlarmClose"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &AlarmOutputs::TimerAlarmCloseTimer);
    m_timer->start();
    connect(m_window.get(), &TFAlarmWin::progress_pressed, this, &AlarmOutputs::toggle_pause);

    m_export = make_action(*this, "MPanelAlarmExport",
                           QStringLiteral("Экспорт оповещений в календарь..."));
    connect(m_export, &QAction::triggered, this, &AlarmOutputs::ask_export);
}

AlarmOutputs::~AlarmOutputs() = default;

void AlarmOutputs::AlarmCheck() {
    m_runner.AlarmCheck();
}

void AlarmOutputs::TimerAlarmCloseTimer() {
    m_runner.tick();
}

void AlarmOutputs::toggle_pause() {
    if (m_timer->isActive())
        m_timer->stop();
    else
        m_timer->start();
    m_window->set_paused(!m_timer->isActive());
}

void AlarmOutputs::set_sound(std::function<void()> play, std::function<void()> stop) {
    m_sound_play = std::move(play);
    m_sound_stop = std::move(stop);
}

void AlarmOutputs::set_osd(std::function<void(const reminders::AlarmEvent&)> show) {
    m_osd_show = std::move(show);
}

// --- the outputs

void AlarmOutputs::window_add(const reminders::AlarmEvent& event, int bar_max) {
    m_window->AlarmWinAdd(event, bar_max);
}

void AlarmOutputs::window_show() {
    m_window->AlarmWinShow();
}

int AlarmOutputs::window_tabs() const {
    return m_window->tab_count();
}

void AlarmOutputs::window_progress(int position) {
    m_window->set_progress(position);
}

void AlarmOutputs::window_close() {
    m_window->close();
}

void AlarmOutputs::sound_play() {
    if (m_sound_play) m_sound_play();
}

void AlarmOutputs::sound_stop() {
    if (m_sound_stop) m_sound_stop();
}

bool AlarmOutputs::tray_visible() const {
    return m_tray.isVisible();
}

void AlarmOutputs::tray_show(const std::string& title, const std::string& text, int timeout_ms) {
    // Without a system tray a balloon would go nowhere: it becomes a desktop notification.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        notify_desktop(from_cp(title), balloon_text(text), timeout_ms,
                       m_notifications ? *m_notifications : QDBusConnection::sessionBus());
        return;
    }
    m_tray.setVisible(true);
    m_tray.showMessage(from_cp(title), balloon_text(text), QSystemTrayIcon::Information,
                       timeout_ms);
}

void AlarmOutputs::tray_clear() {
    // A shown balloon (a desktop notification) cannot be taken back; it ends by its own
    // timeout, which is the same display time.
}

void AlarmOutputs::osd_show(const reminders::AlarmEvent& event) {
    if (m_osd_show) m_osd_show(event);
}

void AlarmOutputs::start_program(const std::string& program, const std::string& params, int) {
    // The window state is only a wish on this desktop; a failed start is not reported.
    reminders::start_program_detached(reminders::program_command(program, params));
}

void AlarmOutputs::close_timer_enable() {
    if (!m_timer->isActive()) m_timer->start();
    m_window->set_paused(false);
}

// --- the settings window's tests

void AlarmOutputs::test_window() {
    m_runner.show_sample(reminders::sample_event(m_store, m_settings));
}

void AlarmOutputs::test_tray() {
    const reminders::AlarmEvent e = reminders::sample_event(m_store, m_settings);
    std::string text;
    reminders::AlarmTrayAppend(text, e);
    tray_show(e.LeadText, text, e.HideCountdown * 1000);
}

void AlarmOutputs::test_program() {
    const AlarmGeneralSettings& g = m_settings.alarm_general;
    if (!g.prog_start.empty()) start_program(g.prog_start, g.prog_param, g.prog_window);
}

// --- calendar export

bool AlarmOutputs::export_calendar(const QString& path, QString& error) const {
    reminders::CalendarOptions o;
    o.lead = m_settings.alarm_general.show;
    const auto cal = reminders::calendar_export(m_store, m_store.clock().now(), o);
    if (!replace_file(FileSystem::real(), QFile::encodeName(path).toStdString(), cal.text)) {
        error = QStringLiteral("Не удалось записать файл %1.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

void AlarmOutputs::ask_export() {
    const QString path =
        QFileDialog::getSaveFileName(m_main, QStringLiteral("Экспорт оповещений в календарь"),
                                     QDir::home().filePath(QStringLiteral("zorvan-reminders.ics")),
                                     QStringLiteral("Календарь iCalendar (*.ics)"));
    if (path.isEmpty()) return;
    QString error;
    if (export_calendar(path, error)) return;
    if (m_error)
        m_error(error);
    else
        QMessageBox::warning(m_main, QStringLiteral("Ошибка"), error);
}

}  // namespace zt
