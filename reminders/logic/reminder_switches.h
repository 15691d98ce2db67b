#pragma once

#include <array>
#include <cstddef>

#include "storage/settings_layout.h"

namespace zt {

// The six reminder switches of "Оповещение", shown in the main and the tray menu, each showing
// the value held in the settings model.
struct ReminderSwitch final {
    const char* name;     // the item's object name
    const char* caption;  // UTF-8
    bool AlarmSwitchSettings::*flag;
};

inline constexpr std::size_t kReminderOn = 0;  // "Включено"

inline constexpr std::array<ReminderSwitch, 6> kReminderSwitches{{
    {"MPanelAlarmOn", "Включено", &AlarmSwitchSettings::enabled},
    {"MPanelAlarmWin", "Окно", &AlarmSwitchSettings::window},
    {"MPanelAlarmSound", "Звук", &AlarmSwitchSettings::sound},
    {"MPanelAlarmTray", "В трее", &AlarmSwitchSettings::tray},
    {"MPanelAlarmOSD", "OSD", &AlarmSwitchSettings::osd},
    {"MPanelAlarmAll", "О всех передачах", &AlarmSwitchSettings::all_programmes},
}};

// "Включено" can always be clicked; the five delivery switches only while it is checked.
bool reminder_switch_enabled(const AlarmSwitchSettings& switches, std::size_t index);

// A click on switch `index`, from either menu: the value flips.
void toggle_reminder_switch(AlarmSwitchSettings& switches, std::size_t index);

}  // namespace zt
