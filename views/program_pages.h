#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "core/progress.h"
#include "ui/image_lists.h"
#include "views/logic/program_list.h"
#include "views/prog_delegate.h"
#include "views/row_menu.h"

class QAction;
class QActionGroup;
class QMenu;
class QTabWidget;

namespace zt {

struct Settings;
class SettingsStore;
struct ViewState;
class ProgramTable;
class ProgramTableModel;
class ProgramRowDelegate;
class SoonPageControls;
class DaysPageControls;
class FindPageControls;
class DetailWindows;
class TFAnons;
class MinuteTick;
class TFColTvprog;

// The main menu's items that belong to the pages; ProgramPages makes, owns and handles them.
struct ProgramPageActions final {
    QAction* week_cur = nullptr;       // MDataWeekCur "Текущая (...)"
    QAction* week_next = nullptr;      // MDataWeekNew "Будущая (...)"
    std::array<QAction*, 4> pages{};   // MPanelProgPage1..4 "Сейчас" .. "Поиск"
    std::array<QAction*, 3> sizes{};   // MPanelProgSize16..32 "Малый" .. "Большой"
    QAction* past = nullptr;           // MPanelProgOld "Прошедшие"
    QAction* abbreviations = nullptr;  // MPanelProgTxt "Буквенные сокращения"
};

// The four programme pages ("Сейчас", "Скоро", "По дням", "Поиск") of the main window: their
// tables, page controls, the row popup menu, the column chooser and the refresh on every
// minute of the clock tick; the announcement of the selected row is shown in the detail
// windows. One instance lives in the main window (`TFMain::programs()`).
//
// Everything that changes what the schedule shows (the panels, the menus, downloads, the
// settings dialog) ends with RebuildProgramList(). The row list of `ViewState::list` belongs
// to the tables: nothing else may rebuild or clear it while they show it.
class ProgramPages final : public QObject {
    Q_OBJECT
public:
    // `pages` is the page control; its four tab widgets receive the controls and tables.
    // `logos` is the main window's logo cache, shared with the channel panel. The pages refresh
    // on every minute of `tick` and show the announcement in `details`.
    ProgramPages(QTabWidget& pages, SettingsStore& settings, ViewState& view, LogoImages& logos,
                 MinuteTick& tick, DetailWindows& details, QWidget* window);
    ~ProgramPages() override;

    // Recomputes the rows of the active page and shows them, keeping the selected row and the
    // scroll position where they still exist.
    void RebuildProgramList();
    // A new minute of the clock: rebuilds "Сейчас" and "Скоро", brings the time left of the
    // other pages' rows up to date.
    void RefreshProgramList();
    // Font and icon size of the four tables: 16, 24 or 32.
    void SetProgramListSize(int size);
    int list_size() const { return m_size; }

    const ProgramPageActions& actions() const { return m_actions; }

    // Makes a page active (0..3) with the channel choice rule of the pages, and rebuilds.
    void set_page(int index);
    int page() const;
    ProgramTable& table(int page) const { return *m_tables[std::size_t(page)]; }
    ProgramTable& active_table() const { return table(page()); }
    ProgramTableModel& model(int page) const { return *m_models[std::size_t(page)]; }

    // The selected row of the active table, or null.
    const views::tvprog_local_list* SelectedProgramRow() const;
    // Row commands on the selected row ("Любимая" 1, "Не любимая" 0; marker; reminder).
    void ToggleLove(std::uint8_t liked);
    void ToggleMark();
    void ToggleAlarm();
    // The announcement window for the selected row.
    void ShowAnnouncement();
    // The "Колонки" dialog for the active table.
    void ShowColumnChooser();
    TFColTvprog& column_chooser() const { return *m_columns; }
    // The channel logos decoded for the tables and the detail windows.
    const LogoImages& logos() const { return m_logos; }

    // Settings: applies the table settings of the model (column widths, switches, icon size,
    // colours and font, the day start of "По дням") and collects them back before a save.
    void apply_settings();
    void collect_settings();
    // Colours, font, grid, logos and icons from the view and general settings (after the
    // settings dialog).
    void apply_view_settings();
    // Start-up after the data are loaded: today's day button, the first rebuild, the minute
    // tick, then "Сейчас" with every channel of the group chosen.
    void start();
    // True once start() ran: before it the tables stay empty and rebuilds are skipped (the
    // start-up's panels and settings would each rebuild the page for nothing).
    bool started() const { return m_started; }
    // Presses today's day button on "По дням" (also when the panels are refilled).
    void press_today();

    // The options the queries read: the live settings and the page controls.
    views::PageOptions page_options() const;

    SoonPageControls& soon() const { return *m_soon; }
    DaysPageControls& days() const { return *m_days; }
    FindPageControls& find() const { return *m_find; }
    QMenu& row_menu() const { return m_row_menu->menu(); }

signals:
    // After every rebuild (print preview, status, tests).
    void rebuilt();
    // A page switch changed the channel choice (multiple with every channel for "Сейчас" and
    // "Скоро", single with the first channel for "По дням"): the channel panel redraws.
    void channel_choice_changed();
    // A row command failed: the message window shows `text` (kind as ShowMsg takes it).
    void message(zt::MsgKind kind, const QString& text);

private:
    void make_actions();
    void connect_menu();
    void build_row_menu();
    void connect_table(int page);
    void open_row_menu(const QPoint& global);
    void on_page_changed(int index);
    void update_week_captions();
    void restore_view(ProgramTable& t, int selected, int top);
    void repaint_tables();
    QFont table_font() const;

    QTabWidget& m_pages;
    ProgramPageActions m_actions;
    SettingsStore& m_store;
    Settings& m_settings;
    ViewState& m_view;
    QWidget* m_window;
    std::array<ProgramTable*, 4> m_tables{};
    std::array<ProgramTableModel*, 4> m_models{};
    ProgramRowDelegate* m_delegate = nullptr;
    RowPaintContext m_ctx;
    LogoImages& m_logos;
    SoonPageControls* m_soon = nullptr;
    DaysPageControls* m_days = nullptr;
    FindPageControls* m_find = nullptr;
    ProgramRowMenu* m_row_menu = nullptr;
    MinuteTick& m_tick;
    TFAnons& m_anons;  // the announcement of the selected row
    std::unique_ptr<TFColTvprog> m_columns;
    int m_size = 16;
    bool m_rebuilding = false;
    bool m_started = false;
};

}  // namespace zt
