#include "app/reminder_wiring.h"

#include <QMenu>

#include "app/reminder_outputs.h"
#include "dialogs/msg_window.h"
#include "reminders/alarm_outputs.h"
#include "reminders/alarm_sound.h"
#include "reminders/logic/alarm_tables.h"
#include "reminders/osd_window.h"
#include "storage/settings.h"
#include "views/main_window.h"
#include "views/program_pages.h"
#include "views/tray.h"

namespace zt {

std::unique_ptr<AlarmOutputs> make_reminders(all_list& store, Settings& settings, TFMain& main,
                                             TFMsg& msg) {
    auto alarms = std::make_unique<AlarmOutputs>(store, settings, main.tray().icon(),
                                                 main.programs().logos(), &main);
    AlarmOutputs* a = alarms.get();
    main.programs().set_alarm_check([a] { a->AlarmCheck(); });
    a->set_error_handler([&msg](const QString& text) { msg.ShowMsg(MsgKind::Error, text); });
    if (auto* menu = main.findChild<QMenu*>(QStringLiteral("MPanelAlarm"))) {
        menu->addSeparator();
        menu->addAction(a->export_action());
    }
    return alarms;
}

void plug_reminder_outputs(AlarmOutputs& alarms, ReminderOutputs& outputs, const Settings& settings,
                           const LogoImages& logos) {
    AlarmSound& sound = outputs.sound();
    alarms.set_sound([&sound, &settings] { sound.play(settings.alarm_sound); },
                     [&sound] { sound.stop(); });
    AlarmOsd& osd = outputs.osd();
    alarms.set_osd([&osd, &settings, &logos](const reminders::AlarmEvent& e) {
        osd.show(osd_content(e, logos), settings.alarm_osd,
                 reminders::AlarmDisplaySeconds(settings.alarm_general.hide));
    });
    QObject::connect(&outputs, &ReminderOutputs::test_window_requested, &alarms,
                     &AlarmOutputs::test_window);
    QObject::connect(&outputs, &ReminderOutputs::test_tray_requested, &alarms,
                     &AlarmOutputs::test_tray);
    QObject::connect(&outputs, &ReminderOutputs::test_program_requested, &alarms,
                     &AlarmOutputs::test_program);
}

}  // namespace zt
