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
    QAction* MDataCabinet = nullptr;  // "Личный кабинет"
    QAction* MStat = nullptr;         // "Статистика"
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
    QAction* MPanelUtilsTypes = nullptr;     // "Показывать типы"
    QMenu* MPanelProg = nullptr;             // "Передачи"
    QMenu* MPanelProgPage = nullptr;         // "Закладки"
    std::array<QAction*, 4> MPanelProgPages{};  // "Сейчас", "Скоро", "По дням", "Поиск"
    QActionGroup* pages = nullptr;
};

// Builds the menus into `bar`; actions belong to `owner`.
MainMenu build_main_menu(QMenuBar& bar, QObject& owner);

}  // namespace zt
