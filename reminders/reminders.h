#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QMenu;
class QString;
class QSystemTrayIcon;
class QWidget;

namespace zt {

class AlarmOsd;
class AlarmOutputs;
class AlarmSound;
class IniFile;
class LogoImages;
class MinuteTick;
class ReminderMenu;
class SettingsStore;
class TFAlarmSettings;
class UserInterface;
class all_list;

// Where the reminders show themselves in the running program: the main window (the parent of
// their windows) with its "Оповещение" menu, the tray icon and its "Оповещение" menu, the logo
// lists, the clock tick, and where error messages go.
struct ReminderPlaces final {
    QWidget& window;
    QMenu& main_menu;
    QMenu& tray_menu;
    QSystemTrayIcon& tray;
    const LogoImages& logos;
    MinuteTick& tick;
    std::function<void(const QString&)> error;
};

// The reminders of the running program, one feature: the scan on every minute of the clock
// tick with its outputs (the reminder window, the tray balloon, the sound player, the on-screen
// display, the external program), the reminder settings window that "Настройка" opens (made on
// its first use, centred on the main window), and the items of "Оповещение" (the switches,
// "Настройка" and, in the main menu, the calendar export), which it makes, owns and places.
class Reminders final : public QObject {
    Q_OBJECT
public:
    Reminders(all_list& store, SettingsStore& settings, IniFile& ini, UserInterface& ui,
              const ReminderPlaces& places);
    ~Reminders() override;

    AlarmOutputs& alarms() { return *m_alarms; }
    ReminderMenu& menu() { return *m_menu; }
    AlarmSound& sound() { return *m_sound; }
    AlarmOsd& osd() { return *m_osd; }
    // "Настройка": shows the settings window (made on first use).
    void open_settings();
    // The settings window once it was opened, else null.
    TFAlarmSettings* settings_window() const;
    // The switches' check marks from the settings model (after loading it).
    void apply_settings();

private:
    SettingsStore& m_settings;
    IniFile& m_ini;
    UserInterface& m_ui;
    const all_list& m_store;
    QWidget& m_main;
    AlarmSound* m_sound;
    AlarmOsd* m_osd;
    ReminderMenu* m_menu;
    std::unique_ptr<AlarmOutputs> m_alarms;
    TFAlarmSettings* m_window = nullptr;  // a child of the main window
};

}  // namespace zt
