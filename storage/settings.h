#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/maintenance.h"
#include "storage/ini_file.h"

namespace zt {

// The user's preferences as live values: the dialogs and menus edit this model, the working
// code reads it, and settings.ini holds it between runs. One struct per file section; the key
// of every member is written next to it in settings.cpp. Texts are CP1251 like the store.
//
// Members whose default the window decides at run time (sizes of panels, column widths, icon
// sizes, the table font) start from the design values and keep their current value when their
// key is missing from the file; every other missing or unreadable key reads as its default.

// A colour as the file stores it: 0x00BBGGRR (blue in the high byte), in decimal. Negative
// values (high byte 0xFF) name system colours and are kept as they are.
using Colour = std::int32_t;

constexpr int colour_red(Colour c) {
    return c & 0xFF;
}
constexpr int colour_green(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int colour_blue(Colour c) {
    return (c >> 16) & 0xFF;
}
constexpr Colour make_colour(int red, int green, int blue) {
    return Colour((blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF));
}
constexpr bool is_system_colour(Colour c) {
    return (std::uint32_t(c) >> 24) != 0;
}

// Size and position of a window part, in pixels.
struct Geometry final {
    int width = 0;
    int height = 0;
    int top = 0;
    int left = 0;
    bool operator==(const Geometry&) const = default;
};

// ---------------------------------------------------------------- group A: window layout

// [WM] the main window.
struct MainWindowSettings final {
    int width = 800;
    int height = 570;
    int top = 0;
    int left = 0;
    int state = 0;  // 0 normal, 1 minimised, 2 maximised
    bool operator==(const MainWindowSettings&) const = default;
};

// [WPU] the side panel holding the channel and genre panels, and its menu switches.
struct SidePanelSettings final {
    bool show_channels = true;  // "Показывать каналы"
    bool show_types = true;     // "Показывать типы"
    bool pos_left = true;       // "Слева"   (the four positions are one radio group)
    bool pos_right = false;     // "Справа"
    bool pos_up = false;        // "Вверху"
    bool pos_down = false;      // "Внизу"
    Geometry geometry{160, 537, 0, 0};
    bool operator==(const SidePanelSettings&) const = default;
};

// [WPC] the channel panel and its list.
struct ChannelPanelSettings final {
    Geometry geometry{160, 255, 0, 0};
    bool detailed = true;              // "Подробно" (false: "Кратко")
    std::vector<int> columns{90, 30};  // widths of "Канал", "Кнопка"
    int icon_size = 16;                // 16, 24 or 32
    bool operator==(const ChannelPanelSettings&) const = default;
};

// [WPT] the genre panel.
struct GenrePanelSettings final {
    Geometry geometry{160, 279, 258, 0};
    bool detailed = true;
    int icon_size = 16;
    bool operator==(const GenrePanelSettings&) const = default;
};

// [WPP] the programme pages; [WPP1]..[WPP4] the column widths of the lists "Сейчас",
// "Скоро", "По дням" and "Поиск" (a hidden column has width 0).
struct ProgramPagesSettings final {
    static constexpr int page_count = 4;
    // The window's widths at first start. "Осталось" holds the time left and the percentage
    // (" 01:00   100%"), which needs about 80 pixels in the desktop's sans font.
    static std::vector<int> default_columns() { return {140, 30, 56, 56, 45, 85, 45, 190}; }
    Geometry geometry{505, 537, 0, 163};
    int icon_size = 16;
    std::array<std::vector<int>, page_count> columns{default_columns(), default_columns(),
                                                     default_columns(), default_columns()};
    bool operator==(const ProgramPagesSettings&) const = default;
};

// [CHP] programme view switches of the main menu.
struct ProgramViewSettings final {
    bool show_past = true;       // "Прошедшие"
    bool letter_abbrev = false;  // "Буквенные сокращения"
    bool next_week = false;  // "Неделя" is "Будущая": a choice of the session, never stored
    bool operator==(const ProgramViewSettings&) const = default;
};

// [CHA] reminder switches of the main menu (mirrored in the tray menu).
struct AlarmSwitchSettings final {
    bool enabled = true;          // "Включено"
    bool window = true;           // "Окно"
    bool sound = false;           // "Звук"
    bool tray = false;            // "В трее"
    bool osd = false;             // "OSD"
    bool all_programmes = false;  // "О всех передачах"
    bool operator==(const AlarmSwitchSettings&) const = default;
};

// [CHU] the download dialog.
struct DownloadDialogSettings final {
    int user_type = 0;        // "Бесплатный", "Платный"
    bool save_login = false;  // "Сохранять пароль"
    bool operator==(const DownloadDialogSettings&) const = default;
};

// [CHD] downloads.
struct DownloadSettings final {
    bool auto_download = true;  // "Автоматическое получение телепрограммы"
    bool announcements = true;  // download announcements
    bool operator==(const DownloadSettings&) const = default;
};

// [CGR] the current channel group.
struct ChannelGroupSettings final {
    int current = -1;  // index in the store's groups; -1 none
    bool operator==(const ChannelGroupSettings&) const = default;
};

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

// ---------------------------------------------------------------- the model

// The four groups, always loaded and saved whole.
enum class SettingsGroup { layout, general, reminders, printing };

struct Settings final {
    // group A
    MainWindowSettings main_window;
    SidePanelSettings side_panel;
    ChannelPanelSettings channel_panel;
    GenrePanelSettings genre_panel;
    ProgramPagesSettings pages;
    ProgramViewSettings program_view;
    AlarmSwitchSettings alarm_switches;
    DownloadDialogSettings download_dialog;
    DownloadSettings download;
    ChannelGroupSettings channel_group;
    // group B
    GeneralSettings general;
    ProxySettings proxy;
    PersonalSettings personal;
    ViewSettings view;
    ServiceSettings service;
    // group C
    AlarmGeneralSettings alarm_general;
    AlarmWindowSettings alarm_window;
    AlarmSoundSettings alarm_sound;
    AlarmOsdSettings alarm_osd;
    // group D
    PrintPageSettings print_page;
    PrintColumnSettings print_columns;
    PrintLineSettings print_line;

    // Reads one group from what `ini` holds (call ini.load() first to see the file as it is
    // on disk). Never fails: missing keys and unreadable numbers give the defaults, except
    // for the members whose default is the window's current value.
    void load_group(const IniFile& ini, SettingsGroup group);
    // Puts one group into `ini` and writes the file. On SettingsWriteError nothing of this
    // save reaches the file and `ini` is left as it was before the call.
    void save_group(IniFile& ini, SettingsGroup group) const;
    void load_all(const IniFile& ini);
    // All four groups in one write.
    void save_all(IniFile& ini) const;

    bool operator==(const Settings&) const = default;

private:
    void put_group(IniFile& ini, SettingsGroup group) const;
};

// ---------------------------------------------------------------- derived values

// The maintenance options of the store: "Ставить оповещения на любимые передачи", the keep
// period of favourites (30, 90 or 180 days) and the rating reminders.
MaintenanceOptions maintenance_options(const Settings& settings);

// 32 and 24 stay, anything else is 16.
int normalize_icon_size(int size);
// The store's wheel step for "Прокрутка мышью": 50, 20 or 2.
int wheel_step(int mouse_speed);
// The monitor item to select: the stored index when below the number of monitors, else 0.
int monitor_index(int stored, int monitor_count);
// Keep period of favourites for the item of "Любимые и не любимые передачи".
int love_keep_days(int item);
// The text of the "Новый день начинается в:" item: "00:00" .. "23:00"; "00:00" for an index
// outside the list.
std::string day_start_text(int item);

// The description decorations are stored with every space as "$" (the profile reader trims
// blanks); these turn a text into its stored form and back.
std::string decoration_to_file(std::string_view text);
std::string decoration_from_file(std::string_view text);

}  // namespace zt
