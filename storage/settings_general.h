#pragma once

#include <string>
#include <string_view>

#include "core/option_table.h"
#include "storage/settings_values.h"

namespace zt {

// The general settings: the settings dialog's tabs and the service's server. Texts are CP1251.

// ---------------------------------------------------------------- group B: general

// [GG] general tab of the settings dialog.
struct GeneralSettings final {
    int monitor = 0;            // "Запускать на:"
    int mouse_speed = 1;        // "Медленная", "Обычная", "Быстрая"
    bool table_grid = true;     // "Показывать сетку в таблицах"
    bool mouse_focus = false;   // "Переводить фокус за курсором мыши"
    bool channel_logos = true;  // "Логотипы каналов в таблицах"
    bool type_icons = true;     // "Значки типов передач в таблицах"
    bool love_alarm = false;  // "Ставить оповещения на любимые передачи"
    bool tray_minimize = false;  // "Сворачивать в трей при закрытии"
    bool tray_start = false;     // "Запускать свернутым в значок"
    bool quiet_start = false;    // "\"Тихая\" загрузка"
    bool view_date = false;   // "Отображать дату в колонках передач"
    bool tray_icon = false;   // "Всегда отображать значок в трее"
    bool verify_time = true;  // "Сверять локальное и серверное время"
    bool operator==(const GeneralSettings&) const = default;
};

// [GP] proxy tab.
struct ProxySettings final {
    bool from_browser = true;  // "Брать настройки прокси из системы" (the desktop's proxy)
    bool use_proxy = false;  // "Использовать прокси-сервер"
    std::string server;
    std::string port;
    std::string user;
    std::string password;  // kept in plain text, as entered
    bool operator==(const ProxySettings&) const = default;
};

// [GU] personal tab.
struct PersonalSettings final {
    std::string descr_left = " (";  // "слева:"
    std::string descr_right = ")";  // "справа:"
    bool auto_quiet = false;        // "\"Тихий\" режим получения"
    bool auto_on_start = true;      // "При запуске программы"
    bool auto_daily = false;        // "Ежедневно в:"
    bool auto_tray_msg = false;     // "Оповестить сообщением в трее"
    bool rating_alarm = false;      // "Устанавливать оповещение"
    std::string auto_delay = "2";   // "Задержка перед получением:", minutes
    std::string auto_time = "12:00";  // daily download time
    std::string rating_threshold = "75";
    int day_start = 0;  // "Новый день начинается в:", item "00:00".."23:00"
    std::string menu_break = "20";  // "Каналов в колонке в верхнем меню:"
    int love_keep = 1;              // "Удалять старше 30 / 90 / 180 дней"
    bool operator==(const PersonalSettings&) const = default;
};

// [GV] view tab: colours and font of the programme tables.
struct ViewSettings final {
    Colour text = 0x000000;
    Colour back = 0xFFFFFF;
    Colour focus = 0x808080;
    Colour select1 = 0xE0E0E0;
    Colour select2 = 0xE0FFE0;
    Colour end = 0xA0EFA0;
    Colour old = 0x808080;
    Colour current = 0xFF0000;
    Colour love_no = 0xE0E0FF;
    Colour mark = 0xE0FFFF;
    Colour love_yes = 0xE0FFE0;
    Colour alarm = 0xFFE0E0;
    std::string font_name;  // empty: the desktop's default sans font
    int font_size = 8;      // points
    bool font_bold = false;
    bool font_italic = false;
    bool operator==(const ViewSettings&) const = default;
};

// [ZORVAN] the service's server, "host[:port]".
struct ServiceSettings final {
    static constexpr std::string_view default_host = "tv.zorvan.example";
    static constexpr int default_port = 80;
    std::string host{default_host};
    bool operator==(const ServiceSettings&) const = default;
};

// ---------------------------------------------------------------- derived values

// "Прокрутка мышью:" by its stored index: the store's wheel step (an index outside the list
// scrolls fastest, as the last item).
extern const OptionTable<int, 3> kMouseSpeeds;
// "Любимые и не любимые передачи" by its stored index: days a favourite is kept (an index
// outside the list keeps 90 days).
extern const OptionTable<int, 3> kLoveKeeps;

// The store's wheel step for "Прокрутка мышью": 50, 20 or 2.
inline int wheel_step(int mouse_speed) {
    return kMouseSpeeds.value(mouse_speed);
}
// The monitor item to select: the stored index when below the number of monitors, else 0.
int monitor_index(int stored, int monitor_count);
// Keep period of favourites for the item of "Любимые и не любимые передачи".
inline int love_keep_days(int item) {
    return kLoveKeeps.value(item);
}
// The text of the "Новый день начинается в:" item: "00:00" .. "23:00"; "00:00" for an index
// outside the list.
std::string day_start_text(int item);

// The description decorations are stored with every space as "$" (the profile reader trims
// blanks); these turn a text into its stored form and back.
std::string decoration_to_file(std::string_view text);
std::string decoration_from_file(std::string_view text);

}  // namespace zt
