#pragma once

#include <array>
#include <cstddef>

#include "storage/settings.h"

namespace zt {

// The six reminder switches of "Оповещение": one in the main menu and a twin in the tray menu
// each, both showing the value held in the settings model.
struct ReminderSwitch final {
    const char* main_name;  // item of "Панели" / "Оповещение"
    const char* tray_name;  // its twin in the tray menu
    const char* caption;    // UTF-8
    bool AlarmSwitchSettings::*flag;
};

inline constexpr std::size_t kReminderOn = 0;  // "Включено"

inline constexpr std::array<ReminderSwitch, 6> kReminderSwitches{{
    {"MPanelAlarmOn", "MTrayAlarmOn", "Включено", &AlarmSwitchSettings::enabled},
    {"MPanelAlarmWin", "MTrayAlarmWin", "Окно", &AlarmSwitchSettings::window},
    {"MPanelAlarmSound", "MTrayAlarmSound", "Звук", &AlarmSwitchSettings::sound},
    {"MPanelAlarmTray", "MTrayAlarmTray", "В трее", &AlarmSwitchSettings::tray},
    {"MPanelAlarmOSD", "MTrayAlarmOSD", "OSD", &AlarmSwitchSettings::osd},
    {"MPanelAlarmAll", "MTrayAlarmAll", "О всех передачах", &AlarmSwitchSettings::all_programmes},
}};

// "Включено" can always be clicked; the five delivery switches only while it is checked.
bool reminder_switch_enabled(const AlarmSwitchSettings& switches, std::size_t index);

// A click on switch `index`, from either menu: the value flips.
void toggle_reminder_switch(AlarmSwitchSettings& switches, std::size_t index);

}  // namespace zt
