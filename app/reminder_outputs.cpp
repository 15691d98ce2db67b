#include "app/reminder_outputs.h"

#include <QSystemTrayIcon>
#include <QTimer>

#include "core/store.h"
#include "reminders/alarm_outputs.h"
#include "reminders/alarm_window.h"
#include "reminders/logic/alarm_tables.h"
#include "reminders/logic/program_start.h"
#include "storage/settings_store.h"
#include "ui/cp_text.h"
#include "views/main_window.h"
#include "views/program_pages.h"
#include "views/tray.h"

#include "reminders/alarm_settings.h"
#include "reminders/alarm_sound.h"
#include "reminders/osd_window.h"

namespace zt {

namespace {

// The sample reminder of the settings window's tests: the chosen lead text, the catalogue's
// first genre, "[001] Название канала" at "12:00" with "Название передачи".
reminders::AlarmEvent sample_event(const all_list& store, const Settings& settings) {
    reminders::AlarmEvent e;
    e.LeadText = reminders::AlarmLeadText(settings.alarm_general.show);
    if (!store.types.empty()) {
        e.GenreName = store.types.front()->name;
        e.GenreIcon = store.types.front()->image;
    }
    e.ChannelCaption = to_cp(QStringLiteral("[001] Название канала"));
    e.ChannelHint = to_cp(QStringLiteral("Описание канала"));
    e.StartText = "12:00";
    e.TitleText = to_cp(QStringLiteral("Название передачи"));
    e.HideCountdown = reminders::AlarmHideSeconds(settings.alarm_general.hide);
    return e;
}

// Seconds until the display goes by itself; 0 with "Никогда".
int display_seconds(const Settings& settings) {
    const int hide = settings.alarm_general.hide;
    return hide > 0 ? reminders::AlarmHideSeconds(hide) : 0;
}

}  // namespace

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

void ReminderOutputs::plug_into(AlarmOutputs& alarms, TFMain& main) {
    alarms.set_sound([this] { m_sound->play(m_settings.get().alarm_sound); },
                     [this] { m_sound->stop(); });
    const LogoImages& logos = main.programs().logos();
    alarms.set_osd([this, &logos](const reminders::AlarmEvent& event) {
        const Settings& s = m_settings.get();
        m_osd->show(osd_content(event, logos), s.alarm_osd, display_seconds(s));
    });
    connect(this, &ReminderOutputs::test_window_requested, &alarms, [this, &alarms] {
        const Settings& s = m_settings.get();
        alarms.window().AlarmWinAdd(sample_event(m_store, s), display_seconds(s));
        alarms.window().AlarmWinShow();
        alarms.close_timer().start();
    });
    QSystemTrayIcon* tray = main.tray().TrayIcon;
    connect(this, &ReminderOutputs::test_tray_requested, tray, [this, tray] {
        const reminders::AlarmEvent e = sample_event(m_store, m_settings.get());
        tray->setVisible(true);
        tray->showMessage(from_cp(e.LeadText),
                          from_cp(e.ChannelCaption) + QLatin1Char('\n') + from_cp(e.StartText) +
                              QLatin1Char(' ') + from_cp(e.TitleText),
                          QSystemTrayIcon::Information, e.HideCountdown * 1000);
    });
    connect(this, &ReminderOutputs::test_program_requested, this, [this] {
        const AlarmGeneralSettings& g = m_settings.get().alarm_general;
        if (g.prog_start.empty()) return;
        reminders::start_program_detached(reminders::program_command(g.prog_start, g.prog_param));
    });
}

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
