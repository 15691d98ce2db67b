#pragma once

#include "reminders/alarm_settings_tab.h"

namespace zt {

// Tab "Основное": lead and display time, the tray balloon, the external program.
class AlarmSettingsGeneral final : public AlarmSettingsTab {
    Q_OBJECT
public:
    explicit AlarmSettingsGeneral(SettingsStore& store, QWidget* parent = nullptr);

signals:
    // "Проверить" beside "Оповещение в трее:": a sample reminder as a tray balloon.
    void test_tray_requested();
    // "Проверить" below the program: start it as a reminder would.
    void test_program_requested();
};

// The items of "Выводить:" and "Убирать:".
QStringList lead_items();
QStringList hide_items();

}  // namespace zt
