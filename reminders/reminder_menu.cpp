#include "reminders/reminder_menu.h"

#include <QAction>
#include <QMenu>

#include "reminders/logic/reminder_switches.h"
#include "storage/settings.h"
#include "ui/menu_items.h"

namespace zt {

ReminderMenu::ReminderMenu(Settings& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {
    for (std::size_t i = 0; i < kReminderSwitches.size(); ++i) {
        const ReminderSwitch& s = kReminderSwitches[i];
        m_items[i] = make_switch(*this, s.name, QString::fromUtf8(s.caption));
        connect(m_items[i], &QAction::triggered, this, [this, i] { clicked(i); });
    }
    m_settings_item = make_action(*this, "MPanelAlarmSettings", QStringLiteral("Настройка"));
    apply_settings();
}

void ReminderMenu::fill(QMenu& menu) const {
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        // Separators after "Включено" and before "О всех передачах".
        if (i == m_items.size() - 1) menu.addSeparator();
        menu.addAction(m_items[i]);
        if (i == kReminderOn) menu.addSeparator();
    }
    menu.addSeparator();
    menu.addAction(m_settings_item);
}

void ReminderMenu::clicked(std::size_t index) {
    m_settings.alarm_switches.*kReminderSwitches[index].flag = m_items[index]->isChecked();
    apply_settings();
}

void ReminderMenu::apply_settings() {
    const AlarmSwitchSettings& a = m_settings.alarm_switches;
    for (std::size_t i = 0; i < kReminderSwitches.size(); ++i) {
        m_items[i]->setChecked(a.*kReminderSwitches[i].flag);
        m_items[i]->setEnabled(reminder_switch_enabled(a, i));
    }
}

}  // namespace zt
