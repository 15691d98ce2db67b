#include "reminders/logic/alarm_tables.h"

#include "core/cp1251.h"

namespace zt::reminders {

const OptionTable<LeadTime, 10> kLeadTimes({{
                                               {{0, "Сейчас"}, "Во время начала"},
                                               {{1, "Через 1 мин."}, "За 1 мин. до начала"},
                                               {{2, "Через 2 мин."}, "За 2 мин. до начала"},
                                               {{5, "Через 5 мин."}, "За 5 мин. до начала"},
                                               {{10, "Через 10 мин."}, "За 10 мин. до начала"},
                                               {{15, "Через 15 мин."}, "За 15 мин. до начала"},
                                               {{20, "Через 20 мин."}, "За 20 мин. до начала"},
                                               {{30, "Через 30 мин."}, "За 30 мин. до начала"},
                                               {{40, "Через 40 мин."}, "За 40 мин. до начала"},
                                               {{60, "Через 1 ч."}, "За 1 ч. до начала"},
                                           }},
                                           0);

const OptionTable<int, 12> kHideTimes({{
                                          {0, "Никогда"},
                                          {3, "Через 3 сек. после вывода"},
                                          {5, "Через 5 сек. после вывода"},
                                          {10, "Через 10 сек. после вывода"},
                                          {20, "Через 20 сек. после вывода"},
                                          {30, "Через 30 сек. после вывода"},
                                          {60, "Через 1 мин. после вывода"},
                                          {120, "Через 2 мин. после вывода"},
                                          {300, "Через 5 мин. после вывода"},
                                          {600, "Через 10 мин. после вывода"},
                                          {1200, "Через 20 мин. после вывода"},
                                          {1800, "Через 30 мин. после вывода"},
                                      }},
                                      0);

DateTime AlarmLeadTime(int index) {
    return DateTime::fromMinutes(kLeadTimes.value(index).minutes);
}

std::string AlarmLeadText(int index) {
    return to_cp1251(kLeadTimes.value(index).title);
}

int AlarmHideSeconds(int index) {
    const int seconds = kHideTimes.value(index);
    return seconds > 0 ? seconds : 10;
}

int AlarmDisplaySeconds(int index) {
    return index > 0 ? AlarmHideSeconds(index) : 0;
}

}  // namespace zt::reminders
