#pragma once

#include <string>

namespace zt {

// The built-in reminder sounds: seven each of the groups "Животные", "Люди", "Оповещение",
// "Отбивка", "Разное", "Техника" and "Шумы", numbered 1..49 in that order (index 0 of the
// sound list is "Из файла").
constexpr int kBuiltinSoundCount = 49;

bool is_builtin_sound(int index);
// "Из файла" for 0, "Животные 1" .. "Шумы 7" for 1..49 (UTF-8); empty outside the list.
std::string sound_caption(int index);

}  // namespace zt
