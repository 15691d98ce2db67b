#pragma once

#include <string>

#include "core/datetime.h"
#include "core/option_table.h"

namespace zt::reminders {

// One item of "Выводить:" (GenShow): minutes before the start, and the reminder's title for it.
struct LeadTime final {
    int minutes;
    const char* title;  // "Сейчас", "Через 5 мин." (UTF-8)
};

// The lists of "Выводить:" and "Убирать:" (GenHide) by the index the settings keep. An index
// outside a list counts as its first item.
extern const OptionTable<LeadTime, 10> kLeadTimes;
// Seconds the reminder stays on screen; 0 for "Никогда".
extern const OptionTable<int, 12> kHideTimes;

// The time added to the current minute: 0, 1, 2, 5, 10, 15, 20, 30, 40 minutes or 1 hour.
DateTime AlarmLeadTime(int index);
// "Сейчас", "Через 1 мин." .. "Через 1 ч." in store text (CP1251): the reminder window's and
// balloon's title.
std::string AlarmLeadText(int index);
// Seconds a tray balloon stays: 3 .. 1800; "Никогда" (and any index outside) gives 10, since
// the desktop removes a balloon by itself anyway.
int AlarmHideSeconds(int index);
// Seconds the reminder window and the on-screen display stay: 0 (they stay until closed) for
// "Никогда" (index 0 or less), else AlarmHideSeconds.
int AlarmDisplaySeconds(int index);

}  // namespace zt::reminders
