#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "ui/image_lists.h"
#include "views/menu_builder.h"
#include "views/side_panel.h"

class QMenu;
class QSplitter;
class QTabWidget;

namespace zt {

struct Settings;
class SettingsStore;
struct ViewState;
class DetailWindows;
class MinuteTick;
class PanelSet;
class ProgramPages;
class Tray;

// The main window: the side panel with the channel and genre panel areas, the programme pages
// and the menu bar; the tray icon belongs to it. It arranges and shows; the application
// (saving, the other windows) answers its requests through the signals.
class TFMain final : public QMainWindow {
    Q_OBJECT
public:
    // `settings` is the live settings model; the window reads its switches from it and puts
    // its layout back before a save.
    // `view` is the shared view state (channel choice, genre filter, programme rows).
    TFMain(SettingsStore& store, ViewState& view, QWidget* parent = nullptr);
    ~TFMain() override;

    Tray& tray() { return *m_tray; }
    // The programme pages: tables, page controls, RebuildProgramList.
    ProgramPages& programs() { return *m_programs; }
    // The channel and genre panels with their menus, the help links.
    PanelSet& panels() { return *m_panels; }
    // The announcement, the channel card and "О программе".
    DetailWindows& details() { return *m_details; }
    // The clock tick: the pages refresh on each new minute, the reminders scan after them.
    MinuteTick& minute_tick() { return *m_tick; }
    // "Оповещение" of "Панели", which the reminders fill (the tray's is Tray::MTrayAlarm).
    QMenu& alarm_menu() { return *m_alarm_menu; }
    ViewState& view() { return m_view; }
    // The window's own menu items (the components own theirs; the menu builder places all).
    const MainWindowActions& actions() const { return m_actions; }
    // The channel logos decoded for the tables, the panels and the other windows.
    const LogoImages& logos() const { return m_logos; }

    // Layout from the settings model: window geometry and state, side panel switches and
    // sizes, page "Сейчас".
    void apply_layout_settings();
    // Window-related general settings: the monitor to start on and the tray icon.
    void apply_general_settings();
    // Puts the window's layout into the settings model (before a save).
    void collect_layout_settings();
    // True when the window starts hidden in the tray ("Запускать свернутым в значок").
    bool starts_hidden() const;
    // Shows the window as start-up leaves it: hidden in the tray, or shown in its state.
    void show_at_start();

    // Places the side panel from the menu switches.
    void LayoutSidePanel();
    void HideToTray();
    void RestoreFromTray();
    void ExitProgram();
    // Disables (on) or enables the menus, the side panel, its splitter and the pages.
    void LockMainWindow(bool on);
    // Makes a programme page active (0 "Сейчас" .. 3 "Поиск") and checks its menu item.
    void set_page(int index);
    // Lets the next close request end the program instead of asking to save.
    void allow_close() { m_close_allowed = true; }

signals:
    // "Выход" or a close without tray minimising: the application saves and ends.
    void exit_requested();
    void stat_requested();
    // "Менеджер": the manager window.
    void manager_requested();
    // The day page's print button or "Печать" (the day page is active by then).
    void print_requested();
    void cabinet_requested();
    // "Настройка": the settings dialog.
    void settings_requested();
    // "Ручное получение телепрограммы" or the tray's "Получить телепрограмму".
    void download_requested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QSplitter* SplitterGeneral = nullptr;
    SidePanel* PanelUtils = nullptr;
    QTabWidget* PageControlProg = nullptr;
    // "Сейчас", "Скоро", "По дням", "Поиск": the programme tables go into these pages.
    std::array<QWidget*, 4> pages{};

    void build_pages();
    void connect_menu();
    void make_actions();
    void bind_switches();
    void move_panel(PanelEdge edge);
    std::optional<PanelEdge> chosen_edge() const;

    SettingsStore& m_store;
    Settings& m_settings;
    MainWindowActions m_actions;
    LogoImages m_logos;  // decoded once for the tables, the channel panel and detail windows
    ViewState& m_view;
    std::unique_ptr<SidePanelLayout> m_layout;
    Tray* m_tray = nullptr;
    MinuteTick* m_tick = nullptr;
    DetailWindows* m_details = nullptr;
    ProgramPages* m_programs = nullptr;
    PanelSet* m_panels = nullptr;
    QMenu* m_alarm_menu = nullptr;
    bool m_close_allowed = false;
};

}  // namespace zt
