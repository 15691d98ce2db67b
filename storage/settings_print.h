#pragma once

#include <string>

#include "storage/settings_values.h"

namespace zt {

// The print settings: the print window's tabs. Texts are CP1251.

// ---------------------------------------------------------------- group D: printing

// One kind of mark on printed programmes: symbols and colour.
struct PrintMark final {
    bool on = true;
    std::string symbols;
    Colour colour = 0;
    bool operator==(const PrintMark&) const = default;
};

// [PP] page tab and the print window's colour mode and font.
struct PrintPageSettings final {
    int colour_mode = 0;  // "монохромная", "цветная"
    std::string font_name = "Liberation Sans";
    int font_size = 10;  // points
    bool font_bold = false;
    bool font_italic = false;
    std::string margin_left = "100";  // tenths of a millimetre
    std::string margin_right = "100";
    std::string margin_top = "100";
    std::string margin_bottom = "100";
    bool page_numbers = true;  // "Номера страниц"
    bool merge_parts = false;  // "Объединять одинаковые передачи"
    bool colour_symbols = false;  // "Отметка символами при цветной печати"
    PrintMark love_no{true, "---", 0xE0E0FF};
    PrintMark mark{true, "***", 0xE0FFFF};
    PrintMark love_yes{true, "+++", 0xE0FFE0};
    PrintMark alarm{true, "!!!", 0xFFE0E0};
    bool operator==(const PrintPageSettings&) const = default;
};

// [PC] columns tab.
struct PrintColumnSettings final {
    std::string count = "4";  // "Количество колонок:"
    std::string gap = "50";  // "Расстояние между колонками:", tenths of a millimetre
    bool line = false;         // "Разделять колонки линией"
    bool new_day = false;      // "Новый день с новой страницы"
    bool new_channel = false;  // "Новый канал с новой страницы"
    bool day_heading = true;   // "Шапка начала дня"
    Colour day_heading_colour = 0xE5B8B8;
    bool channel_heading = true;  // "Шапка начала канала"
    Colour channel_heading_colour = 0xB8E5B8;
    bool operator==(const PrintColumnSettings&) const = default;
};

// [PS] line tab.
struct PrintLineSettings final {
    bool channel = false;  // "Канал"
    bool start_time = true;
    int start_form = 0;  // "только время", "время и дата", "дата и время"
    bool mark_time = false;  // "Выделять"
    Colour mark_time_colour = 0xB8E5E5;
    bool finish_time = false;
    int finish_form = 0;
    bool length = false;             // "Длительность"
    bool rating = false;             // "Рейтинг"
    bool type_icons = false;         // "Значки типов передач"
    bool split = true;               // "Переносить по словам"
    std::string max_length = "999";  // "Ограничить длину:"
    bool one_line = false;  // "В одну строку": a choice of the session, never stored
    bool operator==(const PrintLineSettings&) const = default;
};

}  // namespace zt
