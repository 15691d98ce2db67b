#include "app/reminder_wiring.h"

#include <QMenu>

#include "dialogs/msg_window.h"
#include "reminders/alarm_outputs.h"
#include "views/main_window.h"
#include "views/program_pages.h"
#include "views/tray.h"

namespace zt {

std::unique_ptr<AlarmOutputs> make_reminders(all_list& store, Settings& settings, TFMain& main,
                                             TFMsg& msg) {
    auto alarms = std::make_unique<AlarmOutputs>(store, settings, *main.tray().TrayIcon,
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

}  // namespace zt
