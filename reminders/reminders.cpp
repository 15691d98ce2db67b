#include "reminders/reminders.h"

#include <QAction>
#include <QMenu>

#include "reminders/alarm_outputs.h"
#include "reminders/alarm_settings.h"
#include "reminders/alarm_sound.h"
#include "reminders/logic/alarm_tables.h"
#include "reminders/osd_window.h"
#include "reminders/reminder_menu.h"
#include "storage/settings_store.h"
#include "ui/minute_tick.h"

namespace zt {

Reminders::Reminders(all_list& store, SettingsStore& settings, IniFile& ini, UserInterface& ui,
                     const ReminderPlaces& places)
    : m_settings(settings),
      m_ini(ini),
      m_ui(ui),
      m_store(store),
      m_main(places.window),
      m_sound(new AlarmSound(this)),
      m_osd(new AlarmOsd(ui, this)),
      // Under the main window, whose menus show them: found there by name like its own items.
      m_menu(new ReminderMenu(settings.model(), &places.window)),
      m_alarms(std::make_unique<AlarmOutputs>(store, settings.model(), places.tray, places.logos,
                                              &places.window)) {
    AlarmOutputs& a = *m_alarms;
    // The scan follows the programme pages' refresh of the same minute.
    connect(&places.tick, &MinuteTick::minute_started, &a, &AlarmOutputs::AlarmCheck);
    a.set_error_handler(places.error);

    const Settings& live = settings.get();
    a.set_sound([this, &live] { m_sound->play(live.alarm_sound); }, [this] { m_sound->stop(); });
    const LogoImages& logos = places.logos;
    a.set_osd([this, &live, &logos](const reminders::AlarmEvent& e) {
        m_osd->show(osd_content(e, logos), live.alarm_osd,
                    reminders::AlarmDisplaySeconds(live.alarm_general.hide));
    });

    // The same switches in both menus; the export only in the main window's.
    m_menu->fill(places.main_menu);
    m_menu->fill(places.tray_menu);
    places.main_menu.addSeparator();
    places.main_menu.addAction(a.export_action());
    connect(m_menu->settings_item(), &QAction::triggered, this, &Reminders::open_settings);
}

Reminders::~Reminders() = default;

TFAlarmSettings* Reminders::settings_window() const {
    return m_window;
}

void Reminders::open_settings() {
    if (!m_window) {
        m_window = new TFAlarmSettings(m_settings, m_ini, m_ui, *m_sound, *m_osd, m_store, &m_main);
        // The test buttons of the outputs this window does not hold.
        connect(m_window, &TFAlarmSettings::test_window_requested, m_alarms.get(),
                &AlarmOutputs::test_window);
        connect(m_window, &TFAlarmSettings::test_tray_requested, m_alarms.get(),
                &AlarmOutputs::test_tray);
        connect(m_window, &TFAlarmSettings::test_program_requested, m_alarms.get(),
                &AlarmOutputs::test_program);
    }
    m_window->open_centred();
}

void Reminders::apply_settings() {
    m_menu->apply_settings();
}

}  // namespace zt
