#pragma once

#include <string>

#include "storage/settings_values.h"

namespace zt {

// The reminder settings: the tabs of the reminder settings window. Texts are CP1251.

// ---------------------------------------------------------------- group C: reminders

// [AG] general tab of the reminder settings.
struct AlarmGeneralSettings final {
    int show = 3;  // lead time index: "За 5 мин. до начала"
    int hide = 3;  // display time index: "Через 10 сек. после вывода"
    int tray = 1;  // "Отображать всегда", "Когда свернуто в трей"
    std::string prog_start;
    std::string prog_param;
    int prog_window = 0;  // "Обычный размер окна", "Свернутое в значок", "Развернутое..."
    int window_width = 197;  // the reminder window's size
    int window_height = 102;
    bool operator==(const AlarmGeneralSettings&) const = default;
};

// [AW] window tab.
struct AlarmWindowSettings final {
    int size = 0;  // "Малый", "Средний", "Большой"
    bool bold = false;
    int pos1 = 2;  // "Слева", "По середине", "Справа"
    int pos2 = 2;  // "Вверху", "По середине", "Внизу"
    int monitor = 0;
    int alpha = 0;  // "Нет", "10%" .. "90%"
    int anim = 3;  // "Нет", "Плавное появление", "Движение сверху вниз", ...
    bool operator==(const AlarmWindowSettings&) const = default;
};

// [AS] sound tab.
struct AlarmSoundSettings final {
    int name = 0;  // 0 "Из файла", 1..49 built-in sounds
    std::string file;
    bool stop_at_end = false;  // "Пока оповещение на экране"
    bool operator==(const AlarmSoundSettings&) const = default;
};

// [AO] on-screen display tab.
struct AlarmOsdSettings final {
    int out = 0;  // "Окно", "Оверлей"
    bool alpha = false;
    int size = 0;
    bool bold = false;
    int pos1 = 0;
    int pos2 = 0;
    int monitor = 0;
    Colour text = 0x00FF00;
    Colour back = 0x000000;
    bool operator==(const AlarmOsdSettings&) const = default;
};

}  // namespace zt
