#include "app/reminder_outputs.h"

#include "reminders/alarm_settings.h"
#include "reminders/alarm_sound.h"
#include "reminders/osd_window.h"

namespace zt {

ReminderOutputs::ReminderOutputs(SettingsStore& settings, IniFile& ini, UserInterface& ui,
                                 const all_list& store, QWidget& main_window)
    : m_settings(settings),
      m_ini(ini),
      m_ui(ui),
      m_store(store),
      m_main(main_window),
      m_sound(new AlarmSound(this)),
      m_osd(new AlarmOsd(ui, this)) {}

ReminderOutputs::~ReminderOutputs() = default;

TFAlarmSettings* ReminderOutputs::settings_window() const {
    return m_window;
}

void ReminderOutputs::open_settings() {
    if (!m_window) {
        m_window = new TFAlarmSettings(m_settings, m_ini, m_ui, *m_sound, *m_osd, m_store, &m_main);
        connect(m_window, &TFAlarmSettings::test_window_requested, this,
                &ReminderOutputs::test_window_requested);
        connect(m_window, &TFAlarmSettings::test_tray_requested, this,
                &ReminderOutputs::test_tray_requested);
        connect(m_window, &TFAlarmSettings::test_program_requested, this,
                &ReminderOutputs::test_program_requested);
    }
    m_window->open_centred();
}

}  // namespace zt
