#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

namespace zt {

struct PanelViewActions;
struct ProgramPageActions;

// The main window's own items: "Данные", the side panel's place and switches, "Справка".
struct MainWindowActions final {
    QAction* download_auto = nullptr;  // MDataDownloadProgAuto (switch, the live settings)
    QAction* download_prog = nullptr;  // MDataDownloadProg "Ручное получение телепрограммы"
    QAction* settings = nullptr;  // MDataSettings "Настройка"
    QAction* cabinet = nullptr;   // MDataCabinet "Личный кабинет"
    QAction* stat = nullptr;      // MStat "Статистика"
    QAction* manager = nullptr;   // MDataManager "Менеджер"
    QAction* print = nullptr;     // MDataPrint "Печать": the day page's print command
    QAction* to_tray = nullptr;   // MDataTray "Свернуть в системный трей"
    QAction* exit = nullptr;      // MDataExit "Выход"
    QActionGroup* positions = nullptr;
    std::array<QAction*, 4> position{};  // MPanelUtilsHLeft, ...HRight, ...VUp, ...VDown
    QAction* show_channels = nullptr;    // MPanelUtilsChannels "Показывать каналы"
    QAction* show_types = nullptr;       // MPanelUtilsTypes "Показывать типы"
    QAction* help_index = nullptr;       // MHelpIndex "Содержание"
    QAction* help_site = nullptr;        // MHelpURL "Сайт программы"
    QAction* help_mail = nullptr;  // MHelpEmail "Письмо в службу поддержки"
};

// What the menu bar shows: every component's own actions and menus.
struct MenuParts final {
    const MainWindowActions& window;
    const ProgramPageActions& pages;
    const PanelViewActions& channel_view;
    const PanelViewActions& genre_view;
    QMenu& channels;  // "&Каналы", filled by the channel panel
    QMenu& types;     // "&Типы", filled by the genre panel
    QAction* about;   // MHelpAbout "О программе", the detail windows'
};

// Lays out "&Данные", "&Панели", "&Каналы", "&Типы" and "&Справка" in `bar`. The actions stay
// with their components; the menus made here belong to the bar. Returns "Оповещение" of
// "Панели", left empty for the reminders to fill.
QMenu& build_menu_bar(QMenuBar& bar, const MenuParts& parts);

}  // namespace zt
