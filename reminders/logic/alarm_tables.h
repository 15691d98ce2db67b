#pragma once

#include <array>
#include <string>

#include "core/datetime.h"

namespace zt::reminders {

// The lead times of "Выводить:" (GenShow) and the display times of "Убирать:" (GenHide), by the
// index the settings keep. An index outside a table counts as its first item's value.
constexpr int kLeadCount = 10;
constexpr int kHideCount = 12;

// The time added to the current minute: 0, 1, 2, 5, 10, 15, 20, 30, 40 minutes or 1 hour.
DateTime AlarmLeadTime(int index);
// "Сейчас", "Через 1 мин." .. "Через 1 ч." (CP1251): the reminder window's and balloon's title.
std::string AlarmLeadText(int index);
// Seconds of the display time: 3 .. 1800; index 0 "Никогда" (and any other) gives 10.
int AlarmHideSeconds(int index);
// Seconds the reminder window and the on-screen display stay for the item of "Убирать:": 0
// (they stay until closed) for "Никогда" (index 0 or less), else AlarmHideSeconds.
int AlarmDisplaySeconds(int index);

// The combo texts (UTF-8): "Во время начала" .. "За 1 ч. до начала"; "Никогда" ..
// "Через 30 мин. после вывода".
const std::array<const char*, kLeadCount>& lead_captions();
const std::array<const char*, kHideCount>& hide_captions();

}  // namespace zt::reminders
