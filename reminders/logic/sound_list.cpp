#include "reminders/logic/sound_list.h"

#include <array>

namespace zt {

namespace {

constexpr int kPerGroup = 7;
constexpr std::array<const char*, 7> kGroups = {"Животные", "Люди",    "Оповещение", "Отбивка",
                                                "Разное",   "Техника", "Шумы"};

}  // namespace

bool is_builtin_sound(int index) {
    return index >= 1 && index <= kBuiltinSoundCount;
}

std::string sound_caption(int index) {
    if (index == 0) return "Из файла";
    if (!is_builtin_sound(index)) return {};
    const int i = index - 1;
    return std::string(kGroups[i / kPerGroup]) + " " + std::to_string(i % kPerGroup + 1);
}

}  // namespace zt
