#include "reminders/logic/alarm_tables.h"

#include "core/cp1251.h"

namespace zt::reminders {
namespace {

constexpr std::array<int, kLeadCount> kLeadMinutes = {0, 1, 2, 5, 10, 15, 20, 30, 40, 60};
constexpr std::array<int, kHideCount> kHideSeconds = {10, 3,   5,   10,  20,   30,
                                                      60, 120, 300, 600, 1200, 1800};

bool in(int index, int count) {
    return index >= 0 && index < count;
}

}  // namespace

DateTime AlarmLeadTime(int index) {
    return DateTime::fromMinutes(in(index, kLeadCount) ? kLeadMinutes[std::size_t(index)] : 0);
}

std::string AlarmLeadText(int index) {
    static const std::array<const char*, kLeadCount> texts = {
        "Сейчас",        "Через 1 мин.",  "Через 2 мин.",  "Через 5 мин.",  "Через 10 мин.",
        "Через 15 мин.", "Через 20 мин.", "Через 30 мин.", "Через 40 мин.", "Через 1 ч."};
    return to_cp1251(texts[in(index, kLeadCount) ? std::size_t(index) : 0]);
}

int AlarmHideSeconds(int index) {
    return kHideSeconds[in(index, kHideCount) ? std::size_t(index) : 0];
}

int AlarmDisplaySeconds(int index) {
    return index > 0 ? AlarmHideSeconds(index) : 0;
}

const std::array<const char*, kLeadCount>& lead_captions() {
    static const std::array<const char*, kLeadCount> c = {
        "Во время начала",      "За 1 мин. до начала",  "За 2 мин. до начала",
        "За 5 мин. до начала",  "За 10 мин. до начала", "За 15 мин. до начала",
        "За 20 мин. до начала", "За 30 мин. до начала", "За 40 мин. до начала",
        "За 1 ч. до начала"};
    return c;
}

const std::array<const char*, kHideCount>& hide_captions() {
    static const std::array<const char*, kHideCount> c = {"Никогда",
                                                          "Через 3 сек. после вывода",
                                                          "Через 5 сек. после вывода",
                                                          "Через 10 сек. после вывода",
                                                          "Через 20 сек. после вывода",
                                                          "Через 30 сек. после вывода",
                                                          "Через 1 мин. после вывода",
                                                          "Через 2 мин. после вывода",
                                                          "Через 5 мин. после вывода",
                                                          "Через 10 мин. после вывода",
                                                          "Через 20 мин. после вывода",
                                                          "Через 30 мин. после вывода"};
    return c;
}

}  // namespace zt::reminders
