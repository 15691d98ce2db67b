#pragma once

#include "reminders/alarm_settings_tab.h"

namespace zt {

// Tab "Окно": size, boldness, place, monitor, transparency and animation of the reminder
// window, and its test.
class AlarmSettingsWindow final : public AlarmSettingsTab {
    Q_OBJECT
public:
    explicit AlarmSettingsWindow(SettingsStore& store, QWidget* parent = nullptr);

signals:
    // "Проверить": a sample reminder in the reminder window.
    void test_window_requested();
};

// The items shared with tab "OSD": "Малый" .. "Большой", "Слева" .. "Справа",
// "Вверху" .. "Внизу".
QStringList size_items();
QStringList horizontal_items();
QStringList vertical_items();

}  // namespace zt
