#pragma once

#include <array>
#include <vector>

#include "storage/settings_values.h"

namespace zt {

// The window layout the program keeps between runs: sizes, positions, panel and menu switches.

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

// 32 and 24 stay, anything else is 16.
int normalize_icon_size(int size);

}  // namespace zt
