#pragma once

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QObject;

namespace zt {

// The items of the main window's menu bar that have work behind them. Names are the ones the
// rest of the program refers to; the window connects them to its handlers.
struct MainMenu final {
    // "&Данные"
    QMenu* MData = nullptr;
    QMenu* MDataWeek = nullptr;       // "Неделя"
    QAction* MDataWeekCur = nullptr;  // "Текущая (...)": the shown week is the current one
    QAction* MDataWeekNew = nullptr;  // "Будущая (...)"
    QActionGroup* weeks = nullptr;
    QAction* MDataCabinet = nullptr;  // "Личный кабинет"
    QAction* MStat = nullptr;         // "Статистика"
    QAction* MDataPrint = nullptr;    // "Печать": the day page's print command
    QAction* MDataTray = nullptr;     // "Свернуть в системный трей"
    QAction* MDataExit = nullptr;     // "Выход"

    // "&Панели"
    QMenu* MPanel = nullptr;
    QMenu* MPanelUtils = nullptr;  // "Каналы и типы"
    QAction* MPanelUtilsHLeft = nullptr;
    QAction* MPanelUtilsHRight = nullptr;
    QAction* MPanelUtilsVUp = nullptr;
    QAction* MPanelUtilsVDown = nullptr;
    QActionGroup* positions = nullptr;
    QAction* MPanelUtilsChannels = nullptr;  // "Показывать каналы"
    // The channel panel's mode ("Подробно", "Кратко") and size ("Малый", "Средний", "Большой").
    QAction* MPanelUtilsChannelsFull = nullptr;
    QAction* MPanelUtilsChannelsSmall = nullptr;
    QActionGroup* channel_modes = nullptr;
    QMenu* MPanelUtilsChannelsSize = nullptr;
    std::array<QAction*, 3> MPanelUtilsChannelsSizes{};  // 16, 24, 32
    QActionGroup* channel_sizes = nullptr;
    QAction* MPanelUtilsTypes = nullptr;  // "Показывать типы"
    // The genre panel's mode and size, likewise.
    QAction* MPanelUtilsTypesFull = nullptr;
    QAction* MPanelUtilsTypesSmall = nullptr;
    QActionGroup* type_modes = nullptr;
    QMenu* MPanelUtilsTypesSize = nullptr;
    std::array<QAction*, 3> MPanelUtilsTypesSizes{};  // 16, 24, 32
    QActionGroup* type_sizes = nullptr;
    QMenu* MPanelProg = nullptr;                // "Передачи"
    QMenu* MPanelProgPage = nullptr;            // "Закладки"
    std::array<QAction*, 4> MPanelProgPages{};  // "Сейчас", "Скоро", "По дням", "Поиск"
    QActionGroup* pages = nullptr;
    QMenu* MPanelProgSize = nullptr;            // "Размер шрифта и значков"
    std::array<QAction*, 3> MPanelProgSizes{};  // "Малый", "Средний", "Большой"
    QActionGroup* prog_sizes = nullptr;
    QAction* MPanelProgOld = nullptr;  // "Прошедшие"
    QAction* MPanelProgTxt = nullptr;  // "Буквенные сокращения"
    QMenu* MPanelAlarm = nullptr;      // "Оповещение": the reminder switches

    // "&Каналы" and "&Типы": filled by the channel panel and the genre panel.
    QMenu* MChannels = nullptr;
    QMenu* MTypes = nullptr;

    // "&Справка"
    QMenu* MHelp = nullptr;
    QAction* MHelpIndex = nullptr;  // "Содержание"
    QAction* MHelpURL = nullptr;    // "Сайт программы"
    QAction* MHelpEmail = nullptr;  // "Письмо в службу поддержки"
    QAction* MHelpAbout = nullptr;  // "О программе"
};

// Builds the menus into `bar`; actions belong to `owner`.
MainMenu build_main_menu(QMenuBar& bar, QObject& owner);

}  // namespace zt
