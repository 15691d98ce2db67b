#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "reminders/logic/alarm_delivery.h"
#include "reminders/logic/alarm_runner.h"

class QAction;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace zt {

class all_list;
struct Settings;
class LogoImages;
class TFAlarmWin;

// The reminders of the running program: the minute scan with its delivery through the real
// outputs (the reminder window, the tray balloon, the external program; the sound and the
// on-screen display go through `sound_play`/`sound_stop`/`osd_show`), the one-second display
// timer `TimerAlarmClose`, and the calendar export command.
class AlarmOutputs final : public QObject, private reminders::AlarmDelivery {
    Q_OBJECT
public:
    // `store` and `settings` are the live ones; `tray` is the main window's tray icon, `logos`
    // its channel logo lists; `main` anchors the file dialog and messages.
    AlarmOutputs(all_list& store, Settings& settings, QSystemTrayIcon& tray,
                 const LogoImages& logos, QWidget* main);
    ~AlarmOutputs() override;

    // The minute scan (called by the programme pages' clock refresh).
    void AlarmCheck();
    // A tick of TimerAlarmClose.
    void TimerAlarmCloseTimer();

    TFAlarmWin& window() { return *m_window; }
    QTimer& close_timer() { return *m_timer; }
    const reminders::AlarmRunner& runner() const { return m_runner; }
    // "Экспорт оповещений в календарь..." for the "Оповещение" menu.
    QAction* export_action() const { return m_export; }
    // Writes the calendar of reminders to `path`; false (with `error` set) when it could not
    // be written.
    bool export_calendar(const QString& path, QString& error) const;

    // The settings window's "Проверить" buttons: a sample reminder in the reminder window, as
    // a balloon, and the external program started as a reminder starts it.
    void test_window();
    void test_tray();
    void test_program();

    // Where errors of the commands go (the message window); a warning box without it.
    void set_error_handler(std::function<void(const QString&)> handler) {
        m_error = std::move(handler);
    }
    // The sound and on-screen display outputs (the application plugs in its players).
    void set_sound(std::function<void()> play, std::function<void()> stop);
    void set_osd(std::function<void(const reminders::AlarmEvent&)> show);
    // The bus whose notification service shows balloons where there is no tray (the session
    // bus unless a test gives its own).
    void set_notification_bus(const QDBusConnection& bus) { m_notifications = bus; }

private:
    void window_add(const reminders::AlarmEvent& event, int bar_max) override;
    void window_show() override;
    int window_tabs() const override;
    void window_progress(int position) override;
    void window_close() override;
    void sound_play() override;
    void sound_stop() override;
    bool tray_visible() const override;
    void tray_show(const std::string& title, const std::string& text, int timeout_ms) override;
    void tray_clear() override;
    void osd_show(const reminders::AlarmEvent& event) override;
    void start_program(const std::string& program, const std::string& params, int window) override;
    void close_timer_enable() override;

    void toggle_pause();
    void ask_export();

    all_list& m_store;
    Settings& m_settings;
    QSystemTrayIcon& m_tray;
    QWidget* m_main;
    std::unique_ptr<TFAlarmWin> m_window;
    QTimer* m_timer = nullptr;
    QAction* m_export = nullptr;
    reminders::AlarmRunner m_runner;
    std::function<void(const QString&)> m_error;
    std::function<void()> m_sound_play, m_sound_stop;
    std::function<void(const reminders::AlarmEvent&)> m_osd_show;
    // Empty: the session bus, reached only when a notification is first sent (not at start-up).
    std::optional<QDBusConnection> m_notifications;
};

}  // namespace zt
