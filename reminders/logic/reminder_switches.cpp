#include "reminders/logic/reminder_switches.h"

namespace zt {

bool reminder_switch_enabled(const AlarmSwitchSettings& switches, std::size_t index) {
    return index == kReminderOn || switches.enabled;
}

void toggle_reminder_switch(AlarmSwitchSettings& switches, std::size_t index) {
    if (index >= kReminderSwitches.size()) return;
    bool& flag = switches.*kReminderSwitches[index].flag;
    flag = !flag;
}

}  // namespace zt
