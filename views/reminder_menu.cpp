#include "views/reminder_menu.h"

#include <QAction>
#include <QMenu>

#include "storage/settings.h"
#include "views/logic/reminder_switches.h"

namespace zt {

ReminderMenu::ReminderMenu(Settings& settings, QMenu& main_menu, QMenu& tray_menu, QObject* parent)
    : QObject(parent), m_settings(settings) {
    for (std::size_t i = 0; i < kReminderSwitches.size(); ++i) {
        const ReminderSwitch& s = kReminderSwitches[i];
        // Separators after "Включено" and before "О всех передачах", in both menus.
        if (i == kReminderSwitches.size() - 1) {
            main_menu.addSeparator();
            tray_menu.addSeparator();
        }
        const QString caption = QString::fromUtf8(s.caption);
        QAction* main = main_menu.addAction(caption);
        main->setObjectName(QLatin1String(s.main_name));
        QAction* tray = tray_menu.addAction(caption);
        tray->setObjectName(QLatin1String(s.tray_name));
        main->setCheckable(true);
        tray->setCheckable(true);
        main_items[i] = main;
        tray_items[i] = tray;
        connect(main, &QAction::triggered, this, [this, i] { main_clicked(i); });
        connect(tray, &QAction::triggered, main, &QAction::trigger);
        if (i == kReminderOn) {
            main_menu.addSeparator();
            tray_menu.addSeparator();
        }
    }
    apply_settings();
}

void ReminderMenu::main_clicked(std::size_t index) {
    m_settings.alarm_switches.*kReminderSwitches[index].flag = main_items[index]->isChecked();
    apply_settings();
}

void ReminderMenu::apply_settings() {
    const AlarmSwitchSettings& a = m_settings.alarm_switches;
    for (std::size_t i = 0; i < kReminderSwitches.size(); ++i) {
        const bool on = a.*kReminderSwitches[i].flag;
        const bool enabled = reminder_switch_enabled(a, i);
        for (QAction* item : {main_items[i], tray_items[i]}) {
            item->setChecked(on);
            item->setEnabled(enabled);
        }
    }
}

}  // namespace zt
