#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace zt {

class AlarmOsd;
class AlarmSound;
class IniFile;
class SettingsStore;
class TFAlarmSettings;
class UserInterface;
class all_list;

// The reminder outputs the application keeps for the whole run: the sound player, the
// on-screen display, and the reminder settings window that "Настройка" opens (made on its
// first use, centred on the main window).
class ReminderOutputs final : public QObject {
    Q_OBJECT
public:
    ReminderOutputs(SettingsStore& settings, IniFile& ini, UserInterface& ui, const all_list& store,
                    QWidget& main_window);
    ~ReminderOutputs() override;

    AlarmSound& sound() { return *m_sound; }
    AlarmOsd& osd() { return *m_osd; }
    // "Настройка": shows the settings window (made on first use).
    void open_settings();
    // The settings window once it was opened, else null.
    TFAlarmSettings* settings_window() const;

signals:
    // The settings window's test buttons for the outputs kept elsewhere.
    void test_window_requested();
    void test_tray_requested();
    void test_program_requested();

private:
    SettingsStore& m_settings;
    IniFile& m_ini;
    UserInterface& m_ui;
    const all_list& m_store;
    QWidget& m_main;
    AlarmSound* m_sound;
    AlarmOsd* m_osd;
    TFAlarmSettings* m_window = nullptr;  // a child of the main window
};

}  // namespace zt
